#include "engine/model/card_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using CardListsTest = test::EngineTest;

Card Named(const std::string& name, int rarity = 0, int32_t gid = 0) {
    Card c;
    c.Name = name;
    c.Rarity = static_cast<uint8_t>(rarity);
    c.GID = gid;
    return c;
}

Card WithTrait(const std::string& name, const std::string& trait, const std::string& value) {
    Card c = Named(name);
    c.TraitNames = List<std::string>(20);
    c.TraitValues = List<std::string>(20);
    c.TraitActionDescs = List<std::string>(20);
    if (!trait.empty()) {
        c.TraitNames[1] = trait;
        c.TraitValues[1] = value;
    }
    return c;
}

// Names in list order; a free slot shows as "-". The GID tells equal keys apart.
std::vector<std::string> Order(const List<Card>& list) {
    std::vector<std::string> out;
    for (const Card& c : list) {
        std::string label = c.Name.empty() ? "-" : c.Name;
        if (c.GID) label += "#" + std::to_string(c.GID);
        out.push_back(label);
    }
    return out;
}

TEST_F(CardListsTest, SortsGiveTheDocumentedOrderAndKeepEqualKeysInPlace) {
    struct Row {
        const char* key;
        std::vector<Card> cards;
        std::vector<std::string> order;
    };
    const Row rows[] = {
        {"NAME", {Named("b"), Named("A"), Named(""), Named("a")}, {"A", "a", "b", "-"}},
        {"NAME", {Named("b"), Named("12"), Named("0"), Named("B")}, {"0", "12", "B", "b"}},
        {"NAME",
         {Named("x", 0, 1), Named(""), Named("x", 0, 2), Named("a"), Named("x", 0, 3)},
         {"a", "x#1", "x#2", "x#3", "-"}},
        {"RARITY",
         {Named("r1", 1), Named("r5", 5, 1), Named("r5", 5, 2), Named("r3", 3)},
         {"r5#1", "r5#2", "r3", "r1"}},
        {"EMPTY", {Named(""), Named("p"), Named(""), Named("q")}, {"p", "q", "-", "-"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        List<Card> list;
        for (const Card& c : r.cards)
            list.PushBack(c);
        SortCards(list, r.key, 0);
        EXPECT_EQ(Order(list), r.order);
        EXPECT_EQ(St().ListBusy, 0);
    }
}

TEST_F(CardListsTest, LongSortStaysStableAcrossManyMerges) {
    List<Card> list;
    for (int i = 1; i <= 200; ++i)
        list.PushBack(Named("c", i % 3, i));
    SortCards(list, "RARITY", 0);
    int lastRarity = 3;
    int lastGid = 0;
    for (const Card& c : list) {
        if (c.Rarity != lastRarity) {
            EXPECT_LT(c.Rarity, lastRarity);
            lastRarity = c.Rarity;
            lastGid = 0;
        }
        EXPECT_GT(c.GID, lastGid) << "equal rarities left their order";
        lastGid = c.GID;
    }
}

// Merges half by half, as the sort always did, one MSortMerge at a time.
void MergeHalves(List<Card>& list, int first, int last, const std::string& key) {
    if (last <= first) return;
    const int mid = (first + last) / 2;
    MergeHalves(list, first, mid, key);
    MergeHalves(list, mid + 1, last, key);
    MSortMerge(list, first, last, key);
}

// The sort works out the order on the cards' places and moves each card once; any comparison
// or merge it made otherwise would show as another order of equal or mixed keys.
TEST_F(CardListsTest, SortingGivesTheOrderMergingTheCardsHalfByHalfGives) {
    const Value keys[] = {Value(3),          Value(0),     Value(-2),     Value("0"),
                          Value("LASTSORT"), Value("abc"), Value("B"),    Value(""),
                          Value("12"),       Value(3),     Value("NONE"), Value(1.5)};
    St().Random.Seed(5);
    for (const char* key : {"NAME", "AILOVE"}) {
        for (int count : {1, 2, 3, 7, 10, 33}) {
            SCOPED_TRACE(std::string(key) + " " + std::to_string(count));
            List<Card> list;
            for (int i = 1; i <= count; ++i) {
                Card c = Named("c", 0, i);
                c.SortKey = keys[static_cast<int>(St().Random.Draw() * std::size(keys))];
                list.PushBack(c);
            }
            List<Card> merged = list;
            MergeHalves(merged, 1, merged.size(), key);
            MSortCards(list, 1, list.size(), key);
            EXPECT_EQ(Order(list), Order(merged));
        }
    }
}

TEST_F(CardListsTest, TrimDropsTrailingFreeSlotsButNeverTheFirst) {
    struct Row {
        std::vector<Card> cards;
        std::vector<std::string> order;
    };
    const Row rows[] = {
        {{Named("only"), Named(""), Named("")}, {"only"}},
        {{Named(""), Named("")}, {"-"}},
        {{Named(""), Named("b"), Named(""), Named("a")}, {"a", "b"}},
    };
    for (const Row& r : rows) {
        List<Card> list;
        for (const Card& c : r.cards)
            list.PushBack(c);
        SortCards(list, "NAME", 1);
        EXPECT_EQ(Order(list), r.order);
    }
}

TEST_F(CardListsTest, SortingEmptiesTheDesignersCurrentCard) {
    St().CurrentCard.Name = "Open";
    List<Card> list;
    SortCards(list, "NAME", 0);
    EXPECT_EQ(St().CurrentCard.Name, "");
}

TEST_F(CardListsTest, TraitSortPutsCardsWithoutTheTraitLastInTheirOrder) {
    List<Card> list;
    list.PushBack(WithTrait("none1", "", ""));
    list.PushBack(WithTrait("hp2", "HP", "2"));
    list.PushBack(WithTrait("none2", "", ""));
    list.PushBack(WithTrait("hp9", "HP", "9"));
    list.PushBack(WithTrait("word", "HP", "abc"));
    SortCards(list, "TRAIT:HP", 0);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"word", "hp9", "hp2", "none1", "none2"}));
    // Any other key is the name of a trait; cards without it key 0 and follow the others.
    SortCards(list, "HP", 0);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"word", "hp9", "hp2", "none1", "none2"}));
}

