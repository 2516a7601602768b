#pragma once
// The players' records: their decks, hands and the deck as it was loaded.

#include <cstdint>
#include <functional>

#include "engine/model/records.h"

namespace dv {

void DrawCards(Player& player, int count);
void AddCardToHand(Player& player, Card& card, int removeFlag);
void RemoveTopDeckCard(Player& player);
void ShuffleDeck(Player& player);
// The draws of ShuffleDeck for a deck of n slots: slot i, in turn, swaps with the slot drawn for
// it. A caller that only needs to know where some cards end follows the swaps without moving any.
void DrawShuffle(int n, const std::function<void(int, int)>& swap);
void InitPlayer(Player& player, uint8_t number);
// Keeps a copy of the player's deck as it was loaded, slot for slot.
void MakeOrigDeck(Player& player);

}  // namespace dv
