#pragma once
// The files the rules and the effects read and write: the current player's file, saved at the
// end of a game and by SAVECOLLECTION, and the cards of a card file, read by CREATECARD and
// NEWENEMY. Files are the data floor's work: this is the one seam through which the floors
// below it call that floor (data/card_files.h).

#include <optional>
#include <string>

#include "engine/model/records.h"

namespace dv {

// SaveCurrentPlayer: false, having said why, when the file was not written.
bool SaveCurrentPlayerFile();
// ReadCards with the zone as override: false, having said where, when the file was not read
// whole.
bool ReadCardFile(List<Card>& cards, const std::string& fileName, Player& player,
                  const std::string& zone = "");
// CardOfSet: the card CREATECARD takes from its card set, which is kept by the file found; the
// player's lists are to be let go.
std::optional<Card> CardOfSetFile(const std::string& cardName, const std::string& fileName,
                                  Player& player, const std::string& zone, bool placed);

}  // namespace dv
