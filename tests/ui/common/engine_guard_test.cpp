#include "ui/common/engine_guard.h"

#include <gtest/gtest.h>

namespace dv::ui {
namespace {

// The deck manager opened at a game start runs inside the game link's command: its own commands
// must run, and once it closes the main window's commands must still be shut out.
TEST(EngineGuardTest, AModalWindowRunsItsCommandsAndTheOuterCommandStaysBusyAfter) {
    EngineGuard gameLink;
    ASSERT_TRUE(gameLink);
    EXPECT_FALSE(EngineGuard());
    {
        ModalScope deckManager;
        EXPECT_FALSE(EngineGuard::Busy());
        EngineGuard deckCommand;
        EXPECT_TRUE(deckCommand);
        EXPECT_FALSE(EngineGuard()) << "one command at a time inside the modal window too";
    }
    EXPECT_TRUE(EngineGuard::Busy());
    EXPECT_FALSE(EngineGuard());
}

}  // namespace
}  // namespace dv::ui
