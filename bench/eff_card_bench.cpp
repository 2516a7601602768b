// The interpreter on one typical effect, and one trigger sent to a full board.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"

namespace dv {
namespace {

// Cards in play at game start.
constexpr int kFullBoard = 50;

int Place(const std::string& name, int owner) {
    Card card;
    card.Name = name;
    InitCard(card, owner, 1);
    card.GID = 5000 + St().InPlay.size() + 1;
    SetTrait(card, "HP", "10", 1);
    SetTrait(card, "ATTACK", "2", 1);
    SetTrait(card, owner == 1 ? "FIRE" : "WATER", "1", 1);
    const int n = St().InPlay.PushBack(card);
    St().InPlay[n].Index = n;
    return n;
}

void FullBoard() {
    ResetState();
    St().Random.Seed(99);
    CreateBitLookup();
    St().Players[1].CardIndex = Place("Hero", 1);
    St().Players[2].CardIndex = Place("Foe", 2);
    for (int i = 3; i <= kFullBoard; ++i) {
        const int n = Place("Card " + std::to_string(i), i % 2 + 1);
        AddEffect(St().InPlay[n], "TRAIT:ELEMENT:FIRE:ECHO:$MYNAME strikes $TARGETNAME", 3,
                  "PHASE1", 0, "");
    }
    RegisterAllActions();
}

void BM_EffCardTypicalEffect(benchmark::State& state) {
    FullBoard();
    for (auto _ : state) {
        EffArgs args;
        args.effectIndex = 1;
        benchmark::DoNotOptimize(EffCard(St().InPlay[3], St().InPlay[4], args));
        St().TurnLog.clear();
    }
}
BENCHMARK(BM_EffCardTypicalEffect);

void BM_RunListActionsFullBoard(benchmark::State& state) {
    FullBoard();
    for (auto _ : state) {
        RunListActions("PHASE1");
        St().TurnLog.clear();
        St().EchoText.clear();
    }
}
BENCHMARK(BM_RunListActionsFullBoard);

}  // namespace
}  // namespace dv
