#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/records.h"

namespace dv {

struct GameInfo {
    std::string Name;
    std::string HeaderText;
    std::string GameFile;
    List<Card> Opponents;
    List<std::string> MissionTexts;
    List<std::string> MissionFiles;
    List<std::string> MissionTitles;
    List<std::string> OpponentFiles;
    std::string Folder;
    std::string Picture;
    std::string HelpPage;
};

struct PlayerProfile {
    std::string Name;
    std::string PlayerFile;
    std::string GameFile;
    List<std::string> Unlocked;
};

// Files nested deeper than this through "#INCLUDE" end the read as a failure.
inline constexpr int kMaxIncludeDepth = 50;

// One file of the include chain of a running read: the name as it was opened and where it lies.
struct IncludeSlot {
    std::string Name;
    std::string Location;
};

// The include chain of the running read: its depth and a slot per depth.
struct IncludeChain {
    int Depth = 0;
    List<IncludeSlot> Names = List<IncludeSlot>(kMaxIncludeDepth);
};

// What one plain read of a card file did, kept so that reading the same bytes again under the
// same conditions does the same without parsing and building every card anew. Only reads that
// put cards into the deck or the list read into, and set player and game values, are kept.
struct CardReadMemo {
    // The conditions: the bytes, how they were read, and the trait mask names before.
    std::string Bytes;
    std::string ZoneOverride;
    uint8_t PlayerId = 0;
    int DuplicateCheck = 0;
    uint8_t DesignerActive = 0;
    std::string CurrentFolder;
    std::string ProgramFolder;
    std::vector<std::string> MaskNamesBefore;
    // What it did.
    std::vector<std::string> MaskNamesAfter;
    uint64_t Draws = 0;
    bool SetsTraitChanged = false;
    // Cards in the order placed: into the deck (true) or the list read into (false), each with
    // whether its picture and thumbnail locations were looked up rather than given.
    struct Placed {
        bool intoDeck = false;
        Card card;
        bool pictureLookedUp = false;
        bool thumbnailLookedUp = false;
    };
    std::vector<Placed> Cards;
    std::optional<List<DeckList>> Decks;
    std::optional<List<std::string>> WonMissions;
    std::optional<std::string> LastModified;
    std::optional<int32_t> Tokens;
    std::optional<std::string> GameFile;
    std::optional<std::string> DeckRules;
    bool StarterDeck = false;
};

// Reads kept; the oldest goes first beyond this.
inline constexpr std::size_t kMaxCardReadMemos = 32;

struct DataState {
    List<GameInfo> Games;
    int16_t CurrentGame = 0;
    PlayerProfile CurrentProfile;
    List<PlayerProfile> PlayerProfiles;
    std::string CurrentMission;

    // Set by the card reader from the files it reads.
    uint8_t StarterDeck = 0;
    std::string GameFile;
    std::string DeckRules;

    // The card designer's set file, the deck manager's sale mode and its four card-test lists
    // (1 and 2 the hands, 3 and 4 the cards in play).
    std::string CardSetFile;
    uint8_t SaleMode = 0;
    List<List<Card>> TopCards = List<List<Card>>(4);

    // The refresh table of owned cards: one empty record between refreshes.
    List<Card> MRPTable = List<Card>(1);

    IncludeChain IncludeList;

    // Non-empty while the collection in memory came from a read that failed part-way: it names
    // that file, and no player file is written until a later read gives the collection whole.
    std::string PartialCollectionFile;

    // When set, the date stamp every writer uses instead of the clock (tests and replays).
    std::string FixedNow;

    // Game catalogue: the name of the game being played, so that a rebuilt catalogue finds it
    // again by name rather than by its old number.
    std::string CurrentGameName;

    // Reads of card files kept (see CardReadMemo): every computer game reads the same player
    // file and deck files again.
    std::vector<CardReadMemo> CardReadMemos;
};

}  // namespace dv
