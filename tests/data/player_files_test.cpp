#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "data/card_file_items.h"
#include "data/card_files.h"
#include "data/catalogue.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "engine/rules/trait_changes.h"
#include "tests/data/golden.h"
#include "tests/data/writer_fixture.h"

namespace dv {
namespace {

class PlayerFilesTest : public test::WriterTest {
  protected:
    static Card NewCard(const std::string& name, int32_t gid) {
        return WriterTest::NewCard(name, gid, "Elves.txt");
    }
    std::string File(const std::string& name) { return *ReadWholeFile(Folder() / name); }
};

TEST_F(PlayerFilesTest, APlayerFileReadBackIsWrittenAgainByteForByte) {
    State& s = St();
    s.Collection.Resize(3);
    s.Collection[1] = NewCard("Plain", 11);
    s.Collection[2] = NewCard("Knight", 12);
    SetTrait(s.Collection[2], "HP", "4");
    AddEffect(s.Collection[2], "MODTRAIT:HP:1", 7, "TURNSTART", 0, "");
    s.Collection[3] = NewCard("Mage", 13);
    for (const char* t : {"HP", "MANA", "Cost \"x\""})
        SetTrait(s.Collection[3], t, "2");
    s.Collection[3].Description = "Casts \"bolts\"";
    // The stored decks hold a copy of a collection card and a card of their own.
    s.PlayerDecks[1].Cards = {s.Collection[2], NewCard("Squire", 21)};
    s.PlayerDecks[2].Cards = {s.Collection[2], s.PlayerDecks[1].Cards[2]};
    s.Decks.Resize(3);
    s.Decks[1] = {"Deck #1", {0, 11, 12}, {0, 0, 0}};
    s.Decks[2] = {"", {0}, {0}};
    s.Decks[3] = {"Say \"Go\"", {0, 21}, {0, 0}};
    s.Players[1].Tokens = 750;
    s.Players[1].WonMissions = {"Arena\\First.mis", "", "Second.mis"};
    s.CurrentProfile.Name = "Me";

    ASSERT_TRUE(SavePlayer("Arena_Me.plr"));
    const std::string first = File("Arena_Me.plr");
    test::data_files::ExpectFileGolden("player_file.golden.plr", first);
    EXPECT_EQ(s.CurrentProfile.PlayerFile, "Arena_Me.plr");

    s.Collection = {};
    s.Decks = {};
    s.Players[1] = Player{};
    s.Players[1].Id = 1;
    ASSERT_TRUE(ReadCards(s.Collection, "Arena_Me.plr", s.Players[1]));
    ASSERT_EQ(s.Collection.size(), 4) << "the stored decks' copy is not a second collection card";
    EXPECT_EQ(s.Players[1].Tokens, 750);
    ASSERT_TRUE(SavePlayer("Again.plr"));
    EXPECT_EQ(File("Again.plr"), first);
}

TEST_F(PlayerFilesTest, StoredDeckCardsWithoutIdentifierGetOneAndKeepIt) {
    St().Collection = {NewCard("Plain", 11)};
    St().PlayerDecks[3].Cards = {NewCard("New", 0)};
    ASSERT_TRUE(SavePlayer("p.plr"));
    const int32_t gid = St().PlayerDecks[3].Cards[1].GID;
    EXPECT_GE(gid, 1);
    EXPECT_LE(gid, 100000000);
    EXPECT_NE(File("p.plr").find("\"New:" + std::to_string(gid) + "\""), std::string::npos);
}

TEST_F(PlayerFilesTest, APlayerWithoutWonMissionsStillGetsTheMissionLines) {
    St().Collection = {NewCard("Plain", 11)};
    St().Decks = {DeckList{"", {0}, {0}}};
    ASSERT_TRUE(SavePlayer("p.plr"));
    const std::string text = File("p.plr");
    const std::string head =
        "#PLAYERDECK\r\n\r\n#WONMISSIONS, \r\n#ENDWONMISSIONS\r\n\r\n#TOKENS, 0\r\n\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("\r\n\"#DECK\",\"\"\r\n0\r\n\"#ENDOFDECK\"\r\n\r\n"), std::string::npos)
        << "a deck list without a name is written all the same";
}

