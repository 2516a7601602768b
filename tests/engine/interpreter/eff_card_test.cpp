#include "engine/interpreter/eff_card.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

using EffCardTest = test::BoardTest;

// Stand-ins for commands of families built elsewhere, so the frame is tested on its own.
void FailingRequirement(RunContext& run) {
    FailRequirement(run, "Requires " + Arg(run, 1) + ".");
}
void MissedChance(RunContext& run) {
    ++run.misses;
    run.endLoop = true;
}
void MissAndGoOn(RunContext& run) {
    ++run.misses;
}

TEST_F(EffCardTest, ResultFollowsAppliedFailedAndMissedCounts) {
    StandIn("REQCARDISDEAD", FailingRequirement);
    StandIn("CHANCE", MissedChance);
    StandIn("ONECHANCE", MissAndGoOn);
    struct Row {
        const char* script;
        int owner;
        int32_t result;
        const char* failReason;
    };
    const Row rows[] = {
        {"ECHO:hit", 2, 2, ""},
        {"TRAIT:COLOR:RED", 2, 2, ""},  // the end of the program counts as applied
        {"REQCARDISDEAD:WINGS:ECHO:hit", 2, -1, "Requires WINGS."},
        {"AIREQCARDISDEAD:WINGS:ECHO:hit", 2, 1, "Requires WINGS."},
        {"AIREQCARDISDEAD:WINGS:ECHO:hit", 1, 2, "Requires WINGS."},  // taken back for player 1
        {"ECHO:hit:ONECHANCE:0", 2, 1, ""},
        {"CHANCE:0:ECHO:hit", 2, 0, ""},
        {"ECHOLOCKED:x:REQCARDISDEAD:WINGS", 2, -1, "Requires WINGS."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        const int card = Place("Imp", r.owner);
        const int e = Script(card, r.script);
        EXPECT_EQ(Run(card, foe, e), r.result);
        EXPECT_EQ(St().FailReason, r.failReason);
        EXPECT_EQ(St().NestingDepth, 0);
    }
}

// An outermost run's echo shows its two cards' pictures as they were when it began. Building them
// for every run was most of what a run whose requirement fails costs on a crowded board, so a run
// builds them only when it shows them; a run that changes its cards, or whose target's reaction
// does, after or before it echoes still shows them as they began.
TEST_F(EffCardTest, ARunBuildsItsCardPicturesOnlyWhenItShowsThemAsTheyBegan) {
    struct Row {
        const char* script;
        const char* reaction;  // the target's TARGETED reaction, or empty
        int builds;
        bool shown;  // in the turn log
    };
    const Row rows[] = {
        {"REQTRAIT:WINGS:ECHO:hit", "", 0, false},
        {"REQTRAIT:HP:REQNAME:Nobody:RENAME:Bob:ECHO:hit", "", 0, false},
        {"REQTRAIT:HP:ECHOMINOR:hit", "", 0, false},
        {"ECHOMINOR:$MYIMG and $TARGETIMG", "", 1, true},
        {"REQTRAIT:HP:ECHO:hit", "", 1, true},
        {"ECHO:hit:RENAME:Bob:RECOLOR:#00FF00", "", 1, true},
        {"RENAME:Bob:RECOLOR:#00FF00:ECHO:hit", "", 1, true},
        {"RENAMEME:Bob:ECHO:$MYIMG", "", 1, true},
        {"REQTRAIT:HP:ECHO:hit", "RENAMEME:Changed", 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        const int imp = Place("Imp", 1, {{"HP", "5"}});
        const int target = Place("Wisp", 2, {{"HP", "5"}});
        C(imp).Picture = "imp.jpg";
        C(target).Picture = "wisp.jpg";
        if (*r.reaction) Script(target, r.reaction, "TARGETED", kTargetSelf);
        const int e = Script(imp, r.script);
        Card source = C(imp);
        Card aimed = C(target);
        const std::string pictures[] = {CLink(source, -1, 1), CLink(aimed, -1, 1)};
        St().TurnLog.clear();
        const long long builds = RunPictureBuilds();

        Run(imp, target, e);

        EXPECT_EQ(RunPictureBuilds() - builds, r.builds);
        for (const std::string& picture : pictures)
            EXPECT_EQ(St().TurnLog.find(picture) != std::string::npos, r.shown) << picture;
    }
}

// Each outermost run that echoes nothing leaves the closing of its echo's frame for the next echo
// to take; a turn of hundreds of thousands of them piled up more than the turn log can take.
TEST_F(EffCardTest, TheClosingsOfRunsThatEchoNothingStayWithinTheLogsBound) {
    const std::string closing = "</td></tr></table></p>";
    const int imp = Place("Imp", 1);
    const int e = Script(imp, "REQNAME:Nobody:ECHO:hit");
    std::string& closings = EchoPart(St().EchoParts, 7);
    closings.clear();
    for (std::size_t size = 0; size + closing.size() <= kMaxTurnLogBytes; size += closing.size())
        closings += closing;
    const std::size_t full = closings.size();

    EXPECT_EQ(Run(imp, foe, e), -1);

    EXPECT_EQ(EchoPart(St().EchoParts, 7).size(), full);
}

TEST_F(EffCardTest, SetUpRefusesEmptyDeadInactiveAndFinishedGames) {
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:hit");
    const int last = Script(imp, "ECHO:farewell", "ONDEATH");

    C(foe).Name.clear();
    EXPECT_EQ(Run(imp, foe, e), -1) << "a free slot is no target";
    C(foe).Name = "Foe";

    EXPECT_EQ(Run(imp, foe, 99), -1) << "an effect number the card lacks";

    C(foe).Dead = 1;
    EXPECT_EQ(Run(imp, foe, e), -1) << "a dead target only takes ONDEATH effects";
    EXPECT_EQ(Run(imp, foe, last), 2);
    C(foe).Dead = 0;

    C(foe).Active = 0;
    EXPECT_EQ(Run(imp, foe, e), -1) << "an inactive target in an ordinary real run";
    C(foe).Active = 1;

    St().GameOver = 1;
    EXPECT_EQ(Run(imp, foe, e), 0) << "after the game only ONDEATH runs at the outermost level";
    EXPECT_EQ(Run(imp, foe, last), 2);
    EXPECT_EQ(St().NestingDepth, 0);
}

int deepest = 0;
int trialRuns = 0;
void Recurse(RunContext& run) {
    deepest = std::max(deepest, St().NestingDepth);
    if (run.Preview()) ++trialRuns;
    EffArgs again;
    again.effectIndex = run.args.effectIndex;
    again.preview = run.args.preview;
    again.copies = run.args.copies;
    EffCard(run.source, run.target, again);
}
// Nested calls that lower the depth around themselves, as redirects and repeats do.
int calls = 0;
void RecurseLevel(RunContext& run) {
    ++calls;
    EffArgs again;
    again.effectIndex = run.args.effectIndex;
    --St().NestingDepth;
    EffCard(run.source, run.target, again);
    ++St().NestingDepth;
}
void Throw(RunContext&) {
    throw std::out_of_range("list index 0");
}

TEST_F(EffCardTest, NestingStopsAtTheLimitAndTrialsStopSooner) {
    StandIn("BREAKPOINT", Recurse);
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "BREAKPOINT");

    deepest = 0;
    EXPECT_EQ(Run(imp, foe, e), 2);
    EXPECT_EQ(deepest, kMaxNesting - 1) << "the tenth nested run ends before its commands";
    EXPECT_EQ(St().NestingDepth, 0);

    deepest = 0;
    trialRuns = 0;
    EXPECT_EQ(Run(imp, foe, e, 1), 2);
    EXPECT_EQ(trialRuns, kMaxTrialNesting) << "a trial nested deeper answers 2 at once";
    EXPECT_EQ(St().NestingDepth, 0);
}

TEST_F(EffCardTest, NestedCallsAtOneLevelStillEnd) {
    StandIn("BREAKPOINT", RecurseLevel);
    const int imp = Place("Imp", 2);
    calls = 0;
    EXPECT_EQ(Run(imp, foe, Script(imp, "BREAKPOINT")), 2);
    EXPECT_GT(calls, kMaxNesting);
    EXPECT_LT(calls, 100);
    EXPECT_EQ(St().NestingDepth, 0);
    EXPECT_EQ(St().CallFrames, 0);
}

TEST_F(EffCardTest, AFailingCommandIsReportedOnceAndTheDepthIsRestored) {
    StandIn("BREAKPOINT", Throw);
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "BREAKPOINT:ECHO:still:BREAKPOINT");
    EXPECT_EQ(Run(imp, foe, e), 2);
    EXPECT_EQ(host.CountMessages("Error in EffCard"), 1);
    EXPECT_EQ(St().NestingDepth, 0);
    EXPECT_NE(St().TurnLog.find("still"), std::string::npos) << "the run went on";
}

