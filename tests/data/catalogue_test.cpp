#include "data/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class CatalogueTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Games = List<GameInfo>(1);
    }

    // A game file whose head names the game and its folder.
    void WriteGame(const std::string& file, const std::string& name, const std::string& folder) {
        WriteFile(file, "#GAMERULES, \"" + name + "\", pic.jpg, #224488, " + folder +
                            ", help.htm\r\n#RULESCARD\r\n");
    }

    std::vector<std::string> OpponentNames(int game) {
        std::vector<std::string> names;
        for (const Card& c : St().Games[game].Opponents)
            if (!c.Name.empty()) names.push_back(c.Name);
        return names;
    }

    static std::string EnemyDeck(const std::string& name) {
        return "#ENEMYDECK, \"" + name + "\", key1, set.txt, pic.jpg, " + name +
               "-mini.jpg, #FF0000, , \"About " + name + "\"\r\n";
    }
};

TEST_F(CatalogueTest, SecondGameOfTheSameNameChangesNothing) {
    WriteFile("a.gam", "\"*** banner ***\"\r\n#GAMERULES, Arena, a.jpg, red, , a.htm\r\n");
    WriteFile("b.gam", "#GAMERULES, Arena, b.jpg, blue, , b.htm\r\n");
    WriteFile("c.gam", "#GAMERULES, Citadel, c.jpg, green, , c.htm\r\n");
    LoadAllGames();

    ASSERT_EQ(St().Games.size(), 2);  // the empty record left by the set-up was reused
    EXPECT_EQ(St().Games[1].Name, "Arena");
    EXPECT_EQ(St().Games[1].Picture, "a.jpg");
    EXPECT_EQ(St().Games[1].GameFile, "a.gam");
    EXPECT_EQ(St().Games[1].HelpPage, "a.htm");
    EXPECT_EQ(St().Games[2].Name, "Citadel");
    EXPECT_EQ(St().Games[1].Opponents.size(), 1);

    St().CurrentGame = 2;
    CreateGame("Arena", "x", "x", "x", "x", "x.gam");
    EXPECT_EQ(St().CurrentGame, 2);
    EXPECT_EQ(St().Games.size(), 2);
}

TEST_F(CatalogueTest, GameFileWithCardDataBeforeItsRulesIsLeftOut) {
    struct Row {
        const char* text;
        bool catalogued;
    };
    const Row rows[] = {
        {"#RULESCARD\r\n#GAMERULES, G, p, c, , h\r\n", false},
        {"#CARDINDECK, a, b, c, d, e, f\r\n#GAMERULES, G, p, c, , h\r\n", false},
        {"#HTML, text\r\n#GAMERULES, G, p, c, , h\r\n", false},
        {"comment line\r\n#DECKRULES, \"TRAITLIMIT:#ANY#:40\"\r\n#GAMERULES, G, p, c, , h\r\n",
         true},
        {"#GAMERULES, G, p, c, , h\r\n#RULESCARD\r\n", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        St().Games = List<GameInfo>(1);
        WriteFile("g.gam", r.text);
        LoadAllGames();
        EXPECT_EQ(GetNameNum("G") == 1, r.catalogued);
    }
    EXPECT_TRUE(host.messages.empty());
}

// "Error in LoadGameFile" alone did not say which of several game files failed, nor why; and each
// came in a box of its own, at start and again at every rebuild.
TEST_F(CatalogueTest, GameFilesThatFailAreReportedByNameAndReasonInOneMessage) {
    WriteFile("a.gam", "#GAMERULES, A, , #000000, , \r\n");
    WriteFile("g.gam", "#GAMERULES, G, p\r\n");
    WriteFile("h.gam", "");
    std::filesystem::resize_file(Folder() / "h.gam", kMaxDataFileBytes + 1);
    LoadAllGames();
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Error in LoadGameFile: g.gam: input past end of file\n"
                                        "Error in LoadGameFile: h.gam: larger than 256 MB"}));
    EXPECT_EQ(GetNameNum("G"), 0);
    EXPECT_EQ(GetNameNum("A"), 1);
}

