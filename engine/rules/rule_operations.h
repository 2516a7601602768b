#pragma once
// End of game, bonuses, card creation and queueing, token cost, totals and card mods.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

// Cards waiting to enter play; card numbers are 16-bit, so the queue stays far below that.
inline constexpr int kMaxQueuedCards = 1000;

void EndGame(uint8_t& winner);
void ClearBonuses();
void CreateCard(const std::string& cardName, const std::string& setFile, int owner, int count);
void QueueCard(Card& card);
int16_t GetTokenCost(Card& card);
double TraitTotal(const std::string& traitName, const Value& side, const std::string& requiredTrait,
                  int countFlag);
double NameTotal(const std::string& cardName, const Value& side, const std::string& requiredTrait);
std::string GetTraitActionDesc(Card& card, const std::string& traitName);
void ApplyMods(Card& card);

}  // namespace dv