// Marks and changes a trial run must never carry into the game.
void ChangeEverything(RunContext& run) {
    SetTrait(run.target, "HP", "1");
    SetTrait(run.source, "HP", "1");
    run.destroySource = true;
    run.destroyTarget = true;
    run.pendingWinner = 1;
    run.deleteEffect = true;
    ++run.applied;
}

TEST_F(EffCardTest, ATrialRunLeavesTheGameAsItWas) {
    StandIn("BREAKPOINT", ChangeEverything);
    const int imp = Place("Imp", 2, {{"HP", "5"}});
    const int e = Script(imp, "ECHO:boom:BREAKPOINT");
    Script(foe, "ECHO:ouch", "TARGETED", 7);
    Script(imp, "ECHO:mine", "MYACTION", 7);
    Register(imp);
    Register(foe);
    St().Players[1].Tokens = 500;

    const auto inPlay = St().InPlay;
    const auto registry = St().TriggerRegistry;
    EXPECT_EQ(Run(imp, foe, e, 1), 2);
    EXPECT_TRUE(St().InPlay == inPlay);
    for (std::size_t t = 0; t < registry.size(); ++t) {
        EXPECT_TRUE(St().TriggerRegistry[t].Cards == registry[t].Cards);
        EXPECT_TRUE(St().TriggerRegistry[t].Effects == registry[t].Effects);
    }
    EXPECT_EQ(St().TurnLog, "");
    EXPECT_EQ(St().CardQueueCount, 0);
    EXPECT_EQ(St().Players[1].Tokens, 500);
    EXPECT_EQ(St().GameOver, 0);

    EXPECT_EQ(Run(imp, foe, e), 2) << "the same run for real does change the game";
    EXPECT_EQ(C(imp).Dead, 1);
    EXPECT_EQ(C(foe).Dead, 1);
    EXPECT_EQ(C(imp).Effects[e].Text, "");
}

