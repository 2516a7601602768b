#pragma once
// The computer player: how much it wants each hand card, which cards it plays, and which menu
// actions of its cards in play it chooses.

#include <string>

#include "engine/model/records.h"

namespace dv {

// Scores a hand card by trial payments and trial runs of its effects; stores the score plus the
// card's "PRIORITY" in its "AILOVE" trait and returns the score.
float GetAILove(Card& card);
// Plays the given player's hand as far as it can be paid for, best-loved first; returns the
// cells of the plays table and the head of the "Your Card Plays" table.
std::string AIPlayCards(int player);
// Chooses, for every card in play of the player, the menu actions that find a target now.
void AISetMenus(int player);

}  // namespace dv
