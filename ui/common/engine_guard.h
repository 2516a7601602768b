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

// A modal window opened from inside a window command (the deck manager at a game start, the
// profile chooser) runs commands of its own: while this lives they are let through. The windows
// beneath stay shut out by the modality itself.
class ModalScope {
  public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    int outer_;
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
