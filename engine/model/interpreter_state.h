#pragma once

#include <cstdint>
#include <string>

namespace dv {

// The work of effect runs against its bounds (engine/interpreter/run_budget.h).
struct RunBudgetCounts {
    long long ChainRuns = 0;  // since the outermost run of the open chain began
    long long TurnRuns = 0;   // since the open turn began
    // A cut is noted once a real run is dropped, and owed until its line is in the turn log.
    bool ChainCutNoted = false;
    bool TurnCutNoted = false;
    bool ChainCutOwed = false;
    bool TurnCutOwed = false;
    int OpenTurns = 0;      // TurnBudget scopes alive
    bool Quiet = false;     // a TrialBudget is alive: a cut is not told
    long long Asked = 0;    // runs asked for, dropped or not, since the state was made
    long long Dropped = 0;  // of them, dropped
    // Cards the boosters of the open turn added to the collection, and cards it queued to enter
    // play; each bound's cut is noted and owed to the turn log as the run budget's are.
    int TurnBoosterCards = 0;
    int TurnQueuedCards = 0;
    bool BoosterCutNoted = false;
    bool QueueCutNoted = false;
    bool BoosterCutOwed = false;
    bool QueueCutOwed = false;
    bool SaveOwed = false;
};

struct InterpreterState {
    // Runs of EffCard in progress; 1 while only the outermost runs. The only value EffCard keeps
    // between calls (everything else of a run lives in its RunContext).
    int NestingDepth = 0;
    // EffCard calls on the stack, which some nested calls make without raising the depth.
    int CallFrames = 0;
    // Requirement words that go with a pending redirect (RedirectTarget).
    std::string RedirectText;
    // True while a redirected effect is carried to its new target; REDIRECT stays its hand then.
    bool CarryingRedirect = false;
    // Cards that the open booster and the boosters run inside it (by the actions stamped on its
    // cards) may still add between them; -1 while no booster is open.
    int BoosterCardsLeft = -1;
    // Cards booster commands have taken room for so far: what a run's boosters took is what its
    // repetitions (REPEAT) may no longer take.
    long long BoosterCardsTaken = 0;
    RunBudgetCounts RunBudget;
};

}  // namespace dv
