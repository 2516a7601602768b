#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/interpreter/command_context.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/command_rows.h"

namespace dv {
namespace {

using TargetingCommandsTest = test::CommandRowTest;
using test::CommandRow;

// Card numbers and identifiers of the row board: H 1 (GID 1001), F 2 (1002), S 3 (1003),
// T 4 (1004).
TEST_F(TargetingCommandsTest, RepeatsRunTheEffectAgainABoundedNumberOfTimes) {
    const CommandRow rows[] = {
        {"S.HP=10,T.HP=10", "", "REPEAT:SELF:3:MODTRAIT:HP:-1", 2, "T.HP=9,S.HP=7", ""},
        {"S.HP=10,T.HP=10", "", "REPEAT:SELF:0:MODTRAIT:HP:-1", 2, "T.HP=9,S.HP=10", ""},
        {"S.HP=10,T.HP=10", "", "REPEAT:SELF:-5:MODTRAIT:HP:-1", 2, "T.HP=9,S.HP=10", ""},
        {"S.HP=1000", "", "REPEAT:SELF:99999999999:MODTRAIT:HP:-1", 2, "S.HP=900", ""},
        {"S.HP=10,T.HP=10", "", "REPEAT:SELF:3:MODTRAIT:HP:-1", 2, "T.HP=10,S.HP=10", "", 1},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

// The retargeting run counts nothing for the command, so it settles as nothing left undone.
TEST_F(TargetingCommandsTest, RetargetsHandTheRestOfTheScriptToAnotherCard) {
    const CommandRow rows[] = {
        {"S.HP=10,T.HP=10", "", "RETARGET:SELF:MODTRAIT:HP:-2", 2, "S.HP=8,T.HP=10", ""},
        {"S.HP=10,T.HP=10", "", "AIRETARGET:SELF:MODTRAIT:HP:-2", 2, "S.HP=8,T.HP=8", ""},
        {"S.HP=10,T.HP=10", "", "RETARGET:SELF:MODTRAIT:HP:-2", 2, "S.HP=10,T.HP=10", "", 1},
        {"T.HP=10", "", "RETARGETBYGID:1001:MODTRAIT:HP:-2", 2, "H.HP=18,T.HP=10", ""},
        {"T.HP=10", "", "RETARGETBYGID:5:MODTRAIT:HP:-2", 2, "H.HP=20,T.HP=10", ""},
        {"T.HP=10", "", "AIRETARGETBYGID:1002:MODTRAIT:HP:-2", 2, "F.HP=18,T.HP=8", ""},
        // Unknown words take fields but no program positions; the rest is still the rest.
        {"S.HP=10", "", "X:Y:RETARGET:SELF:MODTRAIT:HP:-2", 2, "S.HP=8", ""},
        {"S.HP=10", "", "RETARGET:SELF:ECHO:zap", 2, "S.HP=10", "zap"},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

// An owned card of POWER 5 with the identifier 777.
Card OwnedRelic() {
    Card owned;
    owned.Name = "Relic";
    InitCard(owned, 1, 1);
    owned.GID = 777;
    SetTrait(owned, "POWER", "5", 1);
    return owned;
}

TEST_F(TargetingCommandsTest, RetargetCollectionChangesTheOwnedCard) {
    St().Collection.PushBack(OwnedRelic());
    EXPECT_EQ(Run(imp, orc, Script(imp, "RETARGETCOLLECTION:777:MODTRAIT:POWER:2")), 2);
    EXPECT_EQ(GetTrait(St().Collection[1], "POWER").Text(), "7");
    EXPECT_EQ(Run(imp, orc, Script(imp, "RETARGETCOLLECTION:778:MODTRAIT:POWER:2")), 2)
        << "no card: nothing to act on";
}

// A bonus action once stayed on its card until the next turn: REPEAT:SELF:50:RETARGET:SELF:ECHO:x
// left 51 on the Imp, for every copy of the card to carry.
TEST_F(TargetingCommandsTest, ABonusActionIsFreedOnceItHasRun) {
    struct Row {
        CommandRow row;
        int slots;  // effects of the Imp at most: its script and the bonus actions open at once
    };
    const Row rows[] = {
        {{"", "", "REPEAT:SELF:50:RETARGET:SELF:ECHO:x", 2, "", "x"}, 2},
        {{"S.HP=10", "", "RETARGET:SELF:RETARGET:SELF:RETARGET:SELF:MODTRAIT:HP:-2", 2, "S.HP=8",
          ""},
         4},
        // The redirected action runs as a bonus action of the Imp.
        {{"T.HP=10", "T|TARGETED|7|REDIRECT:", "MODTRAIT:HP:-3", 2, "F.HP=17", ""}, 2},
    };
    for (const Row& r : rows) {
        Check(r.row);
        for (char letter : {'S', 'T', 'H', 'F'}) {
            int bonus = 0;
            for (const Effect& effect : std::as_const(C(CardOf(letter)).Effects))
                bonus += effect.Text.find("BONUSACTION") != std::string::npos;
            EXPECT_EQ(bonus, 0) << letter << " still carries bonus actions that have run";
        }
        EXPECT_LE(C(imp).Effects.size(), r.slots) << "each bonus action takes a freed slot";
    }
}

// An effect on an owned card once worked on a copy that took the card's place when it ended:
// a save the effect made wrote the card as it was, and an inner effect's change was undone by the
// outer copy. A booster growing the list the card is in must leave the change on the card all the
// same (it once moved the card away from the run that was changing it).
TEST_F(TargetingCommandsTest, AnEffectOnAnOwnedCardChangesTheCardItself) {
    struct Row {
        int deck;            // -1: RETARGETCOLLECTION by the Imp; else the effect's own target,
                             // slot 1 of the collection (0) or of that stored deck
        const char* script;  // the owned card starts with POWER 5
        const char* power;
        int collection;  // named cards of the collection after
        bool saved;      // the player file holds the POWER after
    };
    const Row rows[] = {
        {-1, "RETARGETCOLLECTION:777:MODTRAIT:POWER:2:SAVECOLLECTION", "7", 1, true},
        {-1, "RETARGETCOLLECTION:777:MODTRAIT:POWER:1:RETARGETCOLLECTION:777:MODTRAIT:POWER:10",
         "16", 1, false},
        {-1, "RETARGETCOLLECTION:777:BOOSTER:60:MODTRAIT:POWER:2", "7", 61, false},
        {0, "MODTRAIT:POWER:2:SAVECOLLECTION", "7", 1, true},
        {0, "BOOSTER:60:MODTRAIT:POWER:2", "7", 61, false},
        {1, "MODTRAIT:POWER:2:SAVECOLLECTION", "7", 1, true},
    };
    const std::filesystem::path file = Folder() / "Dunes_Ann.plr";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        FreshBoard();
        GameInfo game;
        game.Name = "Dunes";
        St().Games.PushBack(game);
        St().CurrentGame = 1;
        St().CurrentProfile.Name = "Ann";
        std::filesystem::remove(file);
        Card elf;
        elf.Name = "Elf";
        InitCard(elf, 2, 0);
        St().Players[2].OrigDeck.PushBack(elf);
        Card owned = OwnedRelic();
        St().Collection.PushBack(owned);
        List<Card>& deck = St().PlayerDecks[1].Cards;
        owned.GID = 888;
        deck.PushBack(owned);

        if (r.deck < 0) {
            Run(imp, orc, Script(imp, r.script));
        } else {
            const int e = Script(imp, r.script, "PHASE1", kTargetCollection);
            C(imp).Effects[e].Target = 1;
            C(imp).Effects[e].DeckSel = static_cast<uint8_t>(r.deck);
            RunActions(C(imp), "PHASE1");
        }
        Card& changed = r.deck > 0 ? deck[1] : St().Collection[1];
        EXPECT_EQ(GetTrait(changed, "POWER").Text(), r.power);
        int named = 0;
        for (const Card& card : St().Collection)
            named += card.Name.empty() ? 0 : 1;
        EXPECT_EQ(named, r.collection);
        if (r.saved) {
            const std::string power = "\"POWER:" + std::string(r.power) + "\"";
            EXPECT_NE(ReadWholeFile(file).value_or("").find(power), std::string::npos)
                << "the save saw the change";
        }
    }
}

TEST_F(TargetingCommandsTest, SetCardTargetSpreadsThePlayersChoice) {
    const int first = Script(imp, "SETCARDTARGET");
    const int second = Script(imp, "ECHO:x");
    C(imp).Effects[first].Target = orc;
    EXPECT_EQ(Run(imp, orc, first), 2);
    EXPECT_EQ(C(imp).PresetTarget, orc);
    EXPECT_EQ(C(imp).Effects[second].Target, orc);

    const int theirs = Script(orc, "SETCARDTARGET");
    C(orc).Effects[theirs].Target = imp;
    EXPECT_EQ(Run(orc, imp, theirs), 2) << "counted as applied all the same";
    EXPECT_EQ(C(orc).PresetTarget, 0);
}

// A "TARGETED" reaction of the Orc turns the Imp's action away. Picking prefers the picking
// card's own player card, so the redirect of an action aimed at the Orc goes to F.
TEST_F(TargetingCommandsTest, RedirectsTurnTheIncomingActionAway) {
    const CommandRow rows[] = {
        {"T.HP=10", "T|TARGETED|7|REDIRECT:", "MODTRAIT:HP:-3", 2, "T.HP=10,F.HP=17", ""},
        {"T.HP=10,T.NOREDIRECT=1", "T|TARGETED|7|REDIRECT:", "MODTRAIT:HP:-3", 2, "T.HP=7", ""},
        {"T.HP=10", "T|TARGETED|7|REDIRECTBYGID:1001", "MODTRAIT:HP:-3", 2, "T.HP=10,H.HP=17", ""},
        {"T.HP=10,T.NOREDIRECT=1", "T|TARGETED|7|REDIRECTBYGID:1001", "MODTRAIT:HP:-3", 2,
         "T.HP=7,H.HP=20", ""},
        // The side requirement goes; the redirected action still runs its other commands.
        {"T.HP=10", "T|TARGETED|7|REDIRECTBYGID:1001", "REQENEMY:MODTRAIT:HP:-3:ECHO:moved", 2,
         "H.HP=17", "moved"},
        {"T.HP=10,T.SHIELD=2", "T|BEFORETRAITCHANGE:HP|7|REDIRECTTRAIT:SHIELD", "MODTRAIT:HP:-5", 2,
         "T.SHIELD=0,T.HP=7", ""},
        {"T.HP=10,T.SHIELD=7", "T|BEFORETRAITCHANGE:HP|7|REDIRECTTRAIT:SHIELD", "MODTRAIT:HP:-5", 2,
         "T.SHIELD=2,T.HP=10", ""},
    };
    for (const CommandRow& row : rows)
        Check(row);
}

TEST_F(TargetingCommandsTest, ARedirectDoesNotOutliveTheRunItWasMadeFor) {
    const char* const sendAway =
        "T|BEFORETRAITCHANGE:HP|7|REDIRECTBYGID:1001;T|TRAITCHANGE:MOOD|7|";
    struct Row {
        const char* reaction;  // the Orc's answer to a change of its MOOD
        const char* after;
    };
    const Row rows[] = {
        // The change of HP is sent away; the reaction stops, the Imp's own run goes on.
        {"MODTRAIT:HP:-3", "T.HP=10,T.GOLD=1"},
        {"MODTRAIT:HP:-3:MODTRAIT:ARMOR:1", "T.HP=10,T.ARMOR=,T.GOLD=1"},
    };
    for (const Row& r : rows) {
        const std::string effects = std::string(sendAway) + r.reaction;
        Check({"T.HP=10", effects.c_str(), "SETTRAIT:MOOD:ANGRY:MODTRAIT:GOLD:1", 2, r.after, ""});
        EXPECT_EQ(St().RedirectTarget, 0);
    }
    // Within the run the redirect was made for, the rest of that run stops.
    Check({"T.HP=10", "T|BEFORETRAITCHANGE:HP|7|REDIRECTBYGID:1001",
           "MODTRAIT:HP:-3:MODTRAIT:ARMOR:1", 0, "T.HP=10,T.ARMOR=", ""});
    EXPECT_EQ(St().RedirectTarget, 0);
    EXPECT_EQ(Run(imp, orc, Script(imp, "MODTRAIT:ARMOR:1")), 2) << "the next effect is free";
    EXPECT_EQ(Trait(orc, "ARMOR"), "1");
}

TEST_F(TargetingCommandsTest, ScriptFieldsFollowTheCompilersPositions) {
    const int e = Script(imp, "ECHO:a");
    EffArgs args;
    args.effectIndex = e;
    RunContext run(C(imp), C(orc), args);
    struct Row {
        const char* text;
        int position;
        int field;
    };
    const Row rows[] = {
        {"ECHO:a:RETARGET:SELF:ECHO:b", 3, 3},
        {"X:ECHO:a:RETARGET:SELF:ECHO:b", 3, 4},
        {"AIECHO:a:Y:Z:RETARGET:SELF", 4, 6},
        {"REDIRECT:REQTRAIT:HP:ECHO:b", 3, 3},
        {"X:REDIRECT:REQTRAIT:HP", 3, 4},
        {"TRAIT:BONUSACTION:TRAIT:BONUSACTION:1:ECHO:a", 4, 6},
    };
    for (const Row& r : rows) {
        run.actionText = r.text;
        EXPECT_EQ(ScriptField(run, r.position), r.field) << r.text;
    }
}

}  // namespace
}  // namespace dv
