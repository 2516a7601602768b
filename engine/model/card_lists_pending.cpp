// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/model/card_lists.h"

namespace dv {

void AddCardToArray(Card&, List<Card>&, int) {}
void AddToDeck(Card&, int, int) {}
void RemoveFromDeck(DeckList&, int32_t) {}
void AddEditTemplate(const Card&, const std::string&, const std::string&, int32_t) {}
void RandomizeCards(List<Card>&) {}
void Swapcards(Card&, Card&) {}
void TruncateCollection() {}
void SortCards(List<Card>&, const std::string&, int) {}
void MSortCards(List<Card>&, int, int, const std::string&) {}
void MSortMerge(List<Card>&, int, int, const std::string&) {}
void SortCollectionByName() {}
void AddToCollection(Card&) {}
void LinkDeck(DeckList&, const List<Card>&) {}

}  // namespace dv
