#include <algorithm>
#include <utility>

#include "engine/interpreter/eff_card_stages.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/dispatch.h"

namespace dv {
namespace {

// Trial runs nested this deep get no counter stage.
constexpr int kMaxCounterTrialNesting = 4;

// The arguments of a reaction to the running effect.
EffArgs ReactionArgs(const RunContext& run, int32_t effectIndex, uint8_t preview) {
    EffArgs args;
    args.effectIndex = effectIndex;
    args.runKind = RunKind::Ordinary;
    args.preview = preview;
    args.echoOverride = run.args.echoOverride;
    args.carried = run.args.carried;
    args.reactedTo = run.actionText;
    args.reactedEffect = static_cast<int16_t>(run.args.effectIndex);
    return args;
}

// What a reaction left in its echo shows among the counter echoes of the report.
void TakeReactionEcho(RunContext& run, const std::string& nestedEcho) {
    State& st = St();
    if (!nestedEcho.empty()) run.echoPending = true;
    if (!run.Preview()) EchoPart(3) += st.EchoText + nestedEcho;
    st.EchoText.clear();
}

// Runs effect i of `reactor` by its target type. `other` is the card a TRIGGERINGCARD reaction
// is aimed at; ALL goes through the dispatch, and there only this one effect runs.
void React(RunContext& run, Card& reactor, int32_t i, const std::string& trigger, Card& other) {
    State& st = St();
    const int32_t type = std::as_const(reactor.Effects)[i].TargetType;
    if (type == kTargetAll) {
        if (run.Preview()) return;
        RunActionsCall call;
        call.effectNumber = i;
        call.triggeringCard = -1;
        RunActions(reactor, trigger, call);
        TakeReactionEcho(run, call.echo);
        return;
    }
    Card* aim = nullptr;
    if (type == kTargetSelf) {
        aim = &reactor;
    } else if (type == kTargetTriggeringCard) {
        aim = &other;
    } else {
        int32_t pickType = type;
        RunResult outcome = RunResult::NothingApplied;
        const int picked = PickTarget(reactor, i, pickType, "", outcome);
        if (picked > 0 && st.InPlay.Has(picked)) aim = &st.InPlay[picked];
    }
    if (!aim) return;
    ChangeRunFlags(reactor, i).Running = 1;
    EffArgs args = ReactionArgs(run, i, run.args.preview);
    EffCard(reactor, *aim, args);
    if (reactor.Effects.Has(i)) ChangeRunFlags(reactor, i).Running = 0;
    TakeReactionEcho(run, args.outerEcho);
}

StageEnd OwnActions(RunContext& run) {
    State& st = St();
    if (run.effect().Trigger == "MYACTION" || run.args.redirected) return StageEnd::Go;
    const int count = run.source.Effects.size();
    for (int i = 1; i <= count && run.source.Effects.Has(i); ++i) {
        const Effect& effect = std::as_const(run.source.Effects)[i];
        if (effect.Trigger != "MYACTION" || RunFlagsOf(run.source, i).Running == 2) continue;
        if (st.EffectOutcome != EffectOutcome::None) {
            st.EffectOutcome = EffectOutcome::StopEffect;
            run.result = CancelledResult(run);
            return StageEnd::End;
        }
        // SELF and TRIGGERINGCARD both aim at the source card itself.
        React(run, run.source, i, "MYACTION", run.source);
    }
    if (st.EffectOutcome == EffectOutcome::Cancelled) {
        run.result = CancelledResult(run);
        return StageEnd::End;
    }
    return StageEnd::Go;
}

StageEnd Intercepts(RunContext& run) {
    State& st = St();
    static const uint8_t intercept = GetTriggerNum("INTERCEPT");
    const TriggerSlot& slot = st.TriggerRegistry[intercept];
    const int count = std::min(slot.Cards.size(), slot.Effects.size());
    for (int j = 1; j <= count; ++j) {
        const TriggerSlot& now = st.TriggerRegistry[intercept];
        if (!now.Cards.Has(j) || !now.Effects.Has(j)) break;
        const int32_t cardNumber = now.Cards[j];
        const int32_t e = now.Effects[j];
        if (!st.InPlay.Has(cardNumber)) continue;
        Card& interceptor = st.InPlay[cardNumber];
        if (interceptor.Name.empty() || interceptor.Dead || !interceptor.Effects.Has(e) ||
            RunFlagsOf(interceptor, e).Running == 1) {
            continue;
        }
        ChangeRunFlags(interceptor, e).Running = 1;

        EffArgs wouldIntercept = ReactionArgs(run, e, 1);
        EffArgs wouldApply = run.args;
        wouldApply.preview = 1;
        wouldApply.outerEcho.clear();
        const bool intercepts =
            EffCard(interceptor, run.source, wouldIntercept) == RunResult::Applied &&
            EffCard(run.source, interceptor, wouldApply) == RunResult::Applied;
        if (intercepts) {
            st.LastTarget = run.target.Index;
            --st.NestingDepth;
            EffArgs takeOver = ReactionArgs(run, e, 0);
            const RunResult taken = EffCard(interceptor, run.source, takeOver);
            TakeReactionEcho(run, takeOver.outerEcho);
            if (taken == RunResult::Applied) {
                EffArgs moved = run.args;
                moved.redirected = 1;
                moved.outerEcho.clear();
                EffCard(run.source, interceptor, moved);
                if (interceptor.Effects.Has(e)) ChangeRunFlags(interceptor, e).Running = 0;
                run.result = RunResult::Applied;
                return StageEnd::Return;
            }
            ++st.NestingDepth;
        }
        // A pair that did not take the effect over is free to intercept the next one.
        if (interceptor.Effects.Has(e)) ChangeRunFlags(interceptor, e).Running = 0;
    }
    return StageEnd::Go;
}

void TargetedReactions(RunContext& run) {
    State& st = St();
    bool tried = false;
    const int count = run.target.Effects.size();
    for (int i = 1; i <= count && run.target.Effects.Has(i); ++i) {
        const Effect& effect = std::as_const(run.target.Effects)[i];
        if (effect.Trigger != "TARGETED" || RunFlagsOf(run.target, i).Running == 2) continue;
        if (!run.Preview() && !tried) {
            tried = true;
            EffArgs trial = run.args;
            trial.preview = 1;
            trial.noCounters = 1;
            trial.outerEcho.clear();
            if (EffCard(run.source, run.target, trial) == RunResult::Failed) return;
        }
        React(run, run.target, i, "TARGETED", run.source);
        if (st.EffectOutcome != EffectOutcome::None) return;
    }
}

}  // namespace

StageEnd RunCounterStage(RunContext& run) {
    State& st = St();
    if (HasTrait(run.source, "NOCOUNTERS")) run.args.noCounters = 1;
    if (run.args.noCounters) return StageEnd::Go;
    if (run.Preview() && st.NestingDepth >= kMaxCounterTrialNesting) return StageEnd::Go;

    if (StageEnd own = OwnActions(run); own != StageEnd::Go) return own;

    const bool outermostReaction = st.NestingDepth == 1 && !run.SkipRequirements() &&
                                   run.args.reactedTo.empty() && run.source.GID != run.target.GID;
    if (outermostReaction && !run.Preview() && !run.args.redirected) {
        if (StageEnd taken = Intercepts(run); taken != StageEnd::Go) return taken;
    }
    if (outermostReaction) TargetedReactions(run);

    if (st.EffectOutcome != EffectOutcome::None) {
        run.result = CancelledResult(run);
        return StageEnd::End;
    }
    return StageEnd::Go;
}

}  // namespace dv
