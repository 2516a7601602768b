#include "engine/rules/dispatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/card_life.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

using DispatchTest = test::BoardTest;

// Records the target of every real run of a BREAKPOINT.
std::vector<int> targets;
void RecordTarget(RunContext& run) {
    if (!run.Preview()) targets.push_back(run.target.Index);
    ++run.applied;
}
// Holds only on cards named "Wanted": a stand-in requirement for trial runs.
void OnlyWanted(RunContext& run) {
    if (run.target.Name != "Wanted") FailRequirement(run, "not wanted");
}

TEST_F(DispatchTest, TriggersMatchWithExactCaseAndEntersPlayAlias) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    Script(imp, "BREAKPOINT", "ENTERPLAY", 7);
    struct Row {
        const char* trigger;
        size_t runs;
    };
    const Row rows[] = {{"ENTERPLAY", 1}, {"ENTERSPLAY", 1}, {"enterplay", 0}, {"", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.trigger);
        targets.clear();
        RunActions(C(imp), r.trigger);
        EXPECT_EQ(targets.size(), r.runs);
    }
}

TEST_F(DispatchTest, AnInactiveCardWakesOnlyAtItsStartTime) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    C(imp).Active = 0;
    C(imp).StartTime = "TURNSTART";
    Script(imp, "BREAKPOINT", "PHASE1", 7);
    Script(imp, "BREAKPOINT", "TURNSTART", 7);
    const int cost = Script(imp, "BREAKPOINT", "COST", 7);

    targets.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_TRUE(targets.empty());
    EXPECT_EQ(C(imp).Active, 0);

    RunActions(C(imp), "COST");
    EXPECT_EQ(targets.size(), 1u) << "cost triggers reach inactive cards";
    EXPECT_EQ(C(imp).Active, 0);
    // Activation pays the cost; only the start-time runs are counted below.
    C(imp).Effects[cost].Trigger = "PAIDALREADY";

    targets.clear();
    RunActions(C(imp), "turnstart");
    EXPECT_EQ(C(imp).Active, 1) << "the start time is matched ignoring case";
    EXPECT_TRUE(targets.empty()) << "but the effects' triggers with exact case";
    C(imp).Active = 0;
    RunActions(C(imp), "TURNSTART");
    EXPECT_EQ(C(imp).Active, 1);
    EXPECT_EQ(targets.size(), 1u);
}

TEST_F(DispatchTest, MenuActionsRunOnlyOncePerChoice) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    const int e = Script(imp, "BREAKPOINT", "MENU:PHASE1:Heal", 7);
    ASSERT_EQ(C(imp).Effects[e].MenuState, MenuState::Offered);
    targets.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_TRUE(targets.empty());
    const std::string link = "MENUACTION:" + std::to_string(C(imp).GID) + ":1";
    EXPECT_EQ(GetActionMenu2(C(imp)), "<a href=\"" + link + "\">Heal</a><br>");
    ASSERT_TRUE(ChooseMenuAction(link)) << "the player picks it from the card view";
    EXPECT_EQ(C(imp).Effects[e].MenuState, MenuState::Chosen);
    RunActions(C(imp), "PHASE1");
    RunActions(C(imp), "PHASE1");
    EXPECT_EQ(targets.size(), 1u);
    EXPECT_EQ(C(imp).Effects[e].MenuState, MenuState::Offered);
    const int plain = Script(imp, "BREAKPOINT", "PHASE2", 7);
    for (const std::string& bad :
         {"MENUACTION:" + std::to_string(C(imp).GID) + ":" + std::to_string(plain),
          "MENUACTION:" + std::to_string(C(imp).GID) + ":40",
          // once cast to a whole number that cannot hold it
          "MENUACTION:" + std::to_string(C(imp).GID) + ":99999999999999999999999",
          std::string("MENUACTION:77:1"), std::string("MENUACTION::1"),
          std::string("CARD") + std::to_string(C(imp).GID)}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ChooseMenuAction(bad));
    }
    EXPECT_EQ(C(imp).Effects[plain].MenuState, MenuState::None)
        << "an ordinary effect is no menu action";
    C(imp).Owner = 2;
    EXPECT_EQ(GetActionMenu2(C(imp)), "");
}