// Everything of the game a trial run must leave alone.
struct GameSnapshot {
    StableList<Card> inPlay;
    std::vector<TriggerSlot> registry;
    List<Card> queue;
    int queueCount;
    List<Card> collection;
    std::vector<Player> players;
    std::string turnLog;
    uint8_t gameOver;
    EffectOutcome effectOutcome;
    int32_t redirectTarget;
    std::string addEffectText;

    static GameSnapshot Take() {
        const State& st = St();
        GameSnapshot s{
            st.InPlay,  {},          st.CardQueue,     st.CardQueueCount, st.Collection,   {},
            st.TurnLog, st.GameOver, st.EffectOutcome, st.RedirectTarget, st.AddEffectText};
        s.registry.assign(st.TriggerRegistry.begin(), st.TriggerRegistry.end());
        for (const Player& p : st.Players)
            s.players.push_back(p);
        return s;
    }
    void ExpectSame() const {
        const GameSnapshot now = Take();
        EXPECT_TRUE(now.inPlay == inPlay) << "a card in play changed";
        for (std::size_t t = 0; t < registry.size(); ++t) {
            EXPECT_TRUE(now.registry[t].Cards == registry[t].Cards) << "registry slot " << t;
            EXPECT_TRUE(now.registry[t].Effects == registry[t].Effects) << "registry slot " << t;
        }
        EXPECT_TRUE(now.queue == queue);
        EXPECT_EQ(now.queueCount, queueCount);
        EXPECT_TRUE(now.collection == collection) << "the collection changed";
        ASSERT_EQ(now.players.size(), players.size());
        for (std::size_t p = 0; p < players.size(); ++p) {
            EXPECT_EQ(now.players[p].Tokens, players[p].Tokens) << "player " << p + 1;
            EXPECT_TRUE(now.players[p].Hand == players[p].Hand) << "player " << p + 1;
            EXPECT_TRUE(now.players[p].Deck == players[p].Deck) << "player " << p + 1;
            EXPECT_EQ(now.players[p].CardIndex, players[p].CardIndex) << "player " << p + 1;
        }
        EXPECT_EQ(now.turnLog, turnLog);
        EXPECT_EQ(now.gameOver, gameOver);
        EXPECT_EQ(now.effectOutcome, effectOutcome);
        EXPECT_EQ(now.redirectTarget, redirectTarget);
        EXPECT_EQ(now.addEffectText, addEffectText);
    }
};

