#pragma once
// A trait's base name (the part before ":"); names compare without regard to case
// (engine/model/case_fold.h).

#include <string>

#include "engine/model/records.h"

namespace dv {

std::string BaseTraitName(const std::string& name);

// Sets (or clears) the bit of the card's trait mask that stands for the trait's base name.
void MarkTraitMask(Card& card, const std::string& name, bool carries);

}  // namespace dv
