#pragma once
// The program's entry and the new-game set-up, which puts the game state back to that of a new
// game and shows the games page.

namespace dv {

// Slots the set-up gives the cards in play and the human player's hand.
inline constexpr int kStartInPlaySlots = 50;
inline constexpr int kStartHandSlots = 10;

// Expects ProgramFolder to be set (the working folder is taken when it is not). Shows the main
// window unless the set-up ended the program.
void Main();
// Seeds the generator from the time of day, or from SeedOverride when that is set.
void SeedFromClock();
// Ends the program (EndProgram set, the host told) when no profile gets chosen.
void QuickStart();

}  // namespace dv
