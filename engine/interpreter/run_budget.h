#pragma once
// Bounds on the work effects do. Cards whose changes each send the trigger that changes the
// others (every card "ALL, TRAITCHANGE:HP, MODTRAIT:HP:1") set off runs that grow as the number
// of such cards to the power of the nesting depth. The runs one outermost run sets off are its
// chain; the chains of a turn, of a game's set-up or of a card file's read share that one's
// budget. A run past a budget is dropped, and the game goes on.

#include "engine/model/interpreter_state.h"

namespace dv {

// Runs of EffCard, trials included, that one outermost run may set off. The sample game's
// longest chain makes 329 (a starter deck's booster and its trials), the longest of the tests
// 20,041 (a booster's requirement trials at their own bound).
inline constexpr long long kMaxChainRuns = 100000;
// Runs of EffCard that one turn, game set-up or card file read may make. The sample game's
// busiest turn makes 536.
inline constexpr long long kMaxTurnRuns = 500000;

// Counts the run EffCard is about to make. False when its chain or its turn has spent its budget:
// the run is dropped then, and the first real run dropped in a chain or a turn owes the line that
// says so to the turn log.
bool TakeRun(bool real);
// Runs dropped since the state was made: a trial that saw a run of its own dropped cannot tell
// whether what it tried holds.
long long DroppedRuns();
// SAVECOLLECTION: the player file is saved once the chain ends, or with a turn open, once the
// turn ends, however many runs asked for it.
void OweSave();
// Puts the lines owed by cuts into the turn log, once the chain they cut has ended: after what
// the chain put there, and where no run's hold on the log's bound can take them out again.
void TellCuts();
// Whether the end of a chain owes the turn log a line of a cut, or owes a save.
bool ChainEndOwes();
// What a chain owes when it ends: the lines of its cuts, and the save its runs asked for unless a
// turn is open (then the turn's end makes it).
void EndChain();

// While one lives, the chains made share one budget, a turn's. One opened while another lives
// joins it; while none lives, each chain has a turn's budget of its own.
class TurnBudget {
  public:
    TurnBudget();
    ~TurnBudget();
    TurnBudget(const TurnBudget&) = delete;
    TurnBudget& operator=(const TurnBudget&) = delete;
};

// While one lives, the runs made (the computer player trying out its plays) share a turn's
// budget of their own and say nothing in the turn log; the budget of the turn they are tried in
// is as it was when they end, so that trying out plays never changes where real play is cut.
class TrialBudget {
  public:
    TrialBudget();
    ~TrialBudget();
    TrialBudget(const TrialBudget&) = delete;
    TrialBudget& operator=(const TrialBudget&) = delete;

  private:
    RunBudgetCounts kept_;
};

}  // namespace dv
