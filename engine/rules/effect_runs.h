#pragma once
// The runs of effects the rules make: when a trigger is dispatched, a target picked, a card's
// mods applied or a trait about to change. An effect dispatches triggers, which run effects:
// this is the one seam through which the rules call the interpreter.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/run_codes.h"
#include "engine/model/value.h"

namespace dv {

// Forgets a pending cancel (EffectOutcome) and redirect (RedirectTarget, RedirectText). The
// outermost run starts with none, and a dispatch outside any run leaves none behind, so neither
// reaches an unrelated later effect.
void ClearPendingSignals();

// Whether the run budget is spent, so that the next run would be dropped (noted as a dropped run
// when real): the dispatch asks it before each card it would hand to a run and stops once it holds.
bool RunBudgetSpent(bool real);

// A dispatched run of effect `effect` of card against target, with the value 0, reacting to
// actionText. echo goes in as the run's outer echo and comes back as the run left it.
RunResult RunDispatched(Card& card, int32_t effect, RunKind kind, Card& target, uint8_t preview,
                        const std::string& actionText, std::string& echo);
// A trial run on copies that tells whether target would take the effect (actionText, when not
// empty, runs in place of the effect's script).
RunResult RunPickTrial(Card& card, int32_t effect, Card& target, const std::string& actionText);
// One mod of a card: its text run on the card itself, without counter stage.
void RunMod(Card& card, const std::string& mod);
// A BEFORETRAITCHANGE effect of card, reacting to actionText: it may change amount; echo gets
// its outer echo.
void RunBeforeChange(Card& card, int32_t effect, Card& source, Value& amount, uint8_t quiet,
                     const std::string& actionText, std::string& echo);

}  // namespace dv
