// Transval on the expressions card scripts use most: plain amounts, trait reads with arithmetic,
// dice, bounds and a count over the cards in play.
#include <benchmark/benchmark.h>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/value_expression.h"

namespace {

using dv::Card;

struct Board {
    Card source;
    Card target;

    Board() {
        dv::ResetState();
        dv::St().Random.Seed(1);
        source = MakeCard("Imp", 1, {{"HP", "7"}, {"LEVEL", "3"}, {"ATTACK", "4"}});
        target = MakeCard("Ogre", 2, {{"HP", "12"}, {"ARMOR", "2"}});
        for (int i = 0; i < 20; ++i) {
            dv::St().InPlay.PushBack(MakeCard("Imp", 1 + i % 2, {{"HP", "5"}, {"FLYING", ""}}));
        }
    }

    static Card MakeCard(const std::string& name, int owner,
                         std::initializer_list<std::pair<const char*, const char*>> traits) {
        Card card;
        card.Name = name;
        card.Owner = static_cast<uint8_t>(owner);
        for (const auto& [trait, value] : traits) {
            card.TraitNames.PushBack(trait);
            card.TraitValues.PushBack(value);
            card.TraitActionDescs.PushBack("");
        }
        return card;
    }
};

void BM_Transval(benchmark::State& state, const char* expression) {
    Board board;
    const dv::Value text(expression);
    for (auto _ : state) {
        benchmark::DoNotOptimize(dv::Transval(board.source, board.target, text, ""));
    }
}

BENCHMARK_CAPTURE(BM_Transval, plain_amount, "3");
BENCHMARK_CAPTURE(BM_Transval, trait_plus, "TRAIT/ATTACK/TRAITPLUS2");
BENCHMARK_CAPTURE(BM_Transval, target_trait_bounds, "TARGTRAIT/HP/TRAITPLUS1/DIV2/MIN1/MAX5");
BENCHMARK_CAPTURE(BM_Transval, dice, "TRAIT/LEVEL/RTRAITDie6/PLUS1");
BENCHMARK_CAPTURE(BM_Transval, trait_count, "TRAITCOUNT/FLYING/SRCALLY/MULT2");
BENCHMARK_CAPTURE(BM_Transval, name, "$TARGETNAME");

}  // namespace
