#pragma once
// One re-entry guard for every window command: a command that would run an engine procedure while
// another is on the stack (a page load waits in an event loop, so clicks can arrive mid-turn) does
// nothing.

namespace dv::ui {

class EngineGuard {
  public:
    EngineGuard();
    ~EngineGuard();
    EngineGuard(const EngineGuard&) = delete;
    EngineGuard& operator=(const EngineGuard&) = delete;

    // False when another window command was already running: the caller must do nothing.
    explicit operator bool() const { return outermost_; }
    // Whether any window command is running now.
    static bool Busy();

  private:
    bool outermost_;
};

// A modal window opened from inside a command (the deck manager from a game start, the designer
// from the deck manager) runs commands of its own. While one lives, those commands are let through;
// the windows below the modal one take no input meanwhile, so the command that opened it cannot be
// re-entered, and it is refused re-entry again once the modal window has closed.
class ModalCommandLevel {
  public:
    ModalCommandLevel();
    ~ModalCommandLevel();
    ModalCommandLevel(const ModalCommandLevel&) = delete;
    ModalCommandLevel& operator=(const ModalCommandLevel&) = delete;

  private:
    int saved_;
};

// Runs a window command's body so that no exception escapes into the window system's event loop:
// a failure shows "Error in " and the name once through the host, and the command stops.
template <class Body>
void RunCommand(const char* name, Body&& body);

void ReportCommandError(const char* name);

template <class Body>
void RunCommand(const char* name, Body&& body) {
    try {
        body();
    } catch (...) {
        ReportCommandError(name);
    }
}

}  // namespace dv::ui