TEST_F(DispatchTest, AllReachesEveryNamedCardInOrderAndNothingInATrial) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    const int gap = Place("Gone", 2);
    const int ghost = Place("Ghost", 2);
    C(gap).Name.clear();
    C(ghost).Dead = 1;
    Script(imp, "BREAKPOINT", "PHASE1", 2);
    Script(imp, "BREAKPOINT", "ONDEATH", 2);

    targets.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_EQ(targets, (std::vector<int>{hero, foe, imp})) << "a dead card only takes ONDEATH";

    targets.clear();
    RunActions(C(imp), "ONDEATH");
    EXPECT_EQ(targets, (std::vector<int>{hero, foe, imp, ghost}));

    targets.clear();
    RunActionsCall trial;
    trial.preview = 1;
    RunActions(C(imp), "PHASE1", trial);
    EXPECT_TRUE(targets.empty());
}

TEST_F(DispatchTest, AnAllEffectCancelledBeforeItsOwnActionsStopsAtOnce) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    const int e = Script(imp, "BREAKPOINT", "MENU:PHASE1:Blast", 2);
    Script(imp, "CANCEL", "MYACTION", 7);
    Script(imp, "ECHO:second", "MYACTION", 7);  // finds the cancel pending: the pick is over
    C(imp).Effects[e].MenuState = MenuState::Chosen;
    targets.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_TRUE(targets.empty());
    EXPECT_EQ(St().CancelledActions, 1) << "the cards after the first were not tried";
    EXPECT_EQ(C(imp).Effects[e].MenuState, MenuState::Chosen) << "the choice was not used up";
    EXPECT_EQ(St().EffectOutcome, EffectOutcome::None);
}

TEST_F(DispatchTest, RandomPicksHonourOwnersAndAlwaysEnd) {
    St().Random.Seed(7);
    for (int i = 0; i < 4; ++i)
        Place("Ally", 1);
    for (int i = 0; i < 4; ++i)
        Place("Enemy", 2);
    const int imp = Place("Imp", 1);
    const int e = Script(imp, "ECHO:x", "PHASE1", 3);
    for (int round = 0; round < 20; ++round) {
        int32_t enemy = 3;
        int32_t ally = 4;
        RunResult outcome = RunResult::NothingApplied;
        const int picked = PickTarget(C(imp), e, enemy, "", outcome);
        ASSERT_GT(picked, 0);
        EXPECT_EQ(C(picked).Owner, 2);
        const int friendly = PickTarget(C(imp), e, ally, "", outcome);
        ASSERT_GT(friendly, 0);
        EXPECT_EQ(C(friendly).Owner, 1);
    }

    StandIn("BREAKPOINT", OnlyWanted);
    const int picky = Script(imp, "BREAKPOINT", "PHASE1", 1);
    int32_t random = 1;
    RunResult outcome = RunResult::Applied;
    EXPECT_EQ(PickTarget(C(imp), picky, random, "", outcome), 0) << "no card qualifies";
    EXPECT_EQ(outcome, RunResult::NothingApplied);

    const int wanted = Place("Wanted", 2);
    EXPECT_EQ(PickTarget(C(imp), picky, random, "", outcome), wanted);
    EXPECT_EQ(C(imp).Effects[picky].Target, wanted);
}

TEST_F(DispatchTest, PickTargetEndsOnAnEmptyBoard) {
    Card lone;
    lone.Name = "Lone";
    InitCard(lone, 1, 1);
    const int e = AddEffect(lone, "ECHO:x", 1, "PHASE1", 0, "");
    St().InPlay.Clear();
    int32_t type = 1;
    RunResult outcome = RunResult::NothingApplied;
    EXPECT_EQ(PickTarget(lone, e, type, "", outcome), 0);
    EXPECT_EQ(AIPickTarget(lone), 0);
}

