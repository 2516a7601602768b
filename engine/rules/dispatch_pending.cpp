// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/rules/dispatch.h"

namespace dv {

void RunListActions(const Value&) {}
void RunActions(Card&, const std::string&, RunActionsCall&) {}
void RunActions(Card&, const std::string&) {}
int PickTarget(Card&, int32_t, int32_t&, const std::string&, int32_t&) { return {}; }
int AIPickTarget(Card&) { return {}; }
std::string GetEffectTrait2(Card&, int32_t&, std::string&) { return {}; }
bool GetEffectRef(const std::string&, const Value&) { return {}; }
std::string GetActionMenu2(Card&) { return {}; }
void EffAddEffects() {}

}  // namespace dv
