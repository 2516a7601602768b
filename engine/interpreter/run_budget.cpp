#include "engine/interpreter/run_budget.h"

#include <string>
#include <utility>

#include "engine/model/state.h"
#include "engine/model/turn_log.h"

namespace dv {
namespace {

// A cut is told once for its chain or turn, and only when a real run was dropped: a trial's
// chain changed nothing of the game.
void NoteCut(bool& noted, bool& owed, bool real) {
    if (noted || !real || St().RunBudget.Quiet) return;
    noted = true;
    owed = true;
}

}  // namespace

bool TakeRun(bool real) {
    State& st = St();
    RunBudgetCounts& budget = st.RunBudget;
    const bool chainStarts = st.CallFrames == 0;
    if (chainStarts) {
        budget.ChainRuns = 0;
        budget.ChainCutNoted = false;
        if (budget.OpenTurns == 0) {
            budget.TurnRuns = 0;
            budget.TurnCutNoted = false;
        }
    }
    if (budget.ChainRuns < kMaxChainRuns && budget.TurnRuns < kMaxTurnRuns) {
        ++budget.ChainRuns;
        ++budget.TurnRuns;
        return true;
    }
    if (budget.ChainRuns >= kMaxChainRuns) {
        NoteCut(budget.ChainCutNoted, budget.ChainCutOwed, real);
    } else {
        NoteCut(budget.TurnCutNoted, budget.TurnCutOwed, real);
    }
    // A chain dropped whole has no frame of its own to tell it when it ends.
    if (chainStarts) TellCuts();
    return false;
}

void TellCuts() {
    static const std::string chainLine =
        "<br>The rest of this chain of effects was left out: one trigger may set off at most " +
        std::to_string(kMaxChainRuns) + " effect runs.<br>";
    static const std::string turnLine =
        "<br>The rest of the effects of this turn were left out: one turn may make at most " +
        std::to_string(kMaxTurnRuns) + " effect runs.<br>";
    RunBudgetCounts& budget = St().RunBudget;
    for (auto [owed, line] :
         {std::pair{&budget.ChainCutOwed, &chainLine}, std::pair{&budget.TurnCutOwed, &turnLine}}) {
        if (!*owed) continue;
        *owed = false;
        AddCutLineToTurnLog(*line);
    }
}

TurnBudget::TurnBudget() {
    RunBudgetCounts& budget = St().RunBudget;
    if (budget.OpenTurns++ > 0) return;
    budget.TurnRuns = 0;
    budget.TurnCutNoted = false;
}

TurnBudget::~TurnBudget() {
    int& open = St().RunBudget.OpenTurns;
    if (open > 0) --open;
}

TrialBudget::TrialBudget() : kept_(St().RunBudget) {
    RunBudgetCounts fresh;
    fresh.OpenTurns = 1;
    fresh.Quiet = true;
    St().RunBudget = fresh;
}

TrialBudget::~TrialBudget() {
    St().RunBudget = kept_;
}

}  // namespace dv
