#include <gtest/gtest.h>

#include <string>

#include "engine/interpreter/command_context.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/requirement_board.h"

namespace dv {
namespace {

class TraitRequirementTest : public test::RequirementBoard {
  protected:
    void SetUp() override {
        RequirementBoard::SetUp();
        SetTrait(C(hero), "FACTION", "Elves", 1);
        SetTrait(C(foe), "FACTION", "ORCS", 1);
    }
};

constexpr const char* kOn = "went on";

struct Row {
    const char* target;  // traits of the target "Elf" (player 1)
    const char* source;  // traits of the source "Imp" (player 2)
    const char* script;  // ECHO:went on follows it
    int result;
    const char* reason;  // FailReason after the run
};

void Expect(test::RequirementBoard& b, const Row& r, int elf, int imp) {
    SCOPED_TRACE(std::string(r.script) + " target " + r.target + " source " + r.source);
    EXPECT_EQ(b.RunScript(imp, elf, std::string(r.script) + ":ECHO:" + kOn), r.result);
    EXPECT_EQ(St().FailReason, r.reason);
    const bool wentOn = St().TurnLog.find(kOn) != std::string::npos;
    EXPECT_EQ(wentOn, r.result > 0) << St().TurnLog;
}

TEST_F(TraitRequirementTest, EachRequirementHoldsOrFailsWithItsMessage) {
    const Row rows[] = {
        {"", "", "REQNOTME", 2, ""},
        {"", "", "REQNAME:Elf", 2, ""},
        {"", "", "REQNAME:elf", -1, "Target card must be named elf"},
        {"", "", "REQNAME:$MYNAME", -1, "Target card must be named Imp"},
        {"", "", "REQMYNAME:Imp", 2, ""},
        {"", "", "REQMYNAME:Elf", -1, "Source card must be named Elf"},
        {"", "", "REQNONAME:Elf", -1, "Cannot have Elf trait."},
        {"", "", "REQNONAME:Imp", 2, ""},
        {"", "", "REQNOMYNAME:Elf", 2, ""},
        {"HP=3", "", "REQTRAIT:hp", 2, ""},
        {"HP:fire=3", "", "REQTRAIT:HP", 2, ""},
        {"", "", "REQTRAIT:HP", -1, "Requires HP trait."},
        {"", "", "REQTRAIT:", -1, "Requires  trait."},
        {"", "MANA=0", "REQMYTRAIT:MANA", 2, ""},
        {"MANA", "", "REQMYTRAIT:MANA", -1, "Requires MANA trait."},
        {"FLYING", "", "REQNOTTRAIT:FLYING", -1, "Cannot have FLYING trait."},
        {"", "FLYING", "REQNOMYTRAIT:FLYING", -1, "Cannot have FLYING trait."},
        {"FLYING", "", "REQNOMYTRAIT:FLYING", 2, ""},
        {"", "", "REQOWNERTRAIT:PLAYER:1", 2, ""},
        {"PLAYER", "", "REQOWNERTRAIT:WINGS", -1, "Requires owner to have WINGS trait."},
        {"", "", "REQMYOWNERTRAIT:FACTION:x", 2, ""},
        {"", "WINGS", "REQMYOWNERTRAIT:WINGS", -1, "Requires owner to have WINGS trait."},
        {"SWIMMING", "", "REQONEOF:FLYING/SWIMMING", 2, ""},
        {"SWIMMING", "", "REQONEOF:FLYING//SWIMMING", -1, ""},
        {"SWIMMING", "", "REQONEOF:/SWIMMING", -1, ""},
        {"", "MANA", "REQMYONEOF:A/MANA", 2, ""},
        {"MANA", "", "REQMYONEOF:A/MANA", -1, ""},
        {"HP=3", "", "REQTRAITLESS:HP:3", 2, ""},
        {"HP=4", "", "REQTRAITLESS:HP:3", -1, "Requires HP trait of 3 or less."},
        {"", "", "REQTRAITLESS:HP:0", 2, ""},
        {"", "HP=4", "REQMYTRAITLESS:HP:3", -1,
         "Requires source card have a HP trait of 3 or less."},
        {"", "", "REQOWNERTRAITLESS:HP:20", 2, ""},
        {"", "", "REQOWNERTRAITLESS:HP:19", -1, "Requires HP trait of 19 or less."},
        {"", "", "REQMYOWNERTRAITLESS:HP:19", -1, "Requires HP trait of 19 or less."},
        {"HP=3", "", "REQTRAITMORE:HP:3", 2, ""},
        {"HP=2", "", "REQTRAITMORE:HP:3", -1, "Requires HP trait of 3 or more."},
        {"", "MANA=2", "REQMYTRAITMORE:MANA:TRAIT/MANA", 2, ""},
        {"", "", "REQMYTRAITMORE:MANA:1", -1, "Requires MANA trait of 1 or more."},
        {"", "", "REQOWNERTRAITMORE:HP:21", -1, "Requires HP trait of 21 or more."},
        {"", "", "REQMYOWNERTRAITMORE:HP:20", 2, ""},
        {"LEVEL=5", "", "REQTRAITEQUALS:LEVEL:5", 2, ""},
        {"LEVEL=6", "", "REQTRAITEQUALS:LEVEL:5", -1, "Requires LEVEL trait of \"5\"."},
        // The target form reads the trait value as an expression: TRAIT/MANA is the source's 5.
        {"LEVEL=TRAIT/MANA", "MANA=5", "REQTRAITEQUALS:LEVEL:5", 2, ""},
        {"LEVEL=TRAIT/MANA", "MANA=5", "REQTRAITNOTEQUALS:LEVEL:5", 2, ""},
        {"", "LEVEL=5 steps", "REQMYTRAITEQUALS:LEVEL:5", 2, ""},
        {"", "LEVEL=5.0", "REQMYTRAITEQUALS:LEVEL:TRAIT/LEVEL", 2, ""},
        {"", "", "REQMYTRAITEQUALS:LEVEL:5", -1, "Requires LEVEL trait of \"5\"."},
        {"", "", "REQMYTRAITEQUALS:LEVEL:0", 2, ""},
        {"LEVEL=5.0", "", "REQTRAITNOTEQUALS:LEVEL:5", -1, "Requires LEVEL trait not be \"5\"."},
        {"LEVEL=4", "", "REQTRAITNOTEQUALS:LEVEL:5", 2, ""},
        {"", "", "REQMYTRAITNOTEQUALS:LEVEL:5", 2, ""},
        {"", "LEVEL=5", "REQMYTRAITNOTEQUALS:LEVEL:5", -1, "Requires LEVEL trait not be \"5\"."},
        {"", "", "REQOWNERTRAITEQUALS:HP:20", 2, ""},
        {"", "", "REQOWNERTRAITEQUALS:HP:21", -1, "Requires HP trait of \"21\"."},
        {"", "", "REQMYOWNERTRAITEQUALS:HP:TRAIT/HP", -1, "Requires HP trait of \"0\"."},
        {"", "", "REQMYOWNERTRAITEQUALS:HP:20", 2, ""},
        {"FACTION=ELVES", "", "REQTRAITIS:FACTION:elves", 2, ""},
        {"FACTION=ANY", "", "REQTRAITIS:FACTION:elves", 2, ""},
        {"FACTION=all", "", "REQTRAITIS:FACTION:elves", 2, ""},
        {"FACTION=Elves", "", "REQTRAITIS:FACTION: Elves", 2, ""},
        {"FACTION=Orcs", "", "REQTRAITIS:FACTION:elves", -1,
         "Requires FACTION trait of \"elves\"."},
        {"KIN=elf", "", "REQTRAITIS:KIN:$SIMPLETARGETNAME", 2, ""},
        {"", "KIN=Elf", "REQMYTRAITIS:KIN:$SIMPLETARGETNAME", -1,
         "Requires KIN trait of \"$SIMPLETARGETNAME\"."},
        {"", "FACTION=ORCS", "REQMYTRAITIS:FACTION:orcs", 2, ""},
        {"FACTION=ALL", "", "REQNOTRAITIS:FACTION:elves", -1,
         "Requires FACTION trait not be \"elves\"."},
        {"FACTION=Orcs", "", "REQNOTRAITIS:FACTION:elves", 2, ""},
        {"", "FACTION=orcs", "REQNOMYTRAITIS:FACTION:elves", 2, ""},
        {"", "FACTION=ANY", "REQNOMYTRAITIS:FACTION:elves", -1,
         "Requires FACTION trait not be \"elves\"."},
        {"", "", "REQOWNERTRAITIS:FACTION:Elves", 2, ""},
        {"", "", "REQOWNERTRAITIS:FACTION:ELVES", -1, "Requires FACTION trait of \"ELVES\"."},
        {"", "", "REQMYOWNERTRAITIS:FACTION:ORCS", 2, ""},
        {"", "", "REQMYOWNERTRAITIS:FACTION:orcs", -1, "Requires FACTION trait of \"orcs\"."},
    };
    for (const Row& r : rows) {
        const int elf = PlaceWith("Elf", 1, r.target);
        const int imp = PlaceWith("Imp", 2, r.source);
        Expect(*this, r, elf, imp);
    }
}

TEST_F(TraitRequirementTest, OwnerCommandsFailForACardWithoutAnOwnerCard) {
    const int imp = PlaceWith("Imp", 2, "");
    const int stray = PlaceWith("Stray", 0, "PLAYER");
    EXPECT_EQ(RunScript(imp, stray, "REQOWNERTRAIT:PLAYER:1"), -1);
    EXPECT_EQ(St().FailReason, "Requires owner to have PLAYER trait.");
    EXPECT_EQ(RunScript(imp, stray, "REQOWNERTRAITLESS:HP:5"), -1)
        << "a missing owner card must not read as a trait of 0";
    EXPECT_EQ(St().FailReason, "Requires HP trait of 5 or less.");

    St().Players[2].CardIndex = 0;
    EXPECT_EQ(RunScript(imp, imp, "REQMYOWNERTRAITIS:FACTION:ORCS"), -1);
}

TEST_F(TraitRequirementTest, AnAIMarkedFailureBindsOnlyTheComputersSides) {
    struct AiRow {
        int sourceOwner;
        const char* script;
        int result;
        bool wentOn;
        const char* reason;
    };
    const AiRow rows[] = {
        {2, "AIREQTRAIT:HP", 1, true, "Requires HP trait."},
        {1, "AIREQTRAIT:HP", 2, true, "Requires HP trait."},
        {0, "AIREQTRAIT:HP", 1, true, "Requires HP trait."},
        {2, "REQTRAIT:HP", -1, false, "Requires HP trait."},
        {1, "REQTRAIT:HP", -1, false, "Requires HP trait."},
        {2, "AIREQTRAIT:HP:AIREQMYTRAIT:MANA", 1, true, "Requires MANA trait."},
        {1, "AIREQTRAITLESS:HP:-1", 2, true, "Requires HP trait of -1 or less."},
        // A kept reason: the not-me test leaves what the earlier requirement wrote.
        {2, "AIREQTRAIT:HP:AIREQONEOF:A/B", 1, true, "Requires HP trait."},
        // The collection limit counts its failure but never ends the run, AI mark or not.
        {2, "REQCOLLECTIONLIMIT:0", 1, true, ""},
        {1, "AIREQCOLLECTIONLIMIT:0", 1, true, ""},
    };
    for (const AiRow& r : rows) {
        SCOPED_TRACE(r.script + std::string(" owner ") + std::to_string(r.sourceOwner));
        const int elf = PlaceWith("Elf", 1, "");
        const int imp = PlaceWith("Imp", r.sourceOwner, "");
        EXPECT_EQ(RunScript(imp, elf, std::string(r.script) + ":ECHO:" + kOn), r.result);
        EXPECT_EQ(St().TurnLog.find(kOn) != std::string::npos, r.wentOn);
        EXPECT_EQ(St().FailReason, r.reason);
    }
}

TEST_F(TraitRequirementTest, NotMeAndOneOfKeepTheReasonTheyFound) {
    const int imp = PlaceWith("Imp", 2, "");
    EXPECT_EQ(RunScript(imp, imp, "AIREQTRAIT:NOPE:REQNOTME:ECHO:x"), -1);
    EXPECT_EQ(St().FailReason, "Requires NOPE trait.");
    EXPECT_EQ(RunScript(imp, imp, "AIREQTRAIT:NOPE:REQONEOF:A:ECHO:x"), -1);
    EXPECT_EQ(St().FailReason, "Requires NOPE trait.");
    EXPECT_EQ(RunScript(imp, imp, "REQNAME:$MYNAME:REQNONAME:$MYNAME:ECHO:x"), 2)
        << "only REQNAME reads $MYNAME as the source's name";
}

TEST_F(TraitRequirementTest, ASourceCarryingAForbiddenNameCancelsTheChange) {
    const int elf = PlaceWith("Elf", 1, "");
    const int imp = PlaceWith("Imp", 2, "");
    EXPECT_EQ(RunScript(imp, elf, "REQNOMYNAME:Imp:ECHO:x"), 0);
    EXPECT_EQ(St().FailReason, "Cannot have Imp trait.");
    EXPECT_EQ(RunScript(imp, elf, "AIREQNOMYNAME:Imp:ECHO:x"), 0)
        << "the cancel stops the run even where the AI mark lets it go on";
    EXPECT_EQ(St().TurnLog.find("x<br>"), std::string::npos);
    EXPECT_EQ(St().EffectOutcome, EffectOutcome::None) << "the cancel must not outlive its run";
    EffArgs trial;
    trial.preview = 1;
    EXPECT_EQ(RunScript(imp, elf, "REQNOMYNAME:Imp", trial), -1);
}

TEST_F(TraitRequirementTest, TheSkipFlagSilencesOnlyTheCommandsThatHonourIt) {
    struct SkipRow {
        const char* script;  // fails whether skipped or not
        bool honoured;
    };
    const SkipRow rows[] = {
        {"REQNAME:X", true},
        {"REQMYNAME:X", false},
        {"REQNONAME:Elf", true},
        {"REQTRAIT:HP", true},
        {"REQMYTRAIT:HP", false},
        {"REQNOTTRAIT:PLAYER", true},
        {"REQNOMYTRAIT:PLAYER", false},
        {"REQOWNERTRAIT:X", true},
        {"REQMYOWNERTRAIT:X", false},
        {"REQONEOF:X", true},
        {"REQMYONEOF:X", false},
        {"REQTRAITLESS:PLAYER:0", true},
        {"REQMYTRAITLESS:PLAYER:0", false},
        {"REQOWNERTRAITLESS:HP:0", true},
        {"REQMYOWNERTRAITLESS:HP:0", false},
        {"REQTRAITMORE:HP:1", true},
        {"REQMYTRAITMORE:HP:1", false},
        {"REQOWNERTRAITMORE:HP:99", true},
        {"REQMYOWNERTRAITMORE:HP:99", false},
        {"REQTRAITEQUALS:HP:1", true},
        {"REQMYTRAITEQUALS:HP:1", false},
        {"REQTRAITNOTEQUALS:PLAYER:1", true},
        {"REQMYTRAITNOTEQUALS:PLAYER:1", false},
        {"REQOWNERTRAITEQUALS:HP:1", true},
        {"REQMYOWNERTRAITEQUALS:HP:1", false},
        {"REQTRAITIS:HP:x", true},
        {"REQMYTRAITIS:HP:x", false},
        {"REQNOTRAITIS:PLAYER:1", true},
        {"REQNOMYTRAITIS:PLAYER:1", true},
        {"REQOWNERTRAITIS:HP:x", false},
        {"REQMYOWNERTRAITIS:HP:x", false},
    };
    for (const SkipRow& r : rows) {
        SCOPED_TRACE(r.script);
        const int elf = PlaceWith("Elf", 1, "PLAYER=1");
        const int imp = PlaceWith("Imp", 2, "PLAYER=1");
        EffArgs skip;
        skip.skipRequirements = 1;
        EXPECT_EQ(RunScript(imp, elf, std::string(r.script) + ":ECHO:x", skip),
                  r.honoured ? 2 : -1);
        EXPECT_EQ(RunScript(imp, elf, std::string(r.script) + ":ECHO:x"), -1) << "fails unskipped";
    }
    const int imp = PlaceWith("Imp", 2, "");
    EffArgs skip;
    skip.skipRequirements = 1;
    EXPECT_EQ(RunScript(imp, imp, "REQNOTME:ECHO:x", skip), 2);
    EXPECT_EQ(RunScript(imp, imp, "REQNOTME:ECHO:x"), -1);
}

TEST_F(TraitRequirementTest, TraitDeclarationsOfTheReactedEffectCountAsTraits) {
    const int elf = PlaceWith("Elf", 1, "");
    const int imp = PlaceWith("Imp", 2, "");
    const int declaring = Script(elf, "TRAIT:WINGS:1:ECHO:y");
    EffArgs reacting;
    reacting.reactedEffect = static_cast<int16_t>(declaring);
    reacting.redirected = 1;  // keeps the second form of the masks out of this test
    EXPECT_EQ(RunScript(imp, elf, "REQTRAIT:WINGS:REQNOTTRAIT:HORNS", reacting), 2);
    EXPECT_EQ(RunScript(imp, elf, "REQNOTTRAIT:WINGS", reacting), -1);
    EXPECT_EQ(RunScript(imp, elf, "REQTRAIT:WINGS"), -1) << "without the reacted effect";
}

TEST_F(TraitRequirementTest, TheCollectionLimitCountsCopiesWithoutNOMRP) {
    const int elf = PlaceWith("Elf", 1, "");
    const int imp = PlaceWith("Imp", 2, "");
    C(elf).UniqueName = "elf-1";
    Card copy;
    copy.Name = "Elf";
    copy.UniqueName = "elf-1";
    St().Collection.PushBack(copy);
    copy.TraitNames.Resize(20);
    copy.TraitValues.Resize(20);
    SetTrait(copy, "NOMRP", "1", 1);
    St().Collection.PushBack(copy);
    Card other;
    other.Name = "Elf";
    other.UniqueName = "ELF-1";
    St().Collection.PushBack(other);

    EXPECT_EQ(RunScript(imp, elf, "REQCOLLECTIONLIMIT:2:ECHO:x"), 2) << "one counted copy";
    EXPECT_EQ(RunScript(imp, elf, "REQCOLLECTIONLIMIT:1:ECHO:x"), 1)
        << "the later commands still run";
    EXPECT_NE(St().TurnLog.find("x"), std::string::npos);
    EXPECT_EQ(RunScript(imp, elf, "REQCOLLECTIONLIMIT:1"), 1) << "the end of the program applies";
}

}  // namespace
}  // namespace dv
