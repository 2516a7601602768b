#include "data/games_page.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

// One line per table cell, row and line break, so that a difference reads as a short diff.
std::string Readable(std::string page) {
    std::string out;
    for (std::size_t i = 0; i < page.size(); ++i) {
        out += page[i];
        for (const char* end : {"</td>", "</tr>", "<br>", "<tr>"}) {
            const std::string e = end;
            if (i + 1 >= e.size() && page.compare(i + 1 - e.size(), e.size(), e) == 0) out += '\n';
        }
    }
    return out;
}

std::string ReadGolden(const std::string& name) {
    std::ifstream in(std::string(DV_TEST_DATA) + "/data/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void ReplaceEvery(std::string& text, const std::string& find, const std::string& with) {
    for (std::size_t at = text.find(find); at != std::string::npos;
         at = text.find(find, at + with.size()))
        text.replace(at, find.size(), with);
}

class GamesPageTest : public test::EngineTest {};

TEST_F(GamesPageTest, CatalogueFromFoldersGivesTheExpectedPage) {
    WriteFile("arena.gam", "#GAMERULES, Arena, arena.jpg, #224488, arena, arena.htm\r\n");
    WriteFile("battle.gam", "#GAMERULES, Battle, , green, battle, \r\n");
    WriteFile("calm.gam", "#GAMERULES, Calm, , gray, , calm.htm\r\n");  // no opponents
    WriteFile("arena.jpg", "picture");
    WriteFile("arena/troll-mini.jpg", "picture");
    WriteFile("arena/Troll_Enemy.txt",
              "#ENEMYDECK, Troll, troll, set.txt, troll.jpg, "
              "troll-mini.jpg, #FF0000, , \"A troll\"\r\n");
    WriteFile("Imp.txt",
              "#GAME, Arena\r\n#CARD, #PLAYERCARD, Imp, imp, s, p, , c, d\r\n"
              "#TRAIT, \"HP:5\"\r\n");
    WriteFile("arena/1.mis",
              "#HTML, \"Beat the <b>troll</b>.\"\r\n"
              "#MISSION, \"Troll Hunt\", OPEN, \" Reward: 50\", Troll_Enemy.txt\r\n");
    WriteFile("arena/2.mis", "#MISSION, \"Imp Chase\", OPEN, \"Catch the imp.\", Imp.txt\r\n");
    std::string nine = "#GAME, Battle\r\n";
    for (int i = 1; i <= 9; ++i)
        nine += "#CARD, #PLAYERCARD, Foe" + std::to_string(i) +
                ", k, s, p, , c, d\r\n#TRAIT, \"HP:5\"\r\n";
    WriteFile("battle/foes.txt", nine);
    WriteFile("battle/1.mis", "#MISSION, \"Empty\", OPEN, \"\", x.txt\r\n");
    WriteFile("battle/2.mis", "#MISSION, \"Second\", OPEN, \"Only this one.\", y.txt\r\n");
    St().Games = List<GameInfo>(1);
    LoadAllGames();

    std::string page = DisplayGames();
    ReplaceEvery(page, Folder().string(), "{FOLDER}");
    EXPECT_EQ(Readable(page), Readable(ReadGolden("games_page.golden.html")));
    EXPECT_TRUE(host.messages.empty());
}

// Unquoted, a link ends at the first blank of the program folder's path and starts nothing.
TEST_F(GamesPageTest, EveryLinkIsQuotedSoThatAFolderWithBlanksStaysWhole) {
    const std::filesystem::path folder = Folder() / "program folder";
    WriteFile("program folder/arena.gam", "#GAMERULES, Arena, , #224488, arena, arena.htm\r\n");
    WriteFile("program folder/arena/Troll_Enemy.txt",
              "#ENEMYDECK, Troll, troll, set.txt, troll.jpg, , #FF0000, , \"A troll\"\r\n");
    WriteFile("program folder/arena/1.mis",
              "#MISSION, \"Troll Hunt\", OPEN, \"Beat it.\", Troll_Enemy.txt\r\n");
    St().ProgramFolder = folder;
    St().CurrentFolder = folder;
    St().Games = List<GameInfo>(1);
    LoadAllGames();

    const std::string page = DisplayGames();
    std::vector<std::string> hrefs;
    for (std::size_t at = page.find("href="); at != std::string::npos;
         at = page.find("href=", at + 1)) {
        ASSERT_EQ(page[at + 5], '"') << page.substr(at, 40);
        const std::size_t end = page.find('"', at + 6);
        hrefs.push_back(page.substr(at + 6, end - at - 6));
    }
    const std::string arena = (folder / "arena").string();
    EXPECT_EQ(hrefs,
              (std::vector<std::string>{"HELP:arena.htm", "GAME:1:" + arena + "/Troll_Enemy.txt",
                                        "game:1:" + arena + "/1.mis"}));
}

TEST_F(GamesPageTest, EmptyCatalogueGivesAnEmptyPage) {
    St().Games = List<GameInfo>(1);
    EXPECT_EQ(DisplayGames(), "");
}

}  // namespace
}  // namespace dv
