// Plays whole computer-against-computer games of the sample game under fixed seeds and prints
// games, turns and effect runs per second and the peak memory.
//
//     build/computer_games_timing [games, default 200]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/sample_game_folder.h"
#include "engine/model/state.h"
#include "game/computer_games.h"

int main(int argc, char** argv) {
    using namespace dv;
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const char* const decks[] = {"Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",
                                 "Reedmother_Enemy.txt", "Lamplighter_Starter.txt"};
    bench::SampleGameFolder folder(2024);
    State& st = St();

    long long turns = 0;
    int draws = 0;
    const double effectsBefore = st.MaskedActions + st.UnmaskedActions;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 0; g < games; ++g) {
        std::string loser;
        PlayAIGame(decks[g % 4], decks[(g / 4 + g + 1) % 4], loser);
        turns += st.TurnsPlayed;
        if (st.Winner == 0) ++draws;
    }
    const double elapsed = bench::Seconds(start);
    const double effects = st.MaskedActions + st.UnmaskedActions - effectsBefore;

    std::printf("%d games, %lld turns (%.1f a game, %d draws at the turn limit) in %.3f s\n", games,
                turns, static_cast<double>(turns) / games, draws, elapsed);
    std::printf("games/s    %10.1f\n", games / elapsed);
    std::printf("turns/s    %10.1f\n", turns / elapsed);
    std::printf("effects/s  %10.0f\n", effects / elapsed);
    std::printf("peak memory %9.1f MB\n", bench::PeakMegabytes());
    return 0;
}
