#pragma once
// Reading and writing the directive text files of cards, decks and players.

#include <optional>
#include <string>
#include <vector>

#include "data/save_result.h"
#include "engine/model/records.h"

namespace dv {

// Modes of a read: how the card list given to the reader is filled.
inline constexpr int kReadReplace = 0;  // cut to one free element, filled from index 1
inline constexpr int kReadAppend = 1;   // appended after the cards it holds
inline constexpr int kReadCutOnFirst =
    -1;  // unchanged until the first card, then cut to this file's

// Reads a card data file (and the files it includes) into cards and player. Returns false when
// the file could not be read whole, having said which file and where; what was read before the
// failure stays in the lists. duplicateCheck 1 leaves out collection cards the list already
// holds; a non-empty zoneOverride moves the file's cards to that zone.
bool ReadCards(List<Card>& cards, const std::string& fileName, Player& player, int duplicateCheck,
               const std::string& zoneOverride, int mode);
// The same with no duplicate check, the zone as override, and mode kReadReplace.
bool ReadCards(List<Card>& cards, const std::string& fileName, Player& player,
               const std::string& zone = "");
// The same for the designer's card file, with no zone override: `layout` gets what the file holds
// besides its cards (its header lines and "#INCLUDE" lines) and the cards and templates that the
// files it includes brought.
bool ReadCardFile(List<Card>& cards, const std::string& fileName, Player& player,
                  int duplicateCheck, int mode, CardFileLayout& layout);
// The same for a card set that a card's script creates cards from (CREATECARD): the read is kept
// by the file found, and a read of the same file, however its name is spelt, is done again from
// memory while the file is unchanged, until the next game.
bool ReadCardSet(List<Card>& cards, const std::string& fileName, Player& player,
                 const std::string& zone);
// The first card of that name or unique name in the player's deck as ReadCardSet leaves it (in
// the order of the shuffle it ends with), with the same draws; none when the set holds none.
// From a kept read the one card is placed alone, so the player's deck is left unlike the read's:
// the caller lets the player's lists go. A card that will not be placed (placed false) is not
// looked for: an empty card says that the set holds one.
std::optional<Card> CardOfSet(const std::string& cardName, const std::string& fileName,
                              Player& player, const std::string& zone, bool placed);

// The text of one card as its block of lines, under the zone word of its "#CARD" line. Drops the
// effects the card's trait actions put there, so that inherited actions are never stored.
std::string CardFileText(Card& card, const std::string& zone);
// The generated lead card of a card store and of a starter deck.
std::string GenStoreText(const std::string& name, const std::string& picture,
                         const std::string& thumbnail, int boosterSize, int price);
std::string GenStarterText(const std::string& name, const std::string& picture,
                           const std::string& thumbnail, int deckSize);
// The cards of the list that came from a file the designer's card file includes and were changed
// since, as "name (file)", or deleted, as "name (file, deleted)": a save of the card file cannot
// write that into their own files.
std::vector<std::string> ChangedIncludedCards(const List<Card>& cards,
                                              const CardFileLayout& layout);
// Each save below comes in two forms (data/save_result.h): the ...Reason form hands back why it
// failed; the bool form shows that and returns whether the file was saved.

// Writes a whole card data file. A card file (no generated store or starter card) is written
// with what the designer's card file held besides its cards (CardSetLayout), and without the cards
// and unchanged templates that the files it includes brought.
SaveResult SaveCollectionReason(List<Card>& cards, const std::string& path, const std::string& zone,
                                const std::string& generatedName, int starter,
                                PathOrigin origin = PathOrigin::Named);
bool SaveCollection(List<Card>& cards, const std::string& path, const std::string& zone,
                    const std::string& generatedName, int starter,
                    PathOrigin origin = PathOrigin::Named);

// Writes the player file of the current profile into the program folder (or, chosen, where the
// player chose), and then the profile list, which keeps only a file of the program folder. When
// the player file could not be written the old file stays as it was. Nothing is written in debug
// mode or while a card test runs: the result then says so as a skipped save.
SaveResult SavePlayerReason(const std::string& fileName, PathOrigin origin = PathOrigin::Named);
bool SavePlayer(const std::string& fileName, PathOrigin origin = PathOrigin::Named);
// Writes the player file of the current game and profile, named by PlayerFileName. Fails when
// there is no current game (not shown) or the file was refused or not written.
SaveResult SaveCurrentPlayerReason();
bool SaveCurrentPlayer();
// The player file name of a game and profile; empty, having said why, when the game or profile
// name (typed, or read from a game file or the profile list) could take the file out of the
// program folder.
std::string PlayerFileName(const std::string& gameName, const std::string& profileName);
// Writes an opponent deck file; refused for a name that could leave the game's folder.
SaveResult SaveEnemyReason(List<Card>& cards, const std::string& path, const std::string& name);
bool SaveEnemy(List<Card>& cards, const std::string& path, const std::string& name);
// The path of an opponent deck file in the current game's folder; empty, having said why, when
// the typed name could take it out of that folder.
std::string EnemyFilePath(const std::string& name);
// Writes "PlayerProfiles.txt" into the current folder.
SaveResult SavePlayerProfilesReason();
bool SavePlayerProfiles();
// Reads "PlayerProfiles.txt" into PlayerProfiles; one empty entry when there is none.
void LoadPlayerProfiles();
// Makes a new profile of a typed name current and saves the list; refused, with a message, for a
// name that cannot be part of a file name.
bool NewPlayerProfile(const std::string& name);

}  // namespace dv
