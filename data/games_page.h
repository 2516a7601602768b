#pragma once
// The games page: every game of the catalogue with its picture, help link, opponent portraits
// and missions, each a link that starts the game.

#include <string>

namespace dv {

// The body text of the games page; writes no file.
std::string DisplayGames();

}  // namespace dv
