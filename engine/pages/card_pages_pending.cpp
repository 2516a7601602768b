// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/pages/card_pages.h"

namespace dv {

void SwapCardStrings(Card&, Card&, std::string&, const std::string&, const std::string&, const Value&, Value&) {}
void SwapTraitStrings(Card&, Card&, std::string&) {}
std::string DCard(Card&) { return {}; }
std::string GenCostDesc(const std::string&) { return {}; }
std::string GenTraitsDesc(Card&, int) { return {}; }
std::string CLink(Card&, int, int) { return {}; }
std::string FullDesc(Card&, int, int) { return {}; }
std::string GenPlayerDesc(Player&) { return {}; }
std::string AllTraitsDesc(Card&) { return {}; }
void DisplayCard(Card&, int) {}
void DisplayCard2(Card&, int) {}
void AddTraitGraph(const std::string&, const std::string&, const std::string&, const std::string&, const std::string&, const std::string&, const std::string&, const std::string&) {}
std::string GenHP(Card&, int) { return {}; }
std::string GenInPlay(Player&) { return {}; }
std::string GenTraitHTML(Card&, const std::string&, int) { return {}; }

}  // namespace dv
