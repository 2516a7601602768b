#pragma once
// Trigger names and numbers, the trigger registry and the trait requirement masks.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

uint8_t GetTriggerNum(const std::string& name);
std::string GetTriggerName(uint8_t number);
void CreateBitLookup();
// Cuts name to its base name; word is 1 to 8, or -1 when the name table is full.
void gettraitmaskpos(std::string& name, int& word, int32_t& bit);
void ModActionMask(Card& card, int effectNumber, const std::string& traitName, int side, int kind);
void SetActionMasks(Card& card, int effectNumber);
void RegisterAction(int cardNumber, int effectNumber, int16_t replace, int16_t remove);
void RegisterAllActions();

}  // namespace dv
