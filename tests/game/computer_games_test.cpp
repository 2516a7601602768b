#include "game/computer_games.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "engine/model/state.h"
#include "game/startup.h"
#include "tests/game/computer_game_fixture.h"

namespace dv {
namespace {

class ComputerGamesTest : public test::SampleGameTest {};

TEST_F(ComputerGamesTest, Probe) {
    auto t0 = std::chrono::steady_clock::now();
    std::string loser;
    std::string winner = PlayAIGame("Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt", loser);
    auto t1 = std::chrono::steady_clock::now();
    std::cout << winner << " beat " << loser << " in " << St().TurnsPlayed << " turns, "
              << std::chrono::duration<double>(t1 - t0).count() << " s, Winner=" << int(St().Winner)
              << "\n";
    auto t2 = std::chrono::steady_clock::now();
    QuickStart();
    auto t3 = std::chrono::steady_clock::now();
    std::cout << "QuickStart " << std::chrono::duration<double>(t3 - t2).count() << "\n";
    for (int k = 0; k < 5; ++k) {
        auto a = std::chrono::steady_clock::now();
        PlayAIGame("Bogwarden_Enemy.txt", "Reedmother_Enemy.txt", loser);
        auto b = std::chrono::steady_clock::now();
        std::cout << "game " << St().TurnsPlayed << " turns " << std::chrono::duration<double>(b - a).count() << " winner " << int(St().Winner) << "\n";
    }
    std::cout << St().HTMLText.substr(St().HTMLText.size() > 6000 ? St().HTMLText.size() - 6000 : 0) << "\n";
    for (auto& m : host.messages) std::cout << "MSG " << m << "\n";
}

}  // namespace
}  // namespace dv
