// The sample game's cards keep what their texts promise, played on the engine from the real
// content files: each test sets up a board, plays a card as a player or the computer would, and
// checks the promise, over enough seeds for the cards that leave things to chance.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
    // A game between the starter deck and the Mirewitch before its first turn, the generator at
    // the seed, each side with no glow.
    void NewBoard(int seed) {
        QuickStart();
        State& st = St();
        for (int p = 1; p <= 2; ++p) {
            List<Card> scratch;
            const char* deck = p == 1 ? "Lamplighter_Starter.txt" : "Mirewitch_Enemy.txt";
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
    static bool InPlay(int n, const std::string& name) {
        return St().InPlay.Has(n) && C(n).Name == name && C(n).Dead == 0;
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

    List<Card> set_;
};

// Copies and created cards are queued and enter free: a card the owner could not pay again
// would go back to the hand.
TEST_F(SampleCardsTest, QueuedCopiesEnterFree) {
    NewBoard(1);
    SetGlow(1, 3);
    ASSERT_NE(Enter("Fen Twins", 1), 0);
    EXPECT_EQ(Glow(1), 0);
    CreateSideBoards();
    EXPECT_EQ(CountInPlay("Fen Twins", 1), 2);
    EXPECT_EQ(InHand("Fen Twins", 1), 0);
    EXPECT_EQ(Glow(1), 0);

    NewBoard(2);
    const int moss = Place("Mossling", 1);
    SetGlow(1, 3);
    ASSERT_NE(Enter("Mirror Pool", 1, moss), 0);
    CreateSideBoards();
    EXPECT_EQ(CountInPlay("Mossling", 1), 2);
    EXPECT_EQ(Glow(1), 0);

    NewBoard(3);
    const int lantern = Place("Ghost Lantern", 2);
    KillCard(C(lantern), 0);
    CreateSideBoards();
    EXPECT_EQ(CountInPlay("Mossling", 2), 1) << "the Mossling crawls from the glass";
    EXPECT_EQ(InHand("Mossling", 2), 0);
}

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

// "Each allied spell that is paid for costs 1 glow less", for the player and for the computer,
// whose trial payment decides whether it plays the spell at all.
TEST_F(SampleCardsTest, MothShrineLowersTheGlowOfAlliedSpells) {
    struct Row {
        int shrines;
        const char* spell;
        int glow;
        int left;  // -1: the spell goes back to the hand
    };
    const Row rows[] = {{1, "Mirror Pool", 2, 0},
                        {0, "Mirror Pool", 2, -1},
                        {1, "Lantern Oil", 0, 3},
                        {2, "Sinkhole", 2, 0},
                        {1, "Sinkhole", 2, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.spell) + " with shrines: " + std::to_string(r.shrines));
        NewBoard(4);
        const int moss = Place("Mossling", 1);
        Place("Mossling", 2);
        for (int s = 0; s < r.shrines; ++s)
            Place("Moth Shrine", 1);
        Place("Moth Shrine", 2);  // an enemy shrine lends nothing
        SetGlow(1, r.glow);
        const int n = Enter(r.spell, 1, moss);
        if (r.left < 0) {
            EXPECT_EQ(n, 0);
            EXPECT_EQ(InHand(r.spell, 1), 1);
            EXPECT_EQ(Glow(1), r.glow);
        } else {
            EXPECT_NE(n, 0);
            EXPECT_EQ(Glow(1), r.left);
        }
    }
    NewBoard(5);
    Place("Mossling", 2);
    Place("Moth Shrine", 2);
    SetGlow(2, 2);
    EXPECT_NE(ComputerPlays("Mirror Pool"), 0) << "the computer's trial sees the lower price";
    EXPECT_EQ(Glow(2), 0);
}

// "When an enemy acts on it, it may pull into its shell": about a third of the real actions, and
// an action aimed at the turtle stays on it; random picks reach it as any other card.
TEST_F(SampleCardsTest, ShellbackTurtleShrugsOffRealActionsOnly) {
    constexpr int kSeeds = 60;
    int burnt = 0;
    int shrugged = 0;
    int picked = 0;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        NewBoard(seed);
        const int turtle = Place("Shellback Turtle", 2);
        const int enemy = PlayerCard(2);
        SetGlow(1, 1);
        Enter("Spark of Dawn", 1, turtle);
        const bool shell = Logged("pulls into its shell");
        burnt += Num(turtle, "HP") == 3;
        shrugged += shell && Num(turtle, "HP") == 5;
        EXPECT_EQ(Num(enemy, "HP"), 18) << "the spark went elsewhere, seed " << seed;

        // A random strike: the enemy player card or the turtle.
        St().TurnLog.clear();
        const int hound = Place("Bog Hound", 1);
        Dispatch(hound, "PHASE5");
        picked += Logged("pulls into its shell") || Num(turtle, "HP") < (shell ? 5 : 3);
    }
    EXPECT_EQ(burnt + shrugged, kSeeds);
    EXPECT_GE(shrugged, 6);
    EXPECT_LE(shrugged, 32);
    EXPECT_GE(picked, 3) << "random strikes never reach the turtle";
}

