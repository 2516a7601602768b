#pragma once
// The card test: a game of the card designer's cards, set up in the deck manager's four test
// lists (TopCards 1 to 4: the two hands and the cards in play of each side). While a test runs
// the player's own collection and deck lists are kept aside, no player file is written, and the
// test games play in debug mode.

#include <string>

namespace dv {

// Names of the four test lists, as the deck manager's deck choice shows them.
inline constexpr const char* kTestListNames[] = {"In Player's Hand", "In Enemy's Hand",
                                                 "In Play for Player 1 (you)",
                                                 "In Play for Player 2 (enemy)"};

// Keeps the player's data aside (the first test's keep stands while tests follow one another)
// and gives Decks the four one-entry test lists.
void BeginCardTest();
// Puts the player's data and debug mode back as they were before the test; does nothing when no
// test runs.
void EndCardTest();
bool CardTestRunning();

// Whether GameFile names a rules file that the picture search finds.
bool CardTestRulesFound();
// Reads the rules file at path (a full path or one found in the program folder): its rules
// card, cost card, trait actions and deck rules take effect, and GameFile becomes its name
// without folder. False, having said why, when it could not be read.
bool ReadCardTestRules(const std::string& path);

// Starts the test game: clears the board, refreshes the test lists from the designer's cards,
// deals the hands and puts the cards in play from the test lists, with no draw decks; marks the
// game as a test (EditorTest), shows the main window and plays the first turn. Expects the rules
// to be read already.
void StartCardTest();

}  // namespace dv
