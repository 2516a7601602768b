#include "data/games_page.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

class GamesPageTest : public test::EngineTest {
  protected:
    GameInfo& AddGame(const std::string& name) {
        GameInfo game;
        game.Name = name;
        game.HeaderText = "#112233";
        game.HelpPage = name + ".htm";
        game.Opponents = List<Card>(1);
        game.MissionTexts = List<std::string>(1);
        game.MissionFiles = List<std::string>(1);
        game.MissionTitles = List<std::string>(1);
        St().Games.PushBack(game);
        return St().Games[St().Games.size()];
    }

    static void AddOpponent(GameInfo& game, const std::string& name) {
        Card opponent;
        opponent.Name = name;
        opponent.SetFile = name + ".txt";
        game.Opponents.PushBack(opponent);
    }
};

TEST_F(GamesPageTest, CatalogueFromFoldersGivesTheExpectedPage) {
    WriteFile("arena.gam", "#GAMERULES, Arena, arena.jpg, #224488, arena, arena.htm\r\n");
    WriteFile("battle.gam", "#GAMERULES, Battle, , green, battle, \r\n");
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

TEST_F(GamesPageTest, PagePiecesFollowTheCatalogue) {
    struct Row {
        const char* name;
        void (*build)(GameInfo&);
        const char* expected;  // the game's text after its header row
    };
    const Row rows[] = {
        {"no opponents", [](GameInfo&) {}, "<tr></tr></table>"},
        {"opponent without portrait", [](GameInfo& g) { AddOpponent(g, "Imp"); },
         "<tr><td bgcolor=#112233><center><font color=#FFFFFF><a href=\"GAME:1:Imp.txt\">Imp</a>"
         "</font></td></tr></table>"},
        {"row break after position 8, counting the empty first entry",
         [](GameInfo& g) {
             for (int i = 2; i <= 8; ++i)
                 AddOpponent(g, "F" + std::to_string(i));
         },
         nullptr},
        {"first mission empty, second shown without heading",
         [](GameInfo& g) {
             g.MissionTexts = {"", "two"};
             g.MissionFiles = {"1.mis", "2.mis"};
             g.MissionTitles = {"One", "Two"};
         },
         "<tr></tr></table><br><a href=game:1:2.mis>Two</a> two<br>"},
        {"first mission shown with heading",
         [](GameInfo& g) {
             g.MissionTexts = {"one"};
             g.MissionFiles = {"1.mis"};
             g.MissionTitles = {"One"};
         },
         "<tr></tr></table><br>&ltMISSIONS&gt<br><br><a href=game:1:1.mis>One</a> one<br>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        St().Games.Clear();
        GameInfo& game = AddGame("G");
        game.HelpPage.clear();
        r.build(game);
        const std::string page = DisplayGames();
        const std::string header =
            "<table align=top width=100%><tr><td colspan=80 bgcolor=#112233><center><font "
            "color=#FFFFFF>G</font><font size=-2 color=FFFFFF><br>(Select an opponent from the "
            "portraits below)</font><br><a href=\"HELP:\">Click here for help on this "
            "game.</a></td></tr>";
        ASSERT_EQ(page.substr(0, header.size()), header);
        if (r.expected) {
            EXPECT_EQ(page.substr(header.size()), r.expected);
        } else {
            // Seven portraits in the first row, then the row break and an empty row.
            EXPECT_NE(page.find("F8</a></font></td></tr><tr></tr></table>"), std::string::npos);
        }
    }
}

TEST_F(GamesPageTest, EmptyCatalogueGivesAnEmptyPage) {
    St().Games = List<GameInfo>(1);
    EXPECT_EQ(DisplayGames(), "");
}

TEST_F(GamesPageTest, GamesFollowEachOtherWithTheirMissions) {
    St().Games = List<GameInfo>(1);
    St().Games[1].Name = "A";
    St().Games[1].MissionTexts = {"mission of A"};
    St().Games[1].MissionFiles = {"a.mis"};
    St().Games[1].MissionTitles = {"MA"};
    AddGame("B");
    const std::string page = DisplayGames();
    const auto missionOfA = page.find("mission of A");
    const auto tableOfB = page.find(">B</font>");
    ASSERT_NE(missionOfA, std::string::npos);
    ASSERT_NE(tableOfB, std::string::npos);
    EXPECT_LT(missionOfA, tableOfB);
    EXPECT_NE(page.find("<a href=game:1:a.mis>MA</a> mission of A<br><table"), std::string::npos);
}

}  // namespace
}  // namespace dv
