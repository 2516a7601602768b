#pragma once
// Changing a card's traits, which raises the card's change triggers.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

void SetTrait(Card& card, const std::string& name, const Value& value, const Value& silent = 0,
              const std::string& text = "", uint8_t quiet = 0, int32_t sourceIndex = 0,
              const Value& noNegative = 0);
Value Modtrait(Card& card, const std::string& name, Value& amount, Card& source, uint8_t quiet = 0,
               const std::string& actionText = "", const std::string& text = "",
               const Value& noNegative = 0);

}  // namespace dv
