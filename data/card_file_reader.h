#pragma once
// The reader's entry for the data module itself: a read whose scope is a card set leaves the
// running game alone and keeps only the cards it fetches.

#include <filesystem>
#include <optional>
#include <string>

#include "engine/model/files.h"
#include "engine/model/records.h"

namespace dv {

enum class ReadScope {
    Game,     // the lines act on the running game: cards in play, rules, templates, deck lists
    SetOnly,  // only the card list and the player record are filled; nothing is shuffled
};

bool ReadCardsIn(ReadScope scope, List<Card>& cards, const std::string& fileName, Player& player,
                 int duplicateCheck, const std::string& zoneOverride, int mode);

// Whether reading the file (with the files it includes) makes the game a starter game
// ("#STARTERDECK"), read apart from the game: nothing of the game changes. Nothing when it cannot
// be read, having said why.
std::optional<bool> MarksStarterDeck(const std::string& fileName);

// The message a read of that name shows when it finds nothing to read ("Error in reading cards:
// <name>: the file cannot be found", or "...: the file cannot be read: not a regular file" for a
// FIFO, a device or a folder); empty when there is a file to read.
std::string UnreadableFileMessage(const std::string& name, const std::filesystem::path& folder);

}  // namespace dv
