// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/interpreter/eff_card.h"

namespace dv {

int32_t EffCard(Card&, Card&, EffArgs&) { return {}; }

}  // namespace dv
