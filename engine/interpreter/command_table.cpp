#include "engine/interpreter/card_commands.h"
#include "engine/interpreter/command_context.h"
#include "engine/interpreter/eff_card_stages.h"
#include "engine/model/keyword_table.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/value_expression.h"
#include "engine/pages/card_pages.h"

namespace dv {
namespace {

// Every family registers its commands here; a family missing from the list simply has no
// handlers, and its codes do nothing.
using FamilyRegistration = void (*)(CommandRegistry&);
const FamilyRegistration kCommandFamilies[] = {
    RegisterEchoCommands,
    RegisterTraitRequirementCommands,
    RegisterSideValueRequirementCommands,
    RegisterTraitChangeCommands,
    RegisterTargetingCommands,
    RegisterTokenCommands,
    RegisterCardLifeCommands,
    RegisterNameColourCommands,
};

}  // namespace

CommandRegistry::CommandRegistry()
    : handlers_(kMaxCommandCode + 1, nullptr), leavers_(kMaxCommandCode + 1, nullptr) {}

void CommandRegistry::Add(std::string_view keyword, CommandHandler handler, CardUse use) {
    const Keyword* row = FindKeyword(keyword);
    if (!row || row->code < 1 || row->code > kMaxCommandCode) {
        unknown_.emplace_back(keyword);
        return;
    }
    handlers_[row->code] = handler;
    leavers_[row->code] = use == CardUse::LeavesPictures ? handler : nullptr;
}

CommandHandler CommandRegistry::Get(int code) const {
    if (code < 1 || code > kMaxCommandCode) return nullptr;
    return handlers_[code];
}

bool CommandRegistry::LeavesPictures(int code) const {
    if (code < 1 || code > kMaxCommandCode) return false;
    return handlers_[code] != nullptr && handlers_[code] == leavers_[code];
}

CommandHandler CommandRegistry::Set(int code, CommandHandler handler) {
    if (code < 1 || code > kMaxCommandCode) return nullptr;
    CommandHandler old = handlers_[code];
    handlers_[code] = handler;
    return old;
}

CommandRegistry& CommandTable() {
    static CommandRegistry table = [] {
        CommandRegistry built;
        for (FamilyRegistration family : kCommandFamilies)
            family(built);
        return built;
    }();
    return table;
}

Card* CardInRole(RunContext& run, CardRole role) {
    switch (role) {
        case CardRole::Target:
            return &run.target;
        case CardRole::Source:
            return &run.source;
        case CardRole::TargetOwner:
            return OwnerCard(run.target);
        case CardRole::SourceOwner:
            return OwnerCard(run.source);
    }
    return nullptr;
}

std::string Arg(RunContext& run, int k) {
    const SharedList<std::string>& args = run.effect().Args;
    const long long i = static_cast<long long>(run.argIndex) + k;
    return args.Has(i) ? args[i] : std::string();
}

Value ArgValue(RunContext& run, int k) {
    return Transval(run.source, run.target, Value(Arg(run, k)), "");
}

Value ArgValue(RunContext& run, int k, Value& keywordFlag) {
    return Transval(run.source, run.target, Value(Arg(run, k)), "", keywordFlag);
}

int ScriptField(const RunContext& run, int position) {
    const ScriptFields fields(run.actionText, ':');
    long long field = 1;
    int last = 0;  // the last program position the walk has passed
    for (; !fields[field].empty(); ++field) {
        std::string_view word = fields[field];
        if (word.substr(0, 2) == "AI") word.remove_prefix(2);
        const Keyword* keyword = FindKeyword(word);
        if (!keyword) continue;
        if (position <= last + 1 + keyword->fields)
            return static_cast<int>(field + (position - last - 1));
        last += 1 + keyword->fields;
        field += keyword->fields;
        if (keyword->stopsCompiling) {
            ++field;
            break;
        }
    }
    return static_cast<int>(field + (position - last - 1));
}

std::string RestOfScript(RunContext& run, int position) {
    return GetFieldsFrom(run.actionText, ScriptField(run, position), ":");
}

std::string FillPlaceholders(RunContext& run, std::string text, int minor) {
    Value amount = -1;
    SwapCardStrings(run.source, run.target, text, run.sourcePicture, run.targetPicture, minor,
                    amount, PayOwedPictures);
    return text;
}

void TakeNestedEcho(RunContext& run, const std::string& echo) {
    run.echoLine += echo;
    run.nestedEcho += echo;
}

std::string WithoutSideRequirements(std::string script) {
    ReplaceAll(script, "REQALLY", "");
    ReplaceAll(script, "REQENEMY", "");
    ReplaceAll(script, "::", ":");
    if (!script.empty() && script[0] == ':') script.erase(0, 1);
    return script;
}

void ApplyAIRule(RunContext& run) {
    if (!run.aiMark) {
        run.endLoop = true;
    } else if (run.source.Owner == 1) {
        --run.failures;
    }
}

void FailRequirement(RunContext& run, FailPolicy policy, const std::string& message) {
    switch (policy) {
        case FailPolicy::Standard:
        case FailPolicy::KeepReason:
            run.result = RunResult::Failed;
            if (policy == FailPolicy::Standard) St().FailReason = message;
            ++run.failures;
            ApplyAIRule(run);
            return;
        case FailPolicy::CountAI:
            ++run.failures;
            ApplyAIRule(run);
            return;
        case FailPolicy::CountEnd:
            ++run.failures;
            run.endLoop = true;
            return;
        case FailPolicy::CountOnly:
            ++run.failures;
            return;
        case FailPolicy::Strict:
            if (run.aiMark) return;
            ++run.failures;
            run.endLoop = true;
            return;
        case FailPolicy::Miss:
            ++run.misses;
            run.endLoop = true;
            return;
    }
}

void FailRequirement(RunContext& run, const std::string& message, bool setReason) {
    FailRequirement(run, setReason ? FailPolicy::Standard : FailPolicy::KeepReason, message);
}

}  // namespace dv
