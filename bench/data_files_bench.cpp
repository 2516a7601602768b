// Writing and reading a player file of 1,000 cards.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"

namespace {

constexpr int kCards = 1000;

std::filesystem::path SetUpPlayer() {
    dv::ResetState();
    dv::State& s = dv::St();
    const auto folder =
        std::filesystem::temp_directory_path() / ("duvenhall-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    s.ProgramFolder = s.CurrentFolder = folder;
    s.FixedNow = "2024-05-01 10:00:00";
    s.Players[1].Id = 1;
    s.Players[1].Tokens = 500;
    for (int i = 1; i <= kCards; ++i) {
        dv::Card card;
        dv::InitCard(card, 1, 0);
        card.Name = "Card " + std::to_string(i);
        card.UniqueName = "Card" + std::to_string(i);
        card.GID = i;
        card.Description = "A card with a \"quoted\" <b>description</b>.";
        dv::SetTrait(card, "HP", std::to_string(i % 10));
        dv::SetTrait(card, "ATTACK", "2");
        dv::SetTrait(card, "COST", "3");
        dv::AddEffect(card, "MODTRAIT:HP:-1", 2, "TURNSTART", 0, "");
        s.Collection.PushBack(std::move(card));
    }
    s.Decks.Resize(1);
    s.Decks[1].Name = "Deck #1";
    s.Decks[1].CardIds.PushBack(0);
    for (int i = 1; i <= 60; ++i)
        s.Decks[1].CardIds.PushBack(i);
    return folder;
}

void BM_SavePlayerFile(benchmark::State& state) {
    const auto folder = SetUpPlayer();
    for (auto _ : state)
        benchmark::DoNotOptimize(dv::SavePlayer("bench.plr"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SavePlayerFile)->Unit(benchmark::kMillisecond);

void BM_ReadPlayerFile(benchmark::State& state) {
    const auto folder = SetUpPlayer();
    dv::SavePlayer("bench.plr");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            dv::ReadCards(dv::St().Collection, "bench.plr", dv::St().Players[1]));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadPlayerFile)->Unit(benchmark::kMillisecond);

}  // namespace
