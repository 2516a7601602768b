#include "engine/model/play_index.h"

#include <gtest/gtest.h>

#include <functional>

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

// A walk passes over unseen only the cards whose sign does not meet its trigger's: a sign that
// left out one reason a walk hands a card the trigger would leave that card alone.
TEST_F(PlayIndexTest, ASignCoversEveryReasonAWalkHandsACardTheTrigger) {
    struct Row {
        const char* reason;
        std::function<void(Card&)> setUp;
    };
    const auto ofLength = [](Card& card) { AddEffect(card, "ECHOMINOR:x", 7, "PHASE2", 0, ""); };
    const Row rows[] = {
        {"an effect on the trigger",
         [](Card& card) { AddEffect(card, "ECHOMINOR:x", 7, "PHASE3", 0, ""); }},
        {"waiting to enter play at the trigger", WaitForPhase3},
        {"a run of an effect of its length under way",
         [&](Card& card) {
             ofLength(card);
             ChangeRunFlags(card, 1).Running = 1;
         }},
        {"dispatch work left on an effect of its length",
         [&](Card& card) {
             ofLength(card);
             ChangeRunFlags(card, 1).DispatchWork = 1;
         }},
        {"a next target not yet preset",
         [&](Card& card) {
             ofLength(card);
             card.NextTarget = 3;
             card.PresetTarget = 0;
         }},
    };
    int slot = 4;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.reason);
        long long looks = TriggerFilter::Looks();
        RunListActions("PHASE3");
        const long long unset = TriggerFilter::Looks() - looks;
        {
            HoldScope procedure;
            r.setUp(C(++slot));
        }
        looks = TriggerFilter::Looks();
        RunListActions("PHASE3");
        EXPECT_GT(TriggerFilter::Looks() - looks, unset);
    }
}

// A card an outer procedure holds stays held when an inner one takes it again and ends.
TEST_F(PlayIndexTest, ACardStaysHeldByTheOutermostProcedureThatTookIt) {
    HoldScope outer;
    Card& kept = C(5);
    {
        HoldScope inner;
        C(5);
        C(6);
        RunListActions("PHASE3");
    }
    RunListActions("PHASE3");
    WaitForPhase3(kept);
    RunListActions("PHASE3");
    EXPECT_EQ(kept.Active, 1);
}

// Only the cards that may have changed since the last look are signed again: a held card once
// for each walk that passes it (and once for its pass over), one let go once, the others never.
TEST_F(PlayIndexTest, AWalkSignsAgainOnlyTheCardsThatMayHaveChanged) {
    {
        HoldScope scripting;
        for (int c = 5; c <= 14; ++c)
            Script(c, "ECHOMINOR:x", "PHASE3");
    }
    const long long slots = St().InPlay.size();
    {
        HoldScope procedure;
        for (Card& card : St().InPlay)
            card.Colour = "#123456";
        const long long signs = PlayIndex::Signs();
        RunListActions("PHASE3");
        EXPECT_LE(PlayIndex::Signs() - signs, 3 * slots) << "not every held card at every look";
    }
    RunListActions("PHASE4");
    const long long signs = PlayIndex::Signs();
    RunListActions("PHASE4");
    EXPECT_EQ(PlayIndex::Signs() - signs, 0) << "a card let go and signed is left alone";
}

// The program builds the index when a walk first meets a crowded board, mid-procedure: cards
// handed out before it existed stay held until the outermost procedure ends.
TEST_F(PlayIndexTest, AnIndexBuiltMidProcedureHoldsWhatWasHandedOutBefore) {
    PlayIndex::IndexBoardsFrom(30);
    St().InPlay = StableList<Card>();
    for (int c = 0; c < 20; ++c)
        Place("Imp", 1);
    {
        HoldScope outer;
        Card& kept = C(5);
        {
            HoldScope inner;
            for (int c = 0; c < 20; ++c)
                Place("Imp", 2);
            RunListActions("PHASE3");
        }
        RunListActions("PHASE3");
        WaitForPhase3(kept);
        RunListActions("PHASE3");
        EXPECT_EQ(kept.Active, 1);
    }
    PlayIndex::CheckAgainstCards(true);
}

}  // namespace
}  // namespace dv
