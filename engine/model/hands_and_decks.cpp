// A player's deck and hand: setting them up, drawing, shuffling, and taking cards into the hand.
#include "engine/model/hands_and_decks.h"

#include <utility>

#include "engine/model/compiler.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

constexpr int kHandSlots = 10;

int FreeHandSlot(const Player& player) {
    for (int h = 1; h <= player.Hand.size(); ++h)
        if (player.Hand[h].Name.empty()) return h;
    return 0;
}

}  // namespace

void DrawCards(Player& player, int count) {
    Guarded("DrawCards", [&] {
        // Every pass takes a card off the deck or ends: the deck's size bounds the loop.
        // A draw always happens once before the count is tested.
        for (;;) {
            if (player.Deck.size() < 2) return;
            int h = FreeHandSlot(player);
            if (h == 0) return;  // a full hand stays full: the remaining draws are all spent
            player.Hand[h] = player.Deck[player.Deck.size()];
            RemoveTopDeckCard(player);
            if (player.Hand[h].Name.empty()) continue;  // an empty card is not a draw
            if (--count <= 0) return;
        }
    });
}

void AddCardToHand(Player& player, Card& card, int removeFlag) {
    Guarded("AddCardToHand", [&] {
        if (card.Name.empty()) return;
        Card copy = card;
        // A card in a hand pays when it is played again, however it once entered play.
        copy.AlreadyPlaced = 0;
        std::string errorText;
        CompileCard(copy, errorText);
        if (int h = FreeHandSlot(player)) player.Hand[h] = std::move(copy);
        if (removeFlag == 1) card.Name.clear();
    });
}

void RemoveTopDeckCard(Player& player) {
    Guarded("RemoveTopDeckCard", [&] {
        if (player.Deck.size() > 0) player.Deck.Resize(player.Deck.size() - 1);
    });
}

void ShuffleDeck(Player& player) {
    Guarded("ShuffleDeck", [&] {
        auto& deck = player.Deck;
        DrawShuffle(deck.size(), [&](int i, int j) {
            if (deck.Has(j)) std::swap(deck[i], deck[j]);
        });
    });
}

void DrawShuffle(int n, const std::function<void(int, int)>& swap) {
    for (int i = 1; i <= n; ++i)
        swap(i, static_cast<int>(RandomNum(n)));
}

void InitPlayer(Player& player, uint8_t number) {
    Guarded("InitPlayer", [&] {
        player.Deck = List<Card>(1);
        player.Hand = List<Card>(kHandSlots);
        player.WonMissions = List<std::string>(1);
        player.Id = number;
    });
}

void MakeOrigDeck(Player& player) {
    Guarded("MakeOrigDeck", [&] { player.OrigDeck = player.Deck; });
}

}  // namespace dv