// "The lights drift to a random enemy and burn a creature there for 2."
TEST_F(SampleCardsTest, MarshLightsBurnAnEnemyCreatureWheneverThereIsOne) {
    for (int seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        NewBoard(seed);
        const int a = Place("Mossling", 2);
        const int b = Place("Reed Sentry", 2);
        const int own = Place("Mossling", 1);
        SetGlow(1, 2);
        ASSERT_NE(Enter("Marsh Lights", 1), 0);
        EXPECT_EQ((2 - Num(a, "HP")) + (4 - Num(b, "HP")), 2);
        EXPECT_EQ(Num(PlayerCard(2), "HP"), 18);
        EXPECT_EQ(Num(own, "HP"), 2);
    }
}

// "It marks an enemy as its quarry and harries it for 1 in phase 6", on either side, and nothing
// once the quarry has left play.
TEST_F(SampleCardsTest, PikeCaptainHarriesItsQuarryOnBothSides) {
    for (int side = 1; side <= 2; ++side) {
        for (int seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE("side " + std::to_string(side) + ", seed " + std::to_string(seed));
            NewBoard(seed);
            const int foe = 3 - side;
            const int a = Place("Reed Sentry", foe);
            const int b = Place("Bog Hound", foe);
            SetGlow(side, 3);
            const int captain =
                side == 1 ? Enter("Pike Captain", 1, b) : ComputerPlays("Pike Captain");
            ASSERT_NE(captain, 0);
            const double before[] = {Num(a, "HP"), Num(b, "HP"), Num(PlayerCard(foe), "HP")};
            Dispatch(captain, "PHASE6");
            const double after[] = {Num(a, "HP"), Num(b, "HP"), Num(PlayerCard(foe), "HP")};
            int harried = 0;
            for (int i = 0; i < 3; ++i)
                harried += before[i] - after[i] == 1;
            ASSERT_EQ(harried, 1);
            if (side == 1) {
                EXPECT_EQ(after[1], before[1] - 1) << "the aimed card is the quarry";
            }
            const int quarry = before[0] != after[0]   ? a
                               : before[1] != after[1] ? b
                                                       : PlayerCard(foe);
            if (quarry == PlayerCard(foe)) continue;
            KillCard(C(quarry), 1);
            Dispatch(captain, "PHASE6");
            EXPECT_EQ(Num(PlayerCard(foe), "HP"), after[2]);
            EXPECT_EQ(Num(quarry == a ? b : a, "HP"), after[quarry == a ? 1 : 0]);
        }
    }
}

// The computer's Ferryman rows back an enemy creature, never its own; a player may aim theirs at
// their own.
TEST_F(SampleCardsTest, FerrymanOfTheComputerReturnsAnEnemyCreature) {
    for (int seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        NewBoard(seed);
        Place("Mossling", 2);
        Place("Reed Sentry", 2);
        Place("Bog Hound", 1);
        SetGlow(2, 3);
        ASSERT_NE(ComputerPlays("Ferryman"), 0);
        EXPECT_EQ(InHand("Bog Hound", 1), 1);
        EXPECT_EQ(CountInPlay("Mossling", 2) + CountInPlay("Reed Sentry", 2), 2);
    }
    NewBoard(1);
    Place("Mossling", 2);
    SetGlow(2, 3);
    ComputerPlays("Ferryman");
    EXPECT_EQ(CountInPlay("Mossling", 2), 1) << "no enemy creature: nothing rowed back";

    NewBoard(2);
    const int own = Place("Reed Sentry", 1);
    Place("Bog Hound", 2);
    SetGlow(1, 3);
    ASSERT_NE(Enter("Ferryman", 1, own), 0);
    EXPECT_EQ(InHand("Reed Sentry", 1), 1);
    EXPECT_EQ(CountInPlay("Bog Hound", 2), 1);
}

// "She heals a wounded ally for 2", never past its HPMAX.
TEST_F(SampleCardsTest, HerbalistHealsNoFurtherThanHpMax) {
    struct Row {
        const char* ally;  // "" for the player card
        int hp;
        int healed;
    };
    const Row rows[] = {{"Peat Golem", 4, 6}, {"Peat Golem", 5, 6}, {"", 19, 20}, {"", 10, 12}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.ally) + " at " + std::to_string(r.hp));
        NewBoard(7);
        const int herbalist = Place("Herbalist", 1);
        const int ally = *r.ally ? Place(r.ally, 1) : PlayerCard(1);
        SetTrait(C(ally), "HP", Value(r.hp), 1);
        Dispatch(herbalist, "PHASE6");
        EXPECT_EQ(Num(ally, "HP"), r.healed);
    }
}

// "Every other allied creature gains 1 POWER": those that fight.
TEST_F(SampleCardsTest, OldMarshKingEmboldensOnlyAlliesThatFight) {
    NewBoard(8);
    const int moss = Place("Mossling", 1);
    const int herbalist = Place("Herbalist", 1);
    const int trader = Place("Wisp Trader", 1);
    SetGlow(1, 5);
    const int king = Enter("Old Marsh King", 1);
    ASSERT_NE(king, 0);
    EXPECT_EQ(Num(moss, "POWER"), 2);
    EXPECT_FALSE(HasTrait(C(herbalist), "POWER"));
    EXPECT_FALSE(HasTrait(C(trader), "POWER"));
    EXPECT_EQ(Num(king, "POWER"), 4);
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
