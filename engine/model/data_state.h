#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/model/files.h"
#include "engine/model/folder_watch.h"
#include "engine/model/list.h"
#include "engine/model/records.h"
#include "engine/model/rules_state.h"

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

// Where a card set kept by the file found lies, found and stamped once for the open turn.
struct FoundSetFile {
    FoundFile Found;
    std::string Real;   // canonical
    std::string Stamp;  // empty for no regular file
};

// Card sets looked up in the open turn (between the outermost TurnBudget's start and end) by
// folder and name: a turn that creates half a million cards from one set finds and stamps its
// file once. Emptied whenever the program writes a file (AtomicSave), which may be such a set.
struct TurnSetFiles {
    bool Open = false;
    std::unordered_map<std::string, FoundSetFile> ByName;
    long long Lookups = 0;  // files found and stamped anew, turn or not
};
// Names a turn keeps the found file of at most; past that it starts again.
inline constexpr std::size_t kMaxTurnSetFiles = 1000;

// The include chain of the running read: its depth and a slot per depth.
struct IncludeChain {
    int Depth = 0;
    List<IncludeSlot> Names = List<IncludeSlot>(kMaxIncludeDepth);
};

// What a player file holds of the player, kept aside while a card test uses the deck lists.
struct PlayerFileData {
    List<Card> Collection;
    List<DeckList> Decks;
    List<CardDeck> PlayerDecks;
    uint8_t CurrentDeck = 0;
    int32_t Tokens = 0;
    List<std::string> WonMissions;
};

// What one plain read of a card file did, kept so that reading the same bytes again under the
// same conditions does it again without parsing and building every card anew. Only reads that
// put cards into the player's deck or the list read into and set player and game values are kept,
// and only when no number they drew stays in what they built.
struct CardReadMemo {
    // The conditions: where the bytes lay, the bytes, and how they were read. A set read kept by
    // the file found (KeptSetReads) keeps no bytes: the file's stamp (device, inode, size and
    // times) stands for them.
    std::string Location;
    std::string Bytes;
    std::string Stamp;
    bool StampedAlone = false;  // it includes no file, whose changes its stamp would not show
    std::string ZoneOverride;
    uint8_t PlayerId = 0;
    uint8_t DesignerActive = 0;
    // Every trait mask position the read handed out, in order: the cards' masks were built with
    // these, and a repeat hands the same names out again in the same order.
    std::vector<TraitMaskLookup> MaskLookups;
    // What it did.
    struct Placed {
        Card card;
        bool intoDeck = false;  // else into the list read into
        bool pictureLookedUp = false;
        bool thumbnailLookedUp = false;
        std::string zone;  // the file's zone item, before any override
        // The draw that gave its identifier, counted from the read's first draw; -1 for an
        // identifier the file gave (a read kept by its bytes has only those).
        int64_t GidDraw = -1;
    };
    std::vector<Placed> Cards;
    // Of a set kept by the file found, made when a card is first taken from it: where its deck
    // cards are among Cards, in the order the deck takes them, and by each name and unique name,
    // which of those (counted from 1) have it.
    struct DeckIndex {
        std::vector<std::size_t> cards;
        std::unordered_map<std::string, std::vector<int>> byName;
    };
    std::optional<DeckIndex> Deck;
    // The rules and cost cards as the read set them up afresh, when it did, and as they were
    // before: a repeat needs them as they were, since setting up keeps some of their values.
    std::optional<Card> RulesBefore, RulesAfter, CostBefore, CostAfter;
    std::vector<Card> TraitActions;  // added to the game's trait actions, in order
    std::vector<std::pair<std::string, std::string>> CustomStrings;  // list and text, in order
    // The draws whose identifier stays in a card, counted from the read's first draw, and the
    // card it goes to: 0 the rules card, 1 the cost card, 2 + k trait action k.
    std::vector<std::pair<uint64_t, int>> KeptDraws;
    std::optional<List<DeckList>> Decks;
    std::optional<List<std::string>> WonMissions;
    std::optional<std::string> LastModified;
    std::optional<int32_t> Tokens;
    std::optional<std::string> GameFile;
    std::optional<std::string> DeckRules;
    bool StarterDeck = false;
    // No card was left out of the lists that another zone override would have placed.
    bool EveryCardPlaced = true;
    bool SetsTraitChanged = false;
    uint64_t Draws = 0;
};

