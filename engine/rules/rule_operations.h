#pragma once
// End of game, bonuses, card creation and queueing, token cost and card mods.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

// Cards waiting to enter play; card numbers are 16-bit, so the queue stays far below that.
inline constexpr int kMaxQueuedCards = 1000;
// Cards one turn may queue, over all its emptyings of the queue: a card that copies itself each
// turn would otherwise double play every turn. The sample game's cards queue one at a time (a
// twin, a Mossling), a few in a turn at most.
inline constexpr int kMaxTurnQueuedCards = 2000;

void EndGame(uint8_t& winner);
void ClearBonuses();
// Frees the slot of the effect when it is a bonus action (its text, trigger, program and
// registrations): at the start of each turn for every bonus action, and once a bonus action has
// run for that one.
void FreeBonusAction(Card& card, int effectNumber);
void CreateCard(const std::string& cardName, const std::string& setFile, int owner, int count);
void QueueCard(Card& card);
// Whether QueueCard would queue a card now: the queue and the turn's count are below their bounds.
bool QueueTakesCards();
int16_t GetTokenCost(Card& card);
void ApplyMods(Card& card);

}  // namespace dv
