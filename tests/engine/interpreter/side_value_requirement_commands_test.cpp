#include <gtest/gtest.h>

#include <string>

#include "engine/interpreter/command_context.h"
#include "engine/model/state.h"
#include "tests/engine/interpreter/requirement_board.h"

namespace dv {
namespace {

using SideValueRequirementTest = test::RequirementBoard;

constexpr const char* kOn = "went on";

struct Row {
    int sourceOwner;
    int targetOwner;
    const char* script;  // ECHO:went on follows it
    int result;
    bool wentOn;
    const char* reason;  // FailReason after the run
};

TEST_F(SideValueRequirementTest, EachPolicyCountsAndStopsAsItsCommandSays) {
    const Row rows[] = {
        // standard
        {1, 0, "REQENEMY", 2, true, ""},
        {1, 1, "REQENEMY", -1, false, "Requires the target to be an enemy."},
        {2, 1, "AIREQENEMY", 2, true, ""},
        {2, 2, "AIREQENEMY", 1, true, "Requires the target to be an enemy."},
        {1, 1, "AIREQENEMY", 2, true, "Requires the target to be an enemy."},
        {0, 0, "REQALLY", 2, true, ""},
        {2, 1, "REQALLY", -1, false, "Requires the target to be an ally."},
        // strict: the AI mark ignores the requirement for every side
        {2, 1, "REQISMORE:3:2", 2, true, ""},
        {2, 1, "REQISMORE:2:2", -1, false, ""},
        {2, 1, "AIREQISMORE:2:2", 2, true, ""},
        {2, 1, "REQISLESS:1:2", 2, true, ""},
        {2, 1, "REQISLESS:2:2", -1, false, ""},
        {2, 1, "AIREQISLESS:2:1", 2, true, ""},
        // count-AI: result and FailReason untouched
        {2, 1, "REQEQUALS:2:2", 2, true, ""},
        {2, 1, "REQEQUALS:1:2", -1, false, ""},
        {2, 1, "AIREQEQUALS:1:2", 1, true, ""},
        {1, 1, "AIREQEQUALS:1:2", 2, true, ""},
        {2, 1, "REQISPLAYER", 2, true, ""},
        {2, 2, "REQISPLAYER", -1, false, ""},
        {2, 0, "AIREQISPLAYER", 1, true, ""},
        {2, 2, "REQNOTPLAYER", 2, true, ""},
        {2, 1, "REQNOTPLAYER", -1, false, ""},
        {1, 1, "AIREQNOTPLAYER", 2, true, ""},
        // count-end: stops even with the AI mark
        {2, 1, "REQCARDISDEAD:999", 2, true, ""},
        {2, 1, "AIREQCARDISDEAD:TARGETGID", -1, false, ""},
        {1, 1, "AIREQCARDISDEAD:MYGID", -1, false, ""},
        // miss
        {2, 1, "CHANCE:100", 2, true, ""},
        {2, 1, "CHANCE:0", 0, false, ""},
        {2, 1, "AICHANCE:-5", 0, false, ""},
        {2, 1, "ONECHANCE:100", 2, true, ""},
        {2, 1, "ONECHANCE:0", 0, false, ""},
        // count-only: no reacted-to text, so the sides are not asked
        {2, 1, "REQFROMALLY", 2, true, ""},
        {2, 2, "REQFROMENEMY", 2, true, ""},
        // a failing requirement after one that held still fails
        {2, 1, "REQENEMY:REQALLY", -1, false, "Requires the target to be an ally."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.script) + " from " + std::to_string(r.sourceOwner) + " to " +
                     std::to_string(r.targetOwner));
        const int target = PlaceWith("Elf", r.targetOwner, "");
        const int source = PlaceWith("Imp", r.sourceOwner, "");
        EXPECT_EQ(RunScript(source, target, std::string(r.script) + ":ECHO:" + kOn), r.result);
        EXPECT_EQ(St().TurnLog.find(kOn) != std::string::npos, r.wentOn) << St().TurnLog;
        EXPECT_EQ(St().FailReason, r.reason);
    }
}

TEST_F(SideValueRequirementTest, RunValueComparisonsStopTheEffect) {
    struct ValueRow {
        const char* script;
        const char* value;  // nullptr: the run is handed no value
        int result;
    };
    const ValueRow rows[] = {
        {"REQVALMORE:5", "5", 2},
        {"REQVALMORE:5", "4", -1},
        {"REQVALLESS:5", "5", 2},
        {"REQVALLESS:5", "6", -1},
        {"REQVALEQUALS:5", "5", 2},
        {"REQVALEQUALS:5", "4", -1},
        {"AIREQVALEQUALS:5", "4", -1},
        // Nothing to compare: the requirement does not hold.
        {"REQVALMORE:0", nullptr, -1},
        {"REQVALLESS:0", nullptr, -1},
        {"REQVALEQUALS:0", nullptr, -1},
    };
    for (const ValueRow& r : rows) {
        SCOPED_TRACE(std::string(r.script) + " value " + (r.value ? r.value : "none"));
        const int imp = PlaceWith("Imp", 1, "");
        Value value = r.value ? Value(ReadNumber(r.value)) : Value();
        EffArgs args;
        if (r.value) args.value = &value;
        args.skipRequirements = 1;  // the run value comparisons are never silenced
        EXPECT_EQ(RunScript(imp, foe, std::string(r.script) + ":ECHO:x", args), r.result);
    }
}

TEST_F(SideValueRequirementTest, ReactedToActionsAreTestedByTheirFields) {
    struct ReactRow {
        const char* script;
        const char* reactedTo;
        int sourceOwner;
        uint8_t skip;
        int result;
    };
    const ReactRow rows[] = {
        {"REQTRAITTARGET:HP", "MODTRAIT:HP:-1", 2, 0, 2},
        {"REQTRAITTARGET:hp", "MODTRAIT:HP:-1", 2, 0, -1},
        {"AIREQTRAITTARGET:HP", "ECHO:x::HP", 2, 0, -1},
        {"REQTRAITTARGET:HP", "", 2, 0, -1},
        {"REQTRAITTARGET:HP", "", 2, 1, 2},
        {"REQNOTRAITTARGET:HP", "SETTRAIT:MANA:1", 2, 0, 2},
        {"REQNOTRAITTARGET:HP", "MODTRAIT:HP:-1", 2, 1, -1},
        // count-only: the failure is counted and the effect goes on
        {"REQFROMALLY", "MODTRAIT:HP:-1", 2, 0, 1},
        {"REQFROMALLY", "MODTRAIT:HP:-1", 1, 0, 2},
        {"REQFROMALLY", "MODTRAIT:HP:-1", 2, 1, 2},
        {"REQFROMENEMY", "MODTRAIT:HP:-1", 1, 0, 1},
        {"AIREQFROMENEMY", "MODTRAIT:HP:-1", 1, 0, 1},
        {"REQFROMENEMY", "MODTRAIT:HP:-1", 2, 0, 2},
    };
    for (const ReactRow& r : rows) {
        SCOPED_TRACE(std::string(r.script) + " reacting to " + r.reactedTo);
        const int elf = PlaceWith("Elf", 1, "");
        const int imp = PlaceWith("Imp", r.sourceOwner, "");
        EffArgs args;
        args.reactedTo = r.reactedTo;
        args.skipRequirements = r.skip;
        EXPECT_EQ(RunScript(imp, elf, std::string(r.script) + ":ECHO:x", args), r.result);
        EXPECT_EQ(St().TurnLog.find("x<br>") != std::string::npos, r.result > 0);
    }
}

TEST_F(SideValueRequirementTest, SkippedAndTrialRunsSilenceTheirCommands) {
    struct SilentRow {
        const char* script;  // fails when it runs
        int sourceOwner;
        int targetOwner;
        bool bySkip;
        bool byPreview;
    };
    const SilentRow rows[] = {
        {"REQENEMY", 1, 1, true, false},
        {"REQALLY", 1, 2, true, false},
        {"REQISMORE:1:2", 1, 2, true, false},
        {"REQISLESS:2:1", 1, 2, true, false},
        {"REQEQUALS:1:2", 1, 2, true, false},
        {"REQISPLAYER", 1, 2, true, false},
        {"REQNOTPLAYER", 1, 1, true, false},
        {"REQCARDISDEAD:MYGID", 1, 2, true, false},
        {"CHANCE:0", 1, 2, true, true},
        {"ONECHANCE:0", 1, 2, true, true},
        {"REQVALMORE:1", 1, 2, false, false},
        {"REQTRAITTARGET:HP", 1, 2, true, false},
        {"REQNOTRAITTARGET:X", 1, 2, false, false},
        {"REQFROMALLY", 1, 2, true, false},
        {"REQFROMENEMY", 1, 1, true, false},
    };
    for (const SilentRow& r : rows) {
        SCOPED_TRACE(r.script);
        const int elf = PlaceWith("Elf", r.targetOwner, "");
        const int imp = PlaceWith("Imp", r.sourceOwner, "");
        // The reacted-to text lets the side-of-origin tests and REQNOTRAITTARGET fail.
        EffArgs skip;
        skip.skipRequirements = 1;
        skip.reactedTo = "X";
        const int skipped = RunScript(imp, elf, std::string(r.script) + ":ECHO:x", skip);
        EXPECT_EQ(skipped == 2, r.bySkip) << skipped;
        // A trial answers 2 unless a command stopped the run or counted something.
        EffArgs trial;
        trial.preview = 1;
        trial.reactedTo = "X";
        EXPECT_EQ(RunScript(imp, elf, r.script, trial) == 2, r.byPreview);
    }
}

TEST_F(SideValueRequirementTest, OneChanceRollsOncePerDispatchForEveryTarget) {
    const int imp = PlaceWith("Imp", 1, "");
    const int e = Script(imp, "ONECHANCE:50:ECHO:x");
    const auto runOn = [&](int target) {
        EffArgs args;
        args.effectIndex = e;
        return static_cast<int>(EffCard(C(imp), C(target), args));
    };
    for (int dispatch = 0; dispatch < 20; ++dispatch) {
        ChangeRunFlags(C(imp), e).DispatchWork =
            0;  // what RunActions does when it takes the effect up
        const int first = runOn(foe);
        const int roll = RunFlagsOf(C(imp), e).DispatchWork;
        ASSERT_GE(roll, 1);
        ASSERT_LE(roll, 100);
        EXPECT_EQ(first, roll <= 50 ? 2 : 0);
        EXPECT_EQ(runOn(hero), first) << "all targets of one dispatch pass or miss together";
        EXPECT_EQ(runOn(foe), first);
        EXPECT_EQ(RunFlagsOf(C(imp), e).DispatchWork, roll);
    }
    ChangeRunFlags(C(imp), e).DispatchWork = 50;
    EXPECT_EQ(runOn(foe), 2) << "a kept roll equal to the chance holds";
    ChangeRunFlags(C(imp), e).DispatchWork = 51;
    EXPECT_EQ(runOn(foe), 0);
}

TEST_F(SideValueRequirementTest, ChanceDrawsEveryTime) {
    const int imp = PlaceWith("Imp", 1, "");
    const int e = Script(imp, "CHANCE:50:ECHO:x");
    int hits = 0;
    for (int i = 0; i < 200; ++i) {
        EffArgs args;
        args.effectIndex = e;
        if (EffCard(C(imp), C(foe), args) == RunResult::Applied) ++hits;
    }
    EXPECT_GT(hits, 60);
    EXPECT_LT(hits, 140);
}

}  // namespace
}  // namespace dv
