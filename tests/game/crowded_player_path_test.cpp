// Games started as the player starts them, from the opponent's game link with the turn log and
// the pages on, against opponents of hundreds or thousands of cards: what the index of play
// costs on that path, and that it changes nothing a game does.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/interpreter/run_budget.h"
#include "engine/model/files.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/first_profile.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxCopiesPerLine = 1000;
constexpr int kProgramIndexFrom = 0;  // the program's own bound
constexpr int kNeverIndexed = INT_MAX;

// The copies of a card of the opponent's deck, entering play at the game start.
std::string Copies(const std::string& name, int copies, const std::string& startTime,
                   const std::vector<std::string>& effects) {
    std::string text = "#CARD, INDECK, \"" + name + "\", \"" + name +
                       ":9901\", , , , #6A8F4A, \"One of many.\"\r\n"
                       "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:3\", #TRAIT, \"STARTSINPLAY:\", \r\n";
    for (const std::string& effect : effects)
        text += "#EFFECT, " + effect + "\r\n";
    text += "#EXTRADATA, 101, " + startTime + ", , %%%0%0%0%0%0%0%0%0, \r\n";
    for (int left = copies - 1; left > 0; left -= kMaxCopiesPerLine)
        text += "#DUPLICATE, " + std::to_string(std::min(left, kMaxCopiesPerLine)) + "\r\n";
    return text;
}

class CrowdedPlayerPath : public test::EngineTest {
  protected:
    void TearDown() override {
        PlayIndex::CheckAgainstCards(true);
        EngineTest::TearDown();
    }

    // A fresh copy of the sample game with the opponent file in the game's folder, started from
    // the opponent's link under the seed, boards indexed from `indexFrom` slots.
    void Start(const std::string& opponent, double seed, int indexFrom) {
        ResetState();
        SetHost(&host);
        // The same folder each time: the pages name it.
        const fs::path folder = Folder() / "game";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy(fs::path(DV_SOURCE_DIR) / "content", folder,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        WriteFile("game/Mosslight/Horde_Enemy.txt", opponent);
        State& st = St();
        st.ProgramFolder = st.CurrentFolder = folder;
        st.SeedOverride = seed;
        host.onCall[WindowCall::ShowProfileMenu] = test::ChooseFirstProfile;
        PlayIndex::IndexBoardsFrom(indexFrom);
        Main();
        ASSERT_TRUE(StartGameFromLink("GAME:1:Horde_Enemy.txt"));
    }

    // What a step of the game did: its runs, its page with the turn log, and the board.
    static std::string Step() {
        const State& st = St();
        std::string step = std::to_string(st.RunBudget.Asked) + " runs\n" +
                           ReadWholeFile(st.ProgramFolder / "Display.html").value_or("");
        for (const Card& card : st.InPlay.Cards())
            step += "\n" + card.Name + " " + std::to_string(card.Active) + " " +
                    std::to_string(card.Owner) + " " + std::to_string(card.Effects.size());
        return step;
    }
};

// Cards placed in play as the file is read.
std::string Placed(int lines, int copies) {
    std::string text;
    for (int c = 1; c <= lines; ++c)
        text += "#CARD, INPLAY, \"Pebble " + std::to_string(c) +
                "\", \"pebble:" + std::to_string(9900 + c) +
                "\", , , , #6A8F4A, \"A stone.\"\r\n#DUPLICATE, " + std::to_string(copies) + "\r\n";
    return text;
}

// Each card held by a procedure was signed anew at every look, and a game started from its link
// held every card of a file that placed them in play: its start took minutes at 8,000 cards.
// Apart from one sign after each run (its target may have changed), the start and a turn sign
// each card a few times.
TEST_F(CrowdedPlayerPath, TheStartAndATurnSignEachCardABoundedNumberOfTimes) {
    constexpr int kCrowd = 8000;
    constexpr long long kPerCard = 8;
    // The cards in play when the index is built are held by the outermost procedure at work (a
    // line of the file, at most a thousand cards entering play, each with a few walks).
    constexpr long long kHeldWhenIndexed = 256LL * 1000 * 6;
    std::vector<std::string> effects;
    for (int phase = 1; phase <= 10; ++phase)
        effects.push_back("ALL, PHASE" + std::to_string(phase) + ", \"REQTRAIT:HP:ECHOMINOR:x\"");
    struct Row {
        const char* what;
        std::string opponent;
    };
    const Row rows[] = {
        {"copies entering play at the game start",
         Copies("Swarmling", kCrowd, "GAMESTART", effects)},
        {"cards placed in play as the file is read", Placed(kCrowd / 1000, 999)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        long long signs = PlayIndex::Signs();
        long long runs = 0;
        Start(r.opponent, 2024, kProgramIndexFrom);
        EXPECT_GE(St().InPlay.size(), kCrowd);
        EXPECT_LE(PlayIndex::Signs() - signs,
                  kPerCard * kCrowd + St().RunBudget.Asked - runs + kHeldWhenIndexed);
        signs = PlayIndex::Signs();
        runs = St().RunBudget.Asked;
        PlayCards(0);
        EXPECT_LE(PlayIndex::Signs() - signs, kPerCard * kCrowd + St().RunBudget.Asked - runs);
    }
}

// The same seeded games on boards indexed as the program indexes them, the index built while the
// opponent's cards enter play, and on boards never indexed: every step the same.
TEST_F(CrowdedPlayerPath, IndexedAndUnindexedBoardsPlayTheSameGames) {
    constexpr int kCrowd = 600;
    const std::string opponent =
        Copies("Biter", kCrowd, "GAMESTART",
               {"RANDOMENEMY, PHASE3, \"REQTRAIT:CREATURE:MODTRAIT:HP:-1:ECHO:$MYNAME bites.\"",
                "SELF, ONDEATH, \"ECHOMINOR:$MYNAME falls.\"",
                "ALL, PHASE10, \"REQTRAIT:NOSUCHTRAIT:ECHOMINOR:x\""}) +
        Copies("Sleeper", kCrowd, "PHASE2",
               {"SELF, ENTERPLAY, \"ECHOMINOR:$MYNAME wakes.\"",
                "TARGETCARD, PHASE5, \"REQTRAIT:CREATURE:MODTRAIT:HP:-1\""}) +
        Copies("Herald", 3, "GAMESTART", {"ALL, PHASE1, \"REQTRAIT:HP:ECHOMINOR:x\""});
    for (double seed : {2024.0, 4711.0}) {
        SCOPED_TRACE(seed);
        std::vector<std::string> steps[2];
        for (int indexed = 0; indexed < 2; ++indexed) {
            Start(opponent, seed, indexed ? kProgramIndexFrom : kNeverIndexed);
            ASSERT_GT(St().InPlay.size(), 1024);
            steps[indexed].push_back(Step());
            for (int turn = 0; turn < 3 && St().GameOver == 0; ++turn) {
                PlayCards(0);
                steps[indexed].push_back(Step());
            }
        }
        ASSERT_EQ(steps[0].size(), steps[1].size());
        for (std::size_t k = 0; k < steps[0].size(); ++k) {
            const std::string& a = steps[0][k];
            const std::string& b = steps[1][k];
            const std::size_t at =
                std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
            EXPECT_EQ(at, a.size()) << "step " << k << ", unindexed then indexed:\n"
                                    << a.substr(at > 200 ? at - 200 : 0, 400) << "\n----\n"
                                    << b.substr(at > 200 ? at - 200 : 0, 400);
        }
    }
}

}  // namespace
}  // namespace dv
