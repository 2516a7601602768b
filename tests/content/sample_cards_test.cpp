// The sample game's cards keep what their texts promise, played on the engine from the real
// content files: a board is set up, a card played as a player or the computer would, and the
// promise checked, over enough seeds for the cards that leave things to chance.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "data/card_files.h"
#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "engine/rules/costs.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"
#include "game/computer_games.h"
#include "game/computer_player.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "tests/game/computer_game_fixture.h"

namespace dv {
namespace {

class SampleCardsTest : public test::SampleGameTest {
  protected:
    static constexpr const char* kMirewitch = "Mirewitch_Enemy.txt";

    // A game between the starter deck and an opponent file before its first turn, the generator
    // at the seed, each side with no glow.
    void NewBoard(int seed, const char* opponent = kMirewitch) {
        QuickStart();
        State& st = St();
        for (int p = 1; p <= 2; ++p) {
            List<Card> scratch;
            const char* deck = p == 1 ? "Lamplighter_Starter.txt" : opponent;
            ReadCards(scratch, (Folder() / "Mosslight" / deck).string(), st.Players[p], "#INDECK");
        }
        StartGame(1);
        // Read after the set-up, which numbers trait names afresh.
        set_ = List<Card>();
        Player reader;
        ReadCards(set_, (Folder() / "Mosslight" / "Mosslight_Set.txt").string(), reader);
        st.Random.Seed(seed);
        st.TurnLog.clear();
        SetGlow(1, 0);
        SetGlow(2, 0);
    }

    Card FromSet(const std::string& name, int owner) const {
        const auto found =
            std::find_if(set_.begin(), set_.end(), [&](const Card& c) { return c.Name == name; });
        EXPECT_NE(found, set_.end()) << name;
        Card card = found == set_.end() ? Card{} : *found;
        card.Owner = static_cast<uint8_t>(owner);
        for (int e = 1; e <= card.Effects.size(); ++e)
            SetActionMasks(card, e);
        return card;
    }

    // A card already in play: placed and activated free and quietly, so that nothing of its
    // entry runs.
    int Place(const std::string& name, int owner) {
        Card card = FromSet(name, owner);
        card.AlreadyPlaced = 1;
        const int n = AddCard(card);
        ActivateCard(St().InPlay[n], 1);
        St().InPlay[n].AlreadyPlaced = 0;
        return n;
    }

    // Played by its owner from the hand, aimed at a card or not: it pays and enters, and its entry
    // actions run. 0 when it went back to the hand.
    int Enter(const std::string& name, int owner, int aim = 0) {
        Card card = FromSet(name, owner);
        card.PresetTarget = static_cast<int16_t>(aim);
        card.NextTarget = static_cast<int16_t>(aim);
        const int n = AddCard(card);
        ActivateCard(St().InPlay[n], 0);
        return St().InPlay[n].Name == name ? n : 0;
    }

    // Queued by its owner from the hand, aimed at a card or not: in play, neither paid for nor
    // entered, until the turn start reaches it.
    void Queue(const std::string& name, int owner, int aim = 0) {
        Card card = FromSet(name, owner);
        card.PresetTarget = static_cast<int16_t>(aim);
        AddCard(card);
    }
    static void TurnStart() { RunListActions(Value(GetTriggerNum("TURNSTART"))); }

    // Played by the computer, as its only hand card. 0 when it kept it in the hand.
    int ComputerPlays(const std::string& name) {
        State& st = St();
        List<Card>& hand = st.Players[2].Hand;
        hand = List<Card>(kStartHandSlots);
        for (Card& slot : hand)
            InitCard(slot, 2, 0);
        hand[1] = FromSet(name, 2);
        AIPlayCards(2);
        for (int n = 1; n <= st.InPlay.size(); ++n) {
            Card& card = st.InPlay[n];
            if (card.Name == name && card.Owner == 2 && card.Active == 0) {
                ActivateCard(card, 0);
                return n;
            }
        }
        return 0;
    }