TEST_F(CardListsTest, AddingToAnArrayFillsAFreeSlotGrowsByOneOrRefusesADuplicate) {
    List<Card> list;
    list.PushBack(Named("a", 0, 7));
    list.PushBack(Named(""));
    Card dup = Named("dup", 0, 7);
    AddCardToArray(dup, list, 0);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"a#7", "-"}));

    Card fresh = Named("f", 0, 9);
    AddCardToArray(fresh, list, 1);
    EXPECT_EQ(Order(list), (std::vector<std::string>{"a#7", "f#9"})) << "free slot keeps its GID";

    Card grown = Named("g", 0, 9);
    AddCardToArray(grown, list, 0);
    EXPECT_EQ(list.size(), 2) << "same GID before any free slot";
    AddCardToArray(grown, list, 1);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[3].Name, "g");
    EXPECT_EQ(list[3].GID, grown.GID) << "the caller's record carries the new identifier";
}

TEST_F(CardListsTest, AddingWithANewIdentifierDrawsOneInRange) {
    List<Card> list;
    Card c = Named("g", 0, 5);
    AddCardToArray(c, list, 1);
    EXPECT_GE(c.GID, 1);
    EXPECT_LE(c.GID, 100000000);
    EXPECT_NE(c.GID, 5);
}

TEST_F(CardListsTest, DeckListsStoreLinkAndRemoveIdentifiers) {
    St().Collection.PushBack(Named("x", 0, 11));
    St().Collection.PushBack(Named("y", 0, 22));
    DeckList deck;
    deck.CardIds = {22, 0, 0};
    St().Decks.PushBack(deck);

    Card x = Named("x", 0, 11);
    AddToDeck(x, 1, 0);
    DeckList& d = St().Decks[1];
    EXPECT_EQ(d.CardIds, (List<int32_t>{22, 11, 0}));
    EXPECT_EQ(d.Positions, (List<float>{2, 1, 0})) << "linked against the collection in mode 0";

    Card y = Named("y", 0, 22);
    AddToDeck(y, 1, 2);
    EXPECT_EQ(d.CardIds, (List<int32_t>{22, 11, 0})) << "a clash with force stores nothing";

    d.CardIds = {5, 11, 5};
    d.Positions = {1, 1, 1};
    RemoveFromDeck(d, 5);
    EXPECT_EQ(d.CardIds, (List<int32_t>{0, 11, 5})) << "only the first of two is cleared";
    EXPECT_EQ(d.Positions, (List<float>{0, 1, 1}));
}

TEST_F(CardListsTest, DeckListsLinkAgainstTheDesignersCardsInCardTest) {
    St().EditCards.PushBack(Named("e", 0, 33));
    St().Collection.PushBack(Named("c", 0, 33));
    St().Collection.PushBack(Named("c", 0, 44));
    St().Decks.PushBack(DeckList{"d", {44, 0}, {}});
    St().DeckManagerMode = 2;
    Card e = Named("e", 0, 33);
    AddToDeck(e, 1, 0);
    EXPECT_EQ(St().Decks[1].Positions, (List<float>{0, 1}));
    St().DeckManagerMode = 3;
    St().Decks[1].CardIds[2] = 0;
    AddToDeck(e, 1, 0);
    EXPECT_EQ(St().Decks[1].Positions, (List<float>{0, 1})) << "not linked in other modes";
}

TEST_F(CardListsTest, TemplatesReplaceByNameOrTakeTheFirstFreeSlot) {
    AddEditTemplate(Named("Imp"), "back1.bmp", "one", 5);
    AddEditTemplate(Named("Orc"), "back2.bmp", "two", 6);
    AddEditTemplate(Named("Imp"), "back3.bmp", "three", 7);
    ASSERT_EQ(St().Templates.size(), 2);
    EXPECT_EQ(St().Templates[1].BackPicture, "back3.bmp");
    EXPECT_EQ(St().Templates[1].Extra, "three");
    EXPECT_EQ(St().Templates[1].Colour, 7);
    St().Templates[2].card.Name.clear();
    AddEditTemplate(Named("Elf"), "b", "t", 1);
    EXPECT_EQ(St().Templates.size(), 2);
    EXPECT_EQ(St().Templates[2].card.Name, "Elf");
}

