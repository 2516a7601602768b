#include <gtest/gtest.h>

#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/engine/interpreter/command_rows.h"

namespace dv {
namespace {

using TraitChangeCommandsTest = test::CommandRowTest;
using test::CommandRow;

TEST_F(TraitChangeCommandsTest, ChangesByAnAmountReachTheRightCard) {
    const CommandRow rows[] = {
        {"T.HP=10", "", "MODTRAIT:HP:-3", 2, "T.HP=7", ""},
        {"", "", "MODTRAIT:ARMOR:2", 2, "T.ARMOR=2", ""},
        {"T.HP=10", "", "MODTRAIT:HP:-30", 2, "T.HP=-20", ""},
        {"S.HP=10", "", "MODMYTRAIT:HP:-2:ECHO:ouch", 2, "S.HP=8", " now has "},
        {"T.HP=10", "", "MODOWNERTRAIT:HP:-1", 2, "F.HP=19,T.HP=10", ""},
        {"", "", "MODMYOWNERTRAIT:HP:1", 2, "H.HP=21,F.HP=20", ""},
        {"", "", "MODOWNERTRAIT:HP:-1:MODMYOWNERTRAIT:HP:-1", 2, "F.HP=20,H.HP=20", "", 1},
        {"T.HP=10", "", "SUBTRAIT:HP:3", 2, "T.HP=7", ""},
        {"T.HP=10", "", "SUBTRAIT:HP:-3", 2, "T.HP=10", ""},
        {"S.HP=10", "", "SUBMYTRAIT:HP:-3", 2, "S.HP=13", ""},
        {"", "", "SUBTRAIT:GOLD:2", 1, "T.GOLD=-2", ""},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

TEST_F(TraitChangeCommandsTest, OnlyTheExactNameHPNotesTheSourcesHP) {
    Check({"S.hp=10", "", "MODMYTRAIT:hp:-2:ECHO:ouch", 2, "S.HP=8", "ouch"});
    EXPECT_EQ(St().TurnLog.find(" now has "), std::string::npos);
}

TEST_F(TraitChangeCommandsTest, APricingRunThatCannotPayIsNoSuccess) {
    const CommandRow rows[] = {
        {"T.HP=2", "", "MODTRAIT:HP:-3:MODTRAIT:GOLD:1", 1, "T.HP=-1,T.GOLD=", "", 0,
         RunKind::Pricing},
        {"T.GOLD=2", "", "SUBTRAIT:GOLD:3", -1, "T.GOLD=-1", "", 0, RunKind::Pricing},
        {"", "", "MODOWNERTRAIT:HP:-30:MODTRAIT:GOLD:1", -1, "F.HP=-10,T.GOLD=", "", 0,
         RunKind::Pricing},
        // With the AI mark the loop goes on, and for a player-1 card the failure is taken back.
        {"T.HP=2", "", "AIMODTRAIT:HP:-3:MODTRAIT:GOLD:1", 2, "T.HP=-1,T.GOLD=1", "", 0,
         RunKind::Pricing},
    };
    for (const CommandRow& row : rows) {
        Check(row);
        EXPECT_EQ(St().FailReason.rfind("Insufficient ", 0), 0u) << St().FailReason;
    }
    Check({"T.HP=2", "", "MODTRAIT:HP:-3", 2, "T.HP=-1", ""});
    EXPECT_EQ(St().FailReason, "") << "an ordinary run has no price to pay";
}

TEST_F(TraitChangeCommandsTest, SetsAddsAndRemovesStoreWhatTheyShould) {
    const CommandRow rows[] = {
        {"", "", "SETTRAIT:ELEMENT:FIRE", 2, "T.ELEMENT=FIRE", ""},
        {"", "", "SETMYTRAIT:MOOD:FIRE", 2, "S.MOOD=FIRE", ""},
        {"", "", "SETOWNERTRAIT:MOOD:ANGRY", 2, "F.MOOD=ANGRY,H.MOOD=", ""},
        {"", "", "SETMYOWNERTRAIT:MOOD:CALM", 2, "H.MOOD=CALM,F.MOOD=", ""},
        {"", "", "SETOWNERTRAIT:MOOD:ANGRY", 2, "F.MOOD=", "", 1},
        {"", "", "ADDTRAIT:STUNNED", 2, "T.STUNNED=1", ""},
        {"T.HP=10", "", "MODTRAIT:HP:-2:ADDTRAIT:STUNNED", 2, "T.STUNNED=-1", ""},
        {"T.STUNNED=4", "", "ADDTRAIT:STUNNED", 1, "T.STUNNED=1", ""},
        {"T.ARMOR=3", "", "REMOVETRAIT:ARMOR", 2, "T.ARMOR=", ""},
        {"", "", "REMOVETRAIT:ARMOR", 1, "T.ARMOR=", ""},
        {"S.ARMOR=3,T.ARMOR=3", "", "REMOVEMYTRAIT:ARMOR", 2, "S.ARMOR=,T.ARMOR=3", ""},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

// The trial run works on copies; a trait change there must not wake the change actions of the
// game's cards, whose own targets are real.
TEST_F(TraitChangeCommandsTest, ATrialRunRaisesNoRealChangeTrigger) {
    const CommandRow rows[] = {
        {"", "S|TRAITCHANGE:MOOD|5|MODTRAIT:HP:-5", "SETMYTRAIT:MOOD:ANGRY", 2, "H.HP=20", "", 1},
        {"", "T|TRAITCHANGE:STUNNED|5|MODTRAIT:HP:-5", "ADDTRAIT:STUNNED", 2, "F.HP=20", "", 1},
        {"", "T|TRAITCHANGE:MOOD|5|MODTRAIT:HP:-5", "SETTRAIT:MOOD:ANGRY", 2, "F.HP=20", "", 1},
        {"", "S|TRAITCHANGE:MOOD|5|MODTRAIT:HP:-5", "SETMYTRAIT:MOOD:ANGRY", 2, "H.HP=15", ""},
        // Stored twice in a real run: once empty, once with the amount added.
        {"", "T|TRAITCHANGE:STUNNED|5|MODTRAIT:HP:-5", "ADDTRAIT:STUNNED", 2, "F.HP=10", ""},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

TEST_F(TraitChangeCommandsTest, ValueCommandsChangeThePendingTraitChange) {
    const char* const guard = "T|BEFORETRAITCHANGE:HP|7|";
    struct Row {
        const char* reaction;
        const char* script;
        const char* hpAfter;
    };
    const Row rows[] = {
        {"MODVAL:-1", "MODTRAIT:HP:-3", "8"},  {"MODVAL:2", "MODTRAIT:HP:-3", "5"},
        {"MODVAL:-5", "MODTRAIT:HP:-3", "10"}, {"MODVAL:-1", "MODTRAIT:HP:4", "13"},
        {"MODVAL:-9", "MODTRAIT:HP:4", "10"},  {"SETVAL:0", "MODTRAIT:HP:-3", "10"},
        {"SETVAL:-7", "SUBTRAIT:HP:1", "3"},
    };
    for (const Row& r : rows) {
        const std::string effects = std::string(guard) + r.reaction;
        Check({"T.HP=10", effects.c_str(), r.script, 2, (std::string("T.HP=") + r.hpAfter).c_str(),
               ""});
    }
}

TEST_F(TraitChangeCommandsTest, ValueCommandsWithoutAValueChangeNothing) {
    Check({"", "", "MODVAL:3:SETVAL:4", 2, "", ""});
    Value pending = -5;
    const int e = Script(imp, "MODVAL:2");
    EffArgs args;
    args.effectIndex = e;
    args.value = &pending;
    EXPECT_EQ(EffCard(C(imp), C(orc), args), RunResult::Applied);
    EXPECT_EQ(pending.Num(), -7);
    EXPECT_EQ(St().LastAmount.Num(), 2);
}

TEST_F(TraitChangeCommandsTest, TraitCommandsRunTheTraitsScriptForThisRunOnly) {
    const CommandRow rows[] = {
        {"S.SPELL=MODTRAIT:HP:-1,T.HP=10", "", "ECHO:go:TRAITCOMMAND:SPELL:MODTRAIT:HP:-2", 2,
         "T.HP=7", "go"},
        {"S.SPELL=MODTRAIT:HP:-1,T.HP=10", "", "TRAITCOMMAND:SPELL", 2, "T.HP=9", ""},
        {"T.SPELL=MODMYTRAIT:HP:-4,S.HP=10", "", "TARGTRAITCOMMAND:SPELL", 2, "S.HP=6", ""},
        {"T.HP=10", "", "TRAITCOMMAND:SPELL:MODTRAIT:HP:-2", 2, "T.HP=8", ""},
        // An unknown word takes a field but no program position.
        {"S.SPELL=MODTRAIT:HP:-1,T.HP=10", "", "BOGUS:TRAITCOMMAND:SPELL:MODTRAIT:HP:-2", 2,
         "T.HP=7", ""},
        {"S.LOOP=TRAITCOMMAND:LOOP", "", "ECHO:x:TRAITCOMMAND:LOOP", 1, "", "kept naming itself"},
        {"S.A=TRAITCOMMAND:B,S.B=TRAITCOMMAND:A", "", "TRAITCOMMAND:A", 0, "",
         "kept naming itself"},
    };
    for (const CommandRow& row : rows) {
        Check(row);
        const Effect& effect = C(imp).Effects[C(imp).Effects.size()];
        EXPECT_EQ(effect.Text, row.script) << "the effect's own script comes back";
    }
}

TEST_F(TraitChangeCommandsTest, UnlockAddsAnItemOnceAndLockBlanksIt) {
    List<std::string>& unlocked = St().CurrentProfile.Unlocked;
    EXPECT_EQ(Run(imp, orc, Script(imp, "UNLOCK:Dragon:UNLOCK:Dragon:UNLOCK:Wyrm")), 2);
    ASSERT_EQ(unlocked.size(), 2);
    EXPECT_EQ(unlocked[1], "Dragon");
    EXPECT_EQ(unlocked[2], "Wyrm");

    unlocked = List<std::string>{"Dragon", "dragon", "Dragon"};
    EXPECT_EQ(Run(imp, orc, Script(imp, "LOCK:Dragon:LOCK:Ghost")), 2);
    ASSERT_EQ(unlocked.size(), 3);
    EXPECT_EQ(unlocked[1], "");
    EXPECT_EQ(unlocked[2], "dragon");
    EXPECT_EQ(unlocked[3], "");

    EXPECT_EQ(Run(imp, orc, Script(imp, "UNLOCK:Ghost:LOCK:dragon"), 1), 2);
    EXPECT_EQ(unlocked.size(), 3) << "a trial run unlocks nothing";
    EXPECT_EQ(unlocked[2], "dragon");
}

}  // namespace
}  // namespace dv
