// The commands that change traits, the value handed to the run, and the profile's unlocked items.
#include <string>
#include <vector>

#include "engine/interpreter/command_context.h"
#include "engine/model/cards.h"
#include "engine/model/compiler.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/rules/trait_changes.h"

namespace dv {
namespace {

// Substitutions of a trait command's text one run may make; a trait whose text names itself
// would otherwise rebuild the script for ever.
constexpr int kMaxScriptRebuilds = 16;

// Modtrait on behalf of the run. A before-change action that sent the change elsewhere raised a
// redirect meant for this run alone.
Value ChangeBy(RunContext& run, Card& card, const std::string& name, Value& amount,
               const std::string& text) {
    State& st = St();
    const int16_t pendingBefore = st.RedirectTarget;
    const Value changed =
        Modtrait(card, name, amount, run.source, run.args.preview, run.actionText, text, 0);
    if (pendingBefore == 0 && st.RedirectTarget > 0) run.redirectSpent = true;
    return changed;
}

std::string InsufficientReason(const std::string& name) {
    return "Insufficient " + name + ".";
}

// The pricing check after a change by an amount: a price the card cannot pay is a miss.
void PricingCheck(RunContext& run, Card& card, const std::string& name) {
    if (run.args.runKind != RunKind::Pricing || !(GetTrait(card, name).Num() < 0)) return;
    run.result = RunResult::Failed;
    St().FailReason = InsufficientReason(name);
    ++run.misses;
    ApplyAIRule(run);
}

void ModBy(RunContext& run, CardRole which) {
    const bool owner = which == CardRole::TargetOwner || which == CardRole::SourceOwner;
    if (which == CardRole::Target && run.SkipRequirements()) return;
    if (owner && run.Preview()) return;
    Card* card = CardInRole(run, which);
    // A neutral card has no owner card: nothing to change.
    if (!card) return;
    const std::string name = Arg(run, 1);
    run.currentAmount = ArgValue(run, 2);
    const Value changed =
        ChangeBy(run, *card, name, run.currentAmount, owner ? run.args.reactedTo : "");
    if (owner || changed.Num() != 0) ++run.applied;
    if (which == CardRole::Source && name == "HP" && St().TraitChanged == 1) St().TraitChanged = 2;

    if (!owner) {
        PricingCheck(run, *card, name);
    } else if (run.args.runKind == RunKind::Pricing && GetTrait(*card, name).Num() < 0) {
        run.result = RunResult::Failed;
        St().FailReason = InsufficientReason(name);
        run.endLoop = true;
        run.keepResult = true;
    }
}

void SubBy(RunContext& run, CardRole which) {
    if (which == CardRole::Target && run.SkipRequirements()) return;
    Card& card = *CardInRole(run, which);
    const std::string name = Arg(run, 1);
    run.currentAmount = ArgValue(run, 2);
    if (which == CardRole::Target && run.currentAmount.Num() < 0) run.currentAmount = 0;
    const double amount = run.currentAmount.Num();

    // A price the card cannot pay must not be settled into a success by the counts.
    if (run.args.runKind == RunKind::Pricing && amount > GetTrait(card, name).Num()) {
        run.result = RunResult::Failed;
        St().FailReason = InsufficientReason(name);
        run.keepResult = true;
    }
    if (amount != 0 && !HasTrait(card, name)) ++run.misses;
    Value change = -amount;
    const Value changed = ChangeBy(run, card, name, change, run.args.reactedTo);
    if (which == CardRole::Source || changed.Num() != 0) ++run.applied;
}

void SetTo(RunContext& run, CardRole which) {
    State& st = St();
    if (which == CardRole::Target && run.SkipRequirements()) return;
    if ((which == CardRole::TargetOwner || which == CardRole::SourceOwner) && run.Preview()) return;
    Card* card = CardInRole(run, which);
    if (!card) return;
    const std::string name = Arg(run, 1);
    Value value = Arg(run, 2);
    Value recognised;
    const Value evaluated = ArgValue(run, 2, recognised);
    const bool replace = which == CardRole::Target ? recognised.Num() != 0 : evaluated.Num() > 0;
    if (replace) value = evaluated;
    run.currentAmount = value;
    // Every member passes the run's preview flag on: a trial run raises no real change trigger.
    SetTrait(*card, name, value.Text(), 0, run.args.reactedTo, run.args.preview, run.source.Index);
    ++run.applied;
    if (which == CardRole::Source && name == "HP" && st.TraitChanged == 1) st.TraitChanged = 2;
}

void ModTrait(RunContext& run) {
    ModBy(run, CardRole::Target);
}
void ModMyTrait(RunContext& run) {
    ModBy(run, CardRole::Source);
}
void ModOwnerTrait(RunContext& run) {
    ModBy(run, CardRole::TargetOwner);
}
void ModMyOwnerTrait(RunContext& run) {
    ModBy(run, CardRole::SourceOwner);
}
void SubTrait(RunContext& run) {
    SubBy(run, CardRole::Target);
}
void SubMyTrait(RunContext& run) {
    SubBy(run, CardRole::Source);
}
void SetTraitCommand(RunContext& run) {
    SetTo(run, CardRole::Target);
}
void SetMyTrait(RunContext& run) {
    SetTo(run, CardRole::Source);
}
void SetOwnerTrait(RunContext& run) {
    SetTo(run, CardRole::TargetOwner);
}
void SetMyOwnerTrait(RunContext& run) {
    SetTo(run, CardRole::SourceOwner);
}

// Resets the trait to 1 and then adds the run's current amount to it.
void AddTrait(RunContext& run) {
    if (run.SkipRequirements()) return;
    const std::string name = Arg(run, 1);
    if (HasTrait(run.target, name)) ++run.misses;
    SetTrait(run.target, name, "", 0, "", run.args.preview, 0);
    ChangeBy(run, run.target, name, run.currentAmount, run.args.reactedTo);
}

void Remove(RunContext& run, Card& card) {
    if (run.SkipRequirements()) return;
    const std::string name = Arg(run, 1);
    if (!HasTrait(card, name)) ++run.misses;
    RemoveTrait(card, name);
    ++run.applied;
}
void RemoveTraitCommand(RunContext& run) {
    Remove(run, run.target);
}
void RemoveMyTrait(RunContext& run) {
    Remove(run, run.source);
}

// The action text with the command at the running position replaced by `script`. Fields are
// located as the compiler placed them, and no field of a long script is lost. The keyword's
// field goes rather than staying empty, so a command at position 1 leaves no empty first field
// to end the compile.
std::string Substituted(RunContext& run, const std::string& script) {
    const int keywordField = ScriptField(run, run.argIndex);
    const int argumentField = ScriptField(run, run.argIndex + 1);
    std::vector<std::string> fields;
    for (std::size_t from = 0;;) {
        const std::size_t at = run.actionText.find(':', from);
        fields.push_back(run.actionText.substr(from, at - from));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    if (static_cast<int>(fields.size()) < argumentField) fields.resize(argumentField);
    fields[argumentField - 1] = script;
    fields.erase(fields.begin() + (keywordField - 1));
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += (i ? ":" : "") + fields[i];
    ReplaceAll(text, "::", ":");
    return text;
}

// Runs the script held in a trait in place of this command, for the rest of this run.
void TraitCommand(RunContext& run, Card& holder) {
    if (run.SkipRequirements()) return;
    const std::string name = Arg(run, 1);
    const std::string script = GetTrait(holder, name).Text();
    if (script.empty() || script == "NONE") {
        ++run.applied;
        return;
    }
    if (run.scriptRebuilds >= kMaxScriptRebuilds) {
        ++run.misses;
        run.echoLine += "Trait command " + name + " stopped: its script kept naming itself.<br>";
        run.echoPending = true;
        run.endLoop = true;
        return;
    }
    ++run.scriptRebuilds;
    const std::string text = Substituted(run, script);
    // Until the first substitution the action text is the effect's Text as the run began: it is
    // kept only by the runs that will put it back.
    if (!run.scriptChanged) run.keptText = run.actionText;
    run.actionText = text;
    run.changeEffect().Text = text;
    run.scriptChanged = true;
    std::string errors;
    CompileEffect(run.source, run.args.effectIndex, errors);
    run.stayAtPosition = true;
}

void TraitCommandMine(RunContext& run) {
    TraitCommand(run, run.source);
}
void TraitCommandTarget(RunContext& run) {
    TraitCommand(run, run.target);
}

// Without a value handed to the run the commands change a value of their own.
Value& RunValueOrLocal(RunContext& run, Value& local) {
    return run.RunValue() ? *run.RunValue() : local;
}

// Moves the value away from 0 by a positive amount, towards it by a negative one; never across.
void ModVal(RunContext& run) {
    if (run.SkipRequirements()) return;
    Value local = 0;
    Value& value = RunValueOrLocal(run, local);
    run.currentAmount = ArgValue(run, 1);
    const double amount = run.currentAmount.Num();
    const double before = value.Num();
    if (before < 0) {
        const double after = before - amount;
        value = after > 0 ? 0.0 : after;
    } else if (before > 0) {
        const double after = before + amount;
        value = after < 0 ? 0.0 : after;
    }
    St().LastAmount = run.currentAmount;
    ++run.applied;
}

void SetVal(RunContext& run) {
    if (run.SkipRequirements()) return;
    Value local = 0;
    Value& value = RunValueOrLocal(run, local);
    run.currentAmount = ArgValue(run, 1);
    value = run.currentAmount;
    St().LastAmount = run.currentAmount;
    ++run.applied;
}

void Unlock(RunContext& run) {
    if (run.Preview() || run.SkipRequirements()) return;
    const std::string item = Arg(run, 1);
    List<std::string>& unlocked = St().CurrentProfile.Unlocked;
    for (const std::string& entry : unlocked)
        if (entry == item) return;
    ++run.applied;
    unlocked.PushBack(item);
}

void Lock(RunContext& run) {
    if (run.Preview() || run.SkipRequirements()) return;
    const std::string item = Arg(run, 1);
    for (std::string& entry : St().CurrentProfile.Unlocked)
        if (entry == item) entry.clear();
    ++run.applied;
}

}  // namespace

void RegisterTraitChangeCommands(CommandRegistry& commands) {
    commands.Add("REMOVETRAIT", RemoveTraitCommand);
    commands.Add("REMOVEMYTRAIT", RemoveMyTrait);
    commands.Add("MODTRAIT", ModTrait);
    commands.Add("MODMYTRAIT", ModMyTrait);
    commands.Add("MODOWNERTRAIT", ModOwnerTrait);
    commands.Add("MODMYOWNERTRAIT", ModMyOwnerTrait);
    commands.Add("SUBTRAIT", SubTrait);
    commands.Add("SUBMYTRAIT", SubMyTrait);
    commands.Add("ADDTRAIT", AddTrait);
    commands.Add("SETTRAIT", SetTraitCommand);
    commands.Add("SETMYTRAIT", SetMyTrait);
    commands.Add("SETOWNERTRAIT", SetOwnerTrait);
    commands.Add("SETMYOWNERTRAIT", SetMyOwnerTrait);
    commands.Add("TRAITCOMMAND", TraitCommandMine);
    commands.Add("TARGTRAITCOMMAND", TraitCommandTarget);
    commands.Add("MODVAL", ModVal);
    commands.Add("SETVAL", SetVal);
    commands.Add("UNLOCK", Unlock);
    commands.Add("LOCK", Lock);
}

}  // namespace dv
