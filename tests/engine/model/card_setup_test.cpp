#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using CardSetupTest = test::EngineTest;

TEST_F(CardSetupTest, SetUpStartsTraitsAndEffectsAfreshAndKeepsTheName) {
    struct Row {
        int owner;
        int32_t sideMask;
    };
    const Row rows[] = {{0, 4}, {1, 1}, {2, 2}, {7, 64}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.owner);
        Card card;
        card.Name = "Imp";
        card.Index = 5;
        card.SideMask = 64;
        card.TraitNames = List<std::string>{"OLD"};
        card.TraitMask[3] = 8;
        card.Effects = List<Effect>(4);
        InitCard(card, r.owner, 1);
        EXPECT_EQ(card.Name, "Imp");
        EXPECT_EQ(card.Index, 0);
        EXPECT_EQ(card.SideMask, r.sideMask);
        EXPECT_EQ(card.Owner, r.owner);
        EXPECT_EQ(card.TraitMask, MaskWords{});
        EXPECT_GE(card.GID, 1);
        EXPECT_LE(card.GID, 100000000);
        ASSERT_EQ(card.TraitNames.size(), 20);
        EXPECT_EQ(card.TraitNames[1], "");
        ASSERT_EQ(card.Effects.size(), 1);
        EXPECT_EQ(card.Effects[1].Program.size(), 1);
        EXPECT_EQ(card.Effects[1].Args.size(), 1);
    }
}

// Cards set up share their first empty effect: an action given to one must reach no other card
// set up before or after it.
TEST_F(CardSetupTest, AnActionGivenToOneSetUpCardReachesNoOther) {
    Card before;
    InitCard(before, 1, 0);
    Card given;
    given.Name = "Imp";
    InitCard(given, 1, 0);
    EXPECT_EQ(AddEffect(given, "DESTROY", 0, "ENTERPLAY", 0, ""), 1);
    Card after;
    InitCard(after, 2, 0);
    for (const Card* fresh : {&before, &after}) {
        const Effect& effect = std::as_const(fresh->Effects)[1];
        EXPECT_EQ(effect.Text, "");
        EXPECT_EQ(effect.Trigger, "");
        EXPECT_EQ(effect.Program.size(), 1);
    }
    EXPECT_EQ(std::as_const(given.Effects)[1].Text, "DESTROY");
}

