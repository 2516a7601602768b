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
#include "engine/interpreter/card_commands.h"
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
#include "game/play_queue.h"
#include "game/startup.h"
#include "game/turn.h"
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

    // A promise of a card, or of two cards where they meet: how often it must hold over the seeds,
    // each seed on a fresh board.
    struct Row {
        const char* card;
        const char* promise;
        int seeds;
        int least;
        int most;
        std::function<bool()> kept;
        const char* opponent = kMirewitch;
    };
    template <std::size_t N>
    void CheckRows(const Row (&rows)[N]) {
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

    static int Occurrences(const std::string& text) {
        int n = 0;
        for (auto at = St().TurnLog.find(text); at != std::string::npos;
             at = St().TurnLog.find(text, at + 1))
            ++n;
        return n;
    }
    // The card of that name on that side in play, or 0.
    static int Find(const std::string& name, int side) {
        const auto& play = St().InPlay;
        for (int n = 1; n <= play.size(); ++n)
            if (play[n].Name == name && play[n].Owner == side && play[n].Dead == 0) return n;
        return 0;
    }
    // A mark that must not outlive its turn, on any card in play or in a hand.
    static bool AnyMarkLeft() {
        auto marked = [](Card& c) {
            return !c.Name.empty() && (HasTrait(c, "SEARED") || HasTrait(c, "EITHERBANK"));
        };
        State& st = St();
        for (Card& c : st.InPlay)
            if (marked(c)) return true;
        for (int p = 1; p <= 2; ++p)
            for (Card& c : st.Players[p].Hand)
                if (marked(c)) return true;
        return false;
    }
    // Played again by its owner from the hand, as it stands there. 0 when it is not in the hand
    // or went back to it.
    int PlayFromHand(const std::string& name, int side, int aim = 0) {
        for (Card& held : St().Players[side].Hand) {
            if (held.Name != name) continue;
            Card card = held;
            held.Name.clear();
            card.PresetTarget = static_cast<int16_t>(aim);
            card.NextTarget = static_cast<int16_t>(aim);
            const int n = AddCard(card);
            ActivateCard(St().InPlay[n], 0);
            return St().InPlay[n].Name == name ? n : 0;
        }
        return 0;
    }
    // The toad's turn ends until it has hopped over to the other bank.
    static void HopOver(int toad) {
        const int side = C(toad).Owner;
        for (int end = 0; end < 200 && C(toad).Owner == side; ++end)
            Dispatch(toad, "TURNEND");
    }
    bool Says(const std::string& card, const std::string& text) const {
        return FromSet(card, 1).Description.find(text) != std::string::npos;
    }
    static void FillHand(int side) {
        for (Card& slot : St().Players[side].Hand)
            if (slot.Name.empty()) slot.Name = "Mossling";
    }
    static int HandCount(int side) {
        const auto& hand = St().Players[side].Hand;
        return static_cast<int>(
            std::count_if(hand.begin(), hand.end(), [](const Card& c) { return !c.Name.empty(); }));
    }

    // The player's Willow Ward takes a blow of the computer's card: either the ward loses the HP,
    // or the whip is told and the computer's player card loses them instead; never both, nor
    // neither. Returns whether it whipped.
    bool WardTakesBlow(int ward, int blow, const std::function<void()>& strike) {
        const double master = Num(PlayerCard(2), "HP");
        const double player = Num(PlayerCard(1), "HP");
        strike();
        if (Num(PlayerCard(1), "HP") != player)
            return false;  // a random blow that struck the player
        const bool whipped = Logged("The Willow Ward whips the blow");
        const bool whole = whipped
                               ? Num(ward, "HP") == 5 && Num(PlayerCard(2), "HP") == master - blow
                               : Num(ward, "HP") == 5 - blow && Num(PlayerCard(2), "HP") == master;
        EXPECT_TRUE(whole) << "whipped " << whipped << ", ward HP " << Num(ward, "HP");
        return whipped;
    }

    // The player's Shellback Turtle meets the computer's card: either it shrugs the action off and
    // nothing of it lands, or the acting card's text holds.
    bool ShrugsOrHolds(const std::string& card, int glow,
                       const std::function<bool(int turtle, int acting)>& holds) {
        const int turtle = Place("Shellback Turtle", 1);
        SetGlow(2, glow);
        const int acting = Enter(card, 2, turtle);
        if (!Logged("pulls into its shell")) return holds(turtle, acting);
        return C(turtle).Name == "Shellback Turtle" && C(turtle).Owner == 1 &&
               Num(turtle, "HP") == 5 && !HasTrait(C(turtle), "ROTTING") &&
               !HasTrait(C(acting), "QUARRY");
    }

    // Wisps of the computer enter one after another against a turtle, a Mossling and the player:
    // each sears two different enemies, less the sears the turtle shrugs off, and leaves no mark.
    bool WispsSearTwoEach(int wisps) {
        const std::vector<int> foes = {Place("Shellback Turtle", 1), Place("Mossling", 1),
                                       PlayerCard(1)};
        for (int w = 0; w < wisps; ++w) {
            std::vector<double> hp;
            for (int n : foes)
                hp.push_back(Num(n, "HP"));
            const int shrugs = Occurrences("pulls into its shell");
            SetGlow(2, 2);
            if (Enter("Will-o'-Wisp", 2) == 0) return false;
            int seared = 0;
            for (std::size_t i = 0; i < foes.size(); ++i) {
                const double lost = hp[i] - Num(foes[i], "HP");
                if (lost > 1) return false;
                seared += lost == 1;
            }
            if (seared + Occurrences("pulls into its shell") - shrugs != 2 || AnyMarkLeft())
                return false;
            // Healed, so that the next Wisp meets the same three.
            for (std::size_t i = 0; i < foes.size(); ++i)
                SetTrait(C(foes[i]), "HP", Value(hp[i]), 1);
        }
        return true;
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

// Computer games over every pairing of the sample decks and the mission, 300 in all: at the end
// of every turn no card has more HP than its HPMAX and, while the game goes on, no mark of a turn
// is left (a game won in the middle of an entry runs nothing more), and no game refuses a card,
// reports an error or masks a creature twice.
TEST_F(SampleCardsTest, ComputerGamesKeepHpMarksAndMasksWhereCardsMeet) {
    const char* decks[] = {"Lamplighter_Starter.txt", "Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",
                           "Reedmother_Enemy.txt"};
    std::vector<std::pair<std::string, std::string>> pairings;
    for (const char* first : decks) {
        for (const char* second : decks)
            pairings.emplace_back(first, second);
        pairings.emplace_back(first, "FirstLight.mis");
    }
    int turns = 0;
    std::string fault;
    host.onCall[WindowCall::RedrawHand] = [&] {
        ++turns;
        if (!fault.empty()) return;
        for (Card& card : St().InPlay) {
            if (card.Name.empty() || card.Dead || !HasTrait(card, "HPMAX")) continue;
            if (GetTrait(card, "HP").Num() > GetTrait(card, "HPMAX").Num())
                fault = card.Name + " has more HP than its HPMAX";
        }
        if (St().GameOver == 0 && AnyMarkLeft()) fault = "a mark outlived its turn";
        if (St().HTMLText.find("Masked Masked") != std::string::npos) fault = "masked twice";
    };
    for (int seed = 1; seed <= 15; ++seed) {
        for (const auto& [first, second] : pairings) {
            SCOPED_TRACE(first + " against " + second + ", seed " + std::to_string(seed));
            St().SeedOverride = 7000 + seed;
            std::string loser;
            PlayAIGame(first, second, loser);
            EXPECT_EQ(fault, "");
            EXPECT_EQ(St().AIGameLog.find("cannot play"), std::string::npos);
            fault.clear();
        }
    }
    for (const std::string& message : host.messages)
        EXPECT_NE(message.rfind("Error in", 0), 0u) << message;
    EXPECT_GE(turns, 2500);
}

// Each card of the table is played as its text says, on a fresh board for every seed; the row
// counts the seeds on which the text held, which must lie between its bounds.
TEST_F(SampleCardsTest, EachCardKeepsWhatItsTextSays) {
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
    CheckRows(rows);
}

// Where a card that answers other cards' actions meets a card whose action it can answer, both
// texts hold: one row per meeting, the first card named the one that answers.
TEST_F(SampleCardsTest, EachMeetingKeepsWhatBothTextsSay) {
    const Row rows[] = {
        {"Willow Ward / Reed Archer",
         "no shot vanishes: it strikes the ward or, whipped, the master", 100, 25, 55,
         [&] {
             const int ward = Place("Willow Ward", 1);
             const int archer = Place("Reed Archer", 2);
             return WardTakesBlow(ward, 1, [&] { Dispatch(archer, "PHASE4"); });
         }},
        {"Willow Ward / Spark of Dawn", "about 40 of 100 blows whip back at the caster's master",
         100, 25, 55,
         [&] {
             const int ward = Place("Willow Ward", 1);
             SetGlow(2, 1);
             return WardTakesBlow(ward, 2, [&] { Enter("Spark of Dawn", 2, ward); });
         }},
        {"Willow Ward / Mire Shaman", "a chant at the ward strikes it or the shaman's master", 60,
         3, 30,
         [&] {
             const int ward = Place("Willow Ward", 1);
             const int shaman = Place("Mire Shaman", 2);
             return WardTakesBlow(ward, 1, [&] { Dispatch(shaman, "PHASE4"); });
         }},
        {"Willow Ward / Pike Captain",
         "the ward is the quarry, the mark is not whipped, the harrying may be", 100, 100, 100,
         [&] {
             const int ward = Place("Willow Ward", 1);
             SetGlow(2, 3);
             const int captain = Enter("Pike Captain", 2, ward);
             if (captain == 0 || Num(captain, "QUARRY") != C(ward).GID || Logged("whips"))
                 return false;
             WardTakesBlow(ward, 1, [&] { Dispatch(captain, "PHASE6"); });
             return true;
         }},
        {"Willow Ward / Will-o'-Wisp", "two different enemies seared, a whipped sear on the master",
         100, 100, 100,
         [&] {
             const int ward = Place("Willow Ward", 1);
             const std::vector<std::pair<int, int>> cards = {
                 {ward, 5}, {Place("Mossling", 1), 2}, {PlayerCard(1), 20}, {PlayerCard(2), 18}};
             SetGlow(2, 2);
             if (Enter("Will-o'-Wisp", 2) == 0) return false;
             const std::vector<int> lost = Losses(cards);
             const bool whipped = Logged("whips");
             return std::count(lost.begin(), lost.end(), 1) == 2 &&
                    std::count(lost.begin(), lost.end(), 0) == 2 && (lost[3] == 1) == whipped &&
                    lost[0] + lost[3] <= 1 && !AnyMarkLeft();
         }},
        {"Willow Ward / Sinkhole", "the ward leaves play; nothing is whipped", 10, 10, 10,
         [&] {
             const int ward = Place("Willow Ward", 1);
             SetGlow(2, 4);
             Enter("Sinkhole", 2, ward);
             return C(ward).Name.empty() && !Logged("whips") && Num(PlayerCard(2), "HP") == 18;
         }},
        {"Shellback Turtle / Will-o'-Wisp",
         "each of two Wisps sears two enemies or is shrugged off", 100, 100, 100,
         [&] { return WispsSearTwoEach(2); }},
        {"Shellback Turtle / Bog Mummy", "shrugged off, or the turtle rots", 40, 40, 40,
         [&] {
             return ShrugsOrHolds("Bog Mummy", 3, [&](int turtle, int) {
                 Dispatch(turtle, "TURNEND");
                 return HasTrait(C(turtle), "ROTTING") && Num(turtle, "HP") == 4;
             });
         }},
        {"Shellback Turtle / Siren of the Reeds", "shrugged off, or the turtle wades over", 40, 40,
         40,
         [&] {
             return ShrugsOrHolds("Siren of the Reeds", 4,
                                  [&](int turtle, int) { return C(turtle).Owner == 2; });
         }},
        {"Shellback Turtle / Mask Weaver", "shrugged off, or the turtle is masked", 40, 40, 40,
         [&] {
             return ShrugsOrHolds("Mask Weaver", 2, [&](int turtle, int) {
                 return C(turtle).Name == "Masked Shellback Turtle";
             });
         }},
        {"Shellback Turtle / Ferryman", "shrugged off, or the turtle is in its side's hand", 40, 40,
         40,
         [&] {
             return ShrugsOrHolds("Ferryman", 3, [&](int turtle, int) {
                 return C(turtle).Name.empty() && InHand("Shellback Turtle", 1) == 1;
             });
         }},
        {"Shellback Turtle / Pike Captain", "shrugged off, or the turtle is the quarry", 40, 40, 40,
         [&] {
             return ShrugsOrHolds("Pike Captain", 3, [&](int turtle, int captain) {
                 return Num(captain, "QUARRY") == C(turtle).GID;
             });
         }},
        {"Decoy Scarecrow / Reed Archer", "a shot at a flyer strikes the scarecrow", 40, 40, 40,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int moth = Place("Glowmoth", 1);
             Dispatch(Place("Reed Archer", 2), "PHASE4");
             return Num(scarecrow, "HP") == 3 && Num(moth, "HP") == 1;
         }},
        {"Decoy Scarecrow / Pike Captain",
         "a captain aimed at a creature takes the scarecrow as quarry", 1, 1, 1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int moss = Place("Mossling", 1);
             SetGlow(2, 3);
             const int captain = Enter("Pike Captain", 2, moss);
             Dispatch(captain, "PHASE6");
             return Num(captain, "QUARRY") == C(scarecrow).GID && Num(scarecrow, "HP") == 3 &&
                    Num(moss, "HP") == 2;
         }},
        {"Decoy Scarecrow / Siren of the Reeds", "an action that asks for a creature is not drawn",
         1, 1, 1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int moss = Place("Mossling", 1);
             SetGlow(2, 4);
             Enter("Siren of the Reeds", 2, moss);
             return C(moss).Owner == 2 && C(scarecrow).Owner == 1;
         }},
        {"Decoy Scarecrow / Spark of Dawn", "a spell is no creature: it burns the card aimed at", 1,
         1, 1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             const int sentry = Place("Reed Sentry", 1);
             SetGlow(2, 1);
             Enter("Spark of Dawn", 2, sentry);
             return Num(sentry, "HP") == 2 && Num(scarecrow, "HP") == 4;
         }},
        {"Siren of the Reeds / Ferryman",
         "a hound the Siren took goes to the hand of the side it is on", 20, 20, 20,
         [&] {
             const int hound = Place("Bog Hound", 1);
             SetGlow(2, 4);
             Enter("Siren of the Reeds", 2, hound);
             SetGlow(1, 3);
             Enter("Ferryman", 1, hound);
             return Says("Ferryman", "back to the hand of the side it is on") &&
                    C(hound).Name.empty() && InHand("Bog Hound", 2) == 1 &&
                    InHand("Bog Hound", 1) == 0;
         }},
        {"Siren of the Reeds / Ferryman",
         "the player's take the wraith; it goes to the player's hand", 20, 20, 20,
         [&] {
             const int wraith = Find("Chapel Bell Wraith", 2);
             if (wraith == 0) return false;
             ActivateCard(C(wraith), 1);  // as the first turn start leaves it
             SetGlow(1, 4);
             if (Enter("Siren of the Reeds", 1, wraith) == 0) return false;
             SetGlow(1, 3);
             Enter("Ferryman", 1, wraith);
             return C(wraith).Name.empty() && InHand("Chapel Bell Wraith", 1) == 1;
         },
         "FirstLight.mis"},
        {"Siren of the Reeds / Bog Hound", "a hound the Siren took bites its new side's enemy", 1,
         1, 1,
         [&] {
             const int hound = Place("Bog Hound", 1);
             SetGlow(2, 4);
             Enter("Siren of the Reeds", 2, hound);
             KillCard(C(hound), 0);
             return Num(PlayerCard(1), "HP") == 19 && Num(PlayerCard(2), "HP") == 18;
         }},
        {"Ferryman / Fen Twins", "a twin rowed back by the player's Ferryman brings its twin again",
         20, 20, 20,
         [&] {
             SetGlow(1, 3);
             const int twin = Enter("Fen Twins", 1);
             CreateSideBoards();
             SetGlow(1, 3);
             Enter("Ferryman", 1, twin);
             SetGlow(1, 3);
             PlayFromHand("Fen Twins", 1);
             CreateSideBoards();
             return CountInPlay("Fen Twins", 1) == 3 && Glow(1) == 0 && !AnyMarkLeft();
         }},
        {"Ferryman / Fen Twins",
         "a twin rowed back by the computer's Ferryman brings its twin again", 20, 20, 20,
         [&] {
             SetGlow(1, 3);
             const int twin = Enter("Fen Twins", 1);
             CreateSideBoards();
             SetGlow(2, 3);
             Enter("Ferryman", 2, twin);
             SetGlow(1, 3);
             PlayFromHand("Fen Twins", 1);
             CreateSideBoards();
             return CountInPlay("Fen Twins", 1) == 3;
         }},
        {"Ferryman / Will-o'-Wisp", "a Wisp rowed back sears two different enemies again", 20, 20,
         20,
         [&] {
             Place("Mossling", 1);
             Place("Reed Sentry", 1);
             SetGlow(2, 2);
             const int wisp = Enter("Will-o'-Wisp", 2);
             SetGlow(1, 3);
             Enter("Ferryman", 1, wisp);
             std::vector<std::pair<int, int>> side;
             for (int n = 1; n <= St().InPlay.size(); ++n)
                 if (C(n).Owner == 1 && !C(n).Name.empty())
                     side.emplace_back(n, static_cast<int>(Num(n, "HP")));
             SetGlow(2, 2);
             if (PlayFromHand("Will-o'-Wisp", 2) == 0) return false;
             const std::vector<int> lost = Losses(side);
             return std::count(lost.begin(), lost.end(), 1) == 2 &&
                    std::count(lost.begin(), lost.end(), 0) == int(lost.size()) - 2 &&
                    !AnyMarkLeft();
         }},
        {"Mirror Pool / Fen Twins", "a copy of a twin adds exactly one twin", 20, 20, 20,
         [&] {
             SetGlow(1, 3);
             const int twin = Enter("Fen Twins", 1);
             CreateSideBoards();
             SetGlow(1, 3);
             Enter("Mirror Pool", 1, twin);
             CreateSideBoards();
             return CountInPlay("Fen Twins", 1) == 3;
         }},
        {"Mirror Pool / Will-o'-Wisp", "a copy joins quietly: it sears nothing and bears no mark",
         20, 20, 20,
         [&] {
             const int wisp = Place("Will-o'-Wisp", 1);
             const int foe = Place("Reed Sentry", 2);
             SetGlow(1, 3);
             Enter("Mirror Pool", 1, wisp);
             CreateSideBoards();
             return CountInPlay("Will-o'-Wisp", 1) == 2 && Num(foe, "HP") == 4 &&
                    Num(PlayerCard(2), "HP") == 18 && !AnyMarkLeft();
         }},
        {"Mirror Pool / Mask Weaver", "a copy of a masked creature is masked and not masked again",
         1, 1, 1,
         [&] {
             const int moss = Place("Mossling", 2);
             SetGlow(1, 2);
             Enter("Mask Weaver", 1, moss);
             SetGlow(2, 3);
             Enter("Mirror Pool", 2, moss);
             CreateSideBoards();
             SetGlow(1, 2);
             Enter("Mask Weaver", 1);
             return CountInPlay("Masked Mossling", 2) == 2 && !Logged("Masked Masked");
         }},
        {"Mask Weaver / Mask Weaver", "a masked creature is not masked again", 20, 20, 20,
         [&] {
             const int moss = Place("Mossling", 1);
             const int sentry = Place("Reed Sentry", 1);
             SetGlow(2, 2);
             Enter("Mask Weaver", 2, moss);
             SetGlow(2, 2);
             Enter("Mask Weaver", 2, moss);
             SetGlow(2, 2);
             ComputerPlays("Mask Weaver");
             return C(moss).Name == "Masked Mossling" && C(sentry).Name == "Masked Reed Sentry" &&
                    !Logged("Masked Masked");
         }},
        {"Mask Weaver / Mossling Elder", "a masked Mossling is still taught to bite", 1, 1, 1,
         [&] {
             const int moss = Place("Mossling", 1);
             SetGlow(2, 2);
             Enter("Mask Weaver", 2, moss);
             SetGlow(1, 2);
             Enter("Mossling Elder", 1);
             return C(moss).Name == "Masked Mossling" && Num(moss, "POWER") == 2;
         }},
        {"Turncoat Toad / Pike Captain",
         "a quarry that hops over to the captain is harried no more", 1, 1, 1,
         [&] {
             const int toad = Place("Turncoat Toad", 1);
             SetGlow(2, 3);
             const int captain = Enter("Pike Captain", 2, toad);
             HopOver(toad);
             Dispatch(captain, "PHASE6");
             return Num(toad, "HP") == 2 && Num(PlayerCard(1), "HP") == 20;
         }},
        {"Turncoat Toad / Ferryman",
         "a toad that hopped over goes to the hand of the side it is on", 1, 1, 1,
         [&] {
             const int toad = Place("Turncoat Toad", 1);
             HopOver(toad);
             SetGlow(1, 3);
             Enter("Ferryman", 1, toad);
             return InHand("Turncoat Toad", 2) == 1 && InHand("Turncoat Toad", 1) == 0;
         }},
        {"Lantern Knight / Spark of Dawn", "the blow of 2 is 1 smaller", 1, 1, 1,
         [&] {
             const int knight = Place("Lantern Knight", 1);
             SetGlow(2, 1);
             Enter("Spark of Dawn", 2, knight);
             return Num(knight, "HP") == 4;
         }},
        {"Peat Golem / Spark of Dawn", "the moss hide soaks up the blow", 1, 1, 1,
         [&] {
             const int golem = Place("Peat Golem", 1);
             SetGlow(2, 1);
             Enter("Spark of Dawn", 2, golem);
             return Num(golem, "HP") == 6 && Num(golem, "MOSSHIDE") == 1;
         }},
        {"Decoy Scarecrow / Bog Hound", "the dying bite at the player strikes the scarecrow", 1, 1,
         1,
         [&] {
             const int scarecrow = Place("Decoy Scarecrow", 1);
             KillCard(C(Place("Bog Hound", 2)), 0);
             return Num(PlayerCard(1), "HP") == 20 && Num(scarecrow, "HP") == 3;
         }},
        {"Herbalist / Willow Ward",
         "a wounded ally that is not a structure is healed, the ward not", 1, 1, 1,
         [&] {
             const int herbalist = Place("Herbalist", 1);
             const int ward = Place("Willow Ward", 1);
             SetTrait(C(ward), "HP", Value(2), 1);
             SetTrait(C(PlayerCard(1)), "HP", Value(15), 1);
             Dispatch(herbalist, "PHASE6");
             return Says("Herbalist", "a wounded ally that is not a structure") &&
                    Num(ward, "HP") == 2 && Num(PlayerCard(1), "HP") == 17;
         }},
        {"Hermit of the Hollow", "it spends 3 glow and its owner draws two cards", 1, 1, 1,
         [&] {
             const int hermit = Place("Hermit of the Hollow", 1);
             SetGlow(1, 6);
             Dispatch(hermit, "PHASE2");
             return Says("Hermit of the Hollow",
                         "it spends 3 glow and its owner draws two cards") &&
                    Glow(1) == 3 && HandCount(1) == 2;
         }},
        {"Hermit of the Hollow", "with a full hand it spends 3 glow and its owner draws none", 1, 1,
         1,
         [&] {
             const int hermit = Place("Hermit of the Hollow", 1);
             FillHand(1);
             const int held = HandCount(1);
             SetGlow(1, 6);
             Dispatch(hermit, "PHASE2");
             return Glow(1) == 3 && HandCount(1) == held;
         }},
    };
    CheckRows(rows);
}

// As the help page says, a queued discard pays its card's cost when the turn is taken.
TEST_F(SampleCardsTest, AQueuedDiscardPaysItsCardsCostAsTheHelpPageSays) {
    EXPECT_NE(File("MainHelp.html").find("discard pays the card's cost"), std::string::npos);
    NewBoard(1, "Bogwarden_Enemy.txt");
    St().Players[1].Hand[1] = FromSet("Reed Sentry", 1);
    SetGlow(1, 3);
    AddAction(1, kDiscardTarget);
    PlayCards(0);
    // 3 glow, 2 paid for the discard, 2 gained in phase 1.
    EXPECT_EQ(Glow(1), 3);
    EXPECT_EQ(InHand("Reed Sentry", 1), 0);
    EXPECT_EQ(CountInPlay("Reed Sentry", 1), 0);
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
