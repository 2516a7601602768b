#include "engine/rules/costs.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

// Each run of a BREAKPOINT: "R" real or "P" trial, the trigger, the target's name, and the
// newest card while it ran.
struct Seen {
    std::string kind;
    std::string trigger;
    std::string target;
    int newest = 0;
};
std::vector<Seen> seen;
void Record(RunContext& run) {
    seen.push_back(
        {run.Preview() ? "P" : "R", run.effect().Trigger, run.target.Name, St().NewestCard});
    ++run.applied;
}
// Spends 1 GLOW of its target whether it is a trial or not, as a cost that is paid by changing
// the board does; only the trial's restore may undo it.
void SpendGlow(RunContext& run) {
    SetTrait(run.target, "GLOW", GetTrait(run.target, "GLOW").Num() - 1, 1);
    ++run.applied;
}
void Refuse(RunContext& run) {
    FailRequirement(run, "Not enough glow");
}

class CostsTest : public test::BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        seen.clear();
        StandIn("BREAKPOINT", Record);
        StandIn("MODTRAIT", SpendGlow);
        StandIn("REQALLY", Refuse);
        SetTrait(C(hero), "GLOW", 3, 1);
    }

    // A hand card of player 1 that is not in play.
    Card HandCard(const std::string& name) {
        Card card;
        card.Name = name;
        InitCard(card, 1, 0);
        return card;
    }

    bool Pay(Card& card, uint8_t check) { return PayCost(card, check); }

    static bool SameRegistry(const std::array<TriggerSlot, 21>& a,
                             const std::array<TriggerSlot, 21>& b) {
        for (std::size_t t = 0; t < a.size(); ++t)
            if (!(a[t].Cards == b[t].Cards) || !(a[t].Effects == b[t].Effects)) return false;
        return true;
    }

    int NamedInPlay() {
        int named = 0;
        for (const Card& c : St().InPlay)
            named += c.Name.empty() ? 0 : 1;
        return named;
    }
};

TEST_F(CostsTest, VerdictFollowsTheCostEffects) {
    struct Row {
        const char* what;
        const char* costScript;  // empty: the card has no COST effect
        uint8_t check;
        bool paid;
    };
    const Row rows[] = {
        {"no cost, trial", "", 1, true},
        {"no cost, real", "", 0, true},
        {"cost met, trial", "BREAKPOINT", 1, true},
        {"cost met, real", "BREAKPOINT", 0, true},
        {"cost refused, trial", "REQALLY:BREAKPOINT", 1, false},
        {"cost refused, real", "REQALLY:BREAKPOINT", 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Card card = HandCard("Mossling");
        if (*r.costScript) AddEffect(card, r.costScript, 5, "COST", 0, "");
        EXPECT_EQ(Pay(card, r.check), r.paid);
    }
}

TEST_F(CostsTest, TrialLeavesNoTrace) {
    Card card = HandCard("Bog Hound");
    SetTrait(card, "PLAYER", "", 1);  // a player card would be activated at once by AddCard
    AddEffect(card, "MODTRAIT:GLOW:-1", 5, "COST", 0, "");
    AddEffect(card, "BREAKPOINT", 7, "ONDEATH", 0, "");
    AddEffect(card, "BREAKPOINT", 7, "ENTERPLAY", 0, "");
    St().NewestCard = hero;
    const auto before = St().InPlay;
    const auto registry = St().TriggerRegistry;

    EXPECT_TRUE(Pay(card, 1));

    EXPECT_EQ(card.Index, 0) << "a stale slot number would skip placing it when paid for real";
    EXPECT_EQ(Trait(hero, "GLOW"), "3") << "the cost spent in the trial is given back";
    for (int i = 1; i <= before.size(); ++i)
        EXPECT_EQ(St().InPlay[i], before[i]) << "slot " << i;
    EXPECT_EQ(NamedInPlay(), before.size()) << "the trial copy leaves play";
    EXPECT_TRUE(SameRegistry(St().TriggerRegistry, registry))
        << "nothing registered for the trial copy";
    EXPECT_EQ(St().Players[1].CardIndex, hero) << "the trial copy never became the player card";
    EXPECT_EQ(St().NewestCard, hero);
    for (const Seen& s : seen)
        EXPECT_NE(s.kind + s.trigger, "RONDEATH") << "no real death for a trial";
    EXPECT_TRUE(seen.empty()) << "neither death nor entry runs for a trial";
}

TEST_F(CostsTest, RealPaymentStandsAndPlacesTheCard) {
    Card card = HandCard("Mossling");
    AddEffect(card, "MODTRAIT:GLOW:-1", 5, "COST", 0, "");

    EXPECT_TRUE(Pay(card, 0));

    EXPECT_EQ(Trait(hero, "GLOW"), "2");
    ASSERT_GT(card.Index, 0);
    EXPECT_EQ(C(card.Index).Name, "Mossling");
    EXPECT_EQ(C(card.Index).Active, 0) << "it waits for its start time";

    // A refused real payment keeps what its effects did before the refusal.
    Card greedy = HandCard("Lamp Thief");
    AddEffect(greedy, "MODTRAIT:GLOW:-1", 5, "COST", 0, "");
    AddEffect(greedy, "REQALLY:BREAKPOINT", 5, "COST", 0, "");
    EXPECT_FALSE(Pay(greedy, 0));
    EXPECT_EQ(Trait(hero, "GLOW"), "1");
}

TEST_F(CostsTest, TrialWithPlayFullKeepsTheAddedSlotFree) {
    auto& inPlay = St().InPlay;
    const int full = inPlay.size();
    Card card = HandCard("Glowmoth");

    EXPECT_TRUE(Pay(card, 1));

    ASSERT_EQ(inPlay.size(), full + 1);
    EXPECT_TRUE(inPlay[full + 1].Name.empty());
    EXPECT_EQ(NamedInPlay(), full);
}

TEST_F(CostsTest, OnlyActiveCardsAndThePayerModifyTheCost) {
    const int shrine = Place("Moth Shrine", 1);
    Script(shrine, "BREAKPOINT", "COSTMOD", 8);
    const int sleeper = Place("Sleeper", 2);
    Script(sleeper, "BREAKPOINT", "COSTMOD", 8);
    C(sleeper).Active = 0;
    const int gap = Place("Gap", 2);
    Script(gap, "BREAKPOINT", "COSTMOD", 8);
    C(gap).Name.clear();
    const int payer = Place("Payer", 1);
    Script(payer, "BREAKPOINT", "COSTMOD", 5);
    C(payer).Active = 0;

    EXPECT_TRUE(Pay(C(payer), 1));

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].target, "Payer") << "the shrine sees the payer as the triggering card";
    EXPECT_EQ(seen[0].newest, payer);
    EXPECT_EQ(seen[1].target, "Hero") << "the payer's own modifier runs while it is inactive";
}

