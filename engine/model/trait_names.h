#pragma once
// A trait's base name (the part before ":"); names compare without regard to case
// (engine/model/case_fold.h).

#include <string>

#include "engine/model/records.h"

namespace dv {

std::string BaseTraitName(const std::string& name);

// Sets (or clears) the bit of the card's trait mask that stands for the trait's base name.
void MarkTraitMask(Card& card, const std::string& name, bool carries);
// Sets the card's trait mask, and its effects' requirement masks, afresh from its traits and
// scripts: for a card kept from an earlier game, whose bits follow that game's trait numbering.
void RenumberTraitMasks(Card& card);

}  // namespace dv