TEST_F(CatalogueTest, OpponentFilesJoinOnlyAGameTheyName) {
    struct Row {
        const char* name;
        const char* where;  // file below the program folder
        std::string text;
        std::vector<std::string> opponents;
    };
    const std::string card =
        "#CARD, #PLAYERCARD, Ogre, ogre:5, set.txt, ogre.jpg, ogre-mini.jpg, "
        "#00FF00, \"An ogre\"\r\n#TRAIT, \"HP:10\"\r\n";
    const Row rows[] = {
        {"no #GAME in program folder", "Ogre.txt", card, {}},
        {"#GAME naming the game", "Ogre.txt", "#GAME, Arena\r\n" + card, {"Ogre"}},
        {"#GAME naming no game", "Ogre.txt", "#GAME, Nowhere\r\n" + card, {}},
        // Words that only begin like an item, or an item in quotes, must not hide the file's
        // player card from the look for items worth reading.
        {"#PLAYERCARD after a longer word", "foes/o.txt", "#PLAYERCARDS\r\n" + card, {"Ogre"}},
        {"quoted #PLAYERCARD",
         "foes/o.txt",
         "#CARD, \"#PLAYERCARD\"x, Ogre, ogre:5, set.txt, o.jpg, o-mini.jpg, #00FF00, d\r\nx\r\n",
         {"Ogre"}},
        {"enemy deck before #GAME", "Troll.txt", EnemyDeck("Troll") + "#GAME, Arena\r\n", {}},
        {"enemy deck in game folder", "foes/Troll_Enemy.txt", EnemyDeck("Troll"), {"Troll"}},
        {"two player cards",
         "foes/pair.txt",
         card + "#CARD, #PLAYERCARD, Imp, imp, s, p, t, c, d\r\nx\r\n",
         {"Ogre", "Imp"}},
        {"game file scanned as an opponent", "x.txt", "#GAMERULES, Arena\r\n" + card, {}},
        {"player file", "foes/p.txt", "#PLAYERDECK\r\n" + card, {}},
        {"empty lock list", "foes/l.txt", "#LOCKED, \"\"\r\n" + card, {"Ogre"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        WriteGame("arena.gam", "Arena", "foes");
        WriteFile(r.where, r.text);
        St().Games = List<GameInfo>(1);
        LoadAllGames();
        EXPECT_EQ(OpponentNames(1), r.opponents);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CatalogueTest, OpponentEntryKeepsPortraitDescriptionAndFile) {
    WriteGame("arena.gam", "Arena", "Foes");
    WriteFile("Foes/Troll_Enemy.txt", EnemyDeck("Troll"));
    WriteFile("ogre.txt",
              "#GAME, Arena\r\n#CARD, #PLAYERCARD, Ogre, k, s, p.jpg, ogre-mini.jpg, "
              "#00FF00, desc\r\n\"next line\"\r\n");
    LoadAllGames();

    const GameInfo& game = St().Games[1];
    ASSERT_EQ(game.Opponents.size(), 3);
    const Card& troll = game.Opponents[2];
    EXPECT_EQ(troll.Thumbnail, "Troll-mini.jpg");
    EXPECT_EQ(troll.Description, "About Troll");
    EXPECT_EQ(troll.SetFile, (Folder() / "Foes" / "Troll_Enemy.txt").string());
    // Game-folder opponents come before those of the program folder.
    const Card& ogre = game.Opponents[3];
    EXPECT_EQ(ogre.Thumbnail, "ogre-mini.jpg");
    EXPECT_EQ(ogre.Description, "next line");  // the eighth item is the next line's first
    EXPECT_EQ(ogre.SetFile, "ogre.txt");
    ASSERT_EQ(game.OpponentFiles.size(), 4);
    EXPECT_EQ(game.OpponentFiles[3], "ogre.txt");
}

TEST_F(CatalogueTest, LockedOpponentNeedsEveryListedMissionWon) {
    struct Row {
        const char* lockList;
        std::vector<std::string> won;
        bool catalogued;
    };
    const Row rows[] = {
        {"first.mis", {"Campaign\\Missions\\FIRST.MIS"}, true},
        {"first.mis", {"other.mis"}, false},
        {"first.mis:second.mis", {"first.mis"}, false},
        {"first.mis:second.mis", {"second.mis", "first.mis"}, true},
        // One mission won twice does not stand for a second one.
        {"first.mis:second.mis", {"first.mis", "first.mis"}, false},
        {"first.mis::second.mis", {"first.mis"}, true},  // the list ends at its first empty field
        {"dir\\\\first.mis", {"first.mis"}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.lockList);
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        WriteGame("arena.gam", "Arena", "foes");
        WriteFile("foes/boss.txt",
                  std::string("#LOCKED, \"") + r.lockList + "\"\r\n" + EnemyDeck("Boss"));
        St().Players[1].WonMissions.Clear();
        for (const std::string& w : r.won)
            St().Players[1].WonMissions.PushBack(w);
        St().Games = List<GameInfo>(1);
        LoadAllGames();
        EXPECT_EQ(OpponentNames(1).size(), r.catalogued ? 1u : 0u);
    }
    // The test leaves the won missions as bare file names.
    EXPECT_EQ(St().Players[1].WonMissions[1], "first.mis");
}

TEST_F(CatalogueTest, LockedFileOutsideAnyGameIsNotRead) {
    WriteGame("arena.gam", "Arena", "foes");
    WriteFile("boss.txt", "#LOCKED, first.mis\r\n#GAME, Arena\r\n" + EnemyDeck("Boss"));
    St().Players[1].WonMissions = {"first.mis"};
    LoadAllGames();
    EXPECT_TRUE(OpponentNames(1).empty());
}

TEST_F(CatalogueTest, BrokenOpponentFileReportsItsStep) {
    WriteGame("arena.gam", "Arena", "foes");
    WriteFile("foes/short.txt", "#ENEMYDECK, Boss, key\r\n");
    LoadAllGames();
    EXPECT_EQ(host.CountMessages("Error in AddFileToGame: #ENEMYDECK (1) Input Command (" +
                                 (Folder() / "foes" / "short.txt").string() +
                                 ": input past end of file)"),
              1);
    EXPECT_TRUE(OpponentNames(1).empty());
}

TEST_F(CatalogueTest, MissionsAreNumberedPerGameAndJoinTheirTexts) {
    WriteGame("a.gam", "Arena", "arena");
    WriteGame("b.gam", "Battle", "battle");
    WriteGame("c.gam", "Calm", "");
    WriteFile("arena/1.mis",
              "#HTML, \"<b>One</b>\"\r\n#HTML, \" two\"\r\n"
              "#MISSION, \"First\", OPEN, \" three\", arena\\boss.txt\r\n");
    WriteFile("arena/2.mis",
              "#MISSION, \"Second\", LOCKED, \"hidden\", arena\\boss.txt\r\n"
              "#HTML, after\r\n");
    WriteFile("arena/3.mis", "#GAME, Nowhere\r\n#HTML, lost\r\n");
    WriteFile("battle/only.mis", "#MISSION, \"Only\", , \"text\", foe.txt\r\n");
    WriteFile("stray.mis", "#GAME, Calm\r\n#MISSION, \"Stray\", , \"x\", y\r\n");
    LoadAllGames();

    const GameInfo& arena = St().Games[1];
    ASSERT_EQ(arena.MissionTexts.size(), 3);
    EXPECT_EQ(arena.MissionTexts[1], "<b>One</b> two three");
    EXPECT_EQ(arena.MissionTitles[1], "First");
    EXPECT_EQ(arena.MissionFiles[1], (Folder() / "arena" / "1.mis").string());
    EXPECT_EQ(arena.OpponentFiles[1], "arena\\boss.txt");
    EXPECT_EQ(arena.MissionTexts[2], "after");  // the locked line's text is left out
    EXPECT_EQ(arena.MissionTitles[2], "Second");
    EXPECT_EQ(arena.MissionTexts[3], "");  // names a game not in the catalogue
    EXPECT_EQ(arena.MissionFiles[3], "");

    const GameInfo& battle = St().Games[2];
    ASSERT_EQ(battle.MissionTexts.size(), 1);
    EXPECT_EQ(battle.MissionTexts[1], "text");
    EXPECT_EQ(battle.MissionTitles[1], "Only");

    // A game without a folder does not take the program folder's mission files.
    EXPECT_EQ(St().Games[3].MissionTexts.size(), 1);
    EXPECT_EQ(St().Games[3].MissionTexts[1], "");
}

TEST_F(CatalogueTest, UnlockedItemShowsALockedMissionLine) {
    WriteGame("a.gam", "Arena", "arena");
    WriteFile("arena/2.mis", "#MISSION, \"Second\", LOCKED, \"shown\", boss.txt\r\n");
    struct Row {
        const char* unlocked;
        const char* text;
    };
    const Row rows[] = {{"", ""}, {"Second", "shown"}, {"Missions\\2.MIS", "shown"}, {"3.mis", ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.unlocked);
        St().CurrentProfile.Unlocked = {"", r.unlocked};
        St().Games = List<GameInfo>(1);
        LoadAllGames();
        EXPECT_EQ(St().Games[1].MissionTexts[1], r.text);
    }
}

TEST_F(CatalogueTest, RebuildKeepsTheGameBeingPlayed) {
    WriteGame("b.gam", "Battle", "");
    WriteGame("c.gam", "Citadel", "");
    LoadAllGames();
    EXPECT_EQ(St().CurrentGame, 2);  // nothing played yet: the last game created

    SetCurrentGame(1);  // Battle is chosen and played
    WriteGame("a.gam", "Arena", "");
    WriteGame("d.gam", "Dunes", "");
    RebuildCatalogue();
    ASSERT_EQ(St().Games.size(), 4);
    EXPECT_EQ(St().Games[St().CurrentGame].Name, "Battle");

    // The new-game set-up may empty the catalogue itself before rebuilding it.
    St().Games = List<GameInfo>(1);
    LoadAllGames();
    EXPECT_EQ(St().Games[St().CurrentGame].Name, "Battle");
}

TEST_F(CatalogueTest, RebuildWithoutAGamePlayedTakesTheProfilesGame) {
    WriteGame("b.gam", "Battle", "");
    WriteGame("c.gam", "Citadel", "");
    St().CurrentProfile.GameFile = "B.GAM";
    LoadAllGames();
    EXPECT_EQ(St().CurrentGame, 1);
}

TEST_F(CatalogueTest, GameThatLeftTheFolderIsNoLongerCurrent) {
    WriteGame("b.gam", "Battle", "");
    WriteGame("c.gam", "Citadel", "");
    LoadAllGames();
    SetCurrentGame(1);
    std::filesystem::remove(Folder() / "b.gam");
    RebuildCatalogue();
    EXPECT_EQ(St().CurrentGame, 0);
}

// A rebuild gives the catalogue kept from the last one while the files it read stay as they were;
// a change to any of them, or to what the player has won or unlocked, must give what building
// from the files afresh gives.
TEST_F(CatalogueTest, AKeptCatalogueGivesWhatAFreshBuildGives) {
    const std::string marker = "kept";
    struct Change {
        const char* what;
        std::function<void()> make;
    };
    const std::vector<Change> changes = {
        {"opponent file written over", [&] { WriteFile("foes/troll.txt", EnemyDeck("Ogre")); }},
        {"opponent file added", [&] { WriteFile("foes/imp.txt", EnemyDeck("Imp")); }},
        {"opponent file removed", [&] { std::filesystem::remove(Folder() / "foes/imp.txt"); }},
        {"mission file written over",
         [&] { WriteFile("foes/1.mis", "#MISSION, \"Renamed\", , \"new\", troll.txt\r\n"); }},
        {"game file written over", [&] { WriteGame("arena.gam", "Colosseum", "foes"); }},
        {"program folder file added",
         [&] { WriteFile("boss.txt", "#GAME, Colosseum\r\n" + EnemyDeck("Boss")); }},
        {"game folder moved",
         [&] { std::filesystem::rename(Folder() / "foes", Folder() / "Foes2"); }},
        {"game folder back under another case",
         [&] { std::filesystem::rename(Folder() / "Foes2", Folder() / "FOES"); }},
        {"mission won", [&] { St().Players[1].WonMissions.PushBack("1.mis"); }},
        {"mission unlocked", [&] { St().CurrentProfile.Unlocked.PushBack("Hidden"); }},
    };
    WriteGame("arena.gam", "Arena", "foes");
    WriteFile("foes/troll.txt", EnemyDeck("Troll"));
    WriteFile("foes/locked.txt", "#LOCKED, 1.mis\r\n" + EnemyDeck("Lich"));
    WriteFile("foes/1.mis", "#MISSION, \"First\", , \"text\", troll.txt\r\n");
    WriteFile("foes/2.mis", "#MISSION, \"Hidden\", LOCKED, \"secret\", troll.txt\r\n");
    RebuildCatalogue();
    ASSERT_TRUE(St().Catalogue.has_value()) << "the build was kept";

    auto shown = [&] {
        std::string text;
        for (const GameInfo& g : St().Games) {
            text += g.Name + "|" + g.HeaderText + "|" + g.Folder + "|";
            for (const Card& c : g.Opponents)
                text += c.Name + "," + c.Description + ",";
            for (const auto* list :
                 {&g.MissionTexts, &g.MissionFiles, &g.MissionTitles, &g.OpponentFiles})
                for (const std::string& item : *list)
                    text += item + ";";
        }
        return text + std::to_string(St().CurrentGame);
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        // A game folder that is missing cannot be watched: nothing is kept then.
        if (St().Catalogue) {
            St().Catalogue->Games[1].HeaderText = marker;
            WriteFile("Display.html", "a page written meanwhile");
            RebuildCatalogue();
            EXPECT_EQ(St().Games[1].HeaderText, marker) << "nothing it read changed";
        }

        change.make();
        const List<GameInfo> games = St().Games;
        const int16_t game = St().CurrentGame;
        const std::string gameName = St().CurrentGameName;
        RebuildCatalogue();
        const std::string rebuilt = shown();
        EXPECT_NE(St().Games[1].HeaderText, marker);
        St().Catalogue.reset();
        St().Games = games;
        St().CurrentGame = game;
        St().CurrentGameName = gameName;
        RebuildCatalogue();
        EXPECT_EQ(rebuilt, shown());
    }
}

// A change to a file reached through a link, or through another name of it, is not seen by
// watching the folder: such a catalogue is built afresh every time.
TEST_F(CatalogueTest, ACatalogueReadThroughALinkIsNotKept) {
    WriteGame("arena.gam", "Arena", "foes");
    WriteFile("elsewhere/troll.txt", EnemyDeck("Troll"));
    std::filesystem::create_directories(Folder() / "foes");
    for (const bool symbolic : {true, false}) {
        std::filesystem::remove(Folder() / "foes/troll.txt");
        if (symbolic) {
            std::filesystem::create_symlink(Folder() / "elsewhere/troll.txt",
                                            Folder() / "foes/troll.txt");
        } else {
            std::filesystem::create_hard_link(Folder() / "elsewhere/troll.txt",
                                              Folder() / "foes/troll.txt");
        }
        RebuildCatalogue();
        EXPECT_EQ(OpponentNames(1), std::vector<std::string>{"Troll"});
        EXPECT_FALSE(St().Catalogue.has_value()) << (symbolic ? "symbolic" : "hard") << " link";
    }
}

// An opponent file linked to a file out of the program folder was listed with its portrait, though
// a press on it was refused; so were a mission and a game file linked out. None is listed now, and
// an opponent linked to a file inside lists as ever.
TEST_F(CatalogueTest, FilesLinkedOutOfTheFoldersAreNotListed) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    St().ProgramFolder = St().CurrentFolder = program;
    WriteGame("program/arena.gam", "Arena", "foes");
    WriteFile("program/shared/imp.txt", EnemyDeck("Imp"));
    WriteFile("elsewhere/troll.txt", EnemyDeck("Troll"));
    WriteFile("elsewhere/ogre.txt", "#GAME, Arena\r\n" + EnemyDeck("Ogre"));
    WriteFile("elsewhere/far.mis", "#MISSION, \"Far\", , \"far away\", troll.txt\r\n");
    WriteFile("elsewhere/far.gam", "#GAMERULES, Faraway, p.jpg, #224488, , h.htm\r\n");
    fs::create_directories(program / "foes");
    fs::create_symlink(program / "shared/imp.txt", program / "foes/imp.txt");
    fs::create_symlink(Folder() / "elsewhere/troll.txt", program / "foes/troll.txt");
    fs::create_symlink(Folder() / "elsewhere/ogre.txt", program / "ogre.txt");
    fs::create_symlink(Folder() / "elsewhere/far.mis", program / "foes/far.mis");
    fs::create_symlink(Folder() / "elsewhere/far.gam", program / "far.gam");
    // A player file of the program folder that names the game: a link to its name from the game
    // starts the file of that name in the game's folder, which leads out.
    WriteFile("program/gnome.txt",
              "#GAME, Arena\r\n#CARD, #PLAYERCARD, Gnome, g, s, p, t, c, d\r\nx\r\n");
    WriteFile("elsewhere/gnome.txt", EnemyDeck("Gnome"));
    fs::create_symlink(Folder() / "elsewhere/gnome.txt", program / "foes/gnome.txt");
    RebuildCatalogue();

    ASSERT_EQ(St().Games.size(), 1) << "the game file linked out was listed";
    EXPECT_EQ(St().Games[1].Name, "Arena");
    EXPECT_EQ(OpponentNames(1), std::vector<std::string>{"Imp"});
    for (const std::string& text : St().Games[1].MissionTexts)
        EXPECT_EQ(text, "") << "the mission linked out was listed";
    EXPECT_FALSE(St().Catalogue.has_value()) << "where a link leads is not watched";
    EXPECT_TRUE(host.messages.empty());
}

// A mission file of one game's folder that names another game is that game's mission only if a
// link from that game could start it: from a folder that leads out of the program folder it
// once took the place of the other game's own mission of its number.
TEST_F(CatalogueTest, AMissionNamingAnotherGameJoinsItOnlyIfALinkFromThereCouldStartIt) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    St().ProgramFolder = St().CurrentFolder = program;
    WriteGame("program/arena.gam", "Arena", "arena");
    WriteGame("program/outpost.gam", "Outpost", "outpost");
    WriteFile("program/arena/own.mis", "#MISSION, \"Own\", , \"own text\", foe.txt\r\n");
    WriteFile("elsewhere/outpost/stray.mis",
              "#GAME, Arena\r\n#MISSION, \"Stray\", , \"strayed in\", foe.txt\r\n");
    fs::create_directory_symlink(Folder() / "elsewhere/outpost", program / "outpost");
    RebuildCatalogue();

    ASSERT_GE(St().Games.size(), 1);
    const GameInfo& arena = St().Games[1];
    ASSERT_EQ(arena.Name, "Arena");
    ASSERT_EQ(arena.MissionTexts.size(), 1);
    EXPECT_EQ(arena.MissionTexts[1], "own text");
    EXPECT_EQ(arena.MissionTitles[1], "Own");
}

// A game file names its game's folder, and the opponents and missions there were read, listed and
// played wherever it led: an absolute path, ".." or a link out of the program folder. Such a folder
// is not read now, and its game keeps the opponents of the program folder.
TEST_F(CatalogueTest, AGameFolderOutOfTheProgramFolderIsNotReadAndSaysWhy) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    St().ProgramFolder = St().CurrentFolder = program;
    const std::string far = (Folder() / "elsewhere/far").string();
    const std::pair<std::string, std::string> games[] = {
        {"Far", far}, {"Linked", "Linked"}, {"Near", "Near"}, {"Up", "../elsewhere/up"}};
    for (const char* out : {"elsewhere/far", "elsewhere/up", "elsewhere/linked"}) {
        WriteFile(std::string(out) + "/troll.txt", EnemyDeck("Troll"));
        WriteFile(std::string(out) + "/deep.mis", "#MISSION, \"Deep\", , \"deep\", troll.txt\r\n");
    }
    WriteFile("program/Near/imp.txt", EnemyDeck("Imp"));
    WriteFile("program/ogre.txt", "#GAME, Far\r\n" + EnemyDeck("Ogre"));
    fs::create_symlink(Folder() / "elsewhere/linked", program / "Linked");
    for (const auto& [game, folder] : games)
        WriteGame("program/" + game + ".gam", game, folder);
    RebuildCatalogue();

    ASSERT_EQ(St().Games.size(), 4);
    EXPECT_EQ(OpponentNames(1), std::vector<std::string>{"Ogre"});
    EXPECT_EQ(OpponentNames(2), std::vector<std::string>{});
    EXPECT_EQ(OpponentNames(3), std::vector<std::string>{"Imp"});
    EXPECT_EQ(OpponentNames(4), std::vector<std::string>{});
    std::string refused;
    for (int g : {1, 2, 4}) {
        EXPECT_EQ(St().Games[g].MissionTexts.size(), 1) << "a mission of a folder out";
        refused += std::string(refused.empty() ? "" : "\n") + "The game folder \"" +
                   games[g - 1].second + "\" of " + games[g - 1].first +
                   ".gam is not read: it lies outside the program folder.";
    }
    EXPECT_EQ(host.messages, std::vector<std::string>{refused});
}

