#include "game/computer_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/card_life.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

constexpr int kAll = 2;
constexpr int kEnemyPlayer = 6;
constexpr int kSelf = 7;
constexpr int kTargetCard = 0;
constexpr int kOwner = 5;

struct Fx {
    const char* trigger;
    int targetType;
    const char* script;
};

// A requirement every player card meets, and one no card meets.
constexpr const char* kHolds = "REQTRAIT:HP:ECHOMINOR:x";
constexpr const char* kFails = "REQTRAIT:NOSUCH:ECHOMINOR:x";

class ComputerPlayerTest : public test::BoardTest {
  protected:
    // A hand card of player 2 with the given effects (and no blank slot unless asked for).
    static Card HandCard(const std::string& name, std::vector<Fx> effects,
                         test::TraitList traits = {}, int owner = 2) {
        Card card;
        card.Name = name;
        InitCard(card, owner, 0);
        card.Effects = List<Effect>(0);
        for (const auto& [trait, value] : traits)
            SetTrait(card, trait, value, 1);
        for (const Fx& fx : effects)
            AddEffect(card, fx.script, fx.targetType, fx.trigger, 0, "");
        return card;
    }

    // Puts cards into player 2's hand, slot 1 onwards, and returns the names in hand order.
    static void Hand(int player, const std::vector<Card>& cards) {
        List<Card>& hand = St().Players[player].Hand;
        hand = List<Card>(static_cast<int>(cards.size()));
        for (int i = 1; i <= hand.size(); ++i)
            hand[i] = cards[i - 1];
    }

    static std::vector<std::string> NamesInPlay() {
        std::vector<std::string> names;
        for (const Card& c : St().InPlay)
            if (!c.Name.empty()) names.push_back(c.Name);
        return names;
    }

    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + part.size()))
            ++n;
        return n;
    }
};