TEST_F(PlayerFilesTest, NothingIsWrittenInDebugModeOrForAnEmptyCollection) {
    WriteFile("p.plr", "old");
    St().DebugMode = 1;
    St().Collection = {NewCard("Plain", 11)};
    EXPECT_FALSE(SavePlayer("p.plr")) << "a save skipped in debug mode is no save";
    EXPECT_TRUE(host.messages.empty()) << "the program's own saves keep quiet in debug mode";
    St().DebugMode = 0;
    St().Collection = List<Card>(2);
    EXPECT_TRUE(SavePlayer("p.plr"));
    EXPECT_EQ(File("p.plr"), "old");
    St().Collection[2] = NewCard("Second", 2);
    EXPECT_TRUE(SavePlayer("p.plr")) << "a free first slot does not hide the other cards";
    EXPECT_NE(File("p.plr").find("\"Second\""), std::string::npos);
}

TEST_F(PlayerFilesTest, TypedNamesThatWouldLeaveTheirFolderAreRefused) {
    St().Games.Resize(1);
    St().Games[1].Folder = "Arena";
    St().CurrentGame = 1;
    EXPECT_EQ(PlayerFileName("Arena", "Me"), "Arena_Me.plr");
    EXPECT_EQ(EnemyFilePath("Orc"), (Folder() / "Arena" / "Orc_Enemy.txt").string());
    EXPECT_EQ(EnemyFilePath(""), (Folder() / "Arena" / "_Enemy.txt").string());
    for (const char* bad : {"../x", "a/b", "a\\b", ".."}) {
        SCOPED_TRACE(bad);
        host.messages.clear();
        EXPECT_EQ(PlayerFileName("Arena", bad), "");
        EXPECT_EQ(EnemyFilePath(bad), "");
        EXPECT_FALSE(NewPlayerProfile(bad));
        List<Card> none;
        EXPECT_FALSE(SaveEnemy(none, "x_Enemy.txt", bad));
        EXPECT_EQ(host.messages.size(), 4u);
    }
    St().Collection = {NewCard("Plain", 11)};
    EXPECT_FALSE(SavePlayer("../outside.plr"));
    EXPECT_FALSE(DataFileExists(Folder().parent_path(), "outside.plr"));
}

