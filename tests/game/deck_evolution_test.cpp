#include "game/deck_evolution.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/trait_names.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "game/computer_games.h"
#include "tests/game/computer_game_fixture.h"

namespace dv {
namespace {

const char* const kPlaceNames[] = {"FirstPlace.txt",   "SecondPlace.txt", "ThirdPlace.txt",
                                   "FourthPlace.txt",  "FifthPlace.txt",  "SixthPlace.txt",
                                   "SeventhPlace.txt", "EighthPlace.txt"};

class DeckEvolutionTest : public test::SampleGameTest {
  protected:
    // A card set already in the cache, one card per rarity given.
    static void CachedSet(const std::string& name, const std::vector<int>& rarities) {
        Player set;
        InitPlayer(set, 1);
        set.Name = name;
        set.Deck = List<Card>(0);
        for (int r : rarities) {
            Card card;
            card.Name = "Rarity " + std::to_string(r);
            card.Rarity = static_cast<uint8_t>(r);
            set.Deck.PushBack(card);
        }
        St().CardsetCache.PushBack(set);
    }

    static void StoredDeck(int slots) {
        List<Card>& cards = St().PlayerDecks[1].Cards;
        cards = List<Card>(slots);
        for (int i = 1; i <= slots; ++i)
            cards[i].Name = "Old";
    }

    static int Count(const std::string& name) {
        int n = 0;
        for (const Card& card : St().PlayerDecks[1].Cards)
            if (card.Name == name) ++n;
        return n;
    }

    int Messages(const std::string& start) const {
        int n = 0;
        for (const std::string& m : host.messages)
            if (m.rfind(start, 0) == 0) ++n;
        return n;
    }
};

TEST_F(DeckEvolutionTest, RandomizeDeckReplacesItsShareWithQualifyingCardsAndAlwaysEnds) {
    struct Row {
        const char* what;
        std::vector<int> rarities;
        double percent;
        int slots;
        int maxReplaced;  // distinct slots changed at most
        int minReplaced;
    };
    const Row rows[] = {
        {"no percent, no change", {5}, 0, 40, 0, 0},
        {"three quarters of forty", {5}, 75, 40, 30, 1},
        {"rarity 100 can be drawn", {100}, 50, 10, 5, 1},
        {"rarity 101 never is", {101}, 50, 10, 0, 0},
        {"an empty set draws nothing", {}, 50, 10, 0, 0},
    };
    const int cached = St().CardsetCache.size();
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string set = "Set" + std::to_string(++n) + ".txt";
        CachedSet(set, r.rarities);
        StoredDeck(r.slots);
        RandomizeDeck(set, r.percent, 1);
        EXPECT_EQ(St().PlayerDecks[1].Cards.size(), r.slots);
        const int replaced = r.slots - Count("Old");
        EXPECT_LE(replaced, r.maxReplaced);
        EXPECT_GE(replaced, r.minReplaced);
    }
    EXPECT_EQ(St().CardsetCache.size(), cached + n);  // every set came from the cache
}

TEST_F(DeckEvolutionTest, CardSetIsReadOncePerNameAsWritten) {
    StoredDeck(10);
    const int before = St().CardsetCache.size();
    RandomizeDeck("Mosslight_Set.txt", 50, 1);
    EXPECT_LT(Count("Old"), 10);
    RandomizeDeck("Mosslight_Set.txt", 50, 1);
    EXPECT_EQ(St().CardsetCache.size(), before + 1);
    RandomizeDeck("MOSSLIGHT_SET.TXT", 50, 1);
    EXPECT_EQ(St().CardsetCache.size(), before + 2);
    // A set file that does not exist leaves a cache entry without cards, and draws nothing.
    StoredDeck(10);
    RandomizeDeck("Missing_Set.txt", 50, 1);
    EXPECT_EQ(Count("Old"), 10);
}

TEST_F(DeckEvolutionTest, BreedingMakesEightVariantsAndNoGenerationPlaysNoGame) {
    List<std::string> names(8);
    names[1] = "Bogwarden_Enemy.txt";
    EvolveDecks(names, 0);
    EXPECT_EQ(St().AIGamesStarted, 0u);
    EXPECT_EQ(host.messages.size(), 0u);
    for (int i = 1; i <= 8; ++i) {
        const std::string bred = std::to_string(i) + "_Bogwarden_Enemy.txt";
        EXPECT_EQ(names[i], std::to_string(i) + "_" + bred);
        ASSERT_NE(EvolvedDeck(bred), nullptr) << bred;
        ASSERT_NE(EvolvedDeck(names[i]), nullptr) << names[i];
    }
    // The first variant is the deck itself; the last has 70 % of its slots drawn again.
    EXPECT_NE(*EvolvedDeck("1_Bogwarden_Enemy.txt"), *EvolvedDeck("8_Bogwarden_Enemy.txt"));
}

TEST_F(DeckEvolutionTest, OneGenerationRanksTheDecksAndReturnsTheNumberedNames) {
    List<std::string> names(8);
    const char* const decks[] = {"Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",
                                 "Reedmother_Enemy.txt", "Lamplighter_Starter.txt"};
    for (int i = 1; i <= 8; ++i)
        names[i] = decks[(i - 1) % 4];
    EvolveDecks(names, 1);
    EXPECT_EQ(St().AIGamesStarted, 13u);
    EXPECT_EQ(Messages("Winner: "), 1);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(names[i], std::to_string(i) + "_" + decks[(i - 1) % 4]);
}

TEST_F(DeckEvolutionTest, TwoGenerationsPlayTheBredDecksAndChangeThem) {
    List<std::string> names(8);
    names[1] = "Mirewitch_Enemy.txt";
    EvolveDecks(names, 2);
    EXPECT_EQ(St().AIGamesStarted, 26u);
    EXPECT_EQ(Messages("Winner: "), 0);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(names[i], kPlaceNames[i - 1]);
        ASSERT_NE(EvolvedDeck(names[i]), nullptr) << names[i];
    }
    const List<Card>& first = *EvolvedDeck("FirstPlace.txt");
    EXPECT_NE(*EvolvedDeck("SeventhPlace.txt"), first);
    EXPECT_EQ(EvolvedDeck("SeventhPlace.txt")->size(), first.size());
    EXPECT_EQ(St().CurrentDeck, 1);
}

