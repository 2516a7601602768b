#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/interpreter/run_budget.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "tests/engine/interpreter/card_command_board.h"

namespace dv {
namespace {

class TokenCommandsTest : public test::CardCommandBoardTest {
  protected:
    // An empty collection, and a stock of one card that is always drawn.
    static void EmptyCollectionAndOneElfInStock() {
        St().Collection = List<Card>();
        St().Players[2].OrigDeck = List<Card>();
        St().Players[2].OrigDeck.PushBack(Loose("Elf"));
    }
};

// Stands in for the trait requirement, whose family lives elsewhere.
void RequireTrait(RunContext& run) {
    if (!HasTrait(run.target, Arg(run, 1))) FailRequirement(run, "");
}

// Every card description opens so.
const char* const kDescription = "<table width=100%><tr><td bgcolor=#0>";

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(TokenCommandsTest, TokensChangeOnlyWhenThereAreEnough) {
    struct Row {
        const char* script;
        int owner;  // of the card that runs it
        int32_t tokensBefore;
        uint8_t preview;
        int result;
        int32_t tokensAfter;
        const char* echo;     // in the turn log
        const char* notEcho;  // not in it
    };
    const Row rows[] = {
        {"MODTOKENS:-50", 1, 30, 0, 0, 30, "Not enough tokens!<br>", "You now have"},
        {"MODTOKENS:-50", 1, 80, 0, 2, 30, "You now have 30 tokens.", "Not enough"},
        {"SUBTOKENS:20", 1, 100, 0, 2, 80, "You now have 80 tokens.  ", ""},
        {"SUBTOKENS:200:ECHO:after", 1, 100, 0, 0, 100, "Not enough tokens!", "after"},
        {"AISUBTOKENS:200:ECHO:after", 1, 100, 0, 1, 100, "after", "You now have"},
        {"MODTOKENS:25", 2, 10, 0, 2, 35, "You now have 35 tokens.", ""},
        {"MODTOKENS:1000", 1, 2147483600, 0, 2, 2147483647, "You now have 2147483647", ""},
        {"SUBTOKENS:-1000000000000", 1, 5, 0, 2, 2147483647, "2147483647", ""},
        {"MODTOKENS:2.5", 1, 0, 0, 2, 2, "You now have 2 tokens.", ""},
        {"MODTOKENS:50:ECHO:x", 1, 10, 1, 2, 10, "", "x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        St().Players[1].Tokens = r.tokensBefore;
        const int imp = Place("Imp", r.owner);
        EXPECT_EQ(RunScript(imp, foe, r.script, r.preview), r.result);
        EXPECT_EQ(St().Players[1].Tokens, r.tokensAfter);
        EXPECT_EQ(St().Players[2].Tokens, 0);
        if (*r.echo) {
            EXPECT_NE(St().TurnLog.find(r.echo), std::string::npos) << St().TurnLog;
        }
        if (*r.notEcho) {
            EXPECT_EQ(St().TurnLog.find(r.notEcho), std::string::npos) << St().TurnLog;
        }
    }
}

TEST_F(TokenCommandsTest, BoostersEndAndAddOnlyDrawableCards) {
    struct Row {
        std::vector<Card> stock;
        const char* script;
        uint8_t preview;
        int result;
        int added;            // named cards in the collection afterwards
        const char* echo;     // in the turn log
        const char* notEcho;  // not in it
    };
    const Row rows[] = {
        {{Loose("Elf"), Loose("Orc", 1)}, "BOOSTER:4", 0, 2, 4, "Elf", "Max attempts"},
        {{}, "BOOSTER:3", 0, 1, 0, "Max attempts exceeded.", ""},
        {{Loose("Relic", 200)}, "BOOSTER:2", 0, 1, 0, "Max attempts exceeded.", "Relic"},
        {{Loose("")}, "BOOSTER:1", 0, 1, 0, "Max attempts exceeded.", ""},
        {{Loose("Relic", 200), Loose("Elf")}, "BOOSTER:3", 0, 2, 3, "Elf", "Relic"},
        {{Loose("Elf")}, "BOOSTER:2", 1, 2, 0, "", "Elf"},
        {{Loose("Elf")}, "BOOSTER:-2", 0, 2, 0, "", "Elf"},
        {{Loose("Elf")}, "BOOSTER:1000000000000", 0, 2, 100, "Elf", ""},
        {{Loose("Elf")}, "BOOSTERCARD:Elf:2", 0, 2, 2, "Elf", ""},
        {{Loose("Elf")}, "UNAMEBOOSTERCARD:Elf-u:1", 0, 2, 1, "Elf", ""},
        {{Loose("Elf")}, "BOOSTERCARD:Nobody:3", 0, 1, 0, "Non-existant card", ""},
        {{Loose("Elf")}, "BOOSTERCARD:Elf:3", 1, 2, 0, "", "Elf"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        St().Collection = List<Card>();
        St().Players[2].OrigDeck = List<Card>();
        for (const Card& card : r.stock)
            St().Players[2].OrigDeck.PushBack(card);
        const int imp = Place("Imp", 1);
        EXPECT_EQ(RunScript(imp, foe, r.script, r.preview), r.result);
        EXPECT_EQ(Named(St().Collection), r.added);
        if (*r.echo) {
            EXPECT_NE(St().TurnLog.find(r.echo), std::string::npos) << St().TurnLog;
        }
        if (*r.notEcho) {
            EXPECT_EQ(St().TurnLog.find(r.notEcho), std::string::npos) << St().TurnLog;
        }
    }
}

TEST_F(TokenCommandsTest, ABoosterBreaksTheRowAfterEveryFourthCard) {
    St().Players[2].OrigDeck.PushBack(Loose("Elf"));
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "BOOSTER:5");
    EXPECT_EQ(Count(St().TurnLog, kDescription), 5);
    EXPECT_EQ(Count(St().TurnLog, "</table><br><br><table"), 1) << St().TurnLog;
    EXPECT_EQ(Count(St().TurnLog, "</table><br><br>"), 2) << "and once at the end";
}

TEST_F(TokenCommandsTest, BoosterWithRequirementsTakesMatchingCardsAndStampsThem) {
    StandIn("REQTRAIT", RequireTrait);
    auto& stock = St().Players[2].OrigDeck;
    stock.PushBack(Loose("Ice"));
    stock.PushBack(Loose("Fire", 0, {{"FIRE", "1"}}));
    stock.PushBack(Loose("Rock"));
    const int imp = Place("Imp", 1);
    const int effects = C(imp).Effects.size();
    EXPECT_EQ(RunScript(imp, foe, "BOOSTERWITHREQS:3:REQTRAIT:FIRE:RECOLORTARGET:#112233"), 2);
    ASSERT_EQ(Named(St().Collection), 3);
    for (const Card& card : St().Collection) {
        EXPECT_EQ(card.Name, "Fire");
        EXPECT_EQ(card.Colour, "#112233") << "the rest of the script is applied to each card";
    }
    EXPECT_EQ(Count(St().TurnLog, kDescription), 3) << "descriptions go to the turn log";
    EXPECT_EQ(stock[2].Colour, "#FFFFFF") << "the stock card itself is not stamped";
    int stamps = 0;
    for (const Effect& effect : std::as_const(C(imp).Effects))
        stamps += effect.Text.rfind("TRAIT:BONUSACTION:", 0) == 0;
    EXPECT_EQ(stamps, 0) << "a stamp that has run does not stay on the card";
    EXPECT_LE(C(imp).Effects.size(), effects + 2) << "each stamp takes the slot the last one freed";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TokenCommandsTest, BoosterWithRequirementsNoCardMeetsEndsAtTheAttemptLimit) {
    StandIn("REQTRAIT", RequireTrait);
    St().Players[2].OrigDeck.PushBack(Loose("Ice"));
    const int imp = Place("Imp", 1);
    EXPECT_EQ(RunScript(imp, foe, "BOOSTERWITHREQS:2:REQTRAIT:WATER"), 2);
    EXPECT_EQ(host.CountMessages("Max attempts exceeded."), 1) << "once per command, not per card";
    EXPECT_EQ(Count(St().TurnLog, "Max attempts exceeded."), 1);
    EXPECT_EQ(Named(St().Collection), 1)
        << "the last card drawn is taken all the same, and no more is drawn";

    St().Collection = List<Card>();
    St().Players[2].OrigDeck = List<Card>();
    EXPECT_EQ(RunScript(imp, foe, "BOOSTERWITHREQS:2:REQTRAIT:WATER"), 0) << "empty stock";
    EXPECT_EQ(Named(St().Collection), 0);
}

// Requirement trials run (the stamp of a card taken is none). A card with WATER meets the
// requirement; with `metOneIn` set, so does one trial in about that many, drawn at random.
int trials = 0;
int metOneIn = 0;
void CountedRequirement(RunContext& run) {
    if (!run.Preview()) return;
    ++trials;
    if (HasTrait(run.target, "WATER")) return;
    if (metOneIn > 0 && RandomNum(metOneIn) == 1) return;
    FailRequirement(run, "");
}

// A requirement no card meets once ran the attempt limit's trials for every card: 100,000 for
// BOOSTERWITHREQS:100, a third of a second. A bound on all draws of a command then cut a
// requirement that one stock card in 600 meets to 1 to 6 of 10 cards. No card is tried twice
// while nothing is taken, and drawing ends once it is known that no stock card meets the
// requirement; any other requirement keeps every card it asks for.
TEST_F(TokenCommandsTest, TheRequirementTrialsOfOneBoosterAreBoundedAsAWhole) {
    StandIn("REQTRAIT", CountedRequirement);
    struct Row {
        const char* what;
        int stock;  // cards, the first of them with WATER when `water`
        bool water;
        int metOneIn;
        const char* script;
        int added;
        int watery;     // of the added cards at least this many have WATER
        int maxTrials;  // made in all
        int messages;   // "Max attempts exceeded."
    };
    const Row rows[] = {
        {"no card meets it", 1, false, 0, "BOOSTERWITHREQS:100:REQTRAIT:X", 1, 0, 1, 1},
        {"met at random", 1, false, 500, "BOOSTERWITHREQS:30:REQTRAIT:X", 30, 0, 30 * 1000, 1},
        {"one card in 600 meets it", 600, true, 0, "BOOSTERWITHREQS:10:REQTRAIT:X", 10, 5, 10 * 600,
         1},
        {"none of 600 meets it", 600, false, 0, "BOOSTERWITHREQS:100:REQTRAIT:X", 1, 0, 600, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        St().Collection = List<Card>();
        St().Players[2].OrigDeck = List<Card>();
        for (int c = 1; c <= r.stock; ++c) {
            const std::string name = "Card" + std::to_string(c);
            St().Players[2].OrigDeck.PushBack(r.water && c == 1 ? Loose(name, 0, {{"WATER", "1"}})
                                                                : Loose(name));
        }
        host.messages.clear();
        trials = 0;
        metOneIn = r.metOneIn;
        RunScript(Place("Imp", 1), foe, r.script);
        EXPECT_LE(trials, r.maxTrials);
        EXPECT_EQ(Named(St().Collection), r.added);
        int watery = 0;
        for (const Card& card : St().Collection)
            watery += card.Name == "Card1" && r.water;
        EXPECT_GE(watery, r.watery);
        EXPECT_LE(host.CountMessages("Max attempts exceeded."), r.messages);
    }
}

// An empty requirement text once ran the effect's own script again for every trial and every
// card: BOOSTERWITHREQS:3 added 59,046 cards and BOOSTERWITHREQS:4 never ended.
TEST_F(TokenCommandsTest, BoosterWithoutRequirementsTakesEachCardOnceAndNeverRunsItselfAgain) {
    struct Row {
        const char* script;
        int added;
    };
    const Row rows[] = {
        {"BOOSTERWITHREQS:3", 3},
        {"BOOSTERWITHREQS:4", 4},
        {"BOOSTERWITHREQS:3:", 3},
        {"ECHO:x:BOOSTERWITHREQS:2", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        EmptyCollectionAndOneElfInStock();
        const int imp = Place("Imp", 1);
        EXPECT_EQ(RunScript(imp, foe, r.script), 2);
        EXPECT_EQ(Named(St().Collection), r.added);
        EXPECT_EQ(Count(St().TurnLog, kDescription), r.added);
        int effects = 0;
        for (const Effect& effect : C(imp).Effects)
            effects += effect.Text.empty() ? 0 : 1;
        EXPECT_EQ(effects, 1) << "no bonus action was added to stamp the cards";
    }
    EXPECT_TRUE(host.messages.empty());
}

// A booster in a booster's requirement text runs once for every card of the outer one: 75 in
// 75 stalled the game for seconds. The boosters nested in a booster share its card limit, while
// small nestings and boosters one after another keep every card they ask for.
TEST_F(TokenCommandsTest, BoostersNestedInABoosterOrRepeatedShareItsCardLimit) {
    struct Row {
        const char* script;
        int added;
    };
    const Row rows[] = {
        {"BOOSTERWITHREQS:3:BOOSTERWITHREQS:2:RECOLORTARGET:#112233", 3 + 3 * 2},
        {"BOOSTERWITHREQS:75:BOOSTERWITHREQS:75:RECOLORTARGET:#112233", 100},
        {"BOOSTERWITHREQS:10:BOOSTERWITHREQS:10:BOOSTERWITHREQS:10", 100},
        {"BOOSTERWITHREQS:100:BOOSTER:5", 100},
        {"BOOSTERWITHREQS:10:BOOSTERCARD:Elf:5", 10 + 10 * 5},
        {"BOOSTERWITHREQS:98:UNAMEBOOSTERCARD:Elf-u:5", 100},
        {"BOOSTER:100:BOOSTER:100:BOOSTERCARD:Elf:100", 300},
        // A run's repetitions draw on what the run's own boosters left.
        {"REPEAT:SELF:3:BOOSTER:20", 20 + 3 * 20},
        {"REPEAT:SELF:100:BOOSTER:60", 100},
        {"REPEAT:SELF:100:BOOSTERWITHREQS:100:RECOLORTARGET:#112233", 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        EmptyCollectionAndOneElfInStock();
        const int imp = Place("Imp", 1);
        EXPECT_EQ(RunScript(imp, foe, r.script), 2);
        EXPECT_EQ(Named(St().Collection), r.added);
        EXPECT_EQ(St().BoosterCardsLeft, -1) << "no booster is left open";
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TokenCommandsTest, BoosterWithRequirementsEndsTheProgramAndTrialsChangeNothing) {
    St().Players[2].OrigDeck.PushBack(Loose("Elf"));
    const int imp = Place("Imp", 1);
    EXPECT_EQ(RunScript(imp, foe, "BOOSTERWITHREQS:1:RECOLORME:#000000", 1), 2);
    EXPECT_EQ(Named(St().Collection), 0);
    EXPECT_EQ(C(imp).Colour, "#FFFFFF");
}

// Once the budget was spent, a requirement trial it dropped counted as met: BOOSTERWITHREQS:5 then
// handed out five cards drawn at random, whether they met the requirement or not. A dropped
// trial tried nothing: it is not met, and the booster ends as for a requirement no card meets.
TEST_F(TokenCommandsTest, ARequirementTrialTheBudgetDroppedIsNotMet) {
    StandIn("REQTRAIT", RequireTrait);
    struct Row {
        const char* what;
        long long runsLeft;  // of the turn's budget when the booster runs
        int added;
        int fire;  // of them, meeting the requirement
        int messages;
    };
    const Row rows[] = {
        {"the budget holds the trials", kMaxTurnRuns, 5, 5, 0},
        {"the booster's own run is the last", 1, 1, -1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        St().Collection = List<Card>();
        St().Players[2].OrigDeck = List<Card>();
        St().Players[2].OrigDeck.PushBack(Loose("Ice"));
        St().Players[2].OrigDeck.PushBack(Loose("Fire", 0, {{"FIRE", "1"}}));
        host.messages.clear();
        const int imp = Place("Imp", 1);
        const TurnBudget turn;
        St().RunBudget.TurnRuns = kMaxTurnRuns - r.runsLeft;
        RunScript(imp, foe, "BOOSTERWITHREQS:5:REQTRAIT:FIRE");
        EXPECT_EQ(Named(St().Collection), r.added);
        int fire = 0;
        for (const Card& card : St().Collection)
            fire += card.Name == "Fire";
        if (r.fire >= 0) {
            EXPECT_EQ(fire, r.fire);
        }
        EXPECT_EQ(host.CountMessages("Max attempts exceeded."), r.messages);
    }
}

// The draw count of the generator as each requirement trial began. The trials fail until
// `failFirst` have run; each draws one number.
std::vector<uint64_t> trialDraws;
std::size_t failFirst = 0;
void DrawingRequirement(RunContext& run) {
    if (!run.Preview()) return;
    trialDraws.push_back(St().Random.Draws());
    RandomNum(2);
    if (trialDraws.size() <= failFirst) FailRequirement(run, "");
}

// Once a card's draws reach the attempt limit, the booster asks whether some stock card may meet
// the requirement at all, by trials. What those trials drew is put back: the next card's draws
// go on from where the limit left the generator, as they would had nothing been asked.
TEST_F(TokenCommandsTest, AskingWhetherSomeCardMayMeetLeavesTheGeneratorWhereItWas) {
    StandIn("REQTRAIT", DrawingRequirement);
    EmptyCollectionAndOneElfInStock();
    trialDraws.clear();
    failFirst = 1000;  // the attempt limit: the first card's draws all fail
    RunScript(Place("Imp", 1), foe, "BOOSTERWITHREQS:2:REQTRAIT:X");
    EXPECT_EQ(Named(St().Collection), 2);
    ASSERT_EQ(trialDraws.size(), failFirst + 2);
    // Trial 1001 asked whether some card may meet it. Then the first card drew its identifier, and
    // the second card a stock card and its rarity: three numbers before trial 1002.
    EXPECT_EQ(trialDraws[failFirst + 1], trialDraws[failFirst] + 3);
}

TEST_F(TokenCommandsTest, SaveCollectionWritesThePlayerFileButNotInATrial) {
    St().Collection.PushBack(Loose("Elf"));
    GameInfo game;
    game.Name = "Dunes";
    St().Games.PushBack(game);
    St().CurrentGame = 1;
    St().CurrentProfile.Name = "Ann";
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "SAVECOLLECTION", 1);
    EXPECT_FALSE(std::filesystem::exists(Folder() / "Dunes_Ann.plr"));
    RunScript(imp, foe, "SAVECOLLECTION");
    EXPECT_TRUE(std::filesystem::exists(Folder() / "Dunes_Ann.plr"));
}

}  // namespace
}  // namespace dv
