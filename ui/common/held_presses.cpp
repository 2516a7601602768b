#include "ui/common/held_presses.h"

#include <utility>

#include "ui/common/flag_scope.h"

namespace dv::ui {

void HeldPresses::Wait(const std::function<void()>& show) {
    const FlagScope<bool> waiting(waiting_, true);
    show();
}

bool HeldPresses::Hold(Press press) {
    if (!waiting_) return false;
    held_.push_back(std::move(press));
    return true;
}

void HeldPresses::RunHeld() {
    // A held press that waits for a page of its own holds the presses made meanwhile behind the
    // rest: the outermost run takes them all, in the order they were made.
    if (running_ || waiting_) return;
    const FlagScope<bool> running(running_, true);
    while (!held_.empty()) {
        Press press = std::move(held_.front());
        held_.pop_front();
        press();
    }
}

void HeldPresses::Run(Press press) {
    if (Hold(press)) return;
    press();
    RunHeld();
}

}  // namespace dv::ui
