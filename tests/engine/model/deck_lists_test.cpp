#include "engine/model/deck_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/card_lists.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using DeckListsTest = test::EngineTest;

Card Named(const std::string& name, int32_t gid) {
    Card c;
    c.Name = name;
    c.GID = gid;
    return c;
}

// A card list named after the identifiers: card "c7" carries 7; 0 gives a free slot.
List<Card> CardsOf(std::initializer_list<int32_t> ids) {
    List<Card> cards;
    for (int32_t id : ids)
        cards.PushBack(id == 0 ? Card{} : Named("c" + std::to_string(id), id));
    return cards;
}

std::vector<int32_t> Ids(const DeckList& deck) {
    return {deck.CardIds.begin(), deck.CardIds.end()};
}
std::vector<float> Positions(const DeckList& deck) {
    return {deck.Positions.begin(), deck.Positions.end()};
}
std::vector<int32_t> Slots() {
    return {St().ColDisplay.begin(), St().ColDisplay.end()};
}
std::vector<int32_t> Consecutive(int from, int count) {
    std::vector<int32_t> out(18, 0);
    for (int i = 0; i < count; ++i)
        out[i] = from + i;
    return out;
}

TEST_F(DeckListsTest, LinkingDropsIdentifiersNoCardCarriesAndLinksEveryOtherEntry) {
    struct Row {
        const char* fault;
        std::vector<int32_t> ids;
        std::vector<int32_t> idsAfter;
        std::vector<float> positions;
    };
    // The cards carry 1 (A), 2 (B) and 3; 9 and 8 are unknown.
    const Row rows[] = {
        {"a hole is left where the unknown was", {1, 9, 2}, {1, 2}, {1, 2}},
        {"the last entry does not fill the hole", {9, 1, 2}, {2, 1}, {2, 1}},
        {"the rest stays unlinked after a drop to one entry", {9, 1}, {1}, {1}},
        {"two unknowns in a row are not both dropped", {9, 8, 3}, {3}, {3}},
        {"a single unknown identifier is dropped to nothing", {9}, {9}, {0}},
        {"an empty entry is dropped or linked", {0, 1}, {0, 1}, {0, 1}},
        {"the first match does not win", {3, 3}, {3, 3}, {3, 3}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        List<Card> cards = CardsOf({1, 2, 3});
        DeckList deck{"d", {}, {}};
        for (int32_t id : r.ids)
            deck.CardIds.PushBack(id);
        LinkDeck(deck, cards, 0);
        EXPECT_EQ(Ids(deck), r.idsAfter);
        EXPECT_EQ(Positions(deck), r.positions);
    }
}

TEST_F(DeckListsTest, LinkingOneEntryLeavesTheOthersAndClearsEveryMark) {
    List<Card> cards = CardsOf({1, 2, 3});
    for (Card& c : cards)
        c.DisplayFilter = 1;
    DeckList deck{"d", {1, 9, 3}, {7, 7, 7}};
    LinkDeck(deck, cards, 2);
    EXPECT_EQ(Ids(deck), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(Positions(deck), (std::vector<float>{7, 3})) << "only entry 2 is linked";
    for (const Card& c : cards)
        EXPECT_EQ(c.DisplayFilter, 0);
}

TEST_F(DeckListsTest, CardTestLinksAgainstTheDesignersCardsAndLeavesTheCollectionMarks) {
    State& st = St();
    st.DeckManagerMode = kCardTest;
    st.Collection = CardsOf({5});
    st.Collection[1].DisplayFilter = 1;
    st.EditCards = CardsOf({4, 5});
    DeckList deck{"d", {5}, {}};
    LinkDeck(deck, st.Collection, 0);
    EXPECT_EQ(Positions(deck), (std::vector<float>{2})) << "linked against the collection";
    EXPECT_EQ(st.Collection[1].DisplayFilter, 1);
    EXPECT_EQ(st.LinkRedirect, 0);
}

TEST_F(DeckListsTest, TheGameStartsLinkKeepsUnknownIdentifiersInPlace) {
    List<Card> cards = CardsOf({1, 2});
    DeckList deck{"d", {9, 1, 2}, {}};
    LinkDeck(deck, cards);
    EXPECT_EQ(Ids(deck), (std::vector<int32_t>{9, 1, 2}));
    EXPECT_EQ(Positions(deck), (std::vector<float>{0, 1, 2}));
}

TEST_F(DeckListsTest, DeckManagerCopiesHoldNoEmptyCardForAnUnknownIdentifier) {
    State& st = St();
    st.Collection = CardsOf({1, 2});
    DeckList deck{"d", {9, 1}, {}};
    List<Card> cards;
    CopyLinkedDeck(deck, cards);
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[1].Name, "c1") << "the card after the dropped one was played empty";
}

TEST_F(DeckListsTest, SortingADeckReordersItsEntriesAndKeepsTheSortedCopies) {
    State& st = St();
    st.Collection = List<Card>{Named("C", 3), Named("A", 1), Named("B", 2), Named("D", 4)};
    DeckList deck{"mine", {3, 1, 2}, {}};
    SortDeck(deck, "NAME");
    EXPECT_EQ(deck.Name, "mine");
    EXPECT_EQ(Ids(deck), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Positions(deck), (std::vector<float>{2, 3, 1}));
    std::vector<std::string> names;
    for (const Card& c : st.PlayerDecks[1].Cards)
        names.push_back(c.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C"}));

    List<Card> none;
    CopyToMultiDeck(none, deck);
    EXPECT_EQ(Ids(deck), (std::vector<int32_t>{0})) << "a deck list keeps one entry";
}

TEST_F(DeckListsTest, CollectionSlotsSkipMarkedCardsFromTheScrollPosition) {
    struct Row {
        const char* fault;
        int mode;
        int picking;
        int start;
        int cards;
        std::vector<int> marked;
        std::vector<int32_t> slots;
    };
    const Row rows[] = {
        {"marked cards shown", kEditDecks, 0, 0, 30, {1, 2}, Consecutive(3, 18)},
        {"the hidden cards before the position are not counted",
         kEditDecks,
         0,
         5,
         30,
         {1, 2},
         Consecutive(7, 18)},
        {"slots past the last card filled", kEditDecks, 0, 1, 10, {}, Consecutive(1, 10)},
        {"a pick counts the hidden cards", kEditDecks, 1, 3, 30, {1, 2}, Consecutive(3, 18)},
        {"the pick shows only unmarked cards", kCardPick, 0, 5, 30, {6, 7}, Consecutive(5, 18)},
        {"the collection is shown past its end", kCardPick, 0, 40, 30, {}, Consecutive(0, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        State& st = St();
        st.DeckManagerMode = static_cast<uint8_t>(r.mode);
        st.PickingCard = static_cast<uint8_t>(r.picking);
        st.Collection = List<Card>(r.cards);
        for (int i = 1; i <= r.cards; ++i)
            st.Collection[i] = Named("c", i);
        for (int m : r.marked)
            st.Collection[m].DisplayFilter = 1;
        SetColDisplay(r.start);
        EXPECT_EQ(Slots(), r.slots);
    }
}

TEST_F(DeckListsTest, TheDesignersCardsFillTheSlotsInTheOtherModes) {
    State& st = St();
    st.EditCards = List<Card>(30);
    st.EditCards[3].DisplayFilter = 1;
    st.Collection = List<Card>(2);
    for (uint8_t mode : {kOpponentDeck, kCardTest, kCardView}) {
        st.DeckManagerMode = mode;
        SetColDisplay(1);
        std::vector<int32_t> expected = Consecutive(1, 18);
        for (int i = 2; i < 18; ++i)
            expected[i] = i + 2;
        EXPECT_EQ(Slots(), expected) << int(mode);
    }
    SetColDisplay2(5, st.EditCards, 1);
    EXPECT_EQ(Slots(), Consecutive(5, 18));
    SetColDisplay2(-3, st.EditCards, 1);
    EXPECT_EQ(Slots(), Consecutive(1, 18)) << "a position below 1 begins with the first card";
}

TEST_F(DeckListsTest, CleaningKeepsTheLastOfEachIdentifierClosesGapsAndEmptiesTheDeck) {
    struct Row {
        const char* fault;
        std::vector<Card> collection;
        std::vector<int32_t> deck;
        std::vector<std::string> namesAfter;
        std::vector<int32_t> deckAfter;
    };
    const Row rows[] = {
        {"copies of one identifier kept",
         {Named("A", 7), Named("B", 7), Named("C", 9)},
         {7},
         {"B", "C", ""},
         {7}},
        {"a named card without an identifier blanked beside a free slot",
         {Named("A", 0), Named("", 0), Named("B", 0)},
         {0, 5, 0, 6},
         {"A", "B", ""},
         {5, 6}},
        {"a run of gaps closed at once",
         {Named("", 0), Named("", 0), Named("A", 1)},
         {0},
         {"", "A", ""},
         {0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        State& st = St();
        st.Collection = {};
        for (const Card& c : r.collection)
            st.Collection.PushBack(c);
        st.Decks = List<DeckList>(1);
        st.CurrentDeck = 1;
        for (int32_t id : r.deck)
            st.Decks[1].CardIds.PushBack(id);
        st.Decks[1].Positions = List<float>(static_cast<int>(r.deck.size()));
        CleanDecks();
        std::vector<std::string> names;
        for (const Card& c : st.Collection)
            names.push_back(c.Name);
        EXPECT_EQ(names, r.namesAfter);
        EXPECT_EQ(Ids(st.Decks[1]), r.deckAfter);
        EXPECT_EQ(st.Decks[1].Positions.size(), st.Decks[1].CardIds.size());
    }
}

TEST_F(DeckListsTest, ABoughtCardNeverTakesAnIdentifierAlreadyHeld) {
    State& st = St();
    st.Random.Seed(77);
    const int32_t first = static_cast<int32_t>(RandomNum(200000000));
    const int32_t second = static_cast<int32_t>(RandomNum(200000000));
    st.Random.Seed(77);
    st.Collection = List<Card>{Named("Owned", first)};
    st.Decks = List<DeckList>(1);
    st.Decks[1].CardIds = {second};
    Card bought = Named("Bought", 0);
    AddToCollection(bought);
    EXPECT_NE(bought.GID, first);
    EXPECT_NE(bought.GID, second) << "a deck list naming a lost card would take the new one";
    CleanDecks();
    EXPECT_EQ(st.Collection[1].Name, "Owned") << "a clash later deletes one of the two cards";
    EXPECT_EQ(st.Collection[2].Name, "Bought");
}

}  // namespace
}  // namespace dv
