// Requirements on a card's name and traits: each command is one row of kRequirements, naming the
// card it tests, whether the requirement-skip flag silences it, its test and its failure message.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "engine/interpreter/command_context.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"
#include "engine/model/value_expression.h"
#include "engine/pages/card_pages.h"

namespace dv {
namespace {

// The effect index handed to HasTrait, whose TRAIT declarations also count as the trait.
enum class Declarations { None, ReactedEffect, RunEffect };

struct Requirement;

// What a test found: whether the requirement holds, and the name, limit or value its message
// quotes. `tested` is nullptr when an owner command's card has no owner card: it then fails.
struct Finding {
    bool holds = false;
    std::string shown;
};
using Test = Finding (*)(RunContext& run, Card* tested, const Requirement& row);

struct Requirement {
    std::string_view keyword;
    CardRole tested;
    bool honoursSkip;
    Declarations declarations;
    Test test;
    // "%1" stands for the first argument, "%2" for what the test shows; empty when FailReason
    // keeps its text.
    std::string_view message;
    FailPolicy policy = FailPolicy::Standard;
};

// A value whose text begins with a blank loses that one blank.
Value BlankStripped(const Value& value) {
    if (value.IsText() && !value.Text().empty() && value.Text()[0] == ' ')
        return Value(value.Text().substr(1));
    return value;
}

Value Evaluate(RunContext& run, const Value& text) {
    return Transval(run.source, run.target, text, "");
}

// A value that evaluates above 0 (a positive number or any text) is evaluated once more and
// replaced by that result; each evaluation draws its random terms anew.
Value Reevaluated(RunContext& run, Value value) {
    if (Evaluate(run, value) > Value(0)) value = Evaluate(run, value);
    return value;
}

int DeclarationIndex(const RunContext& run, Declarations declarations) {
    switch (declarations) {
        case Declarations::ReactedEffect:
            return run.args.reactedEffect;
        case Declarations::RunEffect:
            return run.args.effectIndex;
        case Declarations::None:
            break;
    }
    return 0;
}

bool Has(RunContext& run, Card* tested, const Requirement& row, const std::string& trait) {
    return tested && HasTrait(*tested, trait, DeclarationIndex(run, row.declarations));
}

Value TraitValue(Card* tested, const std::string& trait) {
    Value blank;
    return tested ? GetTrait(*tested, trait, blank, 0) : Value();
}

Finding NotMe(RunContext& run, Card*, const Requirement&) {
    return {run.source.GID != run.target.GID, ""};
}

Finding Named(RunContext& run, Card* tested, const Requirement&) {
    std::string name = Arg(run, 1);
    if (name == "$MYNAME") name = run.source.Name;
    return {tested && tested->Name == name, name};
}

Finding NotNamed(RunContext& run, Card* tested, const Requirement&) {
    return {!(tested && tested->Name == Arg(run, 1)), ""};
}

Finding HasIt(RunContext& run, Card* tested, const Requirement& row) {
    return {Has(run, tested, row, Arg(run, 1)), ""};
}

Finding LacksIt(RunContext& run, Card* tested, const Requirement& row) {
    return {!Has(run, tested, row, Arg(run, 1)), ""};
}

// Names after an empty field (two "/" in a row) are never looked at.
Finding OneOf(RunContext& run, Card* tested, const Requirement& row) {
    const std::string list = Arg(run, 1);
    const ScriptFields names(list, '/');
    for (long long f = 1; !names[f].empty(); ++f)
        if (Has(run, tested, row, std::string(names[f]))) return {true, ""};
    return {false, ""};
}

template <bool kAtMost>
Finding Bound(RunContext& run, Card* tested, const Requirement&) {
    const Value limit = ArgValue(run, 2);
    const Value number = TraitValue(tested, Arg(run, 1)).Num();
    const bool holds = kAtMost ? !(number > limit) : !(number < limit);
    return {tested && holds, limit.Text()};
}

// kTargetForm: REQTRAITEQUALS reads the trait value as an expression for its number test.
template <bool kEquals, bool kTargetForm>
Finding Equality(RunContext& run, Card* tested, const Requirement&) {
    const Value value = BlankStripped(Reevaluated(run, ArgValue(run, 2)));
    const Value trait = TraitValue(tested, Arg(run, 1));
    const bool sameText = trait == value;
    const bool sameNumber =
        kTargetForm ? Evaluate(run, trait) == Value(value.Num()) : value.Num() == trait.Num();
    const bool equal = sameText || sameNumber;
    return {tested && (kEquals ? equal : !equal), value.Text()};
}

Finding OwnerEquality(RunContext& run, Card* tested, const Requirement&) {
    const Value value = ArgValue(run, 2);
    return {tested && Value(TraitValue(tested, Arg(run, 1)).Num()) == value, value.Text()};
}

// The trait values "ALL" and "ANY" match every value; the match ignores case.
template <bool kMatch, bool kPlaceholders>
Finding TextMatch(RunContext& run, Card* tested, const Requirement&) {
    Value value = Reevaluated(run, Value(Arg(run, 2)));
    if (kPlaceholders && value.Num() == 0) {
        std::string text = value.Text();
        Value amount = -1;
        SwapCardStrings(run.source, run.target, text, "", "", 1, amount);
        value = Value(text);
    }
    value = BlankStripped(value);
    const std::string trait = UpperText(TraitValue(tested, Arg(run, 1)).Text());
    const bool match = trait == UpperText(value.Text()) || trait == "ALL" || trait == "ANY";
    return {tested && (kMatch ? match : !match), value.Text()};
}

Finding OwnerTextMatch(RunContext& run, Card* tested, const Requirement&) {
    const Value value(Arg(run, 2));
    return {tested && TraitValue(tested, Arg(run, 1)) == value, value.Text()};
}

// Copies of the target card in the collection, cards carrying "NOMRP" not counted.
Finding CollectionLimit(RunContext& run, Card*, const Requirement&) {
    const double limit = ArgValue(run, 1).Num();
    List<Card>& collection = St().Collection;
    int count = 0;
    for (int i = 1; i <= collection.size(); ++i) {
        Card& card = collection[i];
        if (card.UniqueName == run.target.UniqueName && !HasTrait(card, "NOMRP", 0)) ++count;
    }
    return {count < limit, ""};
}

using enum CardRole;
using enum Declarations;

constexpr std::string_view kRequires = "Requires %1 trait.";
constexpr std::string_view kCannot = "Cannot have %1 trait.";
constexpr std::string_view kOwnerRequires = "Requires owner to have %1 trait.";
constexpr std::string_view kAtMost = "Requires %1 trait of %2 or less.";
constexpr std::string_view kAtLeast = "Requires %1 trait of %2 or more.";
constexpr std::string_view kIs = "Requires %1 trait of \"%2\".";
constexpr std::string_view kIsNot = "Requires %1 trait not be \"%2\".";

constexpr Requirement kRequirements[] = {
    {"REQNOTME", Target, true, None, NotMe, ""},
    {"REQNAME", Target, true, None, Named, "Target card must be named %2"},
    {"REQMYNAME", Source, false, None, Named, "Source card must be named %2"},
    {"REQNONAME", Target, true, None, NotNamed, kCannot},
    {"REQNOMYNAME", Source, false, None, NotNamed, kCannot},
    {"REQTRAIT", Target, true, ReactedEffect, HasIt, kRequires},
    {"REQMYTRAIT", Source, false, None, HasIt, kRequires},
    {"REQNOTTRAIT", Target, true, ReactedEffect, LacksIt, kCannot},
    {"REQNOMYTRAIT", Source, false, ReactedEffect, LacksIt, kCannot},
    {"REQOWNERTRAIT", TargetOwner, true, ReactedEffect, HasIt, kOwnerRequires},
    {"REQMYOWNERTRAIT", SourceOwner, false, ReactedEffect, HasIt, kOwnerRequires},
    {"REQONEOF", Target, true, ReactedEffect, OneOf, ""},
    {"REQMYONEOF", Source, false, RunEffect, OneOf, ""},
    {"REQTRAITLESS", Target, true, None, Bound<true>, kAtMost},
    {"REQMYTRAITLESS", Source, false, None, Bound<true>,
     "Requires source card have a %1 trait of %2 or less."},
    {"REQOWNERTRAITLESS", TargetOwner, true, None, Bound<true>, kAtMost},
    {"REQMYOWNERTRAITLESS", SourceOwner, false, None, Bound<true>, kAtMost},
    {"REQTRAITMORE", Target, true, None, Bound<false>, kAtLeast},
    {"REQMYTRAITMORE", Source, false, None, Bound<false>, kAtLeast},
    {"REQOWNERTRAITMORE", TargetOwner, true, None, Bound<false>, kAtLeast},
    {"REQMYOWNERTRAITMORE", SourceOwner, false, None, Bound<false>, kAtLeast},
    {"REQTRAITEQUALS", Target, true, None, Equality<true, true>, kIs},
    {"REQMYTRAITEQUALS", Source, false, None, Equality<true, false>, kIs},
    {"REQTRAITNOTEQUALS", Target, true, None, Equality<false, false>, kIsNot},
    {"REQMYTRAITNOTEQUALS", Source, false, None, Equality<false, false>, kIsNot},
    {"REQOWNERTRAITEQUALS", TargetOwner, true, None, OwnerEquality, kIs},
    {"REQMYOWNERTRAITEQUALS", SourceOwner, false, None, OwnerEquality, kIs},
    {"REQTRAITIS", Target, true, None, TextMatch<true, true>, kIs},
    {"REQMYTRAITIS", Source, false, None, TextMatch<true, false>, kIs},
    {"REQNOTRAITIS", Target, true, None, TextMatch<false, true>, kIsNot},
    {"REQNOMYTRAITIS", Source, true, None, TextMatch<false, true>, kIsNot},
    {"REQOWNERTRAITIS", TargetOwner, false, None, OwnerTextMatch, kIs},
    {"REQMYOWNERTRAITIS", SourceOwner, false, None, OwnerTextMatch, kIs},
    {"REQCOLLECTIONLIMIT", Target, false, None, CollectionLimit, "", FailPolicy::CountOnly},
};
static_assert(std::size(kRequirements) == 34);

std::string Message(std::string_view form, const std::string& first, const std::string& shown) {
    std::string text;
    for (std::size_t i = 0; i < form.size(); ++i) {
        if (form[i] == '%' && i + 1 < form.size() && (form[i + 1] == '1' || form[i + 1] == '2')) {
            text += form[i + 1] == '1' ? first : shown;
            ++i;
        } else {
            text += form[i];
        }
    }
    return text;
}

void Check(RunContext& run, const Requirement& row) {
    if (row.honoursSkip && run.SkipRequirements()) return;
    const Finding found = row.test(run, CardInRole(run, row.tested), row);
    if (found.holds) return;
    FailPolicy policy = row.policy;
    if (policy == FailPolicy::Standard && row.message.empty()) policy = FailPolicy::KeepReason;
    // A source card that carries the forbidden name cancels the change outright.
    if (row.keyword == "REQNOMYNAME") St().EffectOutcome = EffectOutcome::Cancelled;
    FailRequirement(run, policy, Message(row.message, Arg(run, 1), found.shown));
}

}  // namespace

void RegisterTraitRequirementCommands(CommandRegistry& commands) {
    RegisterRows<kRequirements, Check>(commands, CardUse::LeavesPictures);
}

}  // namespace dv
