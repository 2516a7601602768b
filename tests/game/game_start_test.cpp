#include "game/game_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/interpreter/eff_card.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"
#include "tests/support/recording_host.h"

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

// A starter deck's card hands out its cards on the game start; nothing but the rules card used to
// hear of it.
TEST_F(GameStartTest, CardsInPlayAnswerTheGameStartAfterTheRulesCard) {
    struct Row {
        const char* card;
        const char* startTime;
        uint8_t active;
        int32_t tokensAfter;  // each answer adds 5 tokens to the 100
    };
    const Row rows[] = {
        {"active card", "TURNSTART", 1, 105},
        {"card waiting for the game start", "GAMESTART", 0, 105},
        {"card waiting for the turn start", "TURNSTART", 0, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.card);
        CollectionDeck({});
        St().Players[2].Deck = List<Card>(1);
        St().Players[1].Tokens = 100;
        const int card = Place(r.card, 0);
        Script(card, "MODTOKENS:5", "GAMESTART");
        C(card).StartTime = r.startTime;
        C(card).Active = r.active;
        inPlayAtGameStart.clear();

        StartGame();

        EXPECT_EQ(St().Players[1].Tokens, r.tokensAfter);
        EXPECT_EQ(C(card).Active, r.tokensAfter > 100 ? 1 : r.active);
        EXPECT_FALSE(inPlayAtGameStart.empty()) << "the rules card ran";
        C(card).Name.clear();
    }
}

// The deck lists are read afresh by every new-game set-up; a number chosen before it may name a
// list that is no longer there, as for a new player who has the one empty list.
TEST_F(GameStartTest, ADeckNumberBeyondTheDeckListsPlaysTheFirstList) {
    struct Row {
        int current;
        int lists;
        int currentAfter;
    };
    const Row rows[] = {{0, 1, 1}, {3, 1, 1}, {2, 2, 2}, {9, 2, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.current) + " of " + std::to_string(r.lists));
        CollectionDeck({Owned("Listed", 1, 61, {"STARTSINPLAY"})});
        St().Decks.Resize(r.lists);
        St().Players[2].Deck = List<Card>(1);
        St().CurrentDeck = static_cast<uint8_t>(r.current);
        host.messages.clear();

        StartGame();

        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_EQ(St().CurrentDeck, r.currentAfter);
        const std::vector<std::string> names = NamedInPlay();
        EXPECT_EQ(std::count(names.begin(), names.end(), "Listed"), r.currentAfter == 1 ? 1 : 0);
        for (Card& card : St().InPlay)
            if (card.Name == "Listed") card.Name.clear();
    }
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
    test::RecordingHost flow;
};

