// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/model/card_life.h"

namespace dv {

int AddCard(const Card&) { return {}; }
void ActivateCard(Card&, int) {}
void AddTraitEffects(Card&, const std::string&) {}
void RemoveTraitActions(Card&, const std::string&) {}
void RemoveAllTraitActions(Card&) {}
void AddAllTraitEffects(int) {}
void DrawCards(Player&, int) {}
void AddCardToHand(Player&, Card&, int) {}
void RemoveTopDeckCard(Player&) {}
void ShuffleDeck(Player&) {}
void InitPlayer(Player&, uint8_t) {}
void CreateSideBoards() {}
void KillCard(Card&, int) {}
void KillCards() {}

}  // namespace dv
