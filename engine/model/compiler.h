#pragma once
// The compiler of action scripts into command codes, driven by the keyword table.

#include <optional>
#include <string>

#include "engine/model/records.h"

namespace dv {

void CompileEffect(Card& card, int effectNumber, std::string& errorText);
void CompileCard(Card& card, std::string& errorText);
// Appends one command and its arguments up to the first argument not given; an empty text is a
// given argument.
void AddCompiledThing(Card& card, const std::string& keyword, int effectNumber, bool aiFlag,
                      int16_t code, const std::optional<std::string>& arg1 = std::nullopt,
                      const std::optional<std::string>& arg2 = std::nullopt,
                      const std::optional<std::string>& arg3 = std::nullopt,
                      const std::optional<std::string>& arg4 = std::nullopt);

}  // namespace dv
