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

// Deck manager services the engine calls.
void AddToCollection(Card& card);
void LinkDeck(DeckList& deck, const List<Card>& cards);

}  // namespace dv