TEST_F(EffCardTest, NoCommandOfATrialRunChangesTheGame) {
    const char* scripts[] = {
        "MODTRAIT:HP:-30",
        "SETTRAIT:HP:0",
        "MODMYTRAIT:HP:-30",
        "MODOWNERTRAIT:HP:-5",
        "ADDTRAIT:WINGS:1",
        "REMOVETRAIT:HP",
        "DESTROY",
        "DESTROYME",
        "REMOVE",
        "RETURNTOHAND",
        "RETURNMETOHAND",
        "DRAWCARDS:1",
        "DUPLICATE:1",
        "DUPLICATEME:1",
        "ADDEFFECT:PHASE1:SELF:ECHO:added",
        "DELETEEFFECT",
        "MINDCONTROL",
        "MINDCONTROLME",
        "DEFECT",
        "JOIN",
        "MODTOKENS:50",
        "SUBTOKENS:10",
        "WINGAME",
        "LOSEGAME",
        "REPEAT:2:ECHO:again",
        "REDIRECT:Hero",
        "RETARGET:Hero:MODTRAIT:HP:-1",
        "CHANGENAME:Renamed",
        "RENAMETARGET:Renamed",
        "RECOLORTARGET:#123456",
        "ECHO:loud",
    };
    const int imp = Place("Imp", 2, {{"HP", "10"}});
    const int wolf = Place("Wolf", 1, {{"HP", "10"}});
    Script(wolf, "MODTOKENS:5", "TARGETED", 7);
    Script(wolf, "MODTOKENS:7", "ONDEATH", 7);
    Script(wolf, "MODTOKENS:3", "TRAITCHANGE:HP", 7);
    Script(imp, "ECHO:mine", "MYACTION", 7);
    Register(imp);
    Register(wolf);
    St().Players[1].Tokens = 500;
    St().Players[1].Deck = {Card{}, C(wolf)};
    St().Players[1].Hand = List<Card>(10);
    St().Players[2].Hand = List<Card>(10);
    St().Collection.PushBack(C(wolf));

    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        const int e = Script(imp, script);
        const GameSnapshot before = GameSnapshot::Take();
        Run(imp, wolf, e, 1);
        before.ExpectSame();
        C(imp).Effects[e].Text.clear();
    }
}

TEST_F(EffCardTest, ATargetedCancelStopsTheEffectWithoutLeaking) {
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:strike");
    Script(foe, "CANCEL", "TARGETED", 7);
    const int other = Place("Wolf", 1);

    EXPECT_EQ(Run(imp, foe, e), 0);
    EXPECT_EQ(St().EffectOutcome, EffectOutcome::None);
    EXPECT_EQ(St().TurnLog.find("strike"), std::string::npos);
    EXPECT_EQ(Run(imp, other, e), 2) << "the next effect runs unhindered";
    EXPECT_NE(St().TurnLog.find("strike"), std::string::npos);
    EXPECT_EQ(Run(imp, foe, e, 1), -1) << "a trial sees the cancel as -1";
}

void LeaveRedirect(RunContext& run) {
    St().RedirectTarget = static_cast<int16_t>(run.source.Index);
    ++run.applied;
}

TEST_F(EffCardTest, NoCancelOrRedirectOutlivesItsDispatch) {
    StandIn("BREAKPOINT", LeaveRedirect);
    const int imp = Place("Imp", 2);
    Script(imp, "CANCEL", "PHASE1", 6);
    Script(imp, "BREAKPOINT", "PHASE2", 6);
    const int strike = Script(imp, "ECHO:strike");

    RunActions(C(imp), "PHASE1");
    EXPECT_EQ(St().EffectOutcome, EffectOutcome::None);
    RunActions(C(imp), "PHASE2");
    EXPECT_EQ(St().RedirectTarget, 0);

    St().EffectOutcome =
        EffectOutcome::Cancelled;  // left over by a run whose caller did not read it
    St().RedirectTarget = static_cast<int16_t>(imp);
    EXPECT_EQ(Run(imp, foe, strike), 2) << "the outermost run starts with nothing pending";
    EXPECT_NE(St().TurnLog.find("strike"), std::string::npos);
}

TEST_F(EffCardTest, AReactionLeavesItsCancelForTheCallerThatAskedForIt) {
    const int imp = Place("Imp", 2, {{"HP", "10"}});
    Script(imp, "CANCEL", "BEFORETRAITCHANGE:HP", 7);
    St().LastAmount = 4;
    Value amount = -3;
    EXPECT_EQ(Modtrait(C(imp), "HP", amount, C(imp)), Value(4));
    EXPECT_EQ(Trait(imp, "HP"), "10");
}

TEST_F(EffCardTest, ANoCountersSourceIsNeverCountered) {
    const int imp = Place("Imp", 2, {{"NOCOUNTERS", "1"}});
    const int e = Script(imp, "ECHO:strike");
    Script(foe, "CANCEL", "TARGETED", 7);
    Script(imp, "CANCEL", "MYACTION", 7);
    EXPECT_EQ(Run(imp, foe, e), 2);
}

