#include "ui/main/main_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "tests/support/dialogs_fixture.h"
#include "tests/ui/main/main_fixture.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

class MainCommandsTest : public test::DialogsTestOn<test::MainWindowLogicTest> {
  protected:
    void SetUp() override {
        DialogsTestOn::SetUp();
        St().Games = List<GameInfo>(1);
        St().Games[1].Name = "Mosslight";
        St().CurrentGame = 1;
        St().CurrentProfile.Name = "Wren";
        St().Collection = List<Card>(1);
        St().Collection[1].Name = "Moss";
        St().Collection[1].GID = 55;
    }
    bool Exists(const std::string& name) const { return fs::exists(Folder() / name); }

    MainCommands commands;
};

// Closing writes the player file of the game being played, and only of one: before any game
// the name would be "_Wren.plr"; a test game of the designer's cards goes back to the designer.
TEST_F(MainCommandsTest, ClosingSavesThePlayerFileOnlyWhenAGameIsCurrent) {
    struct Row {
        const char* name;
        uint8_t gameStarted;
        const char* gameName;
        uint8_t editorTest;
        CloseOutcome outcome;
        bool written;
    };
    const Row rows[] = {
        {"a game is being played", 1, "Mosslight", 0, CloseOutcome::Closed, true},
        {"no game chosen yet", 0, "Mosslight", 0, CloseOutcome::Closed, false},
        {"no game of that number", 1, "", 0, CloseOutcome::Closed, false},
        {"a designer test game", 1, "Mosslight", 1, CloseOutcome::BackToDesigner, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (const auto& entry : fs::directory_iterator(Folder()))
            if (entry.path().extension() == ".plr") fs::remove(entry.path());
        St().GameStarted = r.gameStarted;
        St().Games[1].Name = r.gameName;
        St().EditorTest = r.editorTest;
        EXPECT_EQ(commands.Close(), r.outcome);
        EXPECT_EQ(Exists("Mosslight_Wren.plr"), r.written);
        EXPECT_FALSE(Exists("_Wren.plr"));
    }
    EXPECT_TRUE(flow.messages.empty());
}

TEST_F(MainCommandsTest, NoCommandRunsInsideAnotherOrDuringAPageLoad) {
    for (const bool pageLoading : {false, true}) {
        SCOPED_TRACE(pageLoading);
        St().HtmlBusy = pageLoading ? 1 : 0;
        std::optional<EngineGuard> running;
        if (!pageLoading) running.emplace();
        flow.pages.clear();
        EXPECT_FALSE(commands.TakeTurn());
        EXPECT_FALSE(commands.ComputerTurn());
        EXPECT_FALSE(commands.NewGame());
        EXPECT_FALSE(commands.BackToGame());
        EXPECT_EQ(commands.Close(), CloseOutcome::Refused);
        EXPECT_EQ(St().AITurn, 0);
        EXPECT_TRUE(flow.pages.empty());
    }
}

TEST_F(MainCommandsTest, TakeTurnAfterTheGameEndedStartsANewGame) {
    St().GameOver = 1;
    St().HTMLText = "the end page";
    ASSERT_TRUE(commands.TakeTurn());
    EXPECT_EQ(St().GameOver, 0) << "QuickStart ran";
    EXPECT_EQ(flow.pages.back().viewer, kBoardViewer);
    EXPECT_EQ(flow.calls.front(), "SetEndTurnCaption:Take Turn");
}

// On the games page, at the start or once "End Game" brought it back, there is no board: a turn
// there showed "Player 1" without a game and empty play tables.
TEST_F(MainCommandsTest, TheTurnButtonsPlayATurnOnlyWhileAGameRuns) {
    struct Row {
        const char* name;
        bool gameEnded;  // a game ended and "End Game" showed the games page
        uint8_t running;
        bool played;
    };
    const Row rows[] = {
        {"a game on the board", false, 1, true},
        {"the games page at the start", false, 0, false},
        {"the games page after End Game", true, 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        St().GameRunning = r.running;
        if (r.gameEnded) {
            uint8_t winner = 2;
            EndGame(winner);
            ASSERT_TRUE(commands.TakeTurn());
            ASSERT_EQ(St().GameOver, 0) << "the games page is back";
        }
        for (const bool computer : {false, true}) {
            St().AITurn = 0;
            const int32_t turns = St().TurnsPlayed;
            flow.pages.clear();
            EXPECT_TRUE(computer ? commands.ComputerTurn() : commands.TakeTurn());
            EXPECT_EQ(St().TurnsPlayed, turns + (r.played ? 1 : 0));
            EXPECT_EQ(flow.pages.empty(), !r.played);
            EXPECT_EQ(St().AITurn, computer && r.played ? 1 : 0);
        }
    }
}

// Activation reads the player file back into the collection; while a collection pick is held
// for a menu action it must not, and the deck manager stays shut.
TEST_F(MainCommandsTest, ActivationReReadsTheCollectionOnlyOutsideAPick) {
    St().GameStarted = 1;
    ASSERT_TRUE(SavePlayer("Mosslight_Wren.plr"));
    ASSERT_EQ(St().CurrentProfile.PlayerFile, "Mosslight_Wren.plr");
    for (const uint8_t mode : {uint8_t{4}, uint8_t{0}}) {
        SCOPED_TRACE(int(mode));
        St().DeckManagerMode = mode;
        St().Collection[1].Name = "Changed in memory";
        const Activation activation = commands.Activate();
        EXPECT_EQ(activation.deckManagerEnabled, mode == 0);
        EXPECT_EQ(St().Collection[1].Name, mode == 0 ? "Moss" : "Changed in memory");
    }
    EXPECT_TRUE(flow.messages.empty());
}

TEST_F(MainCommandsTest, ActivationRaisesTheHelpWindowOnceAfterAHelpPage) {
    St().HelpRaise = 1;
    EXPECT_TRUE(commands.Activate().raiseHelp);
    EXPECT_FALSE(commands.Activate().raiseHelp);
    EXPECT_EQ(Shown(kQueueViewer), 2);
    EXPECT_EQ(Shown(kCardViewer), 2);
}

// A help window the player closed came back over the board at the next hand-back, a game start.
TEST_F(MainCommandsTest, AClosedHelpWindowIsNotRaisedAgain) {
    WriteFile("MainHelp.html", "<p>Help</p>");
    DisplayHelp("MainHelp.html");
    ASSERT_EQ(St().HelpRaise, 1);
    HelpWindowClosed();
    EXPECT_FALSE(commands.Activate().raiseHelp);
}

TEST_F(MainCommandsTest, SavingThePlayerWithoutAGameSaysSoAndWritesNothing) {
    St().Games[1].Name.clear();
    ASSERT_TRUE(commands.SaveCurrentPlayer());
    EXPECT_EQ(flow.CountMessages("Choose a game first: the player file belongs to a game."), 1);
    EXPECT_FALSE(Exists("_Wren.plr"));
    St().Games[1].Name = "Mosslight";
    ASSERT_TRUE(commands.SaveCurrentPlayer());
    EXPECT_TRUE(Exists("Mosslight_Wren.plr"));
}

// "Save Current Player" tells why it wrote nothing when the save was skipped on purpose; the
// program's own saves (closing the window) keep quiet about it.
TEST_F(MainCommandsTest, ASkippedSaveSaysWhyOnlyWhenThePlayerAskedForIt) {
    St().GameStarted = 1;
    struct Row {
        const char* what;
        uint8_t debugMode;
        bool cardTest;
        const char* says;  // the message's start; "" = saved, nothing said
    };
    const Row rows[] = {
        {"debug mode", 1, false, "Debug mode is on, so the player file was not saved."},
        {"a card test", 0, true, "A card test is running, so the player file was not saved"},
        {"neither", 0, false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove(Folder() / "Mosslight_Wren.plr");
        dialogs.messages.clear();
        St().DebugMode = r.debugMode;
        St().PlayerDataAside.reset();
        if (r.cardTest) St().PlayerDataAside = PlayerFileData{};
        ASSERT_TRUE(commands.SaveCurrentPlayer());
        const bool saved = *r.says == '\0';
        EXPECT_EQ(Exists("Mosslight_Wren.plr"), saved);
        ASSERT_EQ(dialogs.messages.size(), saved ? 0u : 1u);
        if (!saved) {
            EXPECT_EQ(dialogs.messages[0].rfind(r.says, 0), 0u) << dialogs.messages[0];
        }

        dialogs.messages.clear();
        EXPECT_EQ(commands.Close(), CloseOutcome::Closed);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(flow.messages.empty());
    }
}

TEST_F(MainCommandsTest, ACancelledEvolveDialogEvolvesNothing) {
    dialogs.files.push_back(std::nullopt);
    ASSERT_TRUE(commands.EvolveDeck());
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"Evolve a Deck"});
    EXPECT_TRUE(flow.pages.empty());
}

TEST_F(MainCommandsTest, TheDeckManagerFromTheMenuOpensInDeckModeAndForgetsTheMenuAfter) {
    St().DeckManagerMode = 2;
    St().PickingCard = 1;
    bool opened = false;
    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        opened = true;
        EXPECT_EQ(St().DeckManagerFromMenu, 1);
        EXPECT_EQ(St().DeckManagerMode, 0);
        EXPECT_EQ(St().PickingCard, 0);
    };
    ASSERT_TRUE(commands.OpenDeckManager());
    EXPECT_TRUE(opened);
    EXPECT_EQ(St().DeckManagerFromMenu, 0);
}

}  // namespace
}  // namespace dv::ui
