#pragma once

#include <cstdint>

#include "engine/model/records.h"

namespace dv {

// With check 1 only finds out whether the card's cost can be paid, leaving the cards in play as
// they were; with 0 the cost takes effect. A refusal leaves its reason in FailReason. A card marked
// AlreadyPlaced passes at once, and no cost action runs for it.
bool PayCost(Card& card, uint8_t& check);

}  // namespace dv