TEST_F(DispatchTest, TargetCardRetriesAFailingPresetTarget) {
    StandIn("BREAKPOINT", OnlyWanted);
    StandIn("ECHOTRAIT", RecordTarget);
    const int imp = Place("Imp", 1);
    const int wanted = Place("Wanted", 2);
    Script(imp, "BREAKPOINT:ECHOTRAIT:x", "PHASE1", 0);
    C(imp).PresetTarget = static_cast<int16_t>(foe);
    targets.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_EQ(targets, std::vector<int>{wanted});
    EXPECT_EQ(C(imp).Effects[1].Target, wanted) << "remembered for the next dispatch";
}

std::vector<std::pair<int, bool>> runs;  // (target, trial) of every run of a BREAKPOINT
void RecordRun(RunContext& run) {
    runs.emplace_back(run.target.Index, run.Preview());
    ++run.applied;
}

TEST_F(DispatchTest, TargetCardTriesAGoodPresetTwiceThenRunsOnIt) {
    StandIn("BREAKPOINT", RecordRun);
    const int imp = Place("Imp", 1);
    Script(imp, "BREAKPOINT", "PHASE1", 0);
    C(imp).PresetTarget = static_cast<int16_t>(foe);
    runs.clear();
    RunActions(C(imp), "PHASE1");
    EXPECT_EQ(runs, (std::vector<std::pair<int, bool>>{{foe, true}, {foe, true}, {foe, false}}));

    runs.clear();
    RunActionsCall trial;
    trial.preview = 1;
    RunActions(C(imp), "PHASE1", trial);
    EXPECT_EQ(runs, (std::vector<std::pair<int, bool>>{{foe, true}, {foe, true}}))
        << "a trial dispatch makes no real run";
}

TEST_F(DispatchTest, AIPickTargetVotesAndBreaksTiesLow) {
    const int imp = Place("Imp", 2);
    Script(imp, "ECHO:x", "PHASE1", 5);  // OWNER: the foe's card
    Script(imp, "ECHO:x", "PHASE1", 6);  // ENEMYPLAYER: the hero's card
    EXPECT_EQ(AIPickTarget(C(imp)), std::min(hero, foe));
    EXPECT_EQ(C(imp).PresetTarget, std::min(hero, foe));
}

TEST_F(DispatchTest, EffectLookUpsReadTraitWordsAndFields) {
    const int imp = Place("Imp", 1);
    int32_t e = Script(imp, "TRAIT:COLOR:RED:ECHO:x");
    std::string name = "COLOR";
    EXPECT_EQ(GetEffectTrait2(C(imp), e, name), "RED");
    name = "color";
    EXPECT_EQ(GetEffectTrait2(C(imp), e, name), "NONE");
    int32_t none = 0;
    EXPECT_EQ(GetEffectTrait2(C(imp), none, name), "NONE");
    int32_t far = 40;
    name = "COLOR";
    EXPECT_EQ(GetEffectTrait2(C(imp), far, name), "NONE");

    EXPECT_TRUE(GetEffectRef("MODTRAIT:HP:-1", "HP"));
    EXPECT_FALSE(GetEffectRef("MODTRAIT::HP", "HP")) << "an empty field ends the walk";
    EXPECT_FALSE(GetEffectRef("", ""));
}

