#pragma once
// One whole turn of both sides: the plays, the phases and the report page.

namespace dv {

// Turn kind of the first turn of a game, in which nothing is played and only the phases run.
inline constexpr int kFirstTurn = 1;

void PlayCards(int turnKind);

}  // namespace dv
