#pragma once
// Cards entering and leaving play: placing pays a card's cost and raises its triggers, dying
// raises ONDEATH.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

// Card numbers are held in 16-bit fields elsewhere (targets, redirects), so play never grows past
// this many slots; AddCard then places nothing.
inline constexpr int kMaxInPlay = 32000;

int AddCard(const Card& card);
void ActivateCard(Card& card, int quiet);
void CreateSideBoards();
void KillCard(Card& card, int flag);
void KillCards();

// The entry of Players for the card's side; none for a neutral card (owner 0).
Player* OwnerRecord(const Card& card);
// Copies the card into the first free slot of InPlay, growing it when none is free; returns the
// slot, or 0 when play is full. Nothing else of placing a card happens here.
int TakeFreeSlot(const Card& card);

}  // namespace dv
