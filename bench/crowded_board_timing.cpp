// Starts games of the sample starter deck against an opponent whose deck is thousands of copies
// of one card that enters play at the game start with ten ALL effects, and times the start and
// the first turns. Nearly every run is dropped by the run budgets: what is left is the work of
// walking play as the cards enter it and at every phase. The card comes in two kinds: with its
// effects on phases 1 to 10, and on phases 1 to 9 and the turn start. PHASE10 is as long as
// COSTMOD, so each payment's walk over play finds every card of the first kind an effect of its
// trigger's length to take up.
//
//     build/crowded_board_timing [turns, default 3] [copies ...; default 8000 16000]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/sample_game_folder.h"
#include "data/card_files.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"

namespace {

// A #DUPLICATE line copies the card at most this many times.
constexpr int kMaxCopiesPerLine = 1000;

std::string CrowdDeck(int copies, const char* lastTrigger) {
    std::string text =
        "#CARD, INDECK, \"Swarmling\", \"swarmling:9901\", , , , #6A8F4A, \"One of many.\"\r\n"
        "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:5\", #TRAIT, \"STARTSINPLAY:\", \r\n";
    for (int phase = 1; phase <= 9; ++phase)
        text += "#EFFECT, ALL, PHASE" + std::to_string(phase) + ", \"REQTRAIT:HP:ECHOMINOR:x\"\r\n";
    text += std::string("#EFFECT, ALL, ") + lastTrigger + ", \"REQTRAIT:HP:ECHOMINOR:x\"\r\n";
    text += "#EXTRADATA, 101, GAMESTART, , %%%0%0%0%0%0%0%0%0, \r\n";
    for (int left = copies - 1; left > 0; left -= kMaxCopiesPerLine)
        text += "#DUPLICATE, " + std::to_string(std::min(left, kMaxCopiesPerLine)) + "\r\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace dv;
    const bench::CrowdRuns runs = bench::ReadCrowdRuns(argc, argv);
    const int turns = runs.turns;

    for (const char* lastTrigger : {"PHASE10", "TURNSTART"})
        for (int copies : runs.copies) {
            bench::SampleGameFolder folder(2024);
            State& st = St();
            const std::filesystem::path deck = st.ProgramFolder / "Crowd_Enemy.txt";
            {
                std::FILE* file = std::fopen(deck.c_str(), "wb");
                if (!file) return 1;
                const std::string text = CrowdDeck(copies, lastTrigger);
                std::fwrite(text.data(), 1, text.size(), file);
                std::fclose(file);
            }
            bench::ReadyComputerGame(deck);

            auto start = std::chrono::steady_clock::now();
            StartGame(1);
            const double started = bench::Seconds(start);
            std::printf("%d copies, last effect on %s: game start %8.3f s, %d cards in play\n",
                        copies, lastTrigger, started, bench::NamedInPlay());
            for (int t = 1; t <= turns && st.GameOver == 0; ++t) {
                start = std::chrono::steady_clock::now();
                PlayCards(0);
                std::printf("%d copies, last effect on %s: turn %d     %8.3f s, %d cards in play\n",
                            copies, lastTrigger, t, bench::Seconds(start), bench::NamedInPlay());
            }
            // The same in every build of the engine: the timings are of the same game.
            std::printf("runs asked %lld, dropped %lld; echo of %zu bytes\n", st.RunBudget.Asked,
                        st.RunBudget.Dropped, st.EchoText.size());
            st.AIGameRunning = 0;
        }
    std::printf("peak memory %9.1f MB\n", bench::PeakMegabytes());
    return 0;
}
