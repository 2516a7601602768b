#pragma once
// The stages of one EffCard run that live in files of their own. Internal to the interpreter.

#include <string>

#include "engine/interpreter/command_context.h"

namespace dv {

// How a stage of the set-up lets the run go on.
enum class StageEnd {
    Go,      // on to the next step
    End,     // to the end steps, with run.result as it stands
    Return,  // return run.result at once: no epilogue and no end steps
};

// The source card's "MYACTION" actions, the registered "INTERCEPT" effects and the target card's
// "TARGETED" actions react before the commands run.
StageEnd RunCounterStage(RunContext& run);

// Builds the picture links an outermost run owes (see EffRun::ShowCardPictures), if one does.
void PayOwedPictures();

// The result a run ends with when its change was cancelled: nothing applied in a real run, a
// failure in a trial.
inline RunResult CancelledResult(const RunContext& run) {
    return run.Preview() ? RunResult::Failed : RunResult::NothingApplied;
}

}  // namespace dv
