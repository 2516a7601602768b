#include "engine/model/play_index.h"

#include <gtest/gtest.h>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/dispatch.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

// The tests index every board of two slots or more (tests/support/checked_walks.cpp).
class PlayIndexTest : public test::BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        for (int c = 0; c < 20; ++c)
            Place("Imp", 1);
        // The index is built by a walk inside a procedure, which lets its cards go when it ends.
        HoldScope procedure;
        RunListActions("PHASE3");
    }
};

// A card waits for PHASE3 once the walk may no longer see it change: only fields are written,
// the card is not handed out again.
void WaitForPhase3(Card& card) {
    card.Active = 0;
    card.StartTime = "PHASE3";
}

// A procedure may change a card it was handed long after it was handed it, walks in between.
TEST_F(PlayIndexTest, ACardHeldByAProcedureAtWorkIsLookedAtAfreshByEveryWalk) {
    HoldScope procedure;
    Card& held = C(5);
    RunListActions("PHASE3");
    WaitForPhase3(held);
    RunListActions("PHASE3");
    EXPECT_EQ(held.Active, 1);
}

// The tests' check of the index: a change made through a card kept past the procedure that was
// handed it is one the index cannot see, and ends the run at the next walk.
TEST_F(PlayIndexTest, AChangeTheIndexCannotSeeEndsATestRun) {
    Card* kept = nullptr;
    {
        HoldScope procedure;
        kept = &C(5);
    }
    RunListActions("PHASE3");
    WaitForPhase3(*kept);
    EXPECT_DEATH(RunListActions("PHASE3"), "slot 5 changed unseen");
}

}  // namespace
}  // namespace dv
