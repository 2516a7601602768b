#pragma once
// Cards entering and leaving play, inherited trait actions, decks, hands and the side-board.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

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

}  // namespace dv