// A bred deck is played in games after the one its cards were read in: its cards must carry the
// trait bits of the game they play in, and the side requirements of the player they play for,
// or their requirements test other traits and the wrong side.
TEST_F(DeckEvolutionTest, ABredDeckPlaysWithTheTraitNumberingOfItsGame) {
    List<std::string> names(8);
    names[1] = "Bogwarden_Enemy.txt";
    EvolveDecks(names, 0);
    EvolveDecks(names, 1);
    int checked = 0;
    int enemies = 0;
    int masked = 0;  // effects whose requirements test traits
    host.onCall[WindowCall::RedrawHand] = [&] {
        if (checked > 0) return;
        for (const List<Card>* cards : {&St().Players[1].Deck, &St().Players[1].Hand}) {
            for (const Card& card : *cards) {
                if (card.Name.empty()) continue;
                SCOPED_TRACE(card.Name);
                Card fresh = card;
                fresh.TraitMask = {};
                for (const std::string& name : card.TraitNames)
                    if (!name.empty()) MarkTraitMask(fresh, name, true);
                EXPECT_EQ(card.TraitMask, fresh.TraitMask);
                for (int e = 1; e <= card.Effects.size(); ++e) {
                    const Effect& effect = card.Effects[e];
                    if (effect.Text.empty()) continue;
                    // The trait bits an effect's requirements test, in this game's numbering.
                    SetActionMasks(fresh, e);
                    const Effect& rebuilt = std::as_const(fresh).Effects[e];
                    EXPECT_EQ(effect.ReqSourceHas, rebuilt.ReqSourceHas) << effect.Text;
                    EXPECT_EQ(effect.ReqTargetHas, rebuilt.ReqTargetHas) << effect.Text;
                    EXPECT_EQ(effect.ReqSourceNot, rebuilt.ReqSourceNot) << effect.Text;
                    EXPECT_EQ(effect.ReqTargetNot, rebuilt.ReqTargetNot) << effect.Text;
                    EXPECT_EQ(effect.TraitBits, rebuilt.TraitBits) << effect.Text;
                    masked += rebuilt.ReqSourceHas != MaskWords{} ||
                              rebuilt.ReqTargetHas != MaskWords{} ||
                              rebuilt.ReqSourceNot != MaskWords{} ||
                              rebuilt.ReqTargetNot != MaskWords{} ||
                              rebuilt.TraitBits != MaskWords{};
                    if (effect.Text.find("REQENEMY") != 0) continue;
                    EXPECT_EQ(effect.SideReq, 2);
                    ++enemies;
                }
                ++checked;
            }
        }
    };
    std::string loser;
    PlayAIGame(names[1], "Mirewitch_Enemy.txt", loser);
    EXPECT_GT(checked, 20);
    EXPECT_GT(enemies, 0);
    EXPECT_GT(masked, 0);
}

}  // namespace
}  // namespace dv
