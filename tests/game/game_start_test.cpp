#include "game/game_start.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/engine/interpreter/board_fixture.h"
#include "tests/game/flow_host.h"

namespace dv {
namespace {

// Names of the named cards in play when the rules card's GAMESTART actions ran.
std::vector<std::string> inPlayAtGameStart;
void SeeBoard(RunContext& run) {
    inPlayAtGameStart.clear();
    for (const Card& c : St().InPlay)
        if (!c.Name.empty()) inPlayAtGameStart.push_back(c.Name);
    ++run.applied;
}

class GameStartTest : public test::BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        inPlayAtGameStart.clear();
        StandIn("BREAKPOINT", SeeBoard);
        AddEffect(St().RulesCard, "BREAKPOINT", 7, "GAMESTART", 0, "");
        St().RulesCard.Name = "Rules";
        St().RulesCard.Active = 1;
        // The board's player cards stand for the set-up's placeholders.
        C(hero).Name = "Player 1";
        C(foe).Name = "Player 2";
    }

    Card Owned(const std::string& name, int owner, int32_t gid,
               std::initializer_list<const char*> traits = {}) {
        Card card;
        card.Name = name;
        InitCard(card, owner, 0);
        card.GID = gid;
        for (const char* trait : traits)
            SetTrait(card, trait, "", 1);
        return card;
    }

    // A collection of the given cards and deck list 1 over all of them.
    void CollectionDeck(const std::vector<Card>& cards) {
        State& st = St();
        st.Collection = List<Card>(0);
        st.Decks = List<DeckList>(1);
        for (const Card& card : cards) {
            st.Collection.PushBack(card);
            st.Decks[1].CardIds.PushBack(card.GID);
        }
    }

    std::vector<std::string> NamedInPlay() {
        std::vector<std::string> names;
        for (const Card& c : St().InPlay)
            if (!c.Name.empty()) names.push_back(c.Name);
        return names;
    }
};

TEST_F(GameStartTest, StartingCardsEnterOnceAndLeaveTheirDecks) {
    CollectionDeck({Owned("Lamplighter", 1, 11, {"PLAYER"}),
                    Owned("Moth Shrine", 1, 12, {"STARTSINPLAY", "PLAYER"}),
                    Owned("Mossling", 1, 13)});
    St().Players[2].Deck = {Owned("Bogwarden", 2, 21, {"PLAYER"}),
                            Owned("Chapel Wraith", 2, 22, {"STARTSINPLAY"}),
                            Owned("Bog Hound", 2, 23)};
    St().CurrentDeck = 0;

    StartGame();

    EXPECT_EQ(St().CurrentDeck, 1) << "no deck chosen plays the first deck list";
    const std::vector<std::string> names = NamedInPlay();
    ASSERT_EQ(names.size(), 6u) << "a card with both traits enters once";
    // Player 1's starting cards come before player 2's.
    int firstOfPlayer2 = 0;
    for (int i = 1; i <= St().InPlay.size(); ++i)
        if (St().InPlay[i].Name == "Bogwarden" || St().InPlay[i].Name == "Chapel Wraith")
            firstOfPlayer2 = firstOfPlayer2 ? firstOfPlayer2 : i;
    for (int i = 1; i <= St().InPlay.size(); ++i) {
        if (St().InPlay[i].Name == "Lamplighter" || St().InPlay[i].Name == "Moth Shrine") {
            EXPECT_LT(i, firstOfPlayer2);
        }
    }

    for (int p = 1; p <= 2; ++p) {
        int named = 0;
        for (Card& card : St().Players[p].Deck) {
            if (card.Name.empty()) {
                EXPECT_FALSE(card.TraitNames[1].empty()) << "a freed slot keeps its traits";
                continue;
            }
            ++named;
        }
        EXPECT_EQ(named, 1) << "player " << p;
    }
    EXPECT_EQ(inPlayAtGameStart.size(), 6u) << "GAMESTART runs once every starting card is in";
}

