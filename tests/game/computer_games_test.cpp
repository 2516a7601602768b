#include "game/computer_games.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "tests/game/computer_game_fixture.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

class ComputerGamesTest : public test::SampleGameTest {
  protected:
    // A game and two decks in which nobody can lose: only the turn limit ends their game.
    void WriteCalmGame() {
        WriteFile("Calm.gam",
                  "#GAMERULES, Calm, Calm.jpg, #2E4A2E, Calm, CalmHelp.html\r\n\r\n"
                  "#RULESCARD\r\n#EFFECT, SELF, GAMESTART, \"ECHOMINOR:All is calm.\"\r\n");
        for (const char* side : {"A", "B"}) {
            WriteFile(std::string("Calm") + side + ".txt",
                      "#CARD, INDECK, \"Sleeper\", \"sleeper:9001\", , , , #FFFFFF, \"Sleeps.\"\r\n"
                      "#TRAIT, \"PLAYER:\", #TRAIT, \"HP:20\", \r\n"
                      "#EXTRADATA, 1, TURNSTART, , %%%0%0%0%0%0%0%0%0, \r\n");
        }
        St().CurrentProfile.GameFile = "Calm.gam";
        St().CurrentProfile.PlayerFile.clear();
    }

    // The state as a fresh run of the program would have it, in the same folder.
    void FreshRun() {
        ResetState();
        State& st = St();
        st.ProgramFolder = Folder();
        st.CurrentFolder = Folder();
        st.SeedOverride = 2024;
        LoadPlayerProfiles();
        st.CurrentProfile = st.PlayerProfiles[1];
    }

    int Messages(const std::string& start) const {
        int n = 0;
        for (const std::string& m : host.messages)
            if (m.rfind(start, 0) == 0) ++n;
        return n;
    }
};

TEST_F(ComputerGamesTest, SeededGameEndsAndTheSameSeedReplaysItTurnByTurn) {
    std::string loser;
    const std::string winner = PlayAIGame("Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt", loser);
    const std::string log = St().AIGameLog;
    const int turns = St().TurnsPlayed;
    EXPECT_EQ(St().GameOver, 1);
    EXPECT_TRUE(St().Winner == 1 || St().Winner == 2 || turns == kMaxComputerTurns);
    EXPECT_GT(turns, 1);
    EXPECT_EQ(winner, St().Winner == 2 ? "Mirewitch_Enemy.txt" : "Bogwarden_Enemy.txt");
    EXPECT_EQ(loser, St().Winner == 2 ? "Bogwarden_Enemy.txt" : "Mirewitch_Enemy.txt");
    EXPECT_EQ(St().AITurn, 1);

    FreshRun();
    std::string loserAgain;
    EXPECT_EQ(PlayAIGame("Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt", loserAgain), winner);
    EXPECT_EQ(St().TurnsPlayed, turns);
    EXPECT_TRUE(St().AIGameLog == log) << "the replay took another course";
}

TEST_F(ComputerGamesTest, GamesStartedInTheSameSecondTakeTheirOwnCourse) {
    std::string loser;
    PlayAIGame("Bogwarden_Enemy.txt", "Reedmother_Enemy.txt", loser);
    const std::string first = St().AIGameLog;
    PlayAIGame("Bogwarden_Enemy.txt", "Reedmother_Enemy.txt", loser);
    EXPECT_NE(St().AIGameLog, first);
    // The log holds the pages of the current computer game only.
    EXPECT_EQ(St().AIGameLog.find(first), std::string::npos);
}

TEST_F(ComputerGamesTest, ComputerGamesLeaveThePlayerFileAndRecordAlone) {
    State& st = St();
    const std::string playerFile = File("Mosslight_Guest.plr");
    st.Players[1].Tokens = 777;
    st.Players[1].WonMissions = List<std::string>{"Old.mis"};
    st.CurrentGame = 1;
    st.CurrentMission = "FirstLight.mis";

    std::string loser;
    PlayAIGame("Lamplighter_Starter.txt", "Bogwarden_Enemy.txt", loser);

    EXPECT_EQ(File("Mosslight_Guest.plr"), playerFile);
    for (const auto& entry : fs::directory_iterator(Folder())) {
        if (entry.path().extension() == ".plr") {
            EXPECT_EQ(entry.path().filename(), "Mosslight_Guest.plr");
        }
    }
    EXPECT_EQ(st.Players[1].Tokens, 777);
    EXPECT_EQ(st.Players[1].WonMissions, (List<std::string>{"Old.mis"}));
    EXPECT_EQ(st.CurrentGame, 1);
    EXPECT_EQ(st.CurrentMission, "FirstLight.mis");
}