TEST_F(GameLinkTest, LinksThatStartNoGame) {
    struct Row {
        const char* link;
        const char* message;  // the one message shown, or empty for none
    };
    const Row rows[] = {
        {"HELP:zeta.html", ""},
        {"GAME:7:Imp_Enemy.txt",
         "Error in StartGameFromLink: GAME:7:Imp_Enemy.txt: there is no game numbered 7"},
        {"game:1:Imp_Enemy.txt",
         "You do not have a deck for this game!\nPlease choose a starter deck or a card store."},
        // These were "not found", and the start went on as against an empty opponent.
        {"GAME:1:odd/Pipe_Enemy.txt",
         "Error in reading cards: odd/Pipe_Enemy.txt: the file cannot be read: not a regular file"},
        {"GAME:1:odd/Zero_Enemy.txt",
         "Error in reading cards: odd/Zero_Enemy.txt: the file cannot be read: not a regular file"},
    };
    std::filesystem::create_directories(Folder() / "zeta" / "odd");
    ASSERT_EQ(::mkfifo((Folder() / "zeta" / "odd" / "Pipe_Enemy.txt").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", Folder() / "zeta" / "odd" / "Zero_Enemy.txt");
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

// The refused start had read its opponent into the opponent's deck; the next game's opponent was
// read on top, so a starter deck handed out the refused opponent's cards too.
TEST_F(GameLinkTest, AGameRefusedForWantOfADeckLeavesNothingOfItsOpponent) {
    WriteFile("zeta/Imp_Enemy.txt",
              "#ENEMYDECK, Imp, imp, , , , #FF0000, , An imp.\r\n"
              "#CARD, INDECK, \"Imp\", \"imp:71\", , , , #FF0000, \"An imp.\"\r\n");
    WriteFile("zeta/Zeta_Starter.txt",
              "#STARTERDECK\r\n#CARD, INDECK, \"Newt\", \"newt:81\", , , , #FFFFFF, \"\"\r\n"
              "#CARD, INDECK, \"Toad\", \"toad:82\", , , , #FFFFFF, \"\"\r\n");

    EXPECT_FALSE(StartGameFromLink("GAME:1:Imp_Enemy.txt"));
    ASSERT_TRUE(StartGameFromLink("GAME:1:Zeta_Starter.txt"));

    std::vector<std::string> stock;
    for (const Card& card : St().Players[2].OrigDeck)
        if (!card.Name.empty()) stock.push_back(card.Name);
    std::sort(stock.begin(), stock.end());
    EXPECT_EQ(stock, (std::vector<std::string>{"Newt", "Toad"}));
}

// A computer game that played a starter deck file leaves StarterDeck set; the next game of the
// player then started without the player file and without the deck manager.
TEST_F(GameLinkTest, AStarterDeckReadBeforeTheLinkMakesNoStarterGame) {
    St().StarterDeck = 1;

    EXPECT_FALSE(StartGameFromLink("GAME:1:Imp_Enemy.txt"));

    ASSERT_EQ(flow.messages.size(), 1u);
    EXPECT_EQ(
        flow.messages[0],
        "You do not have a deck for this game!\nPlease choose a starter deck or a card store.");
    EXPECT_EQ(St().GameStarted, 0);
}

// A game started as the player starts it, against an opponent of hundreds of one card with ten ALL
// effects: every effect meets every card in play, and the budgets cut the runs. Each run built its
// cards' pictures for the turn log, even one that ended at its requirement and wrote nothing.
TEST_F(GameLinkTest, ACrowdedBoardsRunsBuildPicturesOnlyForEchoesThatShowThem) {
    constexpr int kCopies = 300;
    struct Row {
        const char* script;
        long long maxBuilds;  // of the cards' picture links
    };
    const Row rows[] = {
        {"REQTRAIT:WINGS:ECHOMINOR:x", 0},
        {"REQTRAIT:HP:ECHOMINOR:x", 0},
        {"REQTRAIT:HP:ECHO:x", kMaxTurnRuns},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        std::string crowd =
            "#ENEMYDECK, Imp, imp, , , , #FF0000, , An imp.\r\n"
            "#CARD, INDECK, \"Swarmling\", \"swarmling:91\", , swarm.jpg, swarm-mini.jpg, #6A8F4A, "
            "\"\"\r\n#TRAIT, \"HP:5\", #TRAIT, \"STARTSINPLAY:\", \r\n";
        for (int phase = 1; phase <= 10; ++phase)
            crowd += "#EFFECT, ALL, PHASE" + std::to_string(phase) + ", \"" + r.script + "\"\r\n";
        crowd += "#DUPLICATE, " + std::to_string(kCopies - 1) + "\r\n";
        WriteFile("zeta/Crowd_Enemy.txt", crowd);
        WriteFile("Zeta_Guest.plr", "#TOKENS, 10\r\n");
        const long long setUps = RunsSetUp();
        const long long builds = RunPictureBuilds();

        ASSERT_TRUE(StartGameFromLink("GAME:1:Crowd_Enemy.txt"));

        // The first turn spends its budget; the start runs no phase.
        EXPECT_GE(RunsSetUp() - setUps, kMaxTurnRuns);
        EXPECT_LE(RunsSetUp() - setUps, kMaxTurnRuns + kCopies);
        EXPECT_LE(RunPictureBuilds() - builds, r.maxBuilds);
    }
}

TEST_F(GameLinkTest, RejectedDeckStartsANewGameInstead) {
    WriteFile("Zeta_Guest.plr", "#TOKENS, 10\r\n");
    flow.onCall[WindowCall::ShowDeckManager] = [] { St().DeckRejected = 1; };

    EXPECT_FALSE(StartGameFromLink("GAME:1:Imp_Enemy.txt"));

    EXPECT_EQ(St().GameStarted, 0);
    EXPECT_EQ(St().DeckRejected, 0) << "the new-game set-up ran";
    ASSERT_FALSE(St().InPlay.empty());
    EXPECT_EQ(St().InPlay[1].Name, "Player 1");
}

}  // namespace
}  // namespace dv
