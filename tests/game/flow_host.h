#pragma once
// A recording host that also answers the modal windows of the game flow: the profile chooser
// and the deck manager run the given steps when the engine opens them.

#include <functional>

#include "tests/support/recording_host.h"

namespace dv::test {

class FlowHost : public RecordingHost {
  public:
    std::function<void()> onProfileMenu;
    std::function<void()> onDeckManager;

    void Call(WindowCall call, const std::string& argument) override {
        RecordingHost::Call(call, argument);
        if (call == WindowCall::ShowProfileMenu && onProfileMenu) onProfileMenu();
        if (call == WindowCall::ShowDeckManager && onDeckManager) onDeckManager();
    }
};

}  // namespace dv::test
