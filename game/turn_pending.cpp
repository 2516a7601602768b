// Placeholder bodies until this module is built; each ends with its default result.
#include "game/turn.h"

namespace dv {

void PlayCards(int) {}

}  // namespace dv