TEST_F(ComputerPlayerTest, ScoreRatesEachEffectByItsTriggerTargetAndTrialRun) {
    struct Row {
        const char* what;
        std::vector<Fx> effects;
        float score;
    };
    const std::vector<Row> rows = {
        {"a blank slot counts as any other trigger", {{"", 0, ""}}, 10},
        {"phase effect whose trial holds", {{"PHASE3", kEnemyPlayer, kHolds}}, 20},
        {"phase effect whose trial fails", {{"PHASE3", kEnemyPlayer, kFails}}, -10},
        {"phase effect with no target", {{"PHASE3", kTargetCard, kFails}}, -10},
        {"AIREQ on itself that holds", {{"AIREQ", kSelf, "REQTRAIT:LAMP"}}, 200},
        {"AIREQ on itself that fails", {{"AIREQ", kSelf, kFails}}, -100},
        {"AIREQ aimed elsewhere is not tried", {{"AIREQ", kAll, kFails}}, 10},
        {"ENTERSPLAY is no turn trigger", {{"ENTERSPLAY", kEnemyPlayer, kFails}}, 10},
        {"trait change of a named trait", {{"TRAITCHANGE:HP", kEnemyPlayer, kFails}}, 10},
        {"phase name in lower case", {{"phase3", kEnemyPlayer, kFails}}, 10},
        {"cost-time and reaction effects count nothing",
         {{"TARGETED", kAll, kHolds}, {"ONDEATH", kAll, kHolds}, {"COST", kOwner, kHolds}},
         0},
        {"other triggers on itself count nothing", {{"PHASE3", kSelf, kFails}}, 0},
        {"COSTMOD and OTHERENTERSPLAY count one",
         {{"COSTMOD", kSelf, kFails}, {"OTHERENTERSPLAY", kSelf, kFails}},
         10},
        {"floor of -1/3",
         {{"PHASE3", kEnemyPlayer, kFails},
          {"AIREQ", kAll, kHolds},
          {"PHASE3", kEnemyPlayer, kFails}},
         -4},
        {"floor of 1/3",
         {{"AIREQ", kAll, kHolds}, {"PHASE3", kEnemyPlayer, kFails}, {"AIREQ", kAll, kHolds}},
         3},
        {"a cost that cannot be paid", {{"COST", kOwner, kFails}, {"AIREQ", kSelf, kHolds}}, -100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Card card = HandCard("Lamp", r.effects, {{"LAMP", "1"}});
        EXPECT_EQ(GetAILove(card), r.score);
        EXPECT_EQ(GetTrait(card, "AILOVE").Num(), r.score);
        EXPECT_EQ(card.Active, 0);
    }
}

TEST_F(ComputerPlayerTest, PriorityRaisesTheStoredLoveButNotTheScore) {
    Card card = HandCard("Lamp", {{"PHASE3", kEnemyPlayer, kHolds}}, {{"PRIORITY", "5"}});
    EXPECT_EQ(GetAILove(card), 20);
    EXPECT_EQ(GetTrait(card, "AILOVE").Text(), "25");

    Card nameless;
    EXPECT_EQ(GetAILove(nameless), -1000);
}

TEST_F(ComputerPlayerTest, ScoringLeavesThePlayerCardsAsTheyWere) {
    Card card = HandCard(
        "Leech", {{"COST", kOwner, "MODTRAIT:HP:-3"}, {"PHASE1", kEnemyPlayer, "MODTRAIT:HP:-5"}});
    GetAILove(card);
    EXPECT_EQ(Trait(hero, "HP"), "20");
    EXPECT_EQ(Trait(foe, "HP"), "20");
}

TEST_F(ComputerPlayerTest, PlaysBestLovedFirstKeepingHandOrderOnTiesAndSkipsTheUnloved) {
    Hand(2, {HandCard("Tie A", {{"AIREQ", kAll, kHolds}}),
             HandCard("Unloved", {{"PHASE3", kEnemyPlayer, kFails}}),
             HandCard("Best", {{"AIREQ", kSelf, "REQTRAIT:LAMP"}}, {{"LAMP", "1"}}),
             HandCard("Tie B", {{"AIREQ", kAll, kHolds}})});
    const std::string plays = AIPlayCards(2);

    EXPECT_EQ(NamesInPlay(), (std::vector<std::string>{"Hero", "Foe", "Best", "Tie A", "Tie B"}));
    EXPECT_EQ(Count(plays, "<td><center>"), 3);
    // The unloved card stays in the sorted hand; the played slots are free.
    int left = 0;
    for (const Card& c : St().Players[2].Hand)
        if (!c.Name.empty()) {
            ++left;
            EXPECT_EQ(c.Name, "Unloved");
        }
    EXPECT_EQ(left, 1);
    const std::string tail =
        "</p></td></tr></table><table width=100%><tr><td colspan=80  bgcolor = #004400 ><font "
        "color=#FFFF00>Your Card Plays</font></td></tr><tr><td  bgcolor = #004400 ><p "
        "align=right>";
    EXPECT_EQ(plays.substr(plays.size() - tail.size()), tail);
}

// The computer tries its plays out on a budget of its own. Had its trials drawn on the turn's, a
// turn nearly spent would see them dropped, and a dropped trial fails nothing: the card whose
// requirement no card meets would be played. Nor may trying out plays spend what real play has.
TEST_F(ComputerPlayerTest, TryingOutPlaysSpendsNoneOfTheTurnsBudget) {
    struct Row {
        const char* what;
        long long runsLeft;
    };
    const Row rows[] = {{"a turn just begun", kMaxTurnRuns}, {"a turn with one run left", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ResetState();
        PlacePlayers();
        Hand(2, {HandCard("Loved", {{"AIREQ", kAll, kHolds}}),
                 HandCard("Unloved", {{"PHASE3", kEnemyPlayer, kFails}})});
        const TurnBudget turn;
        St().RunBudget.TurnRuns = kMaxTurnRuns - r.runsLeft;
        AIPlayCards(2);
        EXPECT_EQ(NamesInPlay(), (std::vector<std::string>{"Hero", "Foe", "Loved"}));
        EXPECT_EQ(St().RunBudget.TurnRuns, kMaxTurnRuns - r.runsLeft);
    }
}

TEST_F(ComputerPlayerTest, PlaysTableClosesItsRowAfterEveryFifthCell) {
    std::vector<Card> cards;
    for (int i = 1; i <= 6; ++i)
        cards.push_back(HandCard("Card " + std::to_string(i), {{"AIREQ", kAll, kHolds}}));
    Hand(2, cards);
    const std::string plays = AIPlayCards(2);
    EXPECT_EQ(Count(plays, "<td><center>"), 6);
    EXPECT_EQ(Count(plays, "</tr><tr>"), 1 + 1);  // the fifth cell's, and the closing text's
    EXPECT_LT(plays.find("</tr><tr>"), plays.rfind("<td><center>"));
}

TEST_F(ComputerPlayerTest, NothingPlayableGivesOnlyTheClosingText) {
    Hand(2, {HandCard("Unloved", {{"PHASE3", kEnemyPlayer, kFails}}),
             HandCard("Unpaid", {{"COST", kOwner, kFails}})});
    const std::string plays = AIPlayCards(2);
    EXPECT_EQ(plays.rfind("</p></td></tr></table>", 0), 0u);
    EXPECT_EQ(NamesInPlay(), (std::vector<std::string>{"Hero", "Foe"}));
}

TEST_F(ComputerPlayerTest, CardsAreChosenAgainstWhatEarlierChoicesSpentAndPaidOnce) {
    SetTrait(C(foe), "GLOW", "3", 1);
    const Fx cost{"COST", kOwner, "REQTRAITMORE:GLOW:2:MODTRAIT:GLOW:-2"};
    Hand(2, {HandCard("First", {cost, {"AIREQ", kSelf, "REQTRAIT:LAMP"}}, {{"LAMP", "1"}}),
             HandCard("Second", {cost, {"AIREQ", kAll, kHolds}}),
             HandCard("Cheap", {{"AIREQ", kAll, kHolds}})});
    AIPlayCards(2);
    // Only two glow are left after the first card; the second cannot be afforded beside it.
    EXPECT_EQ(NamesInPlay(), (std::vector<std::string>{"Hero", "Foe", "First", "Cheap"}));
    // Nothing is paid before the cards are activated in play.
    EXPECT_EQ(Trait(foe, "GLOW"), "3");
    for (int i = 1; i <= St().InPlay.size(); ++i)
        if (C(i).Name == "First") ActivateCard(C(i), 1);
    EXPECT_EQ(Trait(foe, "GLOW"), "1");
}

// While the next card is tried, the card chosen before it pays its cost from a free slot of play
// found past cards the search only read; the payment changes the paying side's card, whose change
// effect runs and changes it further. Putting the trial back leaves every card as it was.
TEST_F(ComputerPlayerTest, TryingOutPlaysLeavesPlayAsItWasWhateverThePaymentsChanged) {
    SetTrait(C(foe), "GLOW", "5", 1);
    Script(foe, "MODMYTRAIT:SPARK:1", "TRAITCHANGE:GLOW", kSelf);
    const int gap = Place("Gone", 1);
    const int bystander = Place("Bystander", 1);
    C(gap).Name.clear();
    const Card foeBefore = C(foe);
    const Card bystanderBefore = C(bystander);
    const Fx cost{"COST", kOwner, "REQTRAITMORE:GLOW:2:MODTRAIT:GLOW:-2"};
    Hand(2, {HandCard("First", {cost, {"AIREQ", kSelf, "REQTRAIT:LAMP"}}, {{"LAMP", "1"}}),
             HandCard("Second", {cost, {"AIREQ", kAll, kHolds}})});
    AIPlayCards(2);
    EXPECT_EQ(NamesInPlay(),
              (std::vector<std::string>{"Hero", "Foe", "First", "Bystander", "Second"}));
    EXPECT_EQ(C(foe), foeBefore);
    EXPECT_EQ(C(bystander), bystanderBefore);
    // Paid for real, the cost does run the change effect.
    for (int i = 1; i <= St().InPlay.size(); ++i)
        if (C(i).Name == "First") ActivateCard(C(i), 1);
    EXPECT_EQ(Trait(foe, "SPARK"), "1");
}

TEST_F(ComputerPlayerTest, MenuPassesWithdrawUntargetableChoicesOfPlayerTwoOnly) {
    // Effect 1 is a chosen menu action that no card can take; effect 2 is no menu action.
    const int witch = Place("Witch", 2);
    Script(witch, kFails, "MENU:Curse:1", kTargetCard);
    Script(witch, kFails, "PHASE1", kTargetCard);
    C(witch).Effects[1].MenuState = MenuState::Chosen;
    const int ally = Place("Ally", 1);
    Script(ally, kFails, "MENU:Help:1", kTargetCard);
    C(ally).Effects[1].MenuState = MenuState::Chosen;

    AISetMenus(2);
    EXPECT_EQ(C(witch).Effects[1].MenuState, MenuState::Offered);
    EXPECT_EQ(C(witch).Effects[2].MenuState, MenuState::None);
    EXPECT_EQ(C(ally).Effects[1].MenuState, MenuState::Chosen);

    // A computer turn for player 1 still chooses for player 2's cards, never player 1's.
    C(witch).Effects[1].MenuState = MenuState::Chosen;
    St().Players[1].Hand = List<Card>(0);
    AIPlayCards(1);
    EXPECT_EQ(C(witch).Effects[1].MenuState, MenuState::Offered);
    EXPECT_EQ(C(ally).Effects[1].MenuState, MenuState::Chosen);
}

TEST_F(ComputerPlayerTest, ClearMenuActionsWithdrawsOnlyChosenActionsOfNamedCards) {
    Card card = HandCard("Witch",
                         {{"MENU:A:1", 0, kHolds}, {"MENU:B:1", 0, kHolds}, {"PHASE1", 0, kHolds}});
    card.Effects[1].MenuState = MenuState::Chosen;
    card.Effects[2].MenuState = MenuState::Offered;
    Card nameless = card;
    nameless.Name.clear();
    ClearMenuActions(card);
    ClearMenuActions(nameless);
    EXPECT_EQ(card.Effects[1].MenuState, MenuState::Offered);
    EXPECT_EQ(card.Effects[2].MenuState, MenuState::Offered);
    EXPECT_EQ(card.Effects[3].MenuState, MenuState::None);
    EXPECT_EQ(nameless.Effects[1].MenuState, MenuState::Chosen);
}

}  // namespace
}  // namespace dv
