#include "engine/model/play_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace dv {
namespace {

PlayList Board() {
    PlayList play = StableList<Card>(4);
    for (int i = 1; i <= 3; ++i)
        play[i].Name = "Card " + std::to_string(i);
    return play;
}

// A change a journal missed would stay in the real game after the trial.
// Every way a list of play comes to be must number its own cards: one that reached the cards of
// the list it came from would change them, or read them after they are gone.
TEST(PlayListTest, EveryListOfPlayNumbersItsOwnCards) {
    struct Case {
        const char* how;
        PlayList (*make)(PlayList& from);
    };
    const Case cases[] = {
        {"copied", [](PlayList& from) { return PlayList(from); }},
        {"copied over another",
         [](PlayList& from) {
             PlayList play = StableList<Card>(9);
             play = from;
             return play;
         }},
        {"moved", [](PlayList& from) { return PlayList(std::move(from)); }},
        {"moved over another",
         [](PlayList& from) {
             PlayList play = StableList<Card>(9);
             play = std::move(from);
             return play;
         }},
        {"given new cards",
         [](PlayList& from) {
             PlayList play;
             play = from.Cards();
             return play;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        PlayList from = Board();
        PlayList play = c.make(from);
        from = StableList<Card>(2);
        from[1].Name = "Other";
        ASSERT_EQ(play.size(), 4);
        play[2].Name = "Changed";
        EXPECT_EQ(play[1].Name, "Card 1");
        EXPECT_EQ(play.Cards()[2].Name, "Changed");
        EXPECT_EQ(from[1].Name, "Other");
        EXPECT_EQ(from.size(), 2);
    }
}

// Slot numbers follow every change of size, and one past them is out of range as on any list.
TEST(PlayListTest, SlotsFollowGrowthAndShrinking) {
    PlayList play = Board();
    EXPECT_EQ(play.PushBack(play[1]), 5);
    EXPECT_EQ(play[5].Name, "Card 1");
    play.Resize(2);
    EXPECT_EQ(play.size(), 2);
    EXPECT_THROW(play[3], std::out_of_range);
    EXPECT_FALSE(play.Has(3));
    play.Resize(6);
    EXPECT_EQ(play[2].Name, "Card 2");
    EXPECT_TRUE(play[6] == Card{});
    EXPECT_THROW(std::as_const(play)[0], std::out_of_range);
    play.Clear();
    EXPECT_TRUE(play.empty());
}

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
