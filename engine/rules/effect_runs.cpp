#include "engine/rules/effect_runs.h"

#include "engine/interpreter/eff_card.h"
#include "engine/model/state.h"

namespace dv {

void ClearPendingSignals() {
    State& st = St();
    st.EffectOutcome = EffectOutcome::None;
    st.RedirectTarget = 0;
    st.RedirectText.clear();
}

bool RunBudgetSpent(bool real) {
    return RunsSpent(real);
}

RunResult RunDispatched(Card& card, int32_t effect, RunKind kind, Card& target, uint8_t preview,
                        const std::string& actionText, std::string& echo) {
    Value zero = 0;
    EffArgs args;
    args.effectIndex = effect;
    args.runKind = kind;
    args.preview = preview;
    args.value = &zero;
    args.reactedTo = actionText;
    args.outerEcho = echo;
    const RunResult result = EffCard(card, target, args);
    echo = args.outerEcho;
    return result;
}

RunResult RunPickTrial(Card& card, int32_t effect, Card& target, const std::string& actionText) {
    EffArgs args;
    args.effectIndex = effect;
    args.runKind = RunKind::Ordinary;
    args.preview = 1;
    args.repeatRun = 1;
    args.adHocText = actionText;
    return EffCard(card, target, args);
}

void RunMod(Card& card, const std::string& mod) {
    EffArgs args;
    args.effectIndex = 1;
    args.runKind = RunKind::Ordinary;
    args.preview = 0;
    args.noCounters = 1;
    args.adHocText = mod;
    EffCard(card, card, args);
}

void RunBeforeChange(Card& card, int32_t effect, Card& source, Value& amount, uint8_t quiet,
                     const std::string& actionText, std::string& echo) {
    EffArgs args;
    args.effectIndex = effect;
    args.runKind = RunKind::Ordinary;
    args.preview = quiet;
    args.value = &amount;
    args.reactedTo = actionText;
    EffCard(card, source, args);
    echo = args.outerEcho;
}

}  // namespace dv
