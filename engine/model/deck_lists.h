#pragma once
// The deck lists as the deck manager keeps them: linking that drops identifiers no card carries,
// the sort of a deck list, the collection cards the manager's collection pane shows, and the
// clean-up after a move. The game start copies its deck with the plain LinkDeck of card_lists.h,
// which leaves such identifiers in place.

#include <string>

#include "engine/model/records.h"

namespace dv {

// Links the deck's identifiers to indexes of cards, dropping those no card carries (the last
// entry fills the hole; a list never gets shorter than one entry), and clears the display marks
// of cards. startAt above 0 links that one entry only. In card-test mode every deck list is
// linked against EditCards, whatever list is passed.
void LinkDeck(DeckList& deck, List<Card>& cards, int startAt);
// CopyToDeck as the deck manager makes it: linked with the LinkDeck above first, so the copies
// hold no empty card for an identifier the collection lacks.
void CopyLinkedDeck(DeckList& deck, List<Card>& cards);
// Rebuilds the deck's identifiers from the cards, in list order, unlinked.
void CopyToMultiDeck(const List<Card>& cards, DeckList& deck);
// Reorders the deck's entries by a key of SortCards; PlayerDecks(1) keeps the sorted copies.
void SortDeck(DeckList& deck, const std::string& key);
// Fills ColDisplay for the deck manager's mode from the scroll position start.
void SetColDisplay(int start);
// Fills ColDisplay from cards, skipping marked cards unless showAll is 1.
void SetColDisplay2(int start, const List<Card>& cards, int showAll);
// Drops collection cards whose identifier another named card carries, closes the collection's
// gaps by one place, and removes the empty entries of the current deck list.
void CleanDecks();

}  // namespace dv
