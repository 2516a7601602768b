#include "engine/model/compiler.h"

#include <array>

#include "engine/model/guard.h"
#include "engine/model/keyword_table.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"

namespace dv {
namespace {

// AddCompiledThing takes at most this many arguments; no keyword needs more.
constexpr int kMaxCommandFields = 4;

void CompileInto(Card& card, int effectNumber, std::string& errorText) {
    std::unordered_map<std::string, CompiledScript>& store = St().CompiledScripts;
    {
        Effect& effect = card.Effects[effectNumber];
        const auto found = store.find(effect.Text);
        if (found != store.end()) {
            const CompiledScript& compiled = found->second;
            effect.Args = compiled.Args;
            effect.Program = compiled.Program;
            if (compiled.AnyCommand) effect.AIFlags = compiled.AIFlags;
            for (const std::string& word : compiled.Unrecognized)
                errorText += "Unrecognized command in " + card.Name + ": " + word + "\r\n";
            effect.Compiled = 1;
            return;
        }
    }

    Effect& effect = card.Effects[effectNumber];
    const std::string script = effect.Text;
    const ScriptFields fields(script, ':');
    effect.Args = List<std::string>{""};
    effect.Program = List<int32_t>{0};
    CompiledScript compiled;

    // Each pass consumes at least the word's own field, so the fields bound the loop.
    for (long long f = 1; !fields[f].empty(); ++f) {
        std::array<std::optional<std::string>, kMaxCommandFields> candidates;
        std::string_view word = fields[f];
        const bool ai = word.substr(0, 2) == "AI";
        if (ai) word.remove_prefix(2);

        const Keyword* keyword = FindKeyword(word);
        if (!keyword) {
            errorText += "Unrecognized command in " + card.Name + ": " + std::string(word) + "\r\n";
            compiled.Unrecognized.emplace_back(word);
            continue;
        }
        for (int k = 0; k < keyword->fields && k < kMaxCommandFields; ++k) {
            candidates[k] = std::string(fields[f + 1 + k]);
        }
        AddCompiledThing(card, std::string(word), effectNumber, ai, keyword->code, candidates[0],
                         candidates[1], candidates[2], candidates[3]);
        compiled.AnyCommand = true;
        f += keyword->fields;
        if (keyword->stopsCompiling) break;
    }
    Effect& done = card.Effects[effectNumber];
    done.Compiled = 1;
    compiled.Args = done.Args;
    compiled.Program = done.Program;
    compiled.AIFlags = done.AIFlags;
    if (store.size() >= kMaxCompiledScripts) store.clear();
    store.emplace(script, std::move(compiled));
}

}  // namespace

void CompileEffect(Card& card, int effectNumber, std::string& errorText) {
    errorText.clear();
    Guarded("CompileEffect", [&] { CompileInto(card, effectNumber, errorText); });
}

void CompileCard(Card& card, std::string& errorText) {
    Guarded("CompileCard", [&] {
        if (card.Name.empty()) return;
        std::string allErrors;
        for (int e = 1; e <= card.Effects.size(); ++e) {
            std::string effectErrors;
            CompileEffect(card, e, effectErrors);
            allErrors += effectErrors;
        }
        errorText = allErrors;
    });
}

void AddCompiledThing(Card& card, const std::string& keyword, int effectNumber, bool aiFlag,
                      int16_t code, const std::optional<std::string>& arg1,
                      const std::optional<std::string>& arg2,
                      const std::optional<std::string>& arg3,
                      const std::optional<std::string>& arg4) {
    Guarded("AddCompiledThing", [&] {
        Effect& effect = card.Effects[effectNumber];
        int p = effect.Program.size();
        // A list holding only 0 was just reset: the first command goes to position 1.
        if (p == 0 || effect.Program[p] == 0) p = 0;

        effect.Program.Resize(p + 1);
        effect.Program[p + 1] = code;
        effect.AIFlags.Resize(p + 1);
        effect.AIFlags[p + 1] = aiFlag;
        effect.Args.Resize(p + 1);
        effect.Args[p + 1] = keyword;

        const std::array<const std::optional<std::string>*, kMaxCommandFields> args = {
            &arg1, &arg2, &arg3, &arg4};
        for (int k = 1; k <= kMaxCommandFields && args[k - 1]->has_value(); ++k) {
            effect.Args.Resize(p + 1 + k);
            effect.Args[p + 1 + k] = **args[k - 1];
            effect.Program.Resize(p + 1 + k);
            effect.Program[p + 1 + k] = -1;
        }
    });
}

}  // namespace dv
