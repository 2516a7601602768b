#pragma once
// Adding and dropping cards in card lists and deck lists, templates, shuffling and sorting.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

void AddCardToArray(Card& card, List<Card>& list, int newId);
void AddToDeck(Card& card, int deck, int force);
void RemoveFromDeck(DeckList& list, int32_t gid);
void AddEditTemplate(const Card& card, const std::string& back, const std::string& text,
                     int32_t colour);
void RandomizeCards(List<Card>& list);
void Swapcards(Card& a, Card& b);
void TruncateCollection();
void SortCards(List<Card>& list, const std::string& key, int trim);
void MSortCards(List<Card>& list, int first, int last, const std::string& key);
void MSortMerge(List<Card>& list, int first, int last, const std::string& key);
void SortCollectionByName();
// Whether the list holds a card with a name: an empty slot is no card.
bool HasNamedCard(const List<Card>& cards);

// Deck manager services the engine calls.
// Gives the card an identifier no collection card or deck list has yet and puts it into the
// first free slot of the collection, growing it by one when there is none.
void AddToCollection(Card& card);
// While one lives, AddToCollection keeps the identifiers taken and the free slots instead of
// looking through the collection and the decks for each card, and picks what that look would.
// The boosters of a command add their cards under one. Whatever else changes a collection card
// meanwhile (an effect run on it) calls CollectionChanged.
class CollectionAdditions {
  public:
    CollectionAdditions();
    ~CollectionAdditions();
    CollectionAdditions(const CollectionAdditions&) = delete;
    CollectionAdditions& operator=(const CollectionAdditions&) = delete;
};
// The collection may have changed other than by AddToCollection: what it kept is looked up anew.
void CollectionChanged();
// Finds each identifier of the deck in cards (first match) and keeps its index; identifiers no
// card carries stay, unlinked. The game start copies its deck through this; the deck manager's
// LinkDeck (deck_lists.h) drops such identifiers instead.
void LinkDeck(DeckList& deck, const List<Card>& cards);

}  // namespace dv
