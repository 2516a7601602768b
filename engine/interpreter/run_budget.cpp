#include "engine/interpreter/run_budget.h"

#include <exception>
#include <string>
#include <utility>

#include "engine/interpreter/card_commands.h"
#include "engine/interpreter/eff_card.h"
#include "engine/model/card_lists.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/rules/game_files.h"
#include "engine/rules/rule_operations.h"

namespace dv {
namespace {

// A cut is told once for its chain or turn, and only when a real run was dropped: a trial's
// chain changed nothing of the game.
void NoteCut(bool& noted, bool& owed, bool real) {
    if (noted || !real || St().RunBudget.Quiet) return;
    noted = true;
    owed = true;
}

void StartTurn(RunBudgetCounts& budget) {
    budget.TurnRuns = 0;
    budget.TurnCutNoted = false;
    budget.TurnBoosterCards = 0;
    budget.BoosterCutNoted = false;
    budget.TurnQueuedCards = 0;
    budget.QueueCutNoted = false;
}

// What the next run would count against: at the start of a chain its budget is whole, and so is
// the turn's while no turn is open.
bool Spent(const State& st) {
    const RunBudgetCounts& budget = st.RunBudget;
    const bool chainStarts = st.CallFrames == 0;
    const long long chainRuns = chainStarts ? 0 : budget.ChainRuns;
    const long long turnRuns = chainStarts && budget.OpenTurns == 0 ? 0 : budget.TurnRuns;
    return chainRuns >= kMaxChainRuns || turnRuns >= kMaxTurnRuns;
}

void Drop(bool real) {
    State& st = St();
    RunBudgetCounts& budget = st.RunBudget;
    const bool chainStarts = st.CallFrames == 0;
    ++budget.Dropped;
    if (!chainStarts && budget.ChainRuns >= kMaxChainRuns) {
        NoteCut(budget.ChainCutNoted, budget.ChainCutOwed, real);
    } else {
        NoteCut(budget.TurnCutNoted, budget.TurnCutOwed, real);
    }
    // A chain dropped whole has no frame of its own to tell it when it ends.
    if (chainStarts) TellCuts();
}

void MakeOwedSave() {
    RunBudgetCounts& budget = St().RunBudget;
    if (!budget.SaveOwed) return;
    budget.SaveOwed = false;
    CollectionChanged();
    SaveCurrentPlayerFile();
}

}  // namespace

bool TakeRun(bool real) {
    State& st = St();
    RunBudgetCounts& budget = st.RunBudget;
    ++budget.Asked;
    if (st.CallFrames == 0) {
        budget.ChainRuns = 0;
        budget.ChainCutNoted = false;
        if (budget.OpenTurns == 0) StartTurn(budget);
    }
    if (!Spent(st)) {
        ++budget.ChainRuns;
        ++budget.TurnRuns;
        return true;
    }
    Drop(real);
    return false;
}

bool RunsSpent(bool real) {
    if (!Spent(St())) return false;
    Drop(real);
    return true;
}

long long DroppedRuns() {
    return St().RunBudget.Dropped;
}

void OweSave() {
    St().RunBudget.SaveOwed = true;
}

bool ChainEndOwes() {
    const RunBudgetCounts& budget = St().RunBudget;
    return budget.ChainCutOwed || budget.TurnCutOwed || budget.BoosterCutOwed ||
           budget.QueueCutOwed || (budget.SaveOwed && budget.OpenTurns == 0);
}

void EndChain() {
    TellCuts();
    if (St().RunBudget.OpenTurns == 0) MakeOwedSave();
}

void TellCuts() {
    static const std::string chainLine =
        "<br>The rest of this chain of effects was left out: one trigger may set off at most " +
        std::to_string(kMaxChainRuns) + " effect runs.<br>";
    static const std::string turnLine =
        "<br>The rest of the effects of this turn were left out: one turn may make at most " +
        std::to_string(kMaxTurnRuns) + " effect runs.<br>";
    static const std::string boosterLine =
        "<br>The rest of the cards of this turn's boosters were left out: the boosters of one "
        "turn may add at most " +
        std::to_string(kMaxTurnBoosterCards) + " cards to the collection.<br>";
    static const std::string queueLine =
        "<br>The rest of the cards made to enter play this turn were left out: one turn may "
        "bring at most " +
        std::to_string(kMaxTurnQueuedCards) + " such cards into play.<br>";
    RunBudgetCounts& budget = St().RunBudget;
    for (auto [owed, line] :
         {std::pair{&budget.ChainCutOwed, &chainLine}, std::pair{&budget.TurnCutOwed, &turnLine},
          std::pair{&budget.BoosterCutOwed, &boosterLine},
          std::pair{&budget.QueueCutOwed, &queueLine}}) {
        if (!*owed) continue;
        *owed = false;
        AddCutLineToTurnLog(*line);
    }
}

TurnBudget::TurnBudget() {
    RunBudgetCounts& budget = St().RunBudget;
    if (budget.OpenTurns++ > 0) return;
    StartTurn(budget);
    St().SetFilesThisTurn.ByName.clear();
    St().SetFilesThisTurn.Open = true;
}

TurnBudget::~TurnBudget() {
    int& open = St().RunBudget.OpenTurns;
    if (open > 0) --open;
    if (open > 0) return;
    // A set file changed between turns is found changed by the next.
    St().SetFilesThisTurn.ByName.clear();
    St().SetFilesThisTurn.Open = false;
    try {
        MakeOwedSave();
    } catch (const std::exception&) {
    }
}

TrialBudget::TrialBudget() : kept_(St().RunBudget) {
    RunBudgetCounts fresh;
    fresh.OpenTurns = 1;
    fresh.Quiet = true;
    fresh.Asked = kept_.Asked;
    fresh.Dropped = kept_.Dropped;
    St().RunBudget = fresh;
}

TrialBudget::~TrialBudget() {
    RunBudgetCounts& budget = St().RunBudget;
    kept_.Asked = budget.Asked;
    kept_.Dropped = budget.Dropped;
    budget = kept_;
}

}  // namespace dv
