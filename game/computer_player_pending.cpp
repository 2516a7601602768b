// Placeholder bodies until this module is built; each ends with its default result.
#include "game/computer_player.h"

namespace dv {

void ClearMenuActions(Card&) {}

}  // namespace dv