    static Card& C(int n) { return St().InPlay[n]; }
    static int PlayerCard(int side) { return St().Players[side].CardIndex; }
    static double Num(int n, const std::string& trait) { return GetTrait(C(n), trait).Num(); }
    static double Glow(int side) { return Num(PlayerCard(side), "GLOW"); }
    static void SetGlow(int side, int glow) {
        SetTrait(C(PlayerCard(side)), "GLOW", Value(glow), 1);
    }
    static int CountInPlay(const std::string& name, int side) {
        const auto& play = St().InPlay;
        return static_cast<int>(std::count_if(play.begin(), play.end(), [&](const Card& c) {
            return c.Name == name && c.Owner == side && c.Dead == 0;
        }));
    }
    static int InHand(const std::string& name, int side) {
        const auto& hand = St().Players[side].Hand;
        return static_cast<int>(
            std::count_if(hand.begin(), hand.end(), [&](const Card& c) { return c.Name == name; }));
    }
    // A phase of the turn reaching one card, as it reaches every card in play.
    static void Dispatch(int n, const std::string& trigger) {
        RunActionsCall call;
        call.triggeringCard = -1;
        call.append = 1;
        RunActions(C(n), trigger, call);
    }
    static bool Logged(const std::string& text) {
        return St().TurnLog.find(text) != std::string::npos;
    }
    // The HP each card has lost, of the cards given with the HP they had.
    static std::vector<int> Losses(const std::vector<std::pair<int, int>>& cards) {
        std::vector<int> lost;
        for (const auto& [n, hp] : cards)
            lost.push_back(hp - static_cast<int>(Num(n, "HP")));
        return lost;
    }

    // Trades of a Wisp Trader of the player, each its special action chosen as a click chooses it
    // and run at the turn start: true when each handed out one card and none of them is a player
    // card or one that starts in play.
    bool TradesHandOutNoPlayerOrStartingCard(int trades) {
        State& st = St();
        const int trader = Place("Wisp Trader", 1);
        st.Players[1].Tokens = 5 * trades;
        st.Collection = List<Card>();
        for (int t = 0; t < trades; ++t) {
            for (int e = 1; e <= C(trader).Effects.size(); ++e)
                if (C(trader).Effects[e].MenuState != MenuState::None)
                    ChooseMenuAction("MENUACTION:" + std::to_string(C(trader).GID) + ":" +
                                     std::to_string(e));
            Dispatch(trader, "TURNSTART");
        }
        int handedOut = 0;
        for (Card& card : st.Collection) {
            if (card.Name.empty()) continue;
            ++handedOut;
            if (HasTrait(card, "PLAYER") || HasTrait(card, "STARTSINPLAY")) return false;
        }
        return handedOut == trades && st.Players[1].Tokens == 0;
    }

    // A Pike Captain of the side enters against two enemy creatures, the player's aimed at the
    // second: in phase 6 it harries one card, the aimed one for the player, and once that card
    // has left play, nothing.
    bool HarriesQuarry(int side) {
        const int foe = 3 - side;
        const int a = Place("Reed Sentry", foe);
        const int b = Place("Bog Hound", foe);
        SetGlow(side, 3);
        const int captain = side == 1 ? Enter("Pike Captain", 1, b) : ComputerPlays("Pike Captain");
        if (captain == 0) return false;
        const int cards[] = {a, b, PlayerCard(foe)};
        double hp[3];
        for (int i = 0; i < 3; ++i)
            hp[i] = Num(cards[i], "HP");
        Dispatch(captain, "PHASE6");
        int quarry = 0;
        int harried = 0;
        for (int i = 0; i < 3; ++i) {
            if (hp[i] - Num(cards[i], "HP") != 1) continue;
            quarry = cards[i];
            ++harried;
        }
        if (harried != 1 || (side == 1 && quarry != b)) return false;
        if (quarry == PlayerCard(foe)) return true;
        KillCard(C(quarry), 1);
        const double others = Num(quarry == a ? b : a, "HP") + Num(PlayerCard(foe), "HP");
        Dispatch(captain, "PHASE6");
        return Num(quarry == a ? b : a, "HP") + Num(PlayerCard(foe), "HP") == others;
    }

