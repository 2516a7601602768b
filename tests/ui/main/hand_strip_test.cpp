#include "ui/main/hand_strip.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/pages/page_buffer.h"
#include "game/play_queue.h"
#include "game/turn.h"
#include "tests/ui/main/main_fixture.h"
#include "ui/common/engine_guard.h"

namespace dv::ui {
namespace {

using HandStripTest = test::MainWindowLogicTest;

TEST_F(HandStripTest, OnlySlotsHoldingACardShowWithTheNameInTheCardsColour) {
    InHand(1, "Moth", "#FFD860");
    InHand(2, "Newt", "#102030");
    InHand(5, "Hound");
    HandStrip hand;
    const auto views = hand.Redraw();
    for (int i = 1; i <= kHandSlots; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(views[i - 1].visible, i == 1 || i == 2 || i == 5);
    }
    EXPECT_EQ(views[0].name, "Moth");
    EXPECT_EQ(views[0].red, 0xFF);
    EXPECT_EQ(views[0].green, 0xD8);
    EXPECT_EQ(views[0].blue, 0x60);
    EXPECT_EQ(views[1].red, 0x10);
    EXPECT_EQ(views[1].green, 0x20);
    EXPECT_EQ(views[1].blue, 0x30);
}

// Each card shows once per hover; a redraw that puts a new card into the hovered slot must show
// that card at the next hover rather than taking it for the last one shown.
TEST_F(HandStripTest, HoverShowsEachCardOnceAndARedrawForgetsTheLastSlot) {
    InHand(1, "Moth");
    InHand(2, "Newt");
    St().SelectedCard = 7;
    HandStrip hand;
    struct Step {
        int slot;
        bool redrawFirst;
        bool shown;
    };
    const Step steps[] = {{1, false, true}, {1, false, false}, {2, false, true}, {1, false, true},
                          {1, true, true},  {4, false, false}, {0, false, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.slot);
        if (s.redrawFirst) hand.Redraw();
        flow.pages.clear();
        EXPECT_EQ(hand.Hover(s.slot), s.shown);
        EXPECT_EQ(Shown(kCardViewer), s.shown ? 1 : 0);
        EXPECT_EQ(St().SelectedCard, 7) << "hovering never changes the selection";
    }
}

TEST_F(HandStripTest, ReleasingAPictureQueuesItsCardWithTheSelectionOrAsADiscard) {
    struct Row {
        const char* name;
        bool rightButton;
        int16_t selected;
        int slot;
        bool queued;
        int16_t target;
    };
    const Row rows[] = {
        {"left with the selection", false, 0, 2, true, 0},
        {"left with a selected card", false, 1, 2, true, 1},
        {"right is a discard", true, 1, 2, true, kDiscardTarget},
        {"an empty slot", false, 1, 3, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearActions();
        Card& card = InHand(2, "Newt");
        St().SelectedCard = r.selected;
        HandStrip hand;
        EXPECT_EQ(hand.Release(r.slot, r.rightButton), r.queued);
        EXPECT_EQ(St().ActionCards[1], r.queued ? 2 : 0);
        EXPECT_EQ(St().ActionTargets[1], r.target);
        if (r.queued) {
            EXPECT_EQ(card.PresetTarget, r.target);
            EXPECT_EQ(St().SelectedCard, 0);
        }
    }
}

// The end of a game hides the hand; a game that ends inside a turn had the rest of the turn draw
// the old hand again, whose pictures then did nothing on the games page.
TEST_F(HandStripTest, AGameEndedInATurnLeavesTheHandHiddenUntilANewGameBegins) {
    InHand(1, "Moth");
    HandStrip hand;
    ASSERT_TRUE(hand.Redraw()[0].visible);
    const int doom = Place("Doom", 1);
    Script(doom, "LOSEGAME");
    Register(doom);

    PlayCards(0);
    ASSERT_EQ(St().GameOver, 1);
    const auto hidden = std::find(flow.calls.begin(), flow.calls.end(), "HideHand");
    ASSERT_NE(hidden, flow.calls.end());
    EXPECT_NE(std::find(hidden, flow.calls.end(), "RedrawHand"), flow.calls.end())
        << "the turn goes on after the end and redraws the hand";
    for (const HandSlotView& view : hand.Redraw())
        EXPECT_FALSE(view.visible);

    C(doom).Name.clear();
    St().GameOver = 0;
    PlayCards(kFirstTurn);
    EXPECT_TRUE(hand.Redraw()[0].visible) << "a new game's hand shows";
}

TEST_F(HandStripTest, ASecondReleaseTakesTheCardOutOfTheQueue) {
    InHand(2, "Newt");
    HandStrip hand;
    ASSERT_TRUE(hand.Release(2, false));
    ASSERT_TRUE(hand.Release(2, false));
    EXPECT_EQ(St().ActionCards[1], 0);
}

// Moving onto a picture shows its card, and the page's load takes a while: a click on the picture
// meanwhile was refused by the re-entry guard and lost. It is held and runs once the page has
// loaded; a click while a turn runs is still refused.
TEST_F(HandStripTest, AClickWhileAHoveredCardsPageLoadsQueuesTheCardOnceItHasLoaded) {
    InHand(1, "Moth");
    InHand(2, "Newt");
    HandStrip hand;
    bool queued = false;
    int loads = 0;
    flow.onPageLoad = [&](const std::string& viewer, const std::string&) {
        if (viewer != kCardViewer || loads++ > 0) return;
        hand.Presses().Run([&] { queued = hand.Release(2, false); });
        EXPECT_EQ(St().ActionCards[1], 0) << "run inside the page's wait";
    };
    ASSERT_TRUE(hand.Hover(2));
    EXPECT_TRUE(queued);
    EXPECT_EQ(St().ActionCards[1], 2);

    ClearActions();
    queued = false;
    {
        EngineGuard turnRunning;
        hand.Presses().Run([&] { queued = hand.Release(1, false); });
    }
    hand.Presses().RunHeld();
    EXPECT_FALSE(queued) << "a press refused mid-turn was held and ran later";
    EXPECT_EQ(St().ActionCards[1], 0);
}

TEST_F(HandStripTest, NothingIsQueuedOrShownWhileAnotherCommandRuns) {
    InHand(2, "Newt");
    HandStrip hand;
    EngineGuard turnRunning;
    EXPECT_FALSE(hand.Release(2, false));
    EXPECT_FALSE(hand.Hover(2));
    EXPECT_EQ(St().ActionCards[1], 0);
    EXPECT_TRUE(flow.pages.empty());
}

}  // namespace
}  // namespace dv::ui
