#include "engine/model/play_list.h"

#include <gtest/gtest.h>

#include <string>

namespace dv {
namespace {

PlayList Board() {
    PlayList play = StableList<Card>(4);
    for (int i = 1; i <= 3; ++i)
        play[i].Name = "Card " + std::to_string(i);
    return play;
}

// A change a journal missed would stay in the real game after the trial.
TEST(PlayListTest, TakeBackUndoesEveryChangeMadeThroughPlay) {
    PlayList play = Board();
    const StableList<Card> before = play.Cards();
    play.OpenJournal();
    play[2].Name = "Changed";
    play[4] = play[1];       // a free slot taken
    for (Card& card : play)  // a loop over play hands out every card
        card.Owner = 2;
    play.PushBack(play[3]);  // a slot added
    play.TakeBack();
    ASSERT_EQ(play.size(), 5) << "added slots stay, free";
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(play.Cards()[i] == before[i]) << "slot " << i;
    EXPECT_TRUE(play.Cards()[5] == Card{});
    EXPECT_EQ(play.JournalDepth(), 0);
}

TEST(PlayListTest, ReadingThroughAConstViewNotesNothingAndChangesNothing) {
    PlayList play = Board();
    play.OpenJournal();
    const PlayList& seen = play;
    EXPECT_EQ(seen[1].Name, "Card 1");
    play.TakeBack();
    EXPECT_EQ(play[1].Name, "Card 1");
}

// A card handed out before the journal opened is invisible to it unless noted by hand.
TEST(PlayListTest, ACardHandedOutBeforeTheTrialComesBackOnlyWhenNoted) {
    PlayList play = Board();
    Card& early = play[1];
    play.OpenJournal();
    play.Note(1);
    early.Name = "Changed";
    play.TakeBack();
    EXPECT_EQ(play[1].Name, "Card 1");
}

// Nested trials: an inner journal closed without taking back hands its notes outwards, so the
// outer trial still puts back what the inner one changed.
TEST(PlayListTest, AnInnerJournalClosedWithoutTakingBackLeavesItToTheOuterOne) {
    PlayList play = Board();
    play.OpenJournal();
    play[1].Name = "Outer";
    play.OpenJournal();
    play[1].Name = "Inner";
    play[2].Name = "Inner";
    play.CloseJournal();
    EXPECT_EQ(play.Cards()[2].Name, "Inner");
    play.TakeBack();
    EXPECT_EQ(play.Cards()[1].Name, "Card 1");
    EXPECT_EQ(play.Cards()[2].Name, "Card 2");

    play.OpenJournal();
    play[3].Name = "Outer";
    play.OpenJournal();
    play[3].Name = "Inner";
    play.TakeBack();
    EXPECT_EQ(play.Cards()[3].Name, "Outer") << "the inner trial puts back the outer's change";
    play.TakeBack();
    EXPECT_EQ(play.Cards()[3].Name, "Card 3");
}

TEST(PlayListTest, ASlotDroppedAndAddedAgainDuringATrialComesBack) {
    PlayList play = Board();
    play.OpenJournal();
    play.Resize(1);
    play.Resize(4);
    play.TakeBack();
    EXPECT_EQ(play.Cards()[3].Name, "Card 3");
}

}  // namespace
}  // namespace dv