    List<Card> set_;
};

// In computer games of the sample decks the Fen Twins and the Mirror Pool copy cards: no copy is
// refused for want of glow.
TEST_F(SampleCardsTest, ComputerGamesRefuseNoQueuedCopy) {
    const char* decks[] = {"Lamplighter_Starter.txt", "Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",
                           "Reedmother_Enemy.txt"};
    int copies = 0;
    for (int game = 0; game < 50; ++game) {
        St().SeedOverride = 1000 + game;
        std::string loser;
        PlayAIGame(decks[game % 4], decks[(game + game / 4 + 1) % 4], loser);
        const std::string& log = St().AIGameLog;
        EXPECT_EQ(log.find("cannot play"), std::string::npos) << "game " << game;
        for (const char* copying : {"A second twin wades", "The Mirror Pool shows"})
            for (auto at = log.find(copying); at != std::string::npos;
                 at = log.find(copying, at + 1))
                ++copies;
    }
    EXPECT_GE(copies, 20);
}

// Each card of the table is played as its text says, on a fresh board for every seed; the row
// counts the seeds on which the text held, which must lie between its bounds.
TEST_F(SampleCardsTest, EachCardKeepsWhatItsTextSays) {
    struct Row {
        const char* card;
        const char* promise;
        int seeds;
        int least;
        int most;
        std::function<bool()> kept;
        const char* opponent = kMirewitch;
    };
    const Row rows[] = {
        {"Fen Twins", "a second twin joins it, for the 3 glow paid once", 1, 1, 1,
         [&] {
             SetGlow(1, 3);
             Enter("Fen Twins", 1);
             CreateSideBoards();
             return CountInPlay("Fen Twins", 1) == 2 && Glow(1) == 0;
         }},
        {"Mirror Pool", "a copy of an allied creature joins your side", 1, 1, 1,
         [&] {
             const int moss = Place("Mossling", 1);
             SetGlow(1, 3);
             Enter("Mirror Pool", 1, moss);
             CreateSideBoards();
             return CountInPlay("Mossling", 1) == 2 && Glow(1) == 0;
         }},
        {"Ghost Lantern", "a Mossling crawls from the glass", 1, 1, 1,
         [&] {
             KillCard(C(Place("Ghost Lantern", 2)), 0);
             CreateSideBoards();
             return CountInPlay("Mossling", 2) == 1 && InHand("Mossling", 2) == 0;
         }},
        {"Moth Shrine", "an allied spell costs 1 glow less; an enemy shrine lends nothing", 1, 1, 1,
         [&] {
             const int moss = Place("Mossling", 1);
             SetGlow(1, 2);
             SetGlow(2, 2);
             Enter("Moth Shrine", 1);
             Enter("Moth Shrine", 2);
             SetGlow(1, 2);
             return Enter("Mirror Pool", 1, moss) != 0 && Glow(1) == 0;
         }},
        {"Moth Shrine", "two shrines make a 1-glow spell cost nothing", 1, 1, 1,
         [&] {
             SetGlow(1, 4);
             Enter("Moth Shrine", 1);
             Enter("Moth Shrine", 1);
             return Enter("Lantern Oil", 1) != 0 && Glow(1) == 3;
         }},
        {"Moth Shrine", "the computer plays the spell its glow pays for", 1, 1, 1,
         [&] {
             Place("Mossling", 2);
             SetGlow(2, 2);
             Enter("Moth Shrine", 2);
             SetGlow(2, 2);
             return ComputerPlays("Mirror Pool") != 0 && Glow(2) == 0;
         }},
        {"Moth Shrine", "one queued after a spell and refused for want of glow lends it nothing", 1,
         1, 1,
         [&] {
             SetGlow(1, 1);
             Queue("Spark of Dawn", 1, PlayerCard(2));
             Queue("Moth Shrine", 1);
             TurnStart();
             return Num(PlayerCard(2), "HP") == 16 && Glow(1) == 0 && Logged("cannot play") &&
                    InHand("Moth Shrine", 1) == 1 && CountInPlay("Moth Shrine", 1) == 0;
         }},
        {"Moth Shrine", "one queued before a spell and paid for lends it its glow", 1, 1, 1,
         [&] {
             SetGlow(1, 3);
             Queue("Moth Shrine", 1);
             Queue("Spark of Dawn", 1, PlayerCard(2));
             TurnStart();
             return Num(PlayerCard(2), "HP") == 16 && Glow(1) == 1;
         }},
        {"Shellback Turtle", "an action aimed at it stays on it", 60, 60, 60,
         [&] {
             const int turtle = Place("Shellback Turtle", 2);
             SetGlow(1, 1);
             Enter("Spark of Dawn", 1, turtle);
             const bool shell = Logged("pulls into its shell");
             return Num(PlayerCard(2), "HP") == 18 && Num(turtle, "HP") == (shell ? 5 : 3);
         }},
        {"Shellback Turtle", "it shrugs off about a third of real actions", 60, 6, 32,
         [&] {
             const int turtle = Place("Shellback Turtle", 2);
             SetGlow(1, 1);
             Enter("Spark of Dawn", 1, turtle);
             return Num(turtle, "HP") == 5;
         }},
        {"Shellback Turtle", "random strikes reach it as any other card", 60, 3, 60,
         [&] {
             const int turtle = Place("Shellback Turtle", 2);
             Dispatch(Place("Bog Hound", 1), "PHASE5");
             return Logged("pulls into its shell") || Num(turtle, "HP") < 5;
         }},
        {"Marsh Lights", "they burn an enemy creature for 2", 60, 60, 60,
         [&] {
             const int a = Place("Mossling", 2);
             const int b = Place("Reed Sentry", 2);
             const int own = Place("Mossling", 1);
             SetGlow(1, 2);
             Enter("Marsh Lights", 1);
             return (2 - Num(a, "HP")) + (4 - Num(b, "HP")) == 2 &&
                    Num(PlayerCard(2), "HP") == 18 && Num(own, "HP") == 2;
         }},
        {"Pike Captain", "the player's harries the quarry aimed at, and nothing once it left", 20,
         20, 20, [&] { return HarriesQuarry(1); }},
        {"Pike Captain", "the computer's harries the quarry it marked, and nothing once it left",
         20, 20, 20, [&] { return HarriesQuarry(2); }},
        {"Ferryman", "the computer's rows back an enemy creature", 40, 40, 40,
         [&] {
             Place("Mossling", 2);
             Place("Reed Sentry", 2);
             Place("Bog Hound", 1);
             SetGlow(2, 3);
             return ComputerPlays("Ferryman") != 0 && InHand("Bog Hound", 1) == 1 &&
                    CountInPlay("Mossling", 2) + CountInPlay("Reed Sentry", 2) == 2;
         }},
        {"Ferryman", "the computer's rows back none of its own", 1, 1, 1,
         [&] {
             Place("Mossling", 2);
             SetGlow(2, 3);
             ComputerPlays("Ferryman");
             return CountInPlay("Mossling", 2) == 1;
         }},
        {"Ferryman", "the player's rows back the creature of their own aimed at", 1, 1, 1,
         [&] {
             const int own = Place("Reed Sentry", 1);
             Place("Bog Hound", 2);
             SetGlow(1, 3);
             return Enter("Ferryman", 1, own) != 0 && InHand("Reed Sentry", 1) == 1 &&
                    CountInPlay("Bog Hound", 2) == 1;
         }},
        {"Herbalist", "she heals a wounded ally for 2, no further than its HPMAX", 1, 1, 1,
         [&] {
             struct Heal {
                 int ally;
                 int hp;
                 int healed;
             };
             const int herbalist = Place("Herbalist", 1);
             const int golem = Place("Peat Golem", 1);
             const Heal heals[] = {
                 {golem, 4, 6}, {golem, 5, 6}, {PlayerCard(1), 19, 20}, {PlayerCard(1), 10, 12}};
             bool kept = true;
             for (const Heal& h : heals) {
                 SetTrait(C(golem), "HP", Value(golem == h.ally ? h.hp : 6), 1);
                 SetTrait(C(PlayerCard(1)), "HP", Value(golem == h.ally ? 20 : h.hp), 1);
                 Dispatch(herbalist, "PHASE6");
                 kept = kept && Num(h.ally, "HP") == h.healed;
             }
             return kept;
         }},
        {"Old Marsh King", "every other allied creature that fights gains 1 POWER", 1, 1, 1,
         [&] {
             const int moss = Place("Mossling", 1);
             const int herbalist = Place("Herbalist", 1);
             const int trader = Place("Wisp Trader", 1);
             SetGlow(1, 5);
             const int king = Enter("Old Marsh King", 1);
             return king != 0 && Num(moss, "POWER") == 2 && !HasTrait(C(herbalist), "POWER") &&
                    !HasTrait(C(trader), "POWER") && Num(king, "POWER") == 4;
         }},
        {"Decoy Scarecrow", "it takes both sears of an entering enemy Will-o'-Wisp", 50, 50, 50,
         [&] {
             const std::vector<std::pair<int, int>> side = {{Place("Decoy Scarecrow", 1), 4},
                                                            {Place("Mossling", 1), 2},
                                                            {Place("Glowmoth", 1), 1},
                                                            {PlayerCard(1), 20}};
             SetGlow(2, 2);
             return Enter("Will-o'-Wisp", 2) != 0 && Losses(side) == std::vector{2, 0, 0, 0};
         }},
        {"Decoy Scarecrow", "enemy strikes land on it, a scorch that asks for a creature does not",
         50, 50, 50,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int sentry = Place("Reed Sentry", 1);
             Dispatch(Place("Ember Newt", 2), "PHASE3");
             const bool scorched = Num(sentry, "HP") == 3 && Num(scarecrow, "HP") == 4;
             Dispatch(Place("Bog Hound", 2), "PHASE5");
             return scorched && Num(scarecrow, "HP") == 2 && Num(sentry, "HP") == 3;
         }},
        {"Decoy Scarecrow", "it draws an enemy creature that has lost its POWER", 1, 1, 1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int shaman = Place("Mire Shaman", 2);
             SetTrait(C(shaman), "POWER", Value(0), 1);
             Dispatch(shaman, "PHASE4");
             return Num(scarecrow, "HP") == 3 && Num(PlayerCard(1), "HP") == 20;
         }},
        {"Glowmoth", "its owner gains 1 glow, an enemy scarecrow in play or not", 1, 1, 1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             SetGlow(2, 1);
             return Enter("Glowmoth", 2) != 0 && Glow(2) == 1 && !HasTrait(C(scarecrow), "GLOW");
         }},
        {"Will-o'-Wisp", "it sears two different enemies of three, each for 1", 100, 100, 100,
         [&] {
             const std::vector<std::pair<int, int>> side = {
                 {Place("Mossling", 1), 2}, {Place("Reed Sentry", 1), 4}, {PlayerCard(1), 20}};
             SetGlow(2, 2);
             if (Enter("Will-o'-Wisp", 2) == 0) return false;
             const std::vector<int> lost = Losses(side);
             const auto marked = std::count_if(St().InPlay.begin(), St().InPlay.end(),
                                               [](Card& c) { return HasTrait(c, "SEARED"); });
             return std::count(lost.begin(), lost.end(), 1) == 2 &&
                    std::count(lost.begin(), lost.end(), 0) == 1 && marked == 0;
         }},
        {"Wisp Trader", "a trade with the Bogwarden hands out no player card", 30, 30, 30,
         [&] { return TradesHandOutNoPlayerOrStartingCard(10); }, "Bogwarden_Enemy.txt"},
        {"Wisp Trader", "a trade with the Mirewitch hands out no player card", 30, 30, 30,
         [&] { return TradesHandOutNoPlayerOrStartingCard(10); }},
        {"Wisp Trader", "a trade with the Reedmother hands out no player card", 30, 30, 30,
         [&] { return TradesHandOutNoPlayerOrStartingCard(10); }, "Reedmother_Enemy.txt"},
        {"Wisp Trader", "a trade in the mission hands out neither player card nor the wraith", 30,
         30, 30, [&] { return TradesHandOutNoPlayerOrStartingCard(10); }, "FirstLight.mis"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.card) + ": " + r.promise);
        int kept = 0;
        for (int seed = 1; seed <= r.seeds; ++seed) {
            NewBoard(seed, r.opponent);
            kept += r.kept();
        }
        EXPECT_GE(kept, r.least);
        EXPECT_LE(kept, r.most);
    }
}

// "Calculate Cost" gives every sample card the price its text states and its COST action charges.
TEST_F(SampleCardsTest, CostCardPricesEachCardAtWhatItCharges) {
    NewBoard(9);
    int priced = 0;
    for (Card original : set_) {
        if (original.Name.empty() || HasTrait(original, "PLAYER")) continue;
        SCOPED_TRACE(original.Name);
        Card card = original;
        PriceCard(card);
        const double price = GetTrait(card, "GLOWCOST").Num();
        EXPECT_EQ(price, GetTrait(original, "GLOWCOST").Num());
        EXPECT_NE(card.Description.find("Costs " + std::to_string(int(price)) + " glow."),
                  std::string::npos);
        SetGlow(1, 10);
        Card payer = FromSet(original.Name, 1);
        uint8_t pay = 0;
        EXPECT_TRUE(PayCost(payer, pay));
        EXPECT_EQ(Glow(1), 10 - price);
        KillCard(C(payer.Index), 1);
        ++priced;
    }
    EXPECT_EQ(priced, 41);
}

}  // namespace
}  // namespace dv
