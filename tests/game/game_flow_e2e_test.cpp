// A whole game without windows: the sample game of content/ in a program folder of its own,
// driven through the host from start-up to three played turns.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/card_files.h"
#include "data/games_page.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/card_life.h"
#include "game/game_start.h"
#include "game/play_queue.h"
#include "game/startup.h"
#include "game/turn.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/first_profile.h"
#include "tests/support/recording_host.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

class GameFlowEndToEnd : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetHost(&flow);
        fs::copy(fs::path(DV_SOURCE_DIR) / "content", Folder(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        St().SeedOverride = 2024;
        // The profile chooser: the player picks the first profile of the list.
        flow.onCall[WindowCall::ShowProfileMenu] = test::ChooseFirstProfile;
        // The deck manager: the player plays the profile's starter deck, deck list 1.
        flow.onCall[WindowCall::ShowDeckManager] = [] { St().CurrentDeck = 1; };
    }

    std::string Page(const std::string& name) const {
        return ReadWholeFile(Folder() / name).value_or("");
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    // The slot in play of the first named card of that name, 0 when none.
    static int InPlayNamed(const std::string& name) {
        const auto& inPlay = St().InPlay;
        for (int i = 1; i <= inPlay.size(); ++i)
            if (inPlay[i].Name == name) return i;
        return 0;
    }

    // The opponent portrait link of the games page.
    std::string OpponentLink(const std::string& opponentFile) const {
        const std::string page = Page("Display.html");
        const std::size_t end = page.find(opponentFile + "\"");
        if (end == std::string::npos) return {};
        const std::size_t start = page.rfind("\"GAME:", end);
        return page.substr(start + 1, end + opponentFile.size() - start - 1);
    }

    void StartUpAndStartTheSampleGame() {
        Main();
        ASSERT_EQ(St().CurrentProfile.Name, "Guest");
        const std::string link = OpponentLink("Bogwarden_Enemy.txt");
        ASSERT_FALSE(link.empty()) << Page("Display.html");
        ASSERT_TRUE(StartGameFromLink(link));
    }

    test::RecordingHost flow;
};

TEST_F(GameFlowEndToEnd, StartUpChoosesTheProfileAndStartsTheSampleGame) {
    Main();

    State& st = St();
    auto at = [&](const std::string& call) {
        return std::find(flow.calls.begin(), flow.calls.end(), call) - flow.calls.begin();
    };
    EXPECT_LT(at("ShowProfileMenu"), at("ShowMainWindow"));
    EXPECT_EQ(st.EndProgram, 0);
    EXPECT_EQ(st.CurrentProfile.Name, "Guest");
    EXPECT_FALSE(st.DeckRules.empty()) << "the profile's game file was read";
    ASSERT_GE(st.Decks.size(), 1);
    EXPECT_EQ(st.Decks[1].Name, "Starter Deck");
    int owned = 0;
    for (const Card& card : st.Collection)
        owned += card.Name.empty() ? 0 : 1;
    EXPECT_GE(owned, 30);

    ASSERT_EQ(flow.pages.size(), 1u);
    EXPECT_EQ(flow.pages[0].viewer, "ulkBrowser1");
    const std::string gamesPage = Page("Display.html");
    EXPECT_TRUE(Has(gamesPage, DisplayGames()));
    EXPECT_TRUE(Has(gamesPage, "Mosslight"));
    EXPECT_TRUE(Has(gamesPage, "HELP:MosslightHelp.html"));
    const std::string link = OpponentLink("Bogwarden_Enemy.txt");
    ASSERT_FALSE(link.empty());

    ASSERT_TRUE(StartGameFromLink(link));

    EXPECT_EQ(st.GameStarted, 1);
    EXPECT_EQ(st.Games[st.CurrentGame].Name, "Mosslight");
    EXPECT_EQ(st.CurrentGameFile, "Mosslight.gam");
    EXPECT_EQ(st.CurrentFolder, st.ProgramFolder);
    EXPECT_EQ(st.StarterDeck, 0);
    EXPECT_EQ(st.CurrentDeck, 1);
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();

    const int lamplighter = InPlayNamed("Lamplighter");
    const int bogwarden = InPlayNamed("Bogwarden");
    ASSERT_GT(lamplighter, 0);
    ASSERT_GT(bogwarden, 0);
    EXPECT_EQ(st.InPlay[lamplighter].Owner, 1);
    EXPECT_EQ(st.InPlay[bogwarden].Owner, 2);
    EXPECT_EQ(st.Players[1].CardIndex, lamplighter);
    EXPECT_EQ(st.Players[2].CardIndex, bogwarden);
    EXPECT_EQ(st.InPlay[lamplighter].Active, 1);
    EXPECT_TRUE(Has(Page("Display.html"), "The marsh lanterns flicker to life."))
        << "the rules card's GAMESTART actions ran";

    // The starter deck less the player card, which went into play, is in the deck or was drawn
    // in the first turn.
    int inDeck = 0;
    for (const Card& card : st.Players[1].Deck) {
        inDeck += card.Name.empty() ? 0 : 1;
        EXPECT_NE(card.Name, "Lamplighter");
    }
    for (const Card& card : st.Players[1].Hand)
        inDeck += card.Name.empty() ? 0 : 1;
    int listed = 0;
    for (int32_t id : st.Decks[1].CardIds)
        listed += id != 0 ? 1 : 0;
    EXPECT_EQ(inDeck, listed - 1);
}

TEST_F(GameFlowEndToEnd, QueuedPlayWithATargetAndThreeTurns) {
    StartUpAndStartTheSampleGame();
    State& st = St();

    // The first turn: the phases ran, nothing was played, and its report page is shown.
    const int lamplighter = InPlayNamed("Lamplighter");
    const int bogwarden = InPlayNamed("Bogwarden");
    ASSERT_GT(lamplighter, 0);
    ASSERT_GT(bogwarden, 0);
    EXPECT_TRUE(Has(Page("Display.html"), "Lamplighter"));
    EXPECT_EQ(Page("Display.html"), Page("LastDiplayed.html"));
    EXPECT_EQ(GetTrait(st.InPlay[lamplighter], "ROUND").Text(), "1");
    int handSize = 0;
    for (const Card& card : st.Players[1].Hand)
        handSize += card.Name.empty() ? 0 : 1;
    EXPECT_GE(handSize, 4) << "the opening hand was drawn";

    // Queue a spark at the opponent's player card; fetch one from the deck when none was drawn.
    int spark = 0;
    for (int h = 1; h <= st.Players[1].Hand.size(); ++h)
        if (st.Players[1].Hand[h].Name == "Spark of Dawn") spark = h;
    if (spark == 0) {
        Card fetched;
        for (Card& card : st.Players[1].Deck) {
            if (card.Name != "Spark of Dawn") continue;
            fetched = card;
            card.Name.clear();
            break;
        }
        ASSERT_EQ(fetched.Name, "Spark of Dawn");
        for (int h = 1; h <= st.Players[1].Hand.size() && spark == 0; ++h)
            if (st.Players[1].Hand[h].Name.empty()) spark = h;
        ASSERT_GT(spark, 0);
        st.Players[1].Hand[spark] = fetched;
    }
    const int32_t sparkGid = st.Players[1].Hand[spark].GID;
    AddAction(spark, bogwarden);
    DisplayActionList();
    EXPECT_EQ(st.ActionCards[1], spark);
    EXPECT_EQ(st.ActionTargets[1], bogwarden);
    EXPECT_TRUE(Has(Page("Display.html"), "Spark of Dawn")) << "the queued-plays page";

    const std::string hpBefore = GetTrait(st.InPlay[bogwarden], "HP").Text();
    PlayCards(0);

    EXPECT_EQ(st.ActionCards[1], 0) << "the queue is played and emptied";
    // The turn's draw may fill the freed slot again, but never with the card played.
    EXPECT_NE(st.Players[1].Hand[spark].GID, sparkGid) << "the played card left the hand";
    EXPECT_EQ(GetTrait(st.InPlay[bogwarden], "HP").Num(), ReadNumber(hpBefore) - 2)
        << "the spark hit the queued target";
    const std::string report = Page("Display.html");
    EXPECT_TRUE(Has(report, "Enemy Card Plays"));
    EXPECT_TRUE(Has(report, "A spark of dawn burns"));
    EXPECT_EQ(report, Page("LastDiplayed.html"));
    EXPECT_EQ(GetTrait(st.InPlay[lamplighter], "ROUND").Text(), "2");

    for (int turn = 3; turn <= 4; ++turn) {
        SCOPED_TRACE(turn);
        PlayCards(0);
        EXPECT_EQ(GetTrait(st.InPlay[lamplighter], "ROUND").Num(), turn);
        EXPECT_EQ(Page("Display.html"), Page("LastDiplayed.html"));
        EXPECT_TRUE(Has(Page("Display.html"), "Lamplighter"));
    }
    EXPECT_EQ(st.GameOver, 0);
}

// The sample game's help sends a new player to a player card clicked on the board to see its HP
// and its glow: the card view shows them as they stand, for either side, and again after a turn.
TEST_F(GameFlowEndToEnd, AClickedPlayerCardShowsItsHpAndGlowAsTheyStand) {
    StartUpAndStartTheSampleGame();
    State& st = St();
    std::string before;
    for (int turn = 1; turn <= 2; ++turn) {
        for (const char* name : {"Lamplighter", "Bogwarden"}) {
            SCOPED_TRACE(std::string(name) + " in turn " + std::to_string(turn));
            const int slot = InPlayNamed(name);
            ASSERT_GT(slot, 0);
            Card& card = st.InPlay[slot];
            DisplayCard(card, 1);
            const std::string view = Page("CardDesc.html");
            EXPECT_TRUE(Has(view, "<b>HP:</b> " + GetTrait(card, "HP").Text() + " ")) << view;
            const std::string glow = GetTrait(card, "GLOW").Text();
            EXPECT_TRUE(Has(view, "<b>GLOW:</b> " + glow + "<")) << view;
            if (turn == 1 && card.Owner == 1) before = glow;
            if (turn == 2 && card.Owner == 1) {
                EXPECT_NE(glow, before) << "the glow grew";
            }
        }
        PlayCards(0);
    }
}

// Ten opponent cards, each "ALL, TRAITCHANGE:HP, MODTRAIT:HP:1" and changing its own HP at the
// game's start and in PHASE1, each change a chain that grows as ten to the tenth power: the game
// start took 17 s and the next turn more than five minutes. Now the game start's chains and each
// turn's share a budget, each chain cut at its own with a line in the report, and play goes on.
TEST_F(GameFlowEndToEnd, AnOpponentWhoseCardsFeedOneAnotherStartsAndPlaysItsTurns) {
    const std::string bogwarden = Page("Mosslight/Bogwarden_Enemy.txt");
    std::string opponent = "#ENEMYDECK, Feeders, bogwarden, , , , , , \r\n" +
                           bogwarden.substr(bogwarden.find('\n') + 1);
    for (int i = 1; i <= 10; ++i)
        opponent += "#CARD, INDECK, \"Feeder\", \"feeder:" + std::to_string(9100 + i) +
                    "\", , , , , \"\"\r\n#TRAIT, \"HP:5\", #TRAIT, \"STARTSINPLAY:\", \r\n"
                    "#EFFECT, ALL, TRAITCHANGE:HP, \"MODTRAIT:HP:1\"\r\n"
                    "#EFFECT, SELF, PHASE1, \"MODTRAIT:HP:-1\"\r\n"
                    "#EFFECT, SELF, GAMESTART, \"MODTRAIT:HP:-1\"\r\n"
                    "#EXTRADATA, 1, GAMESTART, , %%%0%0%0%0%0%0%0%0, \r\n";
    WriteFile("Mosslight/Feeders_Enemy.txt", opponent);
    Main();
    ASSERT_TRUE(StartGameFromLink(OpponentLink("Feeders_Enemy.txt")));
    const std::string chainCut = "The rest of this chain of effects was left out";
    const std::string turnCut = "The rest of the effects of this turn were left out";
    // The first turn's report shows the game start's cuts as well.
    EXPECT_EQ(Count(Page("Display.html"), turnCut), 2);
    auto feedersHP = [] {
        double sum = 0;
        for (Card& card : St().InPlay)
            if (card.Name == "Feeder") sum += GetTrait(card, "HP").Num();
        return sum;
    };
    for (int turn = 2; turn <= 3; ++turn) {
        const double before = feedersHP();
        PlayCards(0);
        const std::string report = Page("Display.html");
        EXPECT_EQ(Count(report, turnCut), 1);
        EXPECT_GE(Count(report, chainCut), 1);
        // Every HP the feeders gained was a trait-change dispatch of the turn's chains.
        EXPECT_GT(feedersHP() - before, 1000);
        EXPECT_LE(feedersHP() - before, kMaxTurnRuns);
        EXPECT_LE(report.size(), kMaxTurnLogBytes + 100000);
    }
    EXPECT_EQ(St().GameRunning, 1);
}

}  // namespace
}  // namespace dv
