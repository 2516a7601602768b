#pragma once
// Games with the computer on both sides: the game on the board played to its end, a whole game
// between two deck files, and a tournament of eight opponent decks.

#include <string>

namespace dv {

// A computer game that reaches this many turns ends as a draw.
inline constexpr int kMaxComputerTurns = 500;

// Plays the game on the board to its end and shows every turn the computer played.
void PlayFullAIGame();
// Plays a new game between the decks of two files (or of two decks bred by deck evolution);
// returns the winning file and sets loser to the other. A draw counts as a win of the first.
std::string PlayAIGame(const std::string& deckFile1, const std::string& deckFile2,
                       std::string& loser);
// Writes and shows the last report page of the last computer game between deck files, which
// shows none of its turns while it plays.
void ShowLastComputerGame();
// One generation of deck evolution between eight fixed opponent decks, ending with the places.
void RunTournament();

}  // namespace dv