TEST_F(DispatchTest, AddedEffectsAreReadFromTheHandOverText) {
    const int imp = Place("Imp", 1);
    struct Row {
        const char* text;
        const char* trigger;
        const char* targetText;
        const char* script;
    };
    const Row rows[] = {
        {"MENU:PHASE2:Heal:SELF:MODTRAIT:HP:1", "PHASE2", "SELF", "MODTRAIT:HP:1"},
        {"ENTERPLAY:GIDCARD:MYGID:ECHO:x", "ENTERPLAY", "GIDCARD:MYGID", "ECHO:x"},
        {"TRAITCHANGE:HP:ALL:ECHO:y", "TRAITCHANGE:HP", "ALL", "ECHO:y"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        St().AddEffectText = r.text;
        St().AddEffectCard = C(imp).GID;
        EffAddEffects();
        const Effect& added = C(imp).Effects[C(imp).Effects.size()];
        EXPECT_EQ(added.Trigger, r.trigger);
        EXPECT_EQ(added.TargetText, r.targetText);
        EXPECT_EQ(added.Text, r.script);
        EXPECT_EQ(St().AddEffectText, "");
    }
    St().AddEffectText = "PHASE1:SELF:ECHO:z";
    St().AddEffectCard = 999;
    EffAddEffects();
    EXPECT_EQ(St().AddEffectText, "") << "a hand-over for no card is dropped";
}

// A walk over play looks at a card instead of handing it a trigger that none of its effects
// answers. Whatever the card holds, the look must leave it, and the echo flag, as the dispatch
// would: where the dispatch would change the card, the look hands it on.
TEST_F(DispatchTest, AWalkLeavesEachCardAsHandingItTheTriggerWould) {
    using Reach = TriggerFilter::Reach;
    struct Row {
        const char* card;
        const char* trigger;
        std::function<void(int)> setUp;
        Reach reach;
    };
    const Row rows[] = {
        {"an effect of another length", "COSTMOD", [&](int c) { Script(c, "ECHO:x", "PHASE1"); },
         Reach::Nothing},
        {"an effect of the trigger's length that does not answer", "COSTMOD",
         [&](int c) { Script(c, "ECHO:x", "PHASE10", kTargetCard); }, Reach::ClearsEchoOnce},
        {"the same, its next target preset already", "COSTMOD",
         [&](int c) {
             Script(c, "ECHO:x", "PHASE10", kTargetCard);
             C(c).NextTarget = C(c).PresetTarget = 2;
         },
         Reach::ClearsEchoOnce},
        {"the same, a next target not yet preset", "COSTMOD",
         [&](int c) {
             Script(c, "ECHO:x", "PHASE10", kTargetCard);
             C(c).NextTarget = 2;
         },
         Reach::Dispatch},
        {"the same, still marked running", "COSTMOD",
         [&](int c) {
             ChangeRunFlags(C(c), Script(c, "ECHO:x", "PHASE10", kTargetCard)).Running = 1;
         },
         Reach::Dispatch},
        {"the same, offered as a menu action", "COSTMOD",
         [&](int c) {
             C(c).Effects[Script(c, "ECHO:x", "PHASE10", kTargetCard)].MenuState =
                 MenuState::Offered;
         },
         Reach::Nothing},
        {"an active card's cost mod on itself", "COSTMOD",
         [&](int c) { Script(c, "ECHO:x", "COSTMOD", kTargetSelf); }, Reach::Nothing},
        {"a cost mod on another card after one that does not answer", "COSTMOD",
         [&](int c) {
             Script(c, "ECHO:x", "PHASE10", kTargetCard);
             Script(c, "ECHO:x", "COSTMOD", kTargetCard);
         },
         Reach::Dispatch},
        {"an inactive card waiting for another trigger", "PHASE10",
         [&](int c) {
             Script(c, "ECHO:x", "PHASE10", kTargetCard);
             C(c).Active = 0;
             C(c).StartTime = "TURNSTART";
         },
         Reach::Nothing},
        {"an inactive card waiting for the trigger", "PHASE10",
         [&](int c) {
             C(c).Active = 0;
             C(c).StartTime = "phase10";
         },
         Reach::Dispatch},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.card);
        const int c = Place("Imp", 1);
        r.setUp(c);
        EXPECT_EQ(TriggerFilter(r.trigger).Reaches(C(c)), r.reach);
        if (r.reach == Reach::Dispatch) continue;
        const Card before = C(c);
        St().EchoOnce = 1;
        RunActions(C(c), r.trigger);
        EXPECT_EQ(C(c), before);
        EXPECT_EQ(St().EchoOnce, r.reach == Reach::ClearsEchoOnce ? 0 : 1);
    }
}

