#include "engine/rules/trait_changes.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/model/state.h"
#include "engine/rules/dispatch.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

using TraitChangeTest = test::BoardTest;

// A trait change looks at its card before handing it the change trigger, where it once handed it
// to any card with an effect of the trigger's length, waiting to enter play or not. Wherever the
// two differ, handing the trigger must leave the card, and the echo flag, as the look does.
TEST_F(TraitChangeTest, AChangeLeavesItsCardAsHandingItTheTriggerWould) {
    const char* const change = "TRAITCHANGE:MOOD";
    const char* const sameLength = "TRAITCHANGE:RAGE";
    struct Row {
        const char* card;
        std::function<void(int)> setUp;
    };
    const Row rows[] = {
        {"an effect on the change", [&](int c) { Script(c, "MODMYTRAIT:POWER:1", change); }},
        {"an effect on another change of the same length",
         [&](int c) { Script(c, "MODMYTRAIT:POWER:1", sameLength); }},
        {"the same, a next target not yet preset",
         [&](int c) {
             Script(c, "MODMYTRAIT:POWER:1", sameLength);
             C(c).NextTarget = 2;
         }},
        {"an effect on the change, offered as a menu action",
         [&](int c) {
             C(c).Effects[Script(c, "MODMYTRAIT:POWER:1", change)].MenuState = MenuState::Offered;
         }},
        {"an inactive card with an effect on the change, waiting for another trigger",
         [&](int c) {
             Script(c, "MODMYTRAIT:POWER:1", change);
             C(c).Active = 0;
             C(c).StartTime = "TURNSTART";
         }},
        {"an inactive card waiting for the change",
         [&](int c) {
             Script(c, "MODMYTRAIT:POWER:1", change);
             C(c).Active = 0;
             C(c).StartTime = change;
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.card);
        const int looked = Place("Imp", 1, {{"POWER", "1"}});
        const int handed = Place("Imp", 1, {{"POWER", "1"}});
        r.setUp(looked);
        r.setUp(handed);

        St().EchoOnce = 1;
        SetTrait(C(looked), "MOOD", Value("ANGRY"));
        const uint8_t echoOnce = St().EchoOnce;

        St().EchoOnce = 1;
        SetTrait(C(handed), "MOOD", Value("ANGRY"), 0, "", 1);  // quiet: hands nothing
        RunActionsCall call;
        call.triggeringCard = -1;
        RunActions(C(handed), change, call);

        EXPECT_EQ(St().EchoOnce, echoOnce);
        Card twin = C(handed);
        twin.Index = C(looked).Index;
        twin.GID = C(looked).GID;
        EXPECT_EQ(C(looked), twin);
    }
}

}  // namespace
}  // namespace dv
