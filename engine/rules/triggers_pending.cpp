// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/rules/triggers.h"

namespace dv {

uint8_t GetTriggerNum(const std::string&) { return {}; }
std::string GetTriggerName(uint8_t) { return {}; }
void CreateBitLookup() {}
void gettraitmaskpos(std::string&, int&, int32_t&) {}
void ModActionMask(Card&, int, const std::string&, int, int) {}
void SetActionMasks(Card&, int) {}
void RegisterAction(int, int, int16_t, int16_t) {}
void RegisterAllActions() {}

}  // namespace dv
