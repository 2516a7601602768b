#include "engine/interpreter/command_context.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/value_expression.h"
#include "engine/rules/keyword_table.h"

namespace dv {
namespace {

// Every family registers its commands here; a family missing from the list simply has no
// handlers, and its codes do nothing.
using FamilyRegistration = void (*)(CommandRegistry&);
const FamilyRegistration kCommandFamilies[] = {
    RegisterEchoCommands,
};

}  // namespace

CommandRegistry::CommandRegistry() : handlers_(kMaxCommandCode + 1, nullptr) {}

void CommandRegistry::Add(std::string_view keyword, CommandHandler handler) {
    const Keyword* row = FindKeyword(keyword);
    if (!row || row->code < 1 || row->code > kMaxCommandCode) {
        unknown_.emplace_back(keyword);
        return;
    }
    handlers_[row->code] = handler;
}

CommandHandler CommandRegistry::Get(int code) const {
    if (code < 1 || code > kMaxCommandCode) return nullptr;
    return handlers_[code];
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

std::string Arg(RunContext& run, int k) {
    const List<std::string>& args = run.effect().Args;
    const long long i = static_cast<long long>(run.argIndex) + k;
    return args.Has(i) ? args[i] : std::string();
}

Value ArgValue(RunContext& run, int k) {
    return Transval(run.source, run.target, Value(Arg(run, k)), "");
}

Value ArgValue(RunContext& run, int k, Value& keywordFlag) {
    return Transval(run.source, run.target, Value(Arg(run, k)), "", keywordFlag);
}

std::string RestOfScript(RunContext& run, int field) {
    return GetFieldsFrom(run.actionText, field, ":");
}

void TakeNestedEcho(RunContext& run, const std::string& echo) {
    run.echoLine += echo;
    run.nestedEcho += echo;
}

void FailRequirement(RunContext& run, const std::string& message, bool setReason) {
    run.result = -1;
    if (setReason) St().FailReason = message;
    ++run.failures;
    if (!run.aiMark) {
        run.endLoop = true;
    } else if (run.source.Owner == 1) {
        // An AI-marked requirement only binds the computer's sides.
        --run.failures;
    }
}

}  // namespace dv