// Player files were written wherever a name pointed: an absolute path passed through SavePlayer,
// the end of a game built the file name itself from a game name read from a game file, and a
// profile list could name a player file anywhere.
TEST_F(PlayerFilesTest, SavesThatWouldLandOutsideTheProgramFolderAreRefusedWithTheirReason) {
    namespace fs = std::filesystem;
    State& s = St();
    const fs::path program = Folder() / "program";
    fs::create_directories(program / "Arena");
    fs::create_directory_symlink(Folder(), program / "away");
    s.ProgramFolder = program;
    s.CurrentFolder = program;
    const std::string outside = (Folder() / "outside.plr").string();
    auto chooseGame = [&](const std::string& name, const std::string& folder) {
        s.Games = List<GameInfo>(1);
        s.Games[1].Name = name;
        s.Games[1].Folder = folder;
        s.CurrentGame = 1;
    };
    auto gameFromFile = [&](const std::string& name) {
        WriteFile("program/Read.gam", "#GAMERULES, " + name + ", , #000000, , \r\n");
        s.Games = List<GameInfo>(1);
        s.CurrentGame = 0;
        s.CurrentGameName.clear();
        LoadAllGames();
        fs::remove(program / "Read.gam");
    };
    auto profileFromFile = [&](const std::string& name, const std::string& file) {
        WriteFile("program/PlayerProfiles.txt",
                  "\"#PLAYERPROFILE\",\"" + name + "\",\"" + file + ":\",\"\",\"\",\"\"\r\n");
        LoadPlayerProfiles();
        s.CurrentProfile = s.PlayerProfiles[1];
    };
    uint8_t noWinner = 0;
    List<Card> deck = {NewCard("Grunt", 1)};
    struct Row {
        const char* name;
        std::function<bool()> save;
        const char* why;  // in the message
    };
    const Row rows[] = {
        {"absolute player file", [&] { return SavePlayer(outside); }, "outside the program"},
        {"parent folder", [&] { return SavePlayer("../outside.plr"); }, "outside the program"},
        {"backslashes", [&] { return SavePlayer("..\\outside.plr"); }, "outside the program"},
        {"down and up", [&] { return SavePlayer("Arena/../../outside.plr"); }, "outside"},
        {"folder link", [&] { return SavePlayer("away/outside.plr"); }, "outside the program"},
        {"game name from a game file",
         [&] {
             s.CurrentProfile.Name = "Me";
             gameFromFile(Folder().string() + "/outside");
             EndGame(noWinner);
             return fs::exists(Folder() / "outside_Me.plr");
         },
         "cannot be part of a player file name"},
        {"game name climbing out",
         [&] {
             s.CurrentProfile.Name = "Me";
             gameFromFile("../outside");
             return SaveCurrentPlayer();
         },
         "cannot be part of a player file name"},
        {"profile name from the profile list",
         [&] {
             profileFromFile("../x", "");
             chooseGame("Arena", "");
             EndGame(noWinner);
             return fs::exists(Folder() / "x.plr");
         },
         "cannot be part of a player file name"},
        {"profile name with a folder",
         [&] {
             profileFromFile("Arena/x", "");
             chooseGame("Arena", "");
             return SaveCurrentPlayer();
         },
         "cannot be part of a player file name"},
        {"player file from the profile list",
         [&] {
             profileFromFile("Me", outside);
             return !s.CurrentProfile.PlayerFile.empty();
         },
         "is not read"},
        {"opponent in a game folder outside",
         [&] {
             chooseGame("Arena", "..");
             return !EnemyFilePath("Orc").empty();
         },
         "outside the program"},
        {"opponent file path", [&] { return SaveEnemy(deck, outside, "Orc"); }, "outside"},
        {"card file", [&] { return SaveCollection(deck, "../cards.txt", "INDECK", "", 0); },
         "outside the program"},
        {"card file through a game folder",
         [&] {
             s.CurrentFolder = program / "Arena";
             const bool saved = SaveCollection(deck, "../../cards.txt", "INDECK", "", 0);
             s.CurrentFolder = program;
             return saved;
         },
         "outside the program"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        host.messages.clear();
        s.Collection = {NewCard("Plain", 11)};
        EXPECT_FALSE(r.save());
        for (const auto& entry : fs::directory_iterator(Folder()))
            EXPECT_EQ(entry.path().filename(), "program") << "written outside";
        ASSERT_FALSE(host.messages.empty());
        EXPECT_NE(host.messages.back().find(r.why), std::string::npos) << host.messages.back();
    }

    // The same names inside the program folder save as before, with the file name forms kept.
    host.messages.clear();
    EXPECT_TRUE(SavePlayer((program / "Arena" / "Deep.plr").string()));
    chooseGame("Arena", "Arena");
    s.CurrentProfile.Name = "Me";
    EXPECT_TRUE(SaveCurrentPlayer());
    EXPECT_TRUE(fs::exists(program / "Arena_Me.plr"));
    EXPECT_EQ(EnemyFilePath("Orc"), (program / "Arena" / "Orc_Enemy.txt").string());
    EXPECT_TRUE(SaveEnemy(deck, EnemyFilePath("Orc"), "Orc"));
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

// A shared archive unpacked into the program folder can hold links: a player file or page file
// that was a link to a file of the user's had that file replaced by the next save. A file the
// player chose in a file dialog is the player's own choice and is saved where it points.
TEST_F(PlayerFilesTest, SavesThroughLinksReachOnlyFilesOfTheProgramFolder) {
    namespace fs = std::filesystem;
    State& s = St();
    const fs::path program = Folder() / "program";
    fs::create_directories(program);
    s.ProgramFolder = program;
    s.CurrentFolder = program;
    const fs::path theirs = Folder() / "theirs.txt";
    ASSERT_EQ(AtomicSave(theirs, "the user's own"), "");
    ASSERT_EQ(AtomicSave(program / "kept.plr", "old"), "");
    fs::create_symlink(program / "kept.plr", program / "In.plr");
    for (const char* name : {"Out.plr", "Cards.txt", "Display.html"})
        fs::create_symlink(theirs, program / name);
    fs::create_symlink(Folder() / "new.txt", program / "Dangling.plr");
    List<Card> deck = {NewCard("Grunt", 1)};
    struct Row {
        const char* name;
        std::function<bool()> save;
        fs::path written;  // the file the save wrote; empty: refused
        const char* why;   // in the message when refused
    };
    const Row rows[] = {
        {"player file linked inside", [] { return SavePlayer("In.plr"); }, program / "kept.plr",
         ""},
        {"player file linked out", [] { return SavePlayer("Out.plr"); }, {}, "is a link to"},
        {"dangling link out", [] { return SavePlayer("Dangling.plr"); }, {}, "outside the program"},
        {"card file linked out",
         [&] { return SaveCollection(deck, "Cards.txt", "INDECK", "", 0); },
         {},
         "is a link to"},
        {"page file", [] { return CreateHTML("Display.html", "#000000"); },
         program / "Display.html", ""},
        {"player file chosen outside",
         [&] { return SavePlayer((Folder() / "Chosen.plr").string(), PathOrigin::Chosen); },
         Folder() / "Chosen.plr", ""},
        {"card file chosen outside",
         [&] {
             return SaveCollection(deck, (Folder() / "Set.txt").string(), "COLLECTION", "", 0,
                                   PathOrigin::Chosen);
         },
         Folder() / "Set.txt", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        host.messages.clear();
        s.Collection = {NewCard("Plain", 11)};
        const fs::file_time_type before = fs::last_write_time(theirs);
        EXPECT_EQ(r.save(), !r.written.empty());
        EXPECT_EQ(File("theirs.txt"), "the user's own");
        EXPECT_EQ(fs::last_write_time(theirs), before);
        if (r.written.empty()) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_NE(host.messages[0].find(r.why), std::string::npos) << host.messages[0];
        } else {
            EXPECT_TRUE(host.messages.empty()) << host.messages.front();
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(r.written))) << r.written;
            EXPECT_NE(ReadWholeFile(r.written).value_or("old"), "old");
        }
    }
    EXPECT_FALSE(fs::exists(Folder() / "new.txt"));
    EXPECT_TRUE(fs::is_symlink(program / "In.plr")) << "a link inside stays a link";
    EXPECT_EQ(s.CurrentProfile.PlayerFile, "In.plr")
        << "a copy kept elsewhere is no profile's file";
}

