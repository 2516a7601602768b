#pragma once
// The actions a card inherits from its traits: put on, taken off, and rebuilt for all cards.

#include <string>

#include "engine/model/records.h"

namespace dv {

void AddTraitEffects(Card& card, const std::string& traitFilter);
void RemoveTraitActions(Card& card, const std::string& traitName);
void RemoveAllTraitActions(Card& card);
void AddAllTraitEffects(int reset);

}  // namespace dv
