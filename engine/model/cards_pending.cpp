// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/model/cards.h"

namespace dv {

void InitCard(Card&, int, int) {}
int AddEffect(Card&, const std::string&, int, const std::string&, int, const std::string&) { return {}; }
void SetTrait(Card&, const std::string&, const Value&, const Value&, const std::string&, uint8_t, int32_t, const Value&) {}
Value Modtrait(Card&, const std::string&, Value&, Card&, uint8_t, const std::string&, const std::string&, const Value&) { return {}; }
void RemoveTrait(Card&, const std::string&) {}
Value GetTrait(Card&, const std::string&, Value&, int) { return {}; }
Value GetTrait(Card&, const std::string&, int) { return {}; }
bool HasTrait(Card&, const std::string&, int) { return {}; }
int16_t GetTraitNum(const Card&, const std::string&) { return {}; }
int16_t GetCardNum(const Value&) { return {}; }
int16_t GetCollectionCardNum(const Value&) { return {}; }
Card GetDeckCardByName(const Player&, const std::string&) { return {}; }
Card GetDeckCardByUName(const Player&, const std::string&) { return {}; }
int32_t GetTargetType(const std::string&) { return {}; }
std::string GetTargetTypeString(int32_t) { return {}; }
std::string GetMainEcho(int) { return {}; }
void ClearMainEcho() {}
void ClearEchos() {}

}  // namespace dv