// A run in progress keeps its flags on the slot an effect is put into; a slot added at the end,
// a card set up afresh, or one its effects were cut from hold none of a former effect's.
TEST_F(CardSetupTest, RunFlagsStayWithAReusedSlotAndNoNewOneInheritsThem) {
    Card card;
    card.Name = "Imp";
    AddEffect(card, "ECHO:one", 0, "PHASE1", 0, "");
    AddEffect(card, "ECHO:two", 0, "PHASE1", 0, "");
    ChangeRunFlags(card, 1) = EffectRunFlags{1, 1, 40};
    ChangeRunFlags(card, 2) = EffectRunFlags{1, 0, 7};
    card.Effects[1].Text.clear();
    EXPECT_EQ(AddEffect(card, "ECHO:again", 0, "PHASE2", 0, ""), 1);
    EXPECT_EQ(RunFlagsOf(card, 1), (EffectRunFlags{1, 1, 40}));

    card.Effects.Resize(1);
    EXPECT_EQ(AddEffect(card, "ECHO:grown", 0, "PHASE2", 0, ""), 2);
    EXPECT_EQ(RunFlagsOf(card, 2), EffectRunFlags{});

    InitCard(card, 1, 0);
    EXPECT_EQ(RunFlagsOf(card, 1), EffectRunFlags{});
    EXPECT_THROW(RunFlagsOf(card, 2), std::out_of_range) << "as reading the effect would";
    EXPECT_THROW(ChangeRunFlags(card, 0), std::out_of_range);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CardSetupTest, EffectsFillFreeSlotsBeforeGrowing) {
    Card card;
    card.Name = "Imp";
    EXPECT_EQ(AddEffect(card, "MODTRAIT:HP:1", 7, "TURNSTART", 0, ""), 1);
    EXPECT_EQ(card.Initialised, 1) << "a card not yet set up is set up first";
    EXPECT_EQ(card.Owner, 1);
    EXPECT_EQ(card.Active, 0);
    EXPECT_EQ(AddEffect(card, "DESTROY", 0, "ENTERPLAY", 0, ""), 2);
    EXPECT_EQ(card.Effects.size(), 2);
    card.Effects[1].Text = "";
    EXPECT_EQ(AddEffect(card, "ECHO:again", 11, "ONDEATH", 0, "GIDCARD:5"), 1);
    const Effect& effect = card.Effects[1];
    EXPECT_EQ(effect.Text, "ECHO:again");
    EXPECT_EQ(effect.Trigger, "ONDEATH");
    EXPECT_EQ(effect.Args.size(), 2);  // compiled: "ECHO", "again"
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CardSetupTest, MenuTriggersBecomeMenuActionsUnlessKept) {
    struct Row {
        const char* trigger;
        int keepMenu;
        uint8_t designer;
        MenuState menuState;
        const char* storedTrigger;
        const char* menuText;
    };
    const Row rows[] = {
        {"MENU:TURNSTART:Heal me", 0, 0, MenuState::Offered, "TURNSTART", "Heal me"},
        {"MENU:TURNSTART:Heal me", 1, 0, MenuState::None, "MENU:TURNSTART:Heal me", ""},
        {"MENU:TURNSTART:Heal me", 0, 1, MenuState::None, "MENU:TURNSTART:Heal me", ""},
        {"MENUS:TURNSTART", 0, 0, MenuState::None, "MENUS:TURNSTART", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.trigger);
        St().DesignerActive = r.designer;
        Card card;
        card.Name = "Healer";
        const int index = AddEffect(card, "MODTRAIT:HP:1", 7, r.trigger, r.keepMenu, "");
        const Effect& effect = card.Effects[index];
        EXPECT_EQ(effect.MenuState, r.menuState);
        EXPECT_EQ(effect.Trigger, r.storedTrigger);
        EXPECT_EQ(effect.MenuText, r.menuText);
    }
}

TEST_F(CardSetupTest, AReusedEffectSlotKeepsNothingOfItsFormerEffect) {
    Card placed;
    placed.Name = "Imp";
    AddEffect(placed, "REQALLY:TRAIT:HP:1:ECHO:old", 3, "MENU:INTERCEPT:Old menu", 0, "");
    AddEffect(placed, "ECHO:keep", 0, "PHASE1", 0, "");
    const int number = St().InPlay.PushBack(placed);
    Card& card = St().InPlay[number];
    card.Index = number;
    RegisterAllActions();
    card.Effects[1].Target = 4;
    card.Effects[1].Echoed = 1;
    // A trial run's copy frees and refills the slot without touching the game's registrations.
    Card copy = card;
    copy.Effects[1].Text.clear();
    AddEffect(copy, "ECHO:trial", 0, "PHASE2", 0, "");
    EXPECT_EQ(St().TriggerRegistry[17].Cards[1], number);

    card.Effects[1].Text.clear();  // deleted by its own run
    EXPECT_EQ(AddEffect(card, "ECHO:new", 0, "PHASE2", 0, ""), 1);
    const Effect& effect = card.Effects[1];
    EXPECT_EQ(effect.MenuState, MenuState::None) << "a menu action no trigger would reach";
    EXPECT_EQ(effect.MenuText, "");
    EXPECT_EQ(effect.TraitBits, MaskWords{});
    EXPECT_EQ(effect.SideReq, 255);
    EXPECT_EQ(effect.Target, 0);
    EXPECT_EQ(effect.Echoed, 0);
    EXPECT_EQ(effect.Args.size(), 2);
    for (const TriggerSlot& slot : St().TriggerRegistry) {
        for (int k = 1; k <= slot.Cards.size(); ++k)
            EXPECT_FALSE(slot.Cards[k] == number && slot.Effects[k] == 1);
    }
    EXPECT_EQ(St().TriggerRegistry[1].Cards[1], number) << "the card's other effect stays";
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace dv
