#pragma once
// Cards entering and leaving play, inherited trait actions, decks, hands and the side-board.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

// Card numbers are held in 16-bit fields elsewhere (targets, redirects), so play never grows past
// this many slots; AddCard then places nothing.
inline constexpr int kMaxInPlay = 32000;

int AddCard(const Card& card);
void ActivateCard(Card& card, int quiet);
void AddTraitEffects(Card& card, const std::string& traitFilter);
void RemoveTraitActions(Card& card, const std::string& traitName);
void RemoveAllTraitActions(Card& card);
void AddAllTraitEffects(int reset);
void DrawCards(Player& player, int count);
void AddCardToHand(Player& player, Card& card, int removeFlag);
void RemoveTopDeckCard(Player& player);
void ShuffleDeck(Player& player);
void InitPlayer(Player& player, uint8_t number);
void CreateSideBoards();
void KillCard(Card& card, int flag);
void KillCards();

// The entry of Players for the card's side; none for a neutral card (owner 0).
Player* OwnerRecord(const Card& card);
// Enters every effect of a card in the trigger registry under its own card number.
void RegisterEffects(const Card& card);
// Copies the card into the first free slot of InPlay, growing it when none is free; returns the
// slot, or 0 when play is full. Nothing else of placing a card happens here.
int TakeFreeSlot(const Card& card);

}  // namespace dv
