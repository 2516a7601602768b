#pragma once
// Reading and writing the directive text files of cards, decks and players.

#include <string>

#include "engine/model/records.h"

namespace dv {

// Reads a card data file (and the files it includes) into cards and player. Returns false when
// the file could not be read whole; what was read before the failure stays in the lists.
bool ReadCards(List<Card>& cards, const std::string& fileName, Player& player,
               const std::string& zone = "");
// Writes the player file of the current profile into the program folder. Returns false, having
// said why, when the file could not be written; the old file then stays as it was.
bool SavePlayer(const std::string& fileName);

}  // namespace dv