TEST_F(CardListsTest, TruncatingTheCollectionKeepsNamedCardsInOrder) {
    auto& col = St().Collection;
    for (const char* n : {"", "a", "", "b", ""})
        col.PushBack(Named(n));
    TruncateCollection();
    EXPECT_EQ(Order(col), (std::vector<std::string>{"a", "b"}));
    col = List<Card>(3);
    TruncateCollection();
    EXPECT_EQ(col.size(), 3) << "a collection without named cards is left alone";

    col = List<Card>{};
    for (const char* n : {"c", "", "a"})
        col.PushBack(Named(n));
    SortCollectionByName();
    EXPECT_EQ(Order(col), (std::vector<std::string>{"a", "c"}));
}

TEST_F(CardListsTest, AddingToTheCollectionFillsTheFirstFreeSlotOrGrowsByOne) {
    auto& col = St().Collection;
    col.PushBack(Named("a"));
    col.PushBack(Named(""));
    Card b = Named("b");
    AddToCollection(b);
    EXPECT_EQ(col.size(), 2);
    EXPECT_EQ(col[2].Name, "b");
    Card c = Named("c");
    AddToCollection(c);
    EXPECT_EQ(col.size(), 3);
    EXPECT_EQ(col[3].Name, "c");
}

TEST_F(CardListsTest, AddingToTheCollectionGivesANewIdentifierToTheCallerToo) {
    Card b = Named("b", 0, 0);
    AddToCollection(b);
    EXPECT_GE(b.GID, 1);
    EXPECT_LE(b.GID, 200000000);
    EXPECT_EQ(St().Collection[1].GID, b.GID);
}

TEST_F(CardListsTest, LinkingAFreshDeckFindsFirstMatchesAndLeavesUnknownsUnlinked) {
    List<Card> cards;
    cards.PushBack(Named("a", 0, 4));
    cards.PushBack(Named("b", 0, 9));
    cards.PushBack(Named("c", 0, 4));
    DeckList deck{"d", {4, 0, 8, 9}, {}};
    LinkDeck(deck, cards);
    EXPECT_EQ(deck.Positions, (List<float>{1, 0, 0, 2}));
}

TEST_F(CardListsTest, ShufflingAListKeepsEveryCard) {
    List<Card> list;
    for (int i = 1; i <= 6; ++i)
        list.PushBack(Named("c", 0, i));
    RandomizeCards(list);
    std::vector<int> gids;
    for (const Card& c : list)
        gids.push_back(c.GID);
    std::sort(gids.begin(), gids.end());
    EXPECT_EQ(gids, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// Boosters add thousands of cards a turn, and each add once looked through the whole collection
// and every deck for a free slot and an unused identifier. Under CollectionAdditions the adds keep
// both, and pick what the look picks: the same identifiers, in the same slots, with the generator
// left the same.
TEST_F(CardListsTest, AddsThatKeepTheCollectionsSlotsAndIdentifiersPickWhatALookPicks) {
    struct Row {
        const char* what;
        bool clash;      // the first identifier drawn is one a deck holds
        int freedAfter;  // after this many adds, slot 1 is freed by something else (0: never)
    };
    const Row rows[] = {
        {"free slots, then growth", false, 0},
        {"an identifier drawn twice", true, 0},
        {"a slot freed meanwhile", false, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<List<Card>> collections;
        std::vector<Rng> generators;
        for (const bool kept : {false, true}) {
            State& st = St();
            st.Random = Rng();
            st.Random.Seed(7);
            st.Collection = {Named("A", 0, 11), Named("", 0, 12), Named("C", 0, 13),
                             Named("", 0, 14), Named("E", 0, 15)};
            st.Decks = List<DeckList>(1);
            st.Decks[1].CardIds = {21, 22};
            if (r.clash) {
                const Rng before = st.Random;
                st.Decks[1].CardIds.PushBack(static_cast<int32_t>(RandomNum(200000000)));
                st.Random = before;
            }
            std::optional<CollectionAdditions> additions;
            if (kept) additions.emplace();
            for (int a = 1; a <= 4; ++a) {
                Card card = Named("New" + std::to_string(a));
                AddToCollection(card);
                if (a == r.freedAfter) {
                    st.Collection[1].Name.clear();
                    CollectionChanged();
                }
            }
            collections.push_back(st.Collection);
            generators.push_back(st.Random);
        }
        EXPECT_EQ(Order(collections[1]), Order(collections[0]));
        EXPECT_EQ(generators[1], generators[0]);
        if (r.clash) {
            EXPECT_NE(collections[0][2].GID, St().Decks[1].CardIds[3]);
        }
    }
}

}  // namespace
}  // namespace dv
