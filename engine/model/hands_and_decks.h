#pragma once
// The players' records: their decks, hands and the deck as it was loaded.

#include <cstdint>

#include "engine/model/records.h"

namespace dv {

void DrawCards(Player& player, int count);
void AddCardToHand(Player& player, Card& card, int removeFlag);
void RemoveTopDeckCard(Player& player);
void ShuffleDeck(Player& player);
void InitPlayer(Player& player, uint8_t number);
// Keeps a copy of the player's deck as it was loaded, slot for slot.
void MakeOrigDeck(Player& player);

}  // namespace dv
