#pragma once
// What a command of the card language sees while it runs: the state of one run of EffCard, the
// helpers to read its arguments, and the table that maps command codes to handlers.
//
// Adding a command: give it a row in the keyword table (engine/model/keyword_table.cpp) and a
// handler here, registered by keyword from its family's registration function:
//
//     void RegisterEchoCommands(CommandRegistry& commands) {
//         commands.Add("ECHO", Echo);
//         commands.Add("CANCEL", Cancel);
//     }
//
// and list that function once in kCommandFamilies (engine/interpreter/command_table.cpp). The
// engine is a static library, so registration is an explicit list rather than static objects.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"  // OwnerCard, EchoPart
#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

// One run of EffCard. Everything here starts afresh with the run and ends with it; nested runs
// get contexts of their own, so nothing of one run leaks into another.
struct RunContext {
    RunContext(Card& source, Card& target, EffArgs& args)
        : source(source), target(target), args(args) {}

    Card& source;   // the card whose effect runs; "MY" commands read and change it
    Card& target;   // the card the effect is applied to
    EffArgs& args;  // the run's arguments (effect index, run kind, preview flag, ...)

    // The running effect. Fetched afresh on every call: a nested run may add effects to the
    // source card, which moves its effect list. Read through the first; the second, for a change,
    // first gives the source card effects of its own when it shares them with a copy.
    const Effect& effect() const { return std::as_const(source.Effects)[args.effectIndex]; }
    Effect& changeEffect() { return source.Effects[args.effectIndex]; }
    EffectRunFlags runFlags() const { return RunFlagsOf(source, args.effectIndex); }
    EffectRunFlags& changeRunFlags() { return ChangeRunFlags(source, args.effectIndex); }
    bool Preview() const { return args.preview != 0; }
    bool SkipRequirements() const { return args.skipRequirements != 0; }
    // The value handed to the run (argument 11); nullptr when none was given.
    Value* RunValue() const { return args.value; }

    std::string actionText;  // the effect's Text, or the ad-hoc text of a bonus action

    // Program walk.
    int position = 0;      // program position of the command that runs
    int argIndex = 0;      // current argument index: argument k is Args[argIndex + k]
    int lastPosition = 0;  // the loop's last position, fixed when the loop begins
    bool aiMark = false;   // the command carried the "AI" prefix

    // Loop control, set by commands.
    bool endLoop = false;         // leave the command loop; the epilogue settles the result
    bool keepResult = false;      // with endLoop: the epilogue keeps result as it stands
    bool stayAtPosition = false;  // run the same position again (after a script substitution)

    // Outcome.
    RunResult result = RunResult::NothingApplied;
    int failures = 0;  // requirements that did not hold
    int misses = 0;    // commands not carried out, and changes a counter cancelled
    int applied = 0;   // commands carried out (+1 when the loop reaches the last entry)

    // Echo.
    std::string echoLine;        // HTML the commands of this run append to
    std::string failText;        // set by ECHOFAIL; shown only when the run failed or missed
    bool echoCommand = false;    // an echo command ran: the echo shows the card pictures
    bool echoPending = false;    // this run or a nested one produced echo text
    int echoSide = 0;            // 0 source's side, 1 the other side, 2 the target's side
    std::string echoBackground;  // preset table background; empty: the side's default
    std::string nestedEcho;      // what nested runs of this run's commands handed back
    // Picture links of the two cards (echo parts 2 and 6), built only once a text shows them or
    // the cards may change (EffRun::ShowCardPictures): read them through FillPlaceholders.
    std::string sourcePicture;
    std::string targetPicture;

    // Marks the epilogue acts on.
    uint8_t pendingWinner = 0;  // LOSEGAME/WINGAME: EndGame with it after the echo
    bool destroySource = false;
    bool destroyTarget = false;
    bool deleteEffect = false;  // DELETEEFFECT: free the running effect's slot (real runs only)
    int32_t repeatTargetType = 0;
    Value repeatCount;           // REPEAT: runs again that many times on picked targets
    bool scriptChanged = false;  // the effect's Text was substituted; restore keptText
    int scriptRebuilds = 0;      // substitutions of trait commands made in this run
    bool redirectSpent = false;  // a pending redirect was meant for this run: drop it at the end
    std::string keptText;        // the effect's Text as it was when the run began, once substituted

    Value currentAmount;  // the amount of the last amount-taking command of this run
};

// The card a command reads or changes. Owner cards are looked up afresh at every command, as a
// side's player card may change; nullptr for a neutral card's owner or a side without one.
enum class CardRole { Target, Source, TargetOwner, SourceOwner };
Card* CardInRole(RunContext& run, CardRole role);

