#include "engine/rules/card_life.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/model/cards.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/rule_operations.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/set_up_card.h"

namespace dv {
namespace {

using CardLifeTest = test::EngineTest;

using test::MakeCard;

void SetRaw(Card& c, const std::string& trait, const std::string& value) {
    for (int i = 1; i <= c.TraitNames.size(); ++i) {
        if (!c.TraitNames[i].empty()) continue;
        c.TraitNames[i] = trait;
        c.TraitValues[i] = value;
        return;
    }
}

TEST_F(CardLifeTest, PlacingReusesTheFirstFreeSlotOrGrowsByExactlyOne) {
    auto& inPlay = St().InPlay;
    for (const char* n : {"a", "", "c", ""})
        inPlay.PushBack(MakeCard(n, 1, 0));
    inPlay[1].GID = 1;
    inPlay[3].GID = 3;
    EXPECT_EQ(AddCard(MakeCard("new1", 1, 50)), 2);
    EXPECT_EQ(AddCard(MakeCard("new2", 1, 51)), 4);
    EXPECT_EQ(inPlay.size(), 4);
    EXPECT_EQ(AddCard(MakeCard("new3", 1, 52)), 5);
    EXPECT_EQ(inPlay.size(), 5);
    EXPECT_EQ(St().NewestCard, 5);
    EXPECT_EQ(St().LastCard, 5);
    EXPECT_EQ(inPlay[5].Index, 5);
    EXPECT_EQ(inPlay[2].Index, 2);
    EXPECT_EQ(AddCard(MakeCard("", 1, 53)), 0) << "an empty card is not placed";
    EXPECT_EQ(inPlay.size(), 5);
    EXPECT_EQ(St().NewestCard, 5);
}

TEST_F(CardLifeTest, AFreeSlotTakesAnExactCopyOfACardInPlayWithNoLeftoversOfItsOwn) {
    auto& inPlay = St().InPlay;
    inPlay.PushBack(MakeCard("original", 1, 10));
    SetRaw(inPlay[1], "HP", "20");
    // A free slot that still holds more room than the copy needs.
    Card leftover = MakeCard("", 2, 0);
    leftover.Description = std::string(300, 'x');
    leftover.Effects = List<Effect>(9);
    leftover.Effects[4].Text = "MODTRAIT:HP:-1";
    inPlay.PushBack(leftover);
    const Card original = inPlay[1];
    ASSERT_EQ(TakeFreeSlot(inPlay[1]), 2);
    EXPECT_EQ(inPlay[2], original);
    EXPECT_EQ(inPlay[1], original);
}

TEST_F(CardLifeTest, PlacedCardsWaitInactiveWithSideAndStartTimeSet) {
    struct Row {
        int owner;
        int32_t maskBefore;
        const char* startTime;
        int32_t mask;
        const char* startAfter;
    };
    const Row rows[] = {
        {0, 0, "", 4, "TURNSTART"},
        {1, 2, "", 1, "TURNSTART"},
        {2, 1, "PHASE3", 2, "PHASE3"},
        {3, 9, "", 9, "TURNSTART"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.owner);
        Card c = MakeCard("c", r.owner, 0);
        c.SideMask = r.maskBefore;
        c.StartTime = r.startTime;
        c.Active = 1;
        ChangeRunFlags(c, 1).Running = 1;
        int n = AddCard(c);
        const Card& placed = St().InPlay[n];
        EXPECT_EQ(placed.SideMask, r.mask);
        EXPECT_EQ(placed.StartTime, r.startAfter);
        EXPECT_EQ(placed.Active, 0);
        EXPECT_EQ(RunFlagsOf(placed, 1).Running, 0);
    }
}

TEST_F(CardLifeTest, IdentifiersInPlayNeverClash) {
    auto& inPlay = St().InPlay;
    for (int i = 0; i < 40; ++i)
        AddCard(MakeCard("twin", 1, 777));
    AddCard(MakeCard("zero", 1, 0));
    std::set<int32_t> seen;
    for (const Card& c : inPlay) {
        EXPECT_GE(c.GID, 1);
        EXPECT_LE(c.GID, 200000000);
        EXPECT_TRUE(seen.insert(c.GID).second) << "GID " << c.GID << " given twice";
    }
    EXPECT_EQ(inPlay[1].GID, 777) << "the first holder keeps its identifier";
}

TEST_F(CardLifeTest, GameStartCardsAreActiveAsSoonAsPlaced) {
    Card c = MakeCard("Early");
    c.StartTime = "GAMESTART";
    int n = AddCard(c);
    EXPECT_EQ(St().InPlay[n].Active, 1);
    Card late = MakeCard("Late");
    late.StartTime = "gamestart";
    EXPECT_EQ(St().InPlay[AddCard(late)].Active, 0) << "start time compared with exact case";
}

TEST_F(CardLifeTest, PlayerCardsAreActiveAndBecomeTheirSidesCard) {
    Card c = MakeCard("Hero", 2);
    SetRaw(c, "PLAYER", "1");
    c.Colour = "#112233";
    int n = AddCard(c);
    EXPECT_EQ(St().InPlay[n].Active, 1);
    EXPECT_EQ(St().Players[2].CardIndex, n);
    EXPECT_EQ(St().Players[2].Colour, "#112233");
}

TEST_F(CardLifeTest, ActivatingACardNotInPlayPlacesItOnce) {
    Card hand = MakeCard("FromHand");
    ActivateCard(hand, 1);
    ASSERT_EQ(St().InPlay.size(), 1);
    EXPECT_EQ(hand.Index, 1);
    EXPECT_EQ(St().InPlay[1].Active, 1) << "the card in play is the one activated";
    std::string log = St().TurnLog;
    ActivateCard(St().InPlay[1], 0);
    EXPECT_EQ(St().InPlay.size(), 1);
    EXPECT_EQ(St().TurnLog, log);
}

// Counts how often the rules card hears that a card entered play, and how often the card ran its
// own entry action, to see whether an activation was done twice.
class EntryCounting : public CardLifeTest {
  protected:
    void SetUp() override {
        CardLifeTest::SetUp();
        Card& rules = St().RulesCard;
        rules = MakeCard("RulesCard", 0);
        rules.Active = 1;
        AddEffect(rules, "MODTRAIT:ENTRIES:1", 7, "OTHERENTERSPLAY", 0, "SELF");
    }
    Card EntryCard(const std::string& startTime) {
        Card c = MakeCard("Imp");
        c.StartTime = startTime;
        AddEffect(c, "MODTRAIT:ENTERED:1", 7, "ENTERPLAY", 0, "SELF");
        return c;
    }
};

TEST_F(EntryCounting, ActivatingACardNotInPlayAnnouncesItOnce) {
    for (const char* start : {"TURNSTART", "GAMESTART"}) {
        SCOPED_TRACE(start);
        St().RulesCard.TraitValues = List<std::string>(20);
        St().RulesCard.TraitNames = List<std::string>(20);
        Card hand = EntryCard(start);
        ActivateCard(hand, 0);
        ASSERT_GT(hand.Index, 0);
        Card& placed = St().InPlay[hand.Index];
        EXPECT_EQ(placed.Active, 1);
        EXPECT_EQ(GetTrait(St().RulesCard, "ENTRIES").Text(), "1");
        EXPECT_EQ(GetTrait(placed, "ENTERED").Text(), "1");
    }
}

TEST_F(EntryCounting, QuietActivationSendsNoEntryTriggers) {
    int n = AddCard(EntryCard("TURNSTART"));
    ActivateCard(St().InPlay[n], 1);
    EXPECT_EQ(St().InPlay[n].Active, 1);
    EXPECT_EQ(GetTrait(St().RulesCard, "ENTRIES").Text(), "");
    EXPECT_EQ(GetTrait(St().InPlay[n], "ENTERED").Text(), "");
}

TEST_F(CardLifeTest, ACardThatCannotPayGoesBackToItsOwnersHand) {
    InitPlayer(St().Players[1], 1);
    Card hero = MakeCard("Hero", 1);
    SetRaw(hero, "PLAYER", "1");
    int heroSlot = AddCard(hero);
    Card c = MakeCard("Costly", 1);
    // A requirement with a message: a refusal by the trait masks gives no reason, and a refusal
    // without a reason lets the card through.
    AddEffect(c, "REQOWNERTRAITMORE:GOLD:3", 7, "COST", 0, "SELF");
    int n = AddCard(c);
    ActivateCard(St().InPlay[n], 0);
    EXPECT_EQ(St().InPlay[n].Name, "") << "left play at once";
    EXPECT_EQ(St().Players[1].Hand[1].Name, "Costly");
    EXPECT_NE(St().TurnLog.find(" cannot play "), std::string::npos);
    EXPECT_NE(St().TurnLog.find("Requires GOLD trait of 3 or more."), std::string::npos);
    EXPECT_EQ(St().InPlay[heroSlot].Name, "Hero");
}

TEST_F(CardLifeTest, ACardActivatedFromOutsidePlayPaysItsCostOnce) {
    for (const char* start : {"TURNSTART", "GAMESTART"}) {
        SCOPED_TRACE(start);
        ResetState();
        Card hero = MakeCard("Hero", 1);
        SetRaw(hero, "PLAYER", "1");
        SetRaw(hero, "GOLD", "5");
        const int heroSlot = AddCard(hero);
        Card c = MakeCard("Paid", 1);
        c.StartTime = start;
        AddEffect(c, "MODTRAIT:GOLD:-2", 5, "COST", 0, "OWNER");
        ActivateCard(c, 0);
        ASSERT_GT(c.Index, 0);
        EXPECT_EQ(St().InPlay[c.Index].Active, 1);
        EXPECT_EQ(GetTrait(St().InPlay[heroSlot], "GOLD").Text(), "3");
    }
}

TEST_F(CardLifeTest, KillingMarksOrFreesAndTheSweepClearsTheDead) {
    struct Row {
        int flag;
        const char* nameAfter;
        int deadAfter;
    };
    const Row rows[] = {{0, "v", 1}, {1, "", 0}, {2, "v", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flag);
        ResetState();
        int n = AddCard(MakeCard("v", 1, 5));
        KillCard(St().InPlay[n], r.flag);
        EXPECT_EQ(St().InPlay[n].Name, r.nameAfter);
        EXPECT_EQ(St().InPlay[n].Dead, r.deadAfter);
    }
    ResetState();
    int dead = AddCard(MakeCard("dead", 1, 5));
    int alive = AddCard(MakeCard("alive", 1, 6));
    St().InPlay[dead].Active = 1;
    St().InPlay[alive].Active = 1;
    KillCard(St().InPlay[dead], 2);
    KillCards();
    EXPECT_EQ(St().InPlay[dead].Name, "");
    EXPECT_EQ(St().InPlay[dead].Active, 0);
    EXPECT_EQ(St().InPlay[dead].GID, 0);
    EXPECT_EQ(St().InPlay[alive].Name, "alive");
    EXPECT_EQ(St().InPlay[alive].GID, 6);
    EXPECT_EQ(AddCard(MakeCard("next", 1, 7)), dead) << "the swept slot is reused";
    EXPECT_EQ(St().InPlay[dead].Dead, 0);
}

// A card that leaves play must leave no registration behind under any trigger, whichever of
// its effects put it there; another card's stay.
TEST_F(CardLifeTest, KillingACardTakesOutEveryRegistrationOfItsEffects) {
    for (int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        ResetState();
        const int dying = AddCard(MakeCard("dying", 1, 5));
        const int staying = AddCard(MakeCard("staying", 2, 6));
        for (int n : {dying, staying}) {
            AddEffect(St().InPlay[n], "ECHO:a", kTargetSelf, "TURNSTART", 0, "");
            AddEffect(St().InPlay[n], "ECHO:b", kTargetSelf, "TURNEND", 0, "");
            AddEffect(St().InPlay[n], "ECHO:c", kTargetSelf, "PHASE2", 0, "");
            RegisterEffects(St().InPlay[n]);
        }
        KillCard(St().InPlay[dying], flag);
        int left = 0;
        int kept = 0;
        for (const TriggerSlot& slot : St().TriggerRegistry) {
            for (int32_t card : slot.Cards) {
                left += card == dying ? 1 : 0;
                kept += card == staying ? 1 : 0;
            }
        }
        EXPECT_EQ(left, 0);
        EXPECT_EQ(kept, 3);
    }
}

TEST_F(CardLifeTest, OnlyAPlainDeathRunsTheDeathActions) {
    for (int flag : {0, 1, 2}) {
        SCOPED_TRACE(flag);
        Card c = MakeCard("v");
        AddEffect(c, "MODTRAIT:MOURNED:1", 5, "ONDEATH", 0, "OWNER");
        Card hero = MakeCard("Hero");
        SetRaw(hero, "PLAYER", "1");
        int h = AddCard(hero);
        int n = AddCard(c);
        St().InPlay[n].Active = 1;
        KillCard(St().InPlay[n], flag);
        EXPECT_EQ(GetTrait(St().InPlay[h], "MOURNED").Text(), flag == 0 ? "1" : "");
        ResetState();
    }
}

TEST_F(CardLifeTest, QueuedCardsEnterPlayActiveAndTheQueueEmpties) {
    Card a = MakeCard("a", 1, 10);
    Card b = MakeCard("b", 2, 11);
    QueueCard(a);
    St().CardQueue.PushBack(Card{});
    ++St().CardQueueCount;
    QueueCard(b);
    CreateSideBoards();
    ASSERT_EQ(St().InPlay.size(), 2);
    EXPECT_EQ(St().InPlay[1].Name, "a");
    EXPECT_EQ(St().InPlay[2].Name, "b");
    EXPECT_EQ(St().InPlay[1].Active, 1);
    EXPECT_EQ(St().InPlay[2].Active, 1);
    EXPECT_EQ(St().InPlay[1].AlreadyPlaced, 1);
    EXPECT_EQ(St().CardQueueCount, 0);
    ASSERT_EQ(St().CardQueue.size(), 1);
    EXPECT_EQ(St().CardQueue[1].Name, "");

    St().CardQueue = {MakeCard("stale")};
    CreateSideBoards();
    EXPECT_EQ(St().InPlay.size(), 2) << "a zero count means nothing waits";
}

TEST_F(CardLifeTest, CardsQueuedWhileTheQueueIsPlacedWaitForTheNextCall) {
    Card breeder = MakeCard("Breeder", 1, 10);
    breeder.Mods = "DUPLICATEME:1$|$";
    QueueCard(breeder);
    CreateSideBoards();
    EXPECT_EQ(St().InPlay.size(), 1);
    ASSERT_EQ(St().CardQueueCount, 1) << "the copy its mod queued was lost";
    EXPECT_EQ(St().CardQueue[1].Name, "Breeder");
    CreateSideBoards();
    EXPECT_EQ(St().InPlay.size(), 2);
    EXPECT_EQ(St().CardQueueCount, 1);
}

}  // namespace
}  // namespace dv