// Fifty game files whose folders lie outside the program folder showed fifty message boxes, at
// start and again at every "Quit / New Game"; a file that is no regular file one more each.
TEST_F(CatalogueTest, FilesLeftUnreadAreToldInOneMessageAtEachRebuild) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    St().ProgramFolder = St().CurrentFolder = program;
    constexpr int kGames = 50;
    for (int g = 10; g < 10 + kGames; ++g)
        WriteGame("program/g" + std::to_string(g) + ".gam", "Game " + std::to_string(g), "../out");
    fs::create_symlink("/dev/null", program / "null.txt");
    for (int rebuild = 1; rebuild <= 2; ++rebuild) {
        SCOPED_TRACE(rebuild);
        host.messages.clear();
        RebuildCatalogue();
        EXPECT_EQ(St().Games.size(), kGames);
        ASSERT_EQ(host.messages.size(), 1u);
        const std::string& told = host.messages[0];
        EXPECT_EQ(told.substr(0, told.find('\n')),
                  "The game folder \"../out\" of g10.gam is not read: it lies outside the program "
                  "folder.");
        EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 20) << "20 lines and the count";
        EXPECT_EQ(told.substr(told.rfind('\n') + 1), "... and 31 more.");
    }
}

}  // namespace
}  // namespace dv
