#include "engine/model/trait_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/card_life.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/set_up_card.h"

namespace dv {
namespace {

// Trait actions: FLYING gives "ECHO:flap" at TURNSTART, and every card gets "ECHO:all" at PHASE1.
class TraitActionsTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        St().TraitActions.PushBack(Definition("FLYING", "ECHO:flap", "TURNSTART"));
        St().TraitActions.PushBack(Definition("#ALL#", "ECHO:all", "PHASE1"));
    }
    static Card Definition(const std::string& trait, const std::string& script,
                           const std::string& trigger) {
        Card t;
        t.Name = trait;
        t.Effects = List<Effect>(1);
        t.Effects[1].Text = script;
        t.Effects[1].Trigger = trigger;
        t.Effects[1].TargetType = 7;
        t.Effects[1].TargetText = "SELF";
        return t;
    }
    static Card Flyer(const std::string& description = "") {
        Card c = test::MakeCard("Bat", 0);
        c.TraitNames[1] = "FLYING";
        c.TraitActionDescs[1] = description;
        return c;
    }
    static int Inherited(const Card& c, const std::string& script) {
        int n = 0;
        for (const Effect& e : c.Effects)
            if (e.Text.find(script) != std::string::npos) ++n;
        return n;
    }
};

TEST_F(TraitActionsTest, InheritedActionsFollowTraitsAndOverrides) {
    struct Row {
        const char* description;
        int flap;
        int all;
    };
    const Row rows[] = {{"", 1, 1}, {"OVERRIDE", 0, 1}, {"override", 1, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.description);
        Card c = Flyer(r.description);
        AddTraitEffects(c, "");
        EXPECT_EQ(Inherited(c, "TRAIT:TRAITEFFECT:FLYING:ECHO:flap"), r.flap);
        EXPECT_EQ(Inherited(c, "TRAIT:TRAITEFFECT:#ALL#:ECHO:all"), r.all);
        EXPECT_EQ(c.TraitEffectsValid, 1);
    }
}

TEST_F(TraitActionsTest, InheritedActionsAreAddedOnceAndComeBackAfterRemoval) {
    Card c = Flyer();
    AddTraitEffects(c, "");
    c.TraitEffectsValid = 0;
    AddTraitEffects(c, "");
    EXPECT_EQ(Inherited(c, "ECHO:flap"), 1) << "added twice";

    RemoveTraitActions(c, "FLYING");
    EXPECT_EQ(Inherited(c, "ECHO:flap"), 0);
    EXPECT_EQ(Inherited(c, "ECHO:all"), 1);
    EXPECT_EQ(c.TraitEffectsValid, 1) << "removal leaves the flag alone";
    AddTraitEffects(c, "");
    EXPECT_EQ(Inherited(c, "ECHO:flap"), 0) << "nothing is added while the flag is 1";
    c.TraitEffectsValid = 0;
    AddTraitEffects(c, "FLYING");
    EXPECT_EQ(Inherited(c, "ECHO:flap"), 1) << "a freed slot must not still count as inherited";
}

TEST_F(TraitActionsTest, RemovingAllInheritedActionsKeepsTheCardsOwn) {
    Card c = Flyer();
    AddEffect(c, "ECHO:own", 7, "PHASE2", 0, "SELF");
    AddTraitEffects(c, "");
    RemoveAllTraitActions(c);
    EXPECT_EQ(Inherited(c, "ECHO:own"), 1);
    EXPECT_EQ(Inherited(c, "ECHO:flap") + Inherited(c, "ECHO:all"), 0);
    for (const Effect& e : c.Effects) {
        if (e.Text.empty()) {
            EXPECT_EQ(e.Trigger, "0");
        }
    }
}

TEST_F(TraitActionsTest, CardsWithValidActionsOrNoNameAreLeftAlone) {
    Card c = Flyer();
    c.TraitEffectsValid = 1;
    Card before = c;
    AddTraitEffects(c, "");
    EXPECT_EQ(c, before);
    Card empty;
    AddTraitEffects(empty, "");
    EXPECT_EQ(empty.TraitEffectsValid, 0);
    Card stale = Flyer();
    stale.Effects[1].Text = "TRAIT:TRAITEFFECT:FLYING:ECHO:flap";
    Card kept = stale;
    RemoveAllTraitActions(stale);
    EXPECT_EQ(stale, kept) << "with the flag 0 nothing is removed";
}

TEST_F(TraitActionsTest, RebuildingAllCardsReachesPlayAndBothDecks) {
    St().InPlay.PushBack(Flyer());
    St().Players[1].Deck.PushBack(Flyer());
    St().Players[2].Deck.PushBack(Flyer());
    for (Card* c : {&St().InPlay[1], &St().Players[1].Deck[1], &St().Players[2].Deck[1]})
        c->TraitEffectsValid = 1;
    AddAllTraitEffects(0);
    EXPECT_EQ(Inherited(St().InPlay[1], "ECHO:flap"), 0);
    AddAllTraitEffects(1);
    EXPECT_EQ(Inherited(St().InPlay[1], "ECHO:flap"), 1);
    EXPECT_EQ(Inherited(St().Players[1].Deck[1], "ECHO:flap"), 1);
    EXPECT_EQ(Inherited(St().Players[2].Deck[1], "ECHO:flap"), 1);
}

// Rebuilding all cards reuses the actions prepared for one card on the next: each card must still
// end exactly as it would alone, whichever side it is on, with a freed slot reused in place.
TEST_F(TraitActionsTest, RebuildingAllCardsGivesEachWhatItWouldGetAlone) {
    St().TraitActions.PushBack(
        Definition("SWIFT", "REQALLY:REQTRAIT:SWIFT:ECHO:ally", "MENU:PHASE2:Go"));
    Card freed = Flyer();
    freed.TraitNames[2] = "SWIFT";
    AddEffect(freed, "ECHO:own", 7, "PHASE2", 0, "SELF");
    AddEffect(freed, "ECHO:later", 7, "PHASE3", 0, "SELF");
    freed.Effects[1].Text.clear();
    ChangeRunFlags(freed, 1).Running = 1;
    Card swift = Flyer();
    swift.TraitNames[2] = "SWIFT";
    const Card cards[] = {swift, freed, Flyer("OVERRIDE"), swift};

    struct Placed {
        int owner;
        int at;
        Card alone;
    };
    std::vector<Placed> placed;
    for (int owner = 1; owner <= 2; ++owner)
        for (const Card& c : cards) {
            Card copy = c;
            copy.Owner = static_cast<uint8_t>(owner);
            const int at = St().Players[owner].Deck.PushBack(copy);
            AddTraitEffects(copy, "");
            placed.push_back({owner, at, copy});
        }
    AddAllTraitEffects(1);
    for (const Placed& p : placed)
        EXPECT_EQ(St().Players[p.owner].Deck[p.at], p.alone) << p.owner << " " << p.at;
}

}  // namespace
}  // namespace dv
