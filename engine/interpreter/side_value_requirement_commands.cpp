// Requirements on sides, free values, cards that left play, the action reacted to, and chance:
// each command is one row of kRequirements with what silences it, its test and what a failure
// does to the run.
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "engine/interpreter/command_context.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/rules/dispatch.h"

namespace dv {
namespace {

using Holds = bool (*)(RunContext& run);

struct Requirement {
    std::string_view keyword;
    bool silencedBySkip;
    bool silencedByPreview;
    Holds holds;
    FailPolicy policy;
    std::string_view message = {};
};

double Number(RunContext& run, int k) {
    return ArgValue(run, k).Num();
}

bool SameSide(RunContext& run) {
    return run.source.Owner == run.target.Owner;
}

bool Enemy(RunContext& run) {
    return !SameSide(run);
}
bool Ally(RunContext& run) {
    return SameSide(run);
}
bool IsMore(RunContext& run) {
    return Number(run, 1) > Number(run, 2);
}
bool IsLess(RunContext& run) {
    return Number(run, 1) < Number(run, 2);
}
bool Equals(RunContext& run) {
    return Number(run, 1) == Number(run, 2);
}
bool IsPlayer(RunContext& run) {
    return run.target.Owner == 1;
}
bool NotPlayer(RunContext& run) {
    return run.target.Owner != 1;
}
bool CardIsDead(RunContext& run) {
    return GetCardNum(ArgValue(run, 1)) <= 0;
}

bool Chance(RunContext& run) {
    const double percent = Number(run, 1);
    return RandomNum(100) <= percent;
}

// The roll is kept in the effect's dispatch work byte, which RunActions clears when it takes the
// effect up, so every target of one dispatch shares it.
bool OneChance(RunContext& run) {
    uint8_t roll = run.runFlags().DispatchWork;
    if (roll == 0) {
        roll = static_cast<uint8_t>(RandomNum(100));
        run.changeRunFlags().DispatchWork = roll;
    }
    return roll <= Number(run, 1);
}

// A run handed no value has nothing to compare, so the requirement does not hold.
template <int kSense>
bool RunValueCompared(RunContext& run) {
    const Value* value = run.RunValue();
    if (!value) return false;
    const double have = value->Num();
    const double wanted = Number(run, 1);
    if constexpr (kSense > 0) return have >= wanted;
    if constexpr (kSense < 0) return have <= wanted;
    return have == wanted;
}

bool ReactedToNames(RunContext& run) {
    return GetEffectRef(run.args.reactedTo, Value(Arg(run, 1)));
}
bool ReactedToLacks(RunContext& run) {
    return !ReactedToNames(run);
}
bool FromAlly(RunContext& run) {
    return run.args.reactedTo.empty() || SameSide(run);
}
bool FromEnemy(RunContext& run) {
    return run.args.reactedTo.empty() || !SameSide(run);
}

using enum FailPolicy;

constexpr Requirement kRequirements[] = {
    {"REQENEMY", true, false, Enemy, Standard, "Requires the target to be an enemy."},
    {"REQALLY", true, false, Ally, Standard, "Requires the target to be an ally."},
    {"REQISMORE", true, false, IsMore, Strict},
    {"REQISLESS", true, false, IsLess, Strict},
    {"REQEQUALS", true, false, Equals, CountAI},
    {"REQISPLAYER", true, false, IsPlayer, CountAI},
    {"REQNOTPLAYER", true, false, NotPlayer, CountAI},
    {"REQCARDISDEAD", true, false, CardIsDead, CountEnd},
    {"CHANCE", true, true, Chance, Miss},
    {"ONECHANCE", true, true, OneChance, Miss},
    {"REQVALMORE", false, false, RunValueCompared<1>, CountEnd},
    {"REQVALLESS", false, false, RunValueCompared<-1>, CountEnd},
    {"REQVALEQUALS", false, false, RunValueCompared<0>, CountEnd},
    {"REQTRAITTARGET", true, false, ReactedToNames, CountEnd},
    {"REQNOTRAITTARGET", false, false, ReactedToLacks, CountEnd},
    {"REQFROMALLY", true, false, FromAlly, CountOnly},
    {"REQFROMENEMY", true, false, FromEnemy, CountOnly},
};

void Check(RunContext& run, const Requirement& row) {
    if (row.silencedBySkip && run.SkipRequirements()) return;
    if (row.silencedByPreview && run.Preview()) return;
    if (row.holds(run)) return;
    FailRequirement(run, row.policy, std::string(row.message));
}

}  // namespace

void RegisterSideValueRequirementCommands(CommandRegistry& commands) {
    RegisterRows<kRequirements, Check>(commands, CardUse::LeavesPictures);
}

}  // namespace dv
