// The commands that write the effect's report, cancel the change reacted to, or do nothing.
#include <utility>

#include "engine/interpreter/command_context.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"

namespace dv {
namespace {

struct EchoSteps {
    bool traitDescription = false;  // a trait's action description replaces the text
    bool useOverride = false;       // the run's echo override replaces the text
    int minor = 0;                  // handed to the placeholders: 1 leaves out the pictures
};

bool EchoAllowed(const RunContext& run) {
    return !run.Preview() && !St().RealPayment;
}

void AddEchoText(RunContext& run, const EchoSteps& steps) {
    State& st = St();
    std::string text = Arg(run, 1);
    if (steps.traitDescription) {
        int32_t index = run.args.effectIndex;
        std::string key = "TRAITEFFECT";
        const std::string trait = GetEffectTrait2(run.source, index, key);
        if (trait != "NONE") {
            const int16_t slot = GetTraitNum(run.source, trait);
            const SharedList<std::string>& descs = run.source.TraitActionDescs;
            if (descs.Has(slot) && !descs[slot].empty()) text = descs[slot];
        }
    }
    if (steps.useOverride && !run.args.echoOverride.empty()) text = run.args.echoOverride;
    text = FillPlaceholders(run, std::move(text), steps.minor);

    if (st.TraitChanged == 1 || st.TraitChanged == 2) {
        // Whose hit points changed: the target's, or the source's own.
        const bool target = st.TraitChanged == 1;
        Card& changed = target ? run.target : run.source;
        text += "<br>(";
        AppendDCard(text, changed);
        text += target ? " has " : " now has ";
        text += GenHP(changed, 0);
        text += target ? "<font color=#FFFF00> HP</font> left.)<br>"
                       : "<font color=#FFFF00> HP</font>.)<br>";
        st.TraitChanged = 0;
    }
    text += "<br><br>";
    // A run's first echo becomes its echo line as it stands, room and all.
    if (run.echoLine.empty())
        run.echoLine = std::move(text);
    else
        run.echoLine += text;
    run.echoPending = true;
}

void Echo(RunContext& run) {
    run.failText.clear();
    run.echoCommand = true;
    if (!EchoAllowed(run)) return;
    ++run.applied;
    AddEchoText(run, {.traitDescription = true});
}

void EchoLocked(RunContext& run) {
    run.echoCommand = true;
    run.failText.clear();
    if (EchoAllowed(run)) AddEchoText(run, {});
}

// Leaves the echo-command mark alone, so the echo shows no card pictures on its account.
void EchoMinor(RunContext& run) {
    if (!EchoAllowed(run)) return;
    run.failText.clear();
    AddEchoText(run, {.minor = 1});
}

void EchoFail(RunContext& run) {
    run.echoCommand = true;
    run.failText = FillPlaceholders(run, Arg(run, 1), 1) + "<br><br>";
}

// Once per effect and turn (Echoed) and once per dispatch (EchoOnce), however many targets.
void EchoOnce(RunContext& run) {
    State& st = St();
    if (run.effect().Echoed == 1 || !EchoAllowed(run)) return;
    run.echoCommand = true;
    run.failText.clear();
    if (run.args.repeatRun) st.EchoOnce = 1;
    if (st.EchoOnce == 0) {
        st.EchoOnce = 1;
        AddEchoText(run, {.traitDescription = true, .useOverride = true});
    }
    run.changeEffect().Echoed = 1;
}

// The run reacted to sees the cancel when this run ends (CancelOnReturn becomes Cancelled).
void Cancel(RunContext& run) {
    State& st = St();
    ++run.applied;
    st.EffectOutcome = EffectOutcome::CancelOnReturn;
    if (st.DebugMode == 1 && !run.Preview()) {
        AddToTurnLog("<br>" + DCard(run.source) + " has cancelled the action \"" +
                     run.args.reactedTo + "\" from " + DCard(run.target) + " with the effect \"" +
                     run.actionText + "\"");
    }
    ++st.CancelledActions;
}

// ECHOTRAIT, TRAIT and BREAKPOINT carry words for the masks and look-ups; they do nothing here.
void NoOp(RunContext&) {}

}  // namespace

void RegisterEchoCommands(CommandRegistry& commands) {
    // The echoes fill in the pictures, built then, only where their texts ask for them.
    constexpr CardUse kLeaves = CardUse::LeavesPictures;
    commands.Add("ECHO", Echo, kLeaves);
    commands.Add("ECHOONCE", EchoOnce, kLeaves);
    commands.Add("ECHOMINOR", EchoMinor, kLeaves);
    commands.Add("ECHOFAIL", EchoFail, kLeaves);
    commands.Add("ECHOLOCKED", EchoLocked, kLeaves);
    commands.Add("CANCEL", Cancel);
    commands.Add("ECHOTRAIT", NoOp);
    commands.Add("TRAIT", NoOp);
    commands.Add("BREAKPOINT", NoOp);
}

}  // namespace dv
