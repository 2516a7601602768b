#pragma once
// Pieces of the card file writers that the player and opponent files share.

#include <optional>
#include <string>

#include "engine/model/records.h"

namespace dv {

// The block of one card, as CardFileText gives it, but a failure propagates to the save.
std::string CardBlock(Card& card, const std::string& zone);
// The first three lines of a generated store or starter card.
std::string StoreHead(const std::string& name, const std::string& picture,
                      const std::string& thumbnail);
// The banner, tokens, game file and date lines that open a card data file: the game's file, or
// the one given (none: no game file line).
std::string FileHeader();
std::string FileHeader(const std::optional<std::string>& gameFile);

}  // namespace dv
