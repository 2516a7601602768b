// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/rules/compiler.h"

namespace dv {

void CompileEffect(Card&, int, std::string&) {}
void CompileCard(Card&, std::string&) {}
void AddCompiledThing(Card&, const std::string&, int, bool, int16_t, const std::string&, const std::string&, const std::string&, const std::string&) {}

}  // namespace dv