TEST_F(GameStartTest, KeptFirstDeckIsPlayedWhateverTheDeckList) {
    CollectionDeck({Owned("Listed", 1, 31, {"STARTSINPLAY"})});
    St().Players[1].Deck = {Owned("Read From File", 1, 41, {"STARTSINPLAY"})};
    St().Players[2].Deck = List<Card>(1);
    St().CurrentDeck = 1;

    StartGame(1);

    const std::vector<std::string> names = NamedInPlay();
    EXPECT_NE(std::find(names.begin(), names.end(), "Read From File"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Listed"), names.end());
}

TEST_F(GameStartTest, DeckCopiesKeepSlotsAndGaps) {
    Player player;
    player.Deck = List<Card>(40);
    for (int i = 1; i <= 40; ++i)
        if (i % 8 != 0) player.Deck[i] = Owned("Card " + std::to_string(i), 1, i);
    MakeOrigDeck(player);
    ASSERT_EQ(player.OrigDeck.size(), 40);
    for (int i = 1; i <= 40; ++i)
        EXPECT_EQ(player.OrigDeck[i].Name, player.Deck[i].Name) << i;

    // A deck list entry that no collection card carries leaves a free slot in its place.
    CollectionDeck({Owned("A", 1, 51), Owned("B", 1, 52)});
    St().Decks[1].CardIds = {51, 99, 52};
    List<Card> cards;
    CopyToDeck(St().Decks[1], cards);
    ASSERT_EQ(cards.size(), 3);
    EXPECT_EQ(cards[1].Name, "A");
    EXPECT_TRUE(cards[2].Name.empty());
    EXPECT_EQ(cards[3].Name, "B");
    MakeDeck(player, 1);
    ASSERT_EQ(player.Deck.size(), 3);
    EXPECT_EQ(player.Deck[3].Name, "B");
}

class GameLinkTest : public test::BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        SetHost(&flow);
        St().SeedOverride = 5;
        St().CurrentProfile.Name = "Guest";
        WriteFile("Zeta.gam", "#GAMERULES, Zeta, , #223344, zeta, zeta.html\r\n");
        WriteFile("zeta/Imp_Enemy.txt", "#ENEMYDECK, Imp, imp, , , , #FF0000, , An imp.\r\n");
        St().Games = List<GameInfo>(1);
        St().Games[1].Name = "Zeta";
        St().Games[1].GameFile = "Zeta.gam";
        St().Games[1].Folder = "zeta";
    }
    test::FlowHost flow;
};

TEST_F(GameLinkTest, LinksThatStartNoGame) {
    struct Row {
        const char* link;
        const char* message;  // the one message shown, or empty for none
    };
    const Row rows[] = {
        {"HELP:zeta.html", ""},
        {"GAME:7:Imp_Enemy.txt", "Error in StartGameFromLink"},
        {"game:1:Imp_Enemy.txt",
         "You do not have a deck for this game!\nPlease choose a starter deck or a card store."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.link);
        flow.messages.clear();
        St().GameStarted = 0;
        EXPECT_FALSE(StartGameFromLink(r.link));
        EXPECT_EQ(St().GameStarted, 0);
        if (*r.message) {
            ASSERT_EQ(flow.messages.size(), 1u);
            EXPECT_EQ(flow.messages[0], r.message);
        } else {
            EXPECT_TRUE(flow.messages.empty());
        }
    }
    EXPECT_EQ(St().CurrentFolder, St().ProgramFolder) << "the refusal leaves the game folder";
}

TEST_F(GameLinkTest, RejectedDeckStartsANewGameInstead) {
    WriteFile("Zeta_Guest.plr", "#TOKENS, 10\r\n");
    flow.onDeckManager = [] { St().DeckRejected = 1; };

    EXPECT_FALSE(StartGameFromLink("GAME:1:Imp_Enemy.txt"));

    EXPECT_EQ(St().GameStarted, 0);
    EXPECT_EQ(St().DeckRejected, 0) << "the new-game set-up ran";
    ASSERT_FALSE(St().InPlay.empty());
    EXPECT_EQ(St().InPlay[1].Name, "Player 1");
}

}  // namespace
}  // namespace dv
