// Compiling a typical action script: a requirement head, changes with value expressions, echoes
// and an AI-marked command.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/model/compiler.h"
#include "engine/model/state.h"

namespace {

void BM_CompileEffect(benchmark::State& state) {
    dv::ResetState();
    dv::Card card;
    card.Name = "Fire Imp";
    card.Effects.Resize(1);
    card.Effects[1].Text =
        "REQENEMY:REQTRAIT:HP:REQNOTTRAIT:FIREPROOF:CHANCE:75:"
        "MODTRAIT:HP:-TRAIT/ATTACK/TRAITPLUS1:ECHO:burns <b>#TARGET</b>:"
        "SETMYTRAIT:TIRED:1:AIMODMYTRAIT:MANA:-2:ECHOFAIL:misses";
    std::string errors;
    for (auto _ : state) {
        dv::CompileEffect(card, 1, errors);
        benchmark::DoNotOptimize(card.Effects[1].Program);
    }
}
BENCHMARK(BM_CompileEffect);

}  // namespace
