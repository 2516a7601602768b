// Starts games the way a player starts them, from the opponent's game link with the turn log and
// the pages on, against an opponent whose deck is thousands of copies of one card that enters
// play at the game start with ten ALL effects on phases 1 to 10, and times the start and the
// first turns. The card's effects come with a requirement every card meets and with one none
// meets. Last, it times a game start whose opponent file places its cards in play as it is read:
// 24 cards, each copied 999 times.
//
//     build/player_path_timing [turns, default 3] [copies ...; default 8000 16000]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/sample_game_folder.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"

namespace {

// A #DUPLICATE line copies the card at most this many times.
constexpr int kMaxCopiesPerLine = 1000;
constexpr int kPlacedCards = 24;
constexpr int kPlacedCopies = 999;
constexpr const char* kOpponentFile = "Crowd_Enemy.txt";

std::string CrowdDeck(int copies, const char* requirement) {
    std::string text =
        "#CARD, INDECK, \"Swarmling\", \"swarmling:9901\", , , , #6A8F4A, \"One of many.\"\r\n"
        "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:5\", #TRAIT, \"STARTSINPLAY:\", \r\n";
    for (int phase = 1; phase <= 10; ++phase)
        text += "#EFFECT, ALL, PHASE" + std::to_string(phase) + ", \"" + requirement +
                ":ECHOMINOR:x\"\r\n";
    text += "#EXTRADATA, 101, GAMESTART, , %%%0%0%0%0%0%0%0%0, \r\n";
    for (int left = copies - 1; left > 0; left -= kMaxCopiesPerLine)
        text += "#DUPLICATE, " + std::to_string(std::min(left, kMaxCopiesPerLine)) + "\r\n";
    return text;
}

std::string PlacedDeck() {
    std::string text;
    for (int c = 1; c <= kPlacedCards; ++c)
        text += "#CARD, INPLAY, \"Pebble " + std::to_string(c) +
                "\", \"pebble:" + std::to_string(9900 + c) +
                "\", , , , #6A8F4A, \"A stone.\"\r\n#DUPLICATE, " + std::to_string(kPlacedCopies) +
                "\r\n";
    return text;
}

bool WriteOpponent(const std::string& text) {
    const std::filesystem::path file = dv::St().ProgramFolder / "Mosslight" / kOpponentFile;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    std::fwrite(text.data(), 1, text.size(), out);
    return std::fclose(out) == 0;
}

// Sets up the sample game's folder with the opponent file and starts the game from its link, as
// the games page's portrait link does; returns the seconds the start took, or -1.
double StartFromLink(const std::string& opponent) {
    if (!WriteOpponent(opponent)) return -1;
    dv::Main();
    const auto start = std::chrono::steady_clock::now();
    if (!dv::StartGameFromLink(std::string("GAME:1:") + kOpponentFile)) return -1;
    return dv::bench::Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace dv;
    const bench::CrowdRuns runs = bench::ReadCrowdRuns(argc, argv);
    const int turns = runs.turns;

    for (const char* requirement : {"REQTRAIT:HP", "REQTRAIT:NEVERHELD"})
        for (int copies : runs.copies) {
            bench::SampleGameFolder folder(2024);
            State& st = St();
            const double started = StartFromLink(CrowdDeck(copies, requirement));
            if (started < 0) return 1;
            std::printf("%d copies, %s: game start %8.3f s, %d cards in play\n", copies,
                        requirement, started, bench::NamedInPlay());
            for (int t = 1; t <= turns && st.GameOver == 0; ++t) {
                const auto start = std::chrono::steady_clock::now();
                PlayCards(0);
                std::printf("%d copies, %s: turn %d     %8.3f s, %d cards in play\n", copies,
                            requirement, t, bench::Seconds(start), bench::NamedInPlay());
            }
            // The same in every build of the engine: the timings are of the same game.
            std::printf("runs asked %lld, dropped %lld; page of %zu bytes\n", st.RunBudget.Asked,
                        st.RunBudget.Dropped, st.HTMLText.size());
        }
    {
        bench::SampleGameFolder folder(2024);
        const double started = StartFromLink(PlacedDeck());
        if (started < 0) return 1;
        std::printf(
            "%d cards placed in play as the file is read: game start %8.3f s, %d cards in "
            "play\n",
            kPlacedCards * (kPlacedCopies + 1), started, bench::NamedInPlay());
    }
    std::printf("peak memory %9.1f MB\n", bench::PeakMegabytes());
    return 0;
}