// The k-th argument text of the running command (k from 1); empty past the end of the program.
std::string Arg(RunContext& run, int k);
// The k-th argument evaluated as a value expression with the run's source and target cards.
Value ArgValue(RunContext& run, int k);
// As above; keywordFlag reports whether the text was recognised as an expression.
Value ArgValue(RunContext& run, int k, Value& keywordFlag);
// The field of the action text at which program position `position` stands, found by walking
// the text as the compiler does: an unrecognised word takes a field but no position, and the
// fields after a keyword that ends compiling follow on one field per position.
int ScriptField(const RunContext& run, int position);
// The rest of the action text from the field of program position `position` on, joined by ":".
std::string RestOfScript(RunContext& run, int position);

// Text with its placeholders filled for the run's two cards and their pictures; the amount shown
// is LastAmount. minor 1 leaves the pictures out.
std::string FillPlaceholders(RunContext& run, std::string text, int minor);

// Takes the echo a nested run handed back (its outer echo) into this run's echo line.
void TakeNestedEcho(RunContext& run, const std::string& echo);

// A script without its REQALLY and REQENEMY words: an action sent to another card keeps its other
// requirements, but its side changes with its target. A side requirement leading the script
// leaves no empty first field, which would end the compile before the first command.
std::string WithoutSideRequirements(std::string script);

// What a requirement that does not hold does to the run. "The AI rule": without the AI mark the
// loop ends; with it the loop goes on, and a failure of a player-1 source card is taken back, so
// an AI-marked requirement binds only the computer's sides.
enum class FailPolicy {
    Standard,    // result Failed, FailReason set to the message, failure counted, the AI rule
    KeepReason,  // as Standard, but FailReason keeps the text it had
    CountAI,     // failure counted, the AI rule; result and FailReason untouched
    CountEnd,    // failure counted and the loop ends, AI mark or not
    CountOnly,   // failure counted, the loop goes on
    Strict,      // without the AI mark failure counted and the loop ends; with it nothing at all
    Miss,        // miss counted and the loop ends
};

// The AI rule after a failure or miss has been counted.
void ApplyAIRule(RunContext& run);

// The one failure path of every requirement command.
void FailRequirement(RunContext& run, FailPolicy policy, const std::string& message = {});
// The common path: Standard with message, or KeepReason when setReason is false.
void FailRequirement(RunContext& run, const std::string& message, bool setReason = true);

using CommandHandler = void (*)(RunContext& run);

// What a command does to the cards of its run.
enum class CardUse : uint8_t {
    MayChange,
    // Changes nothing their picture links show (the requirements and the echoes).
    LeavesPictures,
};

// The dispatch table: one handler per command code, 1 to kMaxCommandCode.
class CommandRegistry {
  public:
    CommandRegistry();
    // Registers handler under the command code of keyword (or alias). A keyword the keyword
    // table does not know is noted in Unknown() and otherwise ignored.
    void Add(std::string_view keyword, CommandHandler handler, CardUse use = CardUse::MayChange);
    // The handler for a code, or nullptr: a code no command has does nothing.
    CommandHandler Get(int code) const;
    // Whether the handler in place for code was registered as one that leaves the pictures.
    bool LeavesPictures(int code) const;
    // Puts handler in place for code and returns the one it replaces.
    CommandHandler Set(int code, CommandHandler handler);
    const std::vector<std::string>& Unknown() const { return unknown_; }

  private:
    std::vector<CommandHandler> handlers_;
    // By code, the handler registered as leaving the pictures; one put in its place later may not.
    std::vector<CommandHandler> leavers_;
    std::vector<std::string> unknown_;
};

// Registers a family kept as a table of rows: each row's `keyword` gets a handler that runs
// check(run, row).
template <const auto& table, auto check, std::size_t... I>
void RegisterRows(CommandRegistry& commands, CardUse use, std::index_sequence<I...>) {
    (commands.Add(
         table[I].keyword, [](RunContext& run) { check(run, table[I]); }, use),
     ...);
}
template <const auto& table, auto check>
void RegisterRows(CommandRegistry& commands, CardUse use) {
    RegisterRows<table, check>(commands, use, std::make_index_sequence<std::size(table)>());
}

// The table of the running program, built from every command family on first use.
CommandRegistry& CommandTable();

// Registration functions of the command families, each in its own file.
void RegisterEchoCommands(CommandRegistry& commands);
void RegisterTraitRequirementCommands(CommandRegistry& commands);
void RegisterSideValueRequirementCommands(CommandRegistry& commands);
void RegisterTraitChangeCommands(CommandRegistry& commands);
void RegisterTargetingCommands(CommandRegistry& commands);

}  // namespace dv
