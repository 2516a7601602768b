// The commands that change what an effect acts on: repeats, retargets and redirects.
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/interpreter/command_context.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/dispatch.h"

namespace dv {
namespace {

int16_t PlayIndex(long long index) {
    return static_cast<int16_t>(std::clamp<long long>(index, 0, INT16_MAX));
}

// The repetition itself runs in the epilogue, which bounds the count.
void Repeat(RunContext& run) {
    run.repeatTargetType = GetTargetType(Arg(run, 1));
    run.repeatCount = ArgValue(run, 2);
}

enum class NewTarget { Picked, InPlayByGid, CollectionByGid };

// Hands the rest of the script to another card as a bonus action of the source card.
void Retarget(RunContext& run, NewTarget how) {
    State& st = St();
    if (run.Preview() || run.SkipRequirements()) {
        run.endLoop = true;
        return;
    }
    const std::string rest = RestOfScript(run, run.argIndex + 2);
    auto moveTo = [&](Card& card) {
        EffArgs moved;
        moved.effectIndex = run.args.effectIndex;
        moved.runKind = run.args.runKind;
        moved.preview = run.args.preview;
        moved.echoOverride = run.args.echoOverride;
        moved.carried = run.args.carried;
        moved.noCounters = run.args.noCounters;
        moved.repeatRun = run.args.repeatRun;
        moved.adHocText = rest;
        Value none = 0;
        moved.value = &none;
        const RunResult result = EffCard(run.source, card, moved);
        if (!moved.outerEcho.empty()) run.echoPending = true;
        TakeNestedEcho(run, moved.outerEcho);
        return result;
    };
    if (how == NewTarget::Picked) {
        int32_t type = GetTargetType(Arg(run, 1));
        RunResult outcome = RunResult::NothingApplied;
        const int picked = PickTarget(run.source, run.args.effectIndex, type, rest, outcome);
        if (picked > 0 && st.InPlay.Has(picked)) moveTo(st.InPlay[picked]);
    } else if (how == NewTarget::InPlayByGid) {
        const int16_t found = GetCardNum(ArgValue(run, 1));
        if (!st.InPlay.Has(found)) {
            run.endLoop = true;
            return;
        }
        moveTo(st.InPlay[found]);
    } else {
        // No collection card with that identifier: nothing to act on, as for RETARGET. The card
        // stays in place while the run's boosters add to the collection.
        const int16_t found = GetCollectionCardNum(ArgValue(run, 1));
        if (st.Collection.Has(found)) {
            CollectionChanged();
            moveTo(st.Collection[found]);
        }
    }
    if (!run.aiMark) run.endLoop = true;
}

void RetargetCommand(RunContext& run) {
    Retarget(run, NewTarget::Picked);
}
void RetargetByGid(RunContext& run) {
    Retarget(run, NewTarget::InPlayByGid);
}
void RetargetCollection(RunContext& run) {
    Retarget(run, NewTarget::CollectionByGid);
}

// The target chosen for this effect becomes the target of all the card's effects.
void SetCardTarget(RunContext& run) {
    ++run.applied;
    if (run.Preview() || run.SkipRequirements() || run.source.Owner != 1) return;
    const int32_t chosen = run.effect().Target;
    run.source.PresetTarget = PlayIndex(chosen);
    for (int e = 1; e <= run.source.Effects.size(); ++e)
        run.source.Effects[e].Target = chosen;
}

// Turns the action reacted to towards a card picked at random that meets the requirements given
// here and the action's own. The effect's running byte says only that it is reacting, which every
// reaction is; what must not happen is a second redirect while one is being carried out.
void Redirect(RunContext& run) {
    State& st = St();
    run.endLoop = true;
    if (run.SkipRequirements() || run.Preview() || st.CarryingRedirect) return;
    if (HasTrait(run.target, "NOREDIRECT", run.args.effectIndex)) return;

    const std::string words = WithoutSideRequirements(run.args.reactedTo);
    const std::string requirements = RestOfScript(run, run.argIndex + 1) + ":" + words;
    int32_t type = kTargetRandom;
    RunResult outcome = RunResult::NothingApplied;
    st.RedirectTarget = PlayIndex(PickTarget(run.target, 1, type, requirements, outcome));
    if (st.RedirectTarget > 0) {
        st.RedirectText = words;
        ++run.applied;
    }
}

void RedirectByGid(RunContext& run) {
    State& st = St();
    if (run.SkipRequirements() || run.Preview()) return;
    if (HasTrait(run.source, "NOREDIRECT", run.args.effectIndex)) return;
    st.RedirectTarget = GetCardNum(ArgValue(run, 1));
    st.RedirectText = WithoutSideRequirements(run.args.reactedTo);
    ++run.applied;
    run.endLoop = true;
}

// The trait change under way is taken from this trait first (read by Modtrait).
void RedirectTrait(RunContext& run) {
    St().RedirectTrait = Arg(run, 1);
}

}  // namespace

void RegisterTargetingCommands(CommandRegistry& commands) {
    commands.Add("REPEAT", Repeat);
    commands.Add("RETARGET", RetargetCommand);
    commands.Add("RETARGETBYGID", RetargetByGid);
    commands.Add("RETARGETCOLLECTION", RetargetCollection);
    commands.Add("SETCARDTARGET", SetCardTarget);
    commands.Add("REDIRECT", Redirect);
    commands.Add("REDIRECTBYGID", RedirectByGid);
    commands.Add("REDIRECTTRAIT", RedirectTrait);
}

}  // namespace dv
