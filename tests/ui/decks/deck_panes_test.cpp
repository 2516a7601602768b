// What the deck manager draws in each mode, and the pages shown while the pointer rests on a card.

#include <gtest/gtest.h>

#include "engine/model/files.h"
#include "game/card_test.h"
#include "tests/ui/decks/deck_manager_fixture.h"

namespace dv {
namespace {

using ui::SlotDraw;
using Names = std::vector<std::string>;

class DeckPanesTest : public test::DeckManagerTest {
  protected:
    std::string PageText() const { return ReadWholeFile(Folder() / "Display.html").value_or(""); }
    static Names Range(int from, int to) {
        Names names;
        for (int i = from; i <= to; ++i)
            names.push_back("c" + std::to_string(i));
        return names;
    }
};

TEST_F(DeckPanesTest, TheDeckOnShowLeavesTheCollectionPaneAndTheCountsFollowTheChoice) {
    SetCollection(Numbered(25));
    St().Players[1].Tokens = 500;
    SetDeck(1, "Red", {3, 1, 2});
    SetDeck(2, "", {0});
    Apply(logic.Open());

    EXPECT_EQ(view.deckNames, (Names{"Red", "New Deck"})) << "a nameless deck shows no name";
    EXPECT_EQ(view.chosenDeck, 0);
    EXPECT_EQ(Shown(view.deck), (Names{"c1", "c2", "c3"})) << "deck 1 is sorted by name on show";
    EXPECT_EQ(Shown(view.collection), Range(4, 21));
    EXPECT_EQ(view.tokens, "Tokens: 500");
    EXPECT_EQ(view.cardCount, "Cards: 3");
    EXPECT_EQ(view.deckScrollMax, 1);
    EXPECT_EQ(view.collectionScrollMax, 8) << "hidden deck cards count in the range";

    Apply(logic.ChooseDeck(1));
    EXPECT_EQ(St().CurrentDeck, 2);
    EXPECT_EQ(Shown(view.deck), Names{}) << "an empty deck shows no pictures";
    EXPECT_EQ(view.cardCount, "Cards: 0");
    EXPECT_EQ(Shown(view.collection), Range(1, 18)) << "the marks of the deck left stayed";

    Apply(logic.Scroll(1, 8));
    EXPECT_EQ(Shown(view.collection), Range(8, 25));
}

TEST_F(DeckPanesTest, ACardTakenOutOfTheDeckReturnsToTheCollectionPaneAtOnce) {
    SetCollection(Numbered(5));
    SetDeck(1, "Red", {1, 2});
    Apply(logic.Open());
    Apply(logic.DeckClick(0));
    EXPECT_EQ(DeckIds(1), (std::vector<int32_t>{2}));
    EXPECT_EQ(Shown(view.collection), (Names{"c1", "c3", "c4", "c5"}));
}

TEST_F(DeckPanesTest, EveryModeScrollsToItsLastCardAndDrawsItsOwnLists) {
    State& st = St();
    st.DeckManagerMode = kOpponentDeck;
    st.EditCards = ListOf(Numbered(20));
    st.EnemyCards = ListOf(Numbered(20));
    SetDeck(1, "Red", {0});
    Apply(logic.Open());
    EXPECT_EQ(view.deckScrollMax, 3) << "the opponent's last card could not be scrolled to";
    EXPECT_EQ(view.collectionScrollMax, 3);
    Apply(logic.Scroll(0, 3));
    EXPECT_EQ(Shown(view.deck).back(), "c20");
    EXPECT_EQ(view.cardCount, "Cards: 20");

    st.EnemyCards = List<Card>(1);
    Apply(logic.Scroll(0, 1));
    EXPECT_EQ(view.cardCount, "Cards: 0") << "an empty opponent list counts as no card";
}

TEST_F(DeckPanesTest, TheCardTestShowsTheTestListChosenAndItsListsDoNotScroll) {
    State& st = St();
    st.DeckManagerMode = kCardTest;
    st.EditCards = ListOf(Numbered(30));
    st.TopCards[2] = ListOf({Owned("Imp", 0), Card{}, Owned("Orc", 0)});
    SetDeck(1, "Red", {5});
    Apply(logic.Open());
    EXPECT_EQ(view.deckNames,
              (Names{kTestListNames[0], kTestListNames[1], kTestListNames[2], kTestListNames[3]}));
    Apply(logic.ChooseDeck(1));
    EXPECT_EQ(Shown(view.deck), (Names{"Imp", "Orc"}));
    EXPECT_EQ(view.deck[1].change, SlotDraw::Change::Hide);
    EXPECT_EQ(view.deckScrollMax, 1);
    EXPECT_EQ(view.collectionScrollMax, 13);
    EXPECT_EQ(Shown(view.collection), Range(1, 18));
    EXPECT_FALSE(view.tokens);
    EndCardTest();
}

TEST_F(DeckPanesTest, ThePickShowsTheWholeCollectionAndLeavesLabelsAndRanges) {
    State& st = St();
    st.DeckManagerMode = kCardPick;
    st.PickingCard = 1;
    SetCollection(Numbered(20));
    SetDeck(1, "Red", {1, 2});
    const ui::DeckOutcome out = Apply(logic.Open());
    ASSERT_TRUE(out.controls);
    EXPECT_FALSE(out.controls->done);
    EXPECT_FALSE(out.controls->sell);
    EXPECT_EQ(Shown(view.deck), Names{});
    EXPECT_EQ(Shown(view.collection), Range(1, 18)) << "deck cards are offered too";
    EXPECT_FALSE(view.tokens);
    EXPECT_FALSE(view.cardCount);
    EXPECT_FALSE(view.deckScrollMax);
    EXPECT_FALSE(view.collectionScrollMax);
    Apply(logic.Scroll(1, 40));
    EXPECT_EQ(Shown(view.collection), Names{}) << "scrolled past the last card";
}

// A card without a thumbnail kept the picture its slot showed before, another card's after a sort.
TEST_F(DeckPanesTest, ACardWithoutThumbnailShowsAnEmptyBoxNotThePictureOfItsSlot) {
    std::vector<Card> cards = Numbered(2);
    cards[1].Thumbnail.clear();
    SetCollection(cards);
    SetDeck(1, "Red", {0});
    Apply(logic.Open());
    EXPECT_EQ(Shown(view.collection), (Names{"c1", ""}));
}

TEST_F(DeckPanesTest, ThePointerShowsEachCardsPageOnceAndTheSalePrice) {
    std::vector<Card> cards = Numbered(3);
    cards[0].Rarity = 25;
    SetCollection(cards);
    SetDeck(1, "Red", {3});
    Apply(logic.Open());

    const auto first = logic.DescribeCollectionCard(0, viewer);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, (Folder() / "Display.html").string());
    EXPECT_NE(PageText().find("<center><img src="), std::string::npos);
    EXPECT_NE(PageText().find("c1"), std::string::npos);
    EXPECT_EQ(St().PickedCard, 1);
    EXPECT_EQ(pages, Names{*first}) << "shown in the viewer";
    EXPECT_FALSE(logic.DescribeCollectionCard(0, viewer))
        << "the same card is rebuilt on every move";