// The reason form of each save hands back what the bool form shows, and shows nothing itself, so
// a window can show it its own way; a failed write carries the system's words for it.
TEST_F(PlayerFilesTest, EverySaveHandsBackWhyItFailedAndItsBoolFormShowsJustThat) {
    namespace fs = std::filesystem;
    State& s = St();
    fs::create_directory(Folder() / "taken.plr");  // a folder where the file would go
    List<Card> deck = {NewCard("Grunt", 1)};
    struct Row {
        const char* name;
        std::function<SaveResult()> reasonForm;
        std::function<bool()> boolForm;
        const char* why;  // in the reason
        bool shown;       // by the bool form
    };
    const Row rows[] = {
        {"data file outside", [&] { return SaveDataFileReason(Folder(), "../x.txt", "x"); },
         [&] { return SaveDataFile(Folder(), "../x.txt", "x"); }, "outside the program", true},
        {"card file outside",
         [&] { return SaveCollectionReason(deck, "../c.txt", "INDECK", "", 0); },
         [&] { return SaveCollection(deck, "../c.txt", "INDECK", "", 0); }, "outside the program",
         true},
        {"player file over a folder", [&] { return SavePlayerReason("taken.plr"); },
         [&] { return SavePlayer("taken.plr"); }, "Is a directory", true},
        {"opponent name", [&] { return SaveEnemyReason(deck, "x_Enemy.txt", "a/b"); },
         [&] { return SaveEnemy(deck, "x_Enemy.txt", "a/b"); }, "cannot be an opponent's file",
         true},
        {"profile list in a missing folder",
         [&] {
             s.CurrentFolder = Folder() / "gone";
             return SavePlayerProfilesReason();
         },
         [&] { return SavePlayerProfiles(); }, "No such file or directory", true},
        {"current player without a game",
         [&] {
             s.CurrentFolder = Folder();
             s.Games = List<GameInfo>(1);
             s.CurrentGame = 0;
             return SaveCurrentPlayerReason();
         },
         [&] { return SaveCurrentPlayer(); }, "No game", false},
        {"current player of a profile name with a folder",
         [&] {
             s.Games[1].Name = "Arena";
             s.CurrentGame = 1;
             s.CurrentProfile.Name = "a/b";
             return SaveCurrentPlayerReason();
         },
         [&] { return SaveCurrentPlayer(); }, "cannot be part of a player file name", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        s.Collection = {NewCard("Plain", 11)};
        host.messages.clear();
        const SaveResult result = r.reasonForm();
        EXPECT_FALSE(result.Saved());
        EXPECT_NE(result.reason.find(r.why), std::string::npos) << result.reason;
        EXPECT_EQ(result.toShow, r.shown);
        EXPECT_TRUE(host.messages.empty()) << "the reason form shows nothing";
        EXPECT_FALSE(r.boolForm());
        EXPECT_EQ(host.messages,
                  r.shown ? std::vector<std::string>{result.reason} : std::vector<std::string>{});
    }
    s.CurrentProfile.Name = "Me";
    EXPECT_TRUE(SaveCurrentPlayerReason().Saved());
    EXPECT_TRUE(fs::exists(Folder() / "Arena_Me.plr"));
}

TEST_F(PlayerFilesTest, TheProfileListIsWrittenAndReadInItsOwnForm) {
    State& s = St();
    s.PlayerProfiles.Resize(3);
    s.PlayerProfiles[1] = {"Rookie", "Arena_Rookie.plr", "Arena.gam", {"", "Second.mis"}};
    s.PlayerProfiles[2] = {"ME", "old.plr", "", {""}};
    s.PlayerProfiles[3] = {"Me", "old.plr", "", {""}};
    s.CurrentProfile = {"Me", "Arena_Me.plr", "Arena.gam", {""}};
    ASSERT_TRUE(SavePlayerProfiles());
    EXPECT_EQ(File("PlayerProfiles.txt"),
              "\"#PLAYERPROFILE\",\"Rookie\",\"Arena_Rookie.plr:Arena.gam\",\"\",\"\",\"\"\r\n\r\n"
              "#UNLOCKED, \"Second.mis\", #ENDUNLOCKED\r\n\r\n"
              "\"#PLAYERPROFILE\",\"ME\",\"old.plr:\",\"\",\"\",\"\"\r\n\r\n"
              "#UNLOCKED, #ENDUNLOCKED\r\n\r\n"
              "\"#PLAYERPROFILE\",\"Me\",\"Arena_Me.plr:Arena.gam\",\"\",\"\",\"\"\r\n\r\n"
              "#UNLOCKED, #ENDUNLOCKED\r\n\r\n\r\n");

    LoadPlayerProfiles();
    ASSERT_EQ(s.PlayerProfiles.size(), 3);
    EXPECT_EQ(s.PlayerProfiles[1].GameFile, "Arena.gam");
    EXPECT_EQ(s.PlayerProfiles[1].Unlocked, (List<std::string>{"", "Second.mis"}));
    EXPECT_EQ(s.PlayerProfiles[3].PlayerFile, "Arena_Me.plr");

    std::filesystem::remove(Folder() / "PlayerProfiles.txt");
    LoadPlayerProfiles();
    ASSERT_EQ(s.PlayerProfiles.size(), 1);
    EXPECT_TRUE(s.PlayerProfiles[1].Name.empty());
}

TEST_F(PlayerFilesTest, OpponentFilesTakeTheirHeaderAndPlayerCardFromThePlayerCards) {
    List<Card> blank;
    ASSERT_TRUE(SaveEnemy(blank, "_Enemy.txt", ""));
    EXPECT_EQ(File("_Enemy.txt"),
              "#ENEMYDECK, , , , , , , , \r\n" + std::string(41, '*') +
                  " \r\n#CARD, #PLAYERCARD, \"\", \":0\", , , , , \"\"\r\n\r\n\r\n");

    List<Card> deck = {NewCard("First", 1), NewCard("Grunt", 2), NewCard("Last", 3)};
    SetTrait(deck[1], "PLAYER", "");
    SetTrait(deck[3], "player", "");
    deck[3].Description = "Big, bad";
    ASSERT_TRUE(SaveEnemy(deck, "Orc_Enemy.txt", "Orc"));
    const std::string text = File("Orc_Enemy.txt");
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "#ENEMYDECK, Orc, Last, Elves.txt, , , #FFFFFF, , \"Big, bad\"");
    EXPECT_NE(text.find("#CARD, #PLAYERCARD, \"Orc\", \"First:1\""), std::string::npos);
    // The deck's copy is the one played: it carries the name given too.
    EXPECT_NE(text.find("#CARD, INDECK, \"Orc\", \"First:1\""), std::string::npos);
    EXPECT_EQ(text.find("#CARD, INDECK, \"First\""), std::string::npos);
    EXPECT_NE(text.find("#CARD, INDECK, \"Last\""), std::string::npos);
}

}  // namespace
}  // namespace dv