// The catalogue as a build from the files left it, kept while the folders it read are watched and
// nothing else it read has changed.
struct CatalogueMemo {
    std::string ProgramFolder;
    std::string CurrentFolder;
    List<std::string> Unlocked;
    List<std::string> WonBefore;  // the player's won missions before the build and after it
    List<std::string> WonAfter;
    std::vector<std::string> GameFolders;  // the games' folder names as the files give them
    List<GameInfo> Games;
    int16_t CurrentGame = 0;  // before the game being played was found again
};

// What a build of the catalogue being kept has read so far, and whether it may still be kept.
struct CatalogueBuildNotes {
    std::vector<std::string> Read;
    bool Keep = true;
};

// Card reads kept at once; the one used longest ago goes first.
inline constexpr std::size_t kMaxCardReadMemos = 12;

// A fault of a card file read that many of its lines may have alike, told once when the
// outermost read ends: a message of no kind is told once with the times it came.
struct ReadFault {
    std::string Kind;  // of the fault, or the whole text of a message of no kind
    std::string Title;
    std::string Text;  // as told when it came once
    // Of a kind, told when it came more than once: Head, the count, Body and the first names.
    std::string Head;
    std::string Body;
    int Count = 0;
    std::vector<std::string> FirstNames;
};

// The outermost card file read running now and the reads it sets off (the card set of a
// "#REF..." line, the set that a card read into play creates a card from): its bounds hold for
// them all together, each name is looked up once, and each kind of fault is told once.
struct OutermostRead {
    int Running = 0;  // reads running, the outermost one included
    int Files = 0;
    long long Cards = 0;
    long long Copies = 0;
    long long Bytes = 0;
    std::unordered_map<std::string, NamedFile> LookedUp;  // by folder and name
    std::vector<ReadFault> Faults;
    int UntoldFaults = 0;  // past the faults kept
};

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

    // The card designer's set file and what it held besides its cards, the deck manager's sale
    // mode and its four card-test lists (1 and 2 the hands, 3 and 4 the cards in play).
    std::string CardSetFile;
    CardFileLayout CardSetLayout;
    uint8_t SaleMode = 0;
    List<List<Card>> TopCards = List<List<Card>>(4);
    // Set while a card test runs: the player's own data, put back when the test ends. No player
    // file is written meanwhile, so the test's lists never reach it.
    std::optional<PlayerFileData> PlayerDataAside;

    // The refresh table of owned cards: one empty record between refreshes.
    List<Card> MRPTable = List<Card>(1);

    IncludeChain IncludeList;
    OutermostRead CardRead;
    // Most recently used last.
    std::vector<CardReadMemo> CardReadMemos;
    // The reads of the card sets that cards' scripts create cards from, kept by the file found;
    // those of sets that include files until the next game. Most recently used last.
    std::vector<CardReadMemo> KeptSetReads;
    TurnSetFiles SetFilesThisTurn;
    std::optional<CatalogueMemo> Catalogue;
    FolderWatch CatalogueWatch;  // the folders the kept catalogue was built from
    std::optional<CatalogueBuildNotes> CatalogueBuild;  // set while such a build runs

    // Non-empty while the collection in memory came from a read that failed part-way: it names
    // that file, and no player file is written until a later read gives the collection whole.
    std::string PartialCollectionFile;

    // When set, the date stamp every writer uses instead of the clock (tests and replays).
    std::string FixedNow;

    // Game catalogue: the name of the game being played, so that a rebuilt catalogue finds it
    // again by name rather than by its old number.
    std::string CurrentGameName;
};

}  // namespace dv
