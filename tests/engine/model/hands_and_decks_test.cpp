#include "engine/model/hands_and_decks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "engine/rules/card_life.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using HandsAndDecksTest = test::EngineTest;

Card Named(const std::string& name) {
    Card c;
    c.Name = name;
    return c;
}

// Deck bottom to top, e.g. {"", "a", "b"}: "b" is drawn first and the bottom card never.
Player WithDeck(const std::vector<std::string>& deck, int freeHandSlots = 10) {
    Player p;
    InitPlayer(p, 1);
    p.Deck = {};
    for (const auto& n : deck)
        p.Deck.PushBack(Named(n));
    for (int h = freeHandSlots + 1; h <= 10; ++h)
        p.Hand[h] = Named("held");
    return p;
}

std::vector<std::string> Names(const List<Card>& list) {
    std::vector<std::string> out;
    for (const Card& c : list)
        out.push_back(c.Name);
    return out;
}

TEST_F(HandsAndDecksTest, DrawingTakesFromTheTopAndSpendsDrawsOnAFullHand) {
    struct Row {
        const char* what;
        std::vector<std::string> deck;
        int freeSlots;
        int count;
        std::vector<std::string> deckAfter;
        std::vector<std::string> drawn;
    };
    const Row rows[] = {
        {"two", {"bottom", "a", "b", "c"}, 10, 2, {"bottom", "a"}, {"c", "b"}},
        {"count 0 draws one", {"bottom", "a", "b"}, 10, 0, {"bottom", "a"}, {"b"}},
        {"the bottom card stays", {"bottom", "a"}, 10, 5, {"bottom"}, {"a"}},
        {"one card draws nothing", {"bottom"}, 10, 1, {"bottom"}, {}},
        {"empty cards are not draws", {"bottom", "a", "", "b"}, 10, 2, {"bottom"}, {"b", "a"}},
        {"full hand", {"bottom", "a", "b"}, 0, 3, {"bottom", "a", "b"}, {}},
        {"hand fills", {"bottom", "a", "b", "c"}, 1, 3, {"bottom", "a", "b"}, {"c"}},
        {"huge count", {"bottom", "a"}, 10, 2000000000, {"bottom"}, {"a"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Player p = WithDeck(r.deck, r.freeSlots);
        DrawCards(p, r.count);
        EXPECT_EQ(Names(p.Deck), r.deckAfter);
        std::vector<std::string> drawn;
        for (const Card& c : p.Hand)
            if (!c.Name.empty() && c.Name != "held") drawn.push_back(c.Name);
        EXPECT_EQ(drawn, r.drawn);
    }
}

TEST_F(HandsAndDecksTest, TakingIntoTheHandUsesTheFirstFreeSlotAndMayEmptyTheSource) {
    Player p = WithDeck({""}, 2);
    Card a = Named("a");
    AddCardToHand(p, a, 0);
    EXPECT_EQ(p.Hand[1].Name, "a");
    EXPECT_EQ(a.Name, "a");
    Card b = Named("b");
    AddCardToHand(p, b, 1);
    EXPECT_EQ(p.Hand[2].Name, "b");
    EXPECT_EQ(b.Name, "");
    Card c = Named("c");
    AddCardToHand(p, c, 1);
    EXPECT_EQ(c.Name, "") << "a full hand drops the card but still empties the source";
    for (const Card& h : p.Hand)
        EXPECT_NE(h.Name, "c");
    Card none;
    AddCardToHand(p, none, 1);
    EXPECT_EQ(Names(p.Hand)[0], "a");
}

TEST_F(HandsAndDecksTest, SettingUpAPlayerKeepsNameTokensAndOriginalDeck) {
    Player p;
    p.Name = "Ann";
    p.Tokens = 500;
    p.OrigDeck = {Named("kept")};
    p.Deck = {Named("x"), Named("y")};
    p.WonMissions = {"m1", "m2"};
    InitPlayer(p, 2);
    EXPECT_EQ(p.Deck.size(), 1);
    EXPECT_EQ(p.Deck[1].Name, "");
    EXPECT_EQ(p.Hand.size(), 10);
    EXPECT_EQ(p.WonMissions, List<std::string>(1));
    EXPECT_EQ(p.Id, 2);
    EXPECT_EQ(p.Name, "Ann");
    EXPECT_EQ(p.Tokens, 500);
    EXPECT_EQ(p.OrigDeck.size(), 1);
}

TEST_F(HandsAndDecksTest, ShufflingADeckKeepsEveryCard) {
    Player p = WithDeck({"a", "b", "c", "d", "e"});
    ShuffleDeck(p);
    std::vector<std::string> names = Names(p.Deck);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST_F(HandsAndDecksTest, ShufflingCanMoveTheBottomCard) {
    bool moved = false;
    for (int i = 0; i < 50 && !moved; ++i) {
        Player p = WithDeck({"a", "b", "c", "d", "e"});
        ShuffleDeck(p);
        moved = p.Deck[1].Name != "a";
    }
    EXPECT_TRUE(moved);
}

}  // namespace
}  // namespace dv
