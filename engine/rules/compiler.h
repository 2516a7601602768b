#pragma once
// The compiler of action scripts into command codes, driven by the keyword table.

#include <string>

#include "engine/model/records.h"

namespace dv {

void CompileEffect(Card& card, int effectNumber, std::string& errorText);
void CompileCard(Card& card, std::string& errorText);
void AddCompiledThing(Card& card, const std::string& keyword, int effectNumber, bool aiFlag,
                      int16_t code, const std::string& arg1 = "", const std::string& arg2 = "",
                      const std::string& arg3 = "", const std::string& arg4 = "");

}  // namespace dv