TEST_F(EffCardTest, OwnActionsCancelButDoNotReactToThemselves) {
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:strike");
    const int own = Script(imp, "CANCEL", "MYACTION", 7);
    EXPECT_EQ(Run(imp, foe, e), 0);
    EXPECT_EQ(Run(imp, foe, own), 2) << "a MYACTION effect is not countered by MYACTION";
}

TEST_F(EffCardTest, AnInterceptTakesTheEffectOver) {
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:strike");
    const int guard = Place("Guard", 1);
    Script(guard, "ECHO:caught", "INTERCEPT", 0);
    Register(guard);

    EXPECT_EQ(Run(imp, foe, e), 2);
    EXPECT_NE(St().TurnLog.find("caught"), std::string::npos);
    EXPECT_EQ(St().LastTarget, guard) << "the effect went to the intercepting card";
    EXPECT_EQ(RunFlagsOf(C(guard), 1).Running, 0);
    EXPECT_EQ(St().NestingDepth, 0);
}

TEST_F(EffCardTest, AnInterceptThatWouldNotHoldLetsTheEffectGoOn) {
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:strike");
    const int guard = Place("Guard", 1);
    const int intercept = Script(guard, "REQNAME:Nobody:ECHO:caught", "INTERCEPT", 0);
    Register(guard);
    EXPECT_EQ(Run(imp, foe, e), 2);
    EXPECT_EQ(St().LastTarget, foe);
    EXPECT_EQ(St().TurnLog.find("caught"), std::string::npos);

    // The intercept would hold, but the running effect would not take on the guard.
    C(guard).Effects[intercept].Text = "ECHO:caught";
    C(guard).Effects[intercept].Compiled = 0;
    const int picky = Script(imp, "REQNAME:Foe:ECHO:only foe");
    EXPECT_EQ(Run(imp, foe, picky), 2);
    EXPECT_EQ(St().LastTarget, foe);
    EXPECT_EQ(St().TurnLog.find("caught"), std::string::npos);
}

RunResult nestedResult = RunResult::NothingApplied;
int strikeTarget = 0;
void RunStrikeNested(RunContext& run) {
    EffArgs strike;
    strike.effectIndex = run.args.effectIndex + 1;
    nestedResult = EffCard(run.source, St().InPlay[strikeTarget], strike);
    ++run.applied;
}

TEST_F(EffCardTest, NestedRunsMeetNoTargetedReactionsOrIntercepts) {
    StandIn("BREAKPOINT", RunStrikeNested);
    const int imp = Place("Imp", 2);
    // Holds only on the hero, so the guard cannot take the outer run over.
    const int outer = Script(imp, "REQNAME:Hero:BREAKPOINT");
    const int strike = Script(imp, "ECHO:strike");
    Script(foe, "CANCEL", "TARGETED", 7);
    EXPECT_EQ(Run(imp, foe, strike), 0) << "at the outermost run the foe cancels";
    const int guard = Place("Guard", 1);
    Script(guard, "ECHO:caught", "INTERCEPT", 0);
    Register(guard);
    EXPECT_EQ(Run(imp, foe, strike), 2);
    EXPECT_EQ(St().LastTarget, guard) << "at the outermost run the guard intercepts";

    St().TurnLog.clear();
    strikeTarget = foe;
    nestedResult = RunResult::NothingApplied;
    EXPECT_EQ(Run(imp, hero, outer), 2);
    EXPECT_EQ(nestedResult, RunResult::Applied)
        << "the nested strike was neither cancelled nor intercepted";
    EXPECT_EQ(St().TurnLog.find("caught"), std::string::npos);
}

TEST_F(EffCardTest, AnAdHocTextRunsAsABonusActionOnlyForReal) {
    const int imp = Place("Imp", 2);
    EffArgs args;
    args.adHocText = "ECHO:bonus";
    args.preview = 1;
    EXPECT_EQ(EffCard(C(imp), C(foe), args), RunResult::Applied);
    EXPECT_EQ(C(imp).Effects[1].Text, "") << "a trial adds no effect";

    args.preview = 0;
    EXPECT_EQ(EffCard(C(imp), C(foe), args), RunResult::Applied);
    EXPECT_NE(St().TurnLog.find("bonus"), std::string::npos);
    EXPECT_EQ(C(imp).Effects[1].Text, "") << "the bonus action is freed once it has run";
}

}  // namespace
}  // namespace dv
