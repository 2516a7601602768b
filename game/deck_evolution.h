#pragma once
// Deck evolution: tournaments between eight decks, each generation bred from the best three.

#include <string>

#include "engine/model/records.h"

namespace dv {

// The card set every replacement card of evolution is drawn from.
inline constexpr const char* kEvolutionCardSet = "Torvalune_StartingSet.txt";

// Plays `generations` tournaments. deckNames holds eight deck names (entries 1 to 8), or one in
// entry 1 to breed eight variants of; it receives the names of the last decks built, each of
// which PlayAIGame can play.
void EvolveDecks(List<std::string>& deckNames, int generations);
// Replaces `percent` percent of the slots of stored deck deckNo with random cards of cardSet.
void RandomizeDeck(const std::string& cardSet, double percent, int deckNo);

// The cards of a deck bred by evolution under that name, or nullptr.
const List<Card>* EvolvedDeck(const std::string& name);

}  // namespace dv