// A dispatch over an indexed board passes over, unseen, the cards its trigger cannot reach. Each
// one whose effects of the trigger's length answer nothing clears the echo flag, as handing it the
// trigger would; an inactive one is not handed it. Unindexed boards look at every card.
TEST_F(DispatchTest, CardsADispatchPassesOverClearTheEchoFlagAsHandingThemItWould) {
    struct Row {
        const char* card;
        std::function<void(int)> setUp;
        uint8_t echoOnce;  // after the dispatch
    };
    const Row rows[] = {
        {"an effect of the trigger's length that does not answer",
         [&](int c) { Script(c, "ECHO:x", "PHASE2", kTargetCard); }, 0},
        {"the same on an inactive card",
         [&](int c) {
             Script(c, "ECHO:x", "PHASE2", kTargetCard);
             C(c).Active = 0;
         },
         1},
        {"an effect of another length", [&](int c) { Script(c, "ECHO:x", "PHASE10"); }, 1},
    };
    for (const bool indexed : {true, false}) {
        PlayIndex::CheckAgainstCards(indexed);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.card) + (indexed ? ", indexed" : ", unindexed"));
            St().InPlay = StableList<Card>();
            PlacePlayers();
            r.setUp(Place("Imp", 1));
            St().EchoOnce = 1;

            RunListActions(Value("PHASE1"));

            EXPECT_EQ(St().InPlay.IndexIfCrowded(), indexed);
            EXPECT_EQ(St().EchoOnce, r.echoOnce);
        }
    }
    PlayIndex::CheckAgainstCards(true);
}

// Each card entering play walks play three times (its cost mods, checked and paid, and the others'
// entry actions). On a board of thousands that none of the walks reaches, an entry looks at a few
// cards, not at the board: a start with 8,000 such cards took seconds.
TEST_F(DispatchTest, AnEntryLooksAtTheCardsItsWalksReachNotAtTheWholeBoard) {
    auto tenEffectsOn = [](const char* trigger) {
        return [trigger](Card& card) {
            for (int i = 0; i < 10; ++i)
                AddEffect(card, "ECHO:x", kTargetAll, trigger, 0, "");
        };
    };
    struct Row {
        const char* board;
        std::function<void(Card&)> setUp;
    };
    const Row rows[] = {
        {"ten effects on PHASE10, as long as COSTMOD", tenEffectsOn("PHASE10")},
        {"ten effects on TURNSTART", tenEffectsOn("TURNSTART")},
        {"inactive, waiting for the turn start",
         [](Card& card) {
             card.Active = 0;
             card.StartTime = "TURNSTART";
         }},
    };
    constexpr int kBoard = 2000;
    constexpr int kEntries = 100;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.board);
        St().InPlay = StableList<Card>();
        Card crowd;
        crowd.Name = "Swarmling";
        InitCard(crowd, 2, 1);
        r.setUp(crowd);
        for (int c = 1; c <= kBoard; ++c) {
            const int n = St().InPlay.PushBack(crowd);
            C(n).Index = n;
            C(n).GID = n;
        }
        Card newcomer;
        newcomer.Name = "Newcomer";
        InitCard(newcomer, 1, 0);
        newcomer.StartTime = "GAMESTART";
        const long long looks = TriggerFilter::Looks();
        for (int e = 0; e < kEntries; ++e)
            ASSERT_GT(AddCard(newcomer), kBoard);
        EXPECT_LE(TriggerFilter::Looks() - looks, 3 * kEntries);
    }
}

TEST_F(DispatchTest, RunListActionsTakesNamesOrNumbers) {
    StandIn("BREAKPOINT", RecordTarget);
    const int imp = Place("Imp", 1);
    Script(imp, "BREAKPOINT", "PHASE1", 7);
    targets.clear();
    RunListActions("PHASE1");
    RunListActions(GetTriggerNum("PHASE1"));
    RunListActions(12);  // a number without a trigger name
    RunListActions(250);
    EXPECT_EQ(targets.size(), 2u);
}

}  // namespace
}  // namespace dv