// A walk over cost mods passes over, unseen, the cards of an indexed board that no cost mod
// reaches, and must do for them what looking at them would: the paying card becomes the newest
// card when the payer itself or an active card is among them, and the echo flag is cleared where
// the payer or an active card would take up an effect of COSTMOD's length. Each board is paid on
// indexed and left unindexed, as boards below the program's threshold are.
TEST_F(CostsTest, CardsPassedOverInAPaymentDoWhatLookingAtThemWould) {
    struct Row {
        const char* board;
        std::function<void(int payer)> setUp;
        uint8_t echoOnce;          // after the payment
        bool slotEmptied = false;  // the payer's slot holds no card: only active cards count
    };
    const Row rows[] = {
        {"the inactive payer among inactive cards", [](int) {}, 1},
        {"an inactive card that would take up COSTMOD",
         [&](int) {
             const int sleeper = Place("Sleeper", 2);
             Script(sleeper, "ECHO:x", "PHASE10", kTargetCard);
             C(sleeper).Active = 0;
         },
         1},
        {"an active card that would take up COSTMOD",
         [&](int) { Script(Place("Wisp", 2), "ECHO:x", "PHASE10", kTargetCard); }, 0},
        {"the inactive payer that would take up COSTMOD",
         [&](int payer) { Script(payer, "ECHO:x", "PHASE10", kTargetCard); }, 0},
        {"an active card, the payer's slot emptied", [&](int) { C(hero).Active = 1; }, 1, true},
    };
    for (const bool indexed : {true, false}) {
        PlayIndex::CheckAgainstCards(indexed);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.board) + (indexed ? ", indexed" : ", unindexed"));
            St().InPlay = StableList<Card>();
            PlacePlayers();
            C(hero).Active = C(foe).Active = 0;
            const int payer = Place("Payer", 1);
            r.setUp(payer);
            C(payer).Active = 0;
            St().NewestCard = hero;
            St().EchoOnce = 1;

            Card paying = C(payer);
            if (r.slotEmptied) C(payer).Name.clear();

            EXPECT_TRUE(Pay(r.slotEmptied ? paying : C(payer), 0));

            EXPECT_EQ(St().InPlay.IndexIfCrowded(), indexed);
            EXPECT_EQ(St().NewestCard, payer);
            EXPECT_EQ(St().EchoOnce, r.echoOnce);
        }
    }
    PlayIndex::CheckAgainstCards(true);
}

}  // namespace
}  // namespace dv
