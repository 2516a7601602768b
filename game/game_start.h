#pragma once
// Starting a game: from a "game" link of the games page to the first turn, with no window
// needed beyond what the host answers (the deck manager).

#include <string>

#include "engine/model/records.h"

namespace dv {

// Turns the prepared game into a running one: the human deck from deck list CurrentDeck (kept as
// the caller read it with keepFirstDeck 1), both decks shuffled, the starting cards put into
// play, then the rules card's "GAMESTART" actions.
void StartGame(int keepFirstDeck = 0);

// Fills cards with copies of the collection cards of the deck list, in deck order; an entry no
// collection card carries leaves a free slot.
void CopyToDeck(DeckList& deck, List<Card>& cards);
// Sets the player's deck to the collection cards of deck list deckNum.
void MakeDeck(Player& player, int deckNum);

// The steps of a "game" (or "GAME") link: field 2 the game's number in Games, the rest from
// field 3 on the opponent or mission file, relative to the game's folder. Reads the game and
// the opponent, has the deck chosen, builds and shuffles both decks, starts the game and plays
// its first turn. Returns true when the game started; a refused link or an opponent file that
// cannot be read starts none.
bool StartGameFromLink(const std::string& link);
// Whether the game a link names can be started: the checks StartGameFromLink makes before
// anything changes (the link names a game, and an opponent or mission file inside its folders),
// a file there to be read, and, unless the files read make it a starter game, the profile's
// player file for the game. Shows the reason when it cannot.
bool GameLinkAccepted(const std::string& link);

}  // namespace dv
