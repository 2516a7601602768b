// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/rules/rule_operations.h"

namespace dv {

void EndGame(uint8_t&) {}
void ClearBonuses() {}
void CreateCard(const std::string&, const std::string&, int, int) {}
void QueueCard(Card&) {}
int16_t GetTokenCost(Card&) { return {}; }
double TraitTotal(const std::string&, const Value&, const std::string&, int) { return {}; }
double NameTotal(const std::string&, const Value&, const std::string&) { return {}; }
std::string GetTraitActionDesc(Card&, const std::string&) { return {}; }
void ApplyMods(Card&) {}

}  // namespace dv
