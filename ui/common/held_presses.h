#pragma once
// The presses a window holds while it waits for a page to load. A page load runs an event loop in
// which the player's presses arrive; run there, a press would run inside the command that shows
// the page, which the one re-entry guard refuses, and refused it would be lost. A press made while
// such a page loads is held instead and runs once the page has loaded, in the order the presses
// were made. Presses refused by a command the player started (a turn) are not held.

#include <deque>
#include <functional>

namespace dv::ui {

class HeldPresses {
  public:
    using Press = std::function<void()>;

    // Runs `show`, which shows a page and returns once it has loaded, as a wait that holds the
    // presses made meanwhile. It runs inside the command that shows the page.
    void Wait(const std::function<void()>& show);
    bool Waiting() const { return waiting_; }

    // Holds the press while a page loads and says so; false leaves it to the caller.
    bool Hold(Press press);
    // Runs the presses held, in order, once no page loads. Called when a command that may have
    // waited has ended, outside its guard.
    void RunHeld();
    // A press: run now (and then those held), or held while a page loads.
    void Run(Press press);
    // A window that closes takes no more presses.
    void Drop() { held_.clear(); }

  private:
    std::deque<Press> held_;
    bool waiting_ = false;
    bool running_ = false;
};

}  // namespace dv::ui