TEST_F(ComputerGamesTest, AGameThatCannotEndStopsAtTheTurnLimitAsADraw) {
    WriteCalmGame();
    std::string loser;
    const std::string winner = PlayAIGame("CalmA.txt", "CalmB.txt", loser);
    EXPECT_EQ(St().TurnsPlayed, kMaxComputerTurns);
    EXPECT_EQ(St().GameOver, 1);
    EXPECT_EQ(St().Winner, 0);
    EXPECT_EQ(winner, "CalmA.txt");
    EXPECT_EQ(loser, "CalmB.txt");
    EXPECT_NE(St().AIGameLog.find("stopped after 500 turns and ends in a draw"), std::string::npos);
}

TEST_F(ComputerGamesTest, ADeckWithNothingToPlayLosesWithoutAGame) {
    std::string loser;
    EXPECT_EQ(PlayAIGame("NoSuch_Enemy.txt", "Bogwarden_Enemy.txt", loser), "Bogwarden_Enemy.txt");
    EXPECT_EQ(loser, "NoSuch_Enemy.txt");
    EXPECT_EQ(Messages("The deck NoSuch_Enemy.txt has no cards to play."), 1);
    EXPECT_EQ(St().TurnsPlayed, 0);
}

TEST_F(ComputerGamesTest, FullGameRefusesAnEmptyBoardAndPlaysAStartedGameToItsEnd) {
    QuickStart();
    PlayFullAIGame();
    EXPECT_EQ(Messages("There is no game on the board to play."), 1);
    EXPECT_EQ(St().TurnsPlayed, 0);

    // A game on the board, started the way a computer game starts one.
    State& st = St();
    List<Card> scratch;
    ReadCards(scratch, "Mosslight/Lamplighter_Starter.txt", st.Players[1], "#INDECK");
    ReadCards(scratch, "Mosslight/Reedmother_Enemy.txt", st.Players[2], "#INDECK");
    StartGame(1);
    PlayFullAIGame();
    EXPECT_EQ(st.GameOver, 1);
    EXPECT_EQ(Messages("Game over!"), 1);
    EXPECT_EQ(st.AITurn, 1);
    const std::string page = File("Display.html");
    EXPECT_NE(page.find("Your Card Plays"), std::string::npos);
    EXPECT_EQ(page, File("LastDiplayed.html"));

    // Over already: nothing more is played, the same turns are shown again.
    const int turns = st.TurnsPlayed;
    PlayFullAIGame();
    EXPECT_EQ(st.TurnsPlayed, turns);
    EXPECT_EQ(File("Display.html"), page);
    EXPECT_EQ(Messages("Game over!"), 2);
}

TEST_F(ComputerGamesTest, TournamentOfEightDecksNamesTheFirstThreePlaces) {
    RunTournament();
    EXPECT_EQ(St().AIGamesStarted, 13u);
    ASSERT_EQ(Messages("Winner: "), 1);
    std::string text;
    for (const std::string& m : host.messages)
        if (m.rfind("Winner: ", 0) == 0) text = m;
    const std::size_t second = text.find("\r\nSecond Place: ");
    const std::size_t third = text.find("\r\nThird Place: ");
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(third, std::string::npos);
    for (const std::string& place :
         {text.substr(8, second - 8), text.substr(second + 16, third - second - 16),
          text.substr(third + 15)}) {
        SCOPED_TRACE(place);
        EXPECT_TRUE(place.ends_with("_Enemy.txt") || place == "Lamplighter_Starter.txt");
    }
}

}  // namespace
}  // namespace dv