    const auto deckCard = logic.DescribeDeckCard(0, viewer);
    ASSERT_TRUE(deckCard);
    EXPECT_NE(PageText().find("c3"), std::string::npos);
    EXPECT_EQ(PageText().find("<center>"), std::string::npos);
    EXPECT_FALSE(logic.DescribeCollectionCard(0, viewer))
        << "the last collection card is remembered";
    EXPECT_FALSE(logic.DescribeDeckCard(5, viewer)) << "no card under an empty deck slot";

    Apply(logic.SellCards());
    ASSERT_TRUE(logic.DescribeCollectionCard(1, viewer));
    EXPECT_NE(PageText().find("offer you <font color=#FFFF00>1 Tokens</font>"), std::string::npos);
    ASSERT_TRUE(logic.DescribeCollectionCard(0, viewer));
    EXPECT_NE(PageText().find("3 Tokens"), std::string::npos) << "rarity 25 sells for 3";
}

// A card's page loads in an event loop in which the player's presses arrive: DONE, which can
// start the card test's game, once ran inside it. While the page loads every command is refused,
// leaving nothing to keep it from working when made again.
TEST_F(DeckPanesTest, NoCommandRunsWhileAPointedCardsPageLoads) {
    PlayZetaAsGuest();
    SetCollection(Numbered(3));
    Apply(logic.Open());
    std::vector<bool> ran;  // DONE, the close box, another card's page
    auto press = [&] {
        ran = {logic.Done().close, logic.Closing(false),
               logic.DescribeCollectionCard(1, viewer).has_value()};
    };
    ASSERT_TRUE(logic.DescribeCollectionCard(0, [&](const std::string&) { press(); }));
    EXPECT_EQ(ran, (std::vector<bool>{false, false, false}));
    press();
    EXPECT_EQ(ran, (std::vector<bool>{true, true, true}));
}

}  // namespace
}  // namespace dv
