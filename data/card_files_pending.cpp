// Placeholder bodies until this module is built; each ends with its default result.
#include "data/card_files.h"

namespace dv {

bool ReadCards(List<Card>&, const std::string&, Player&, const std::string&) { return {}; }
bool SavePlayer(const std::string&) { return {}; }

}  // namespace dv
