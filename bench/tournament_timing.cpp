// Times a tournament of eight opponent decks of the sample game, and one generation of deck
// evolution (a tournament and the breeding of the next eight decks).
//
//     build/tournament_timing

#include <chrono>
#include <cstdio>

#include "bench/sample_game_folder.h"
#include "engine/model/state.h"
#include "game/computer_games.h"
#include "game/deck_evolution.h"

int main() {
    using namespace dv;
    bench::SampleGameFolder folder(2024);

    auto start = std::chrono::steady_clock::now();
    RunTournament();
    const double tournament = bench::Seconds(start);

    // Bred from one deck first, so that the timed generations play eight different decks.
    List<std::string> decks(8);
    decks[1] = "Bogwarden_Enemy.txt";
    start = std::chrono::steady_clock::now();
    EvolveDecks(decks, 0);
    const double breeding = bench::Seconds(start);
    start = std::chrono::steady_clock::now();
    EvolveDecks(decks, 2);
    const double twoGenerations = bench::Seconds(start);

    std::printf("tournament of 8 decks (13 games)  %8.3f s\n", tournament);
    std::printf("breeding 8 decks from one         %8.3f s\n", breeding);
    std::printf("one generation of evolution       %8.3f s\n", twoGenerations / 2);
    std::printf("peak memory                       %8.1f MB\n", bench::PeakMegabytes());
    return 0;
}
