#pragma once
// Process-wide state of the card model: the cards of the game and the shared utilities' caches.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/model/folder_watch.h"
#include "engine/model/list.h"
#include "engine/model/play_list.h"
#include "engine/model/random.h"
#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

struct GetFieldCacheRecord {
    std::string Text;  // the last text searched, with the delimiter appended
    std::string Delimiter;
    int Start = 0;
    int Field = 0;
};

// Modes of the deck manager (DeckManagerMode).
inline constexpr uint8_t kEditDecks = 0;
inline constexpr uint8_t kOpponentDeck = 1;
inline constexpr uint8_t kCardTest = 2;
inline constexpr uint8_t kCardView = 3;
inline constexpr uint8_t kCardPick = 4;
// The pictures of each pane of the deck manager.
inline constexpr int kPaneSlots = 18;

// What AddToCollection keeps of the collection while a CollectionAdditions lives (card_lists.h).
struct CollectionIndex {
    int Open = 0;  // CollectionAdditions alive
    bool Built = false;
    int Size = 0;                          // of the collection when last seen
    std::unordered_map<int32_t, int> Ids;  // identifiers of the collection and the decks, counted
    std::vector<int> FreeSlots;            // the collection's free slots, lowest first
    std::size_t NextFree = 0;              // the first of them not filled since
};

struct ModelState {
    PlayList InPlay;
    List<Player> Players = List<Player>(3);
    List<Card> Collection;
    CollectionIndex CollectionAdded;
    List<CardDeck> PlayerDecks = {{"Deck #1", {}}, {"Deck #2", {}}, {"Deck #3", {}}};
    List<DeckList> Decks;
    List<Card> SideBoard;
    List<CardTemplate> Templates;
    List<Card> TraitActions;
    Card RulesCard;
    Card CostCard;
    Card CurrentCard;
    List<Card> EditCards;
    List<Card> CardQueue;
    int CardQueueCount = 0;
    List<int16_t> ActivationQueue;
    List<Player> CardsetCache;
    Player LoadPlayer;

    PickerCommand EchoParts;
    std::string EchoText;
    std::string TraitEcho;
    Value LastAmount;
    Value CurrentValue;
    std::string RedirectTrait;
    int16_t RedirectTarget = 0;
    dv::EffectOutcome EffectOutcome = dv::EffectOutcome::None;
    uint8_t TraitChanged = 0;
    uint8_t CollectionEffect = 0;
    uint8_t DesignerActive = 0;

    // Trait reads whose bonus is being evaluated, so a bonus that reads its own trait ends.
    std::vector<std::pair<const Card*, std::string>> BonusReads;
    // Nesting of losses passed on to absorbing traits.
    int AbsorbDepth = 0;
    int ExpressionDepth = 0;  // value expressions being evaluated, one inside another
    // Cards kept for reuse by trial runs' copies (see scratch_card.h).
    std::vector<std::unique_ptr<Card>> FreeScratchCards;
    // Room for the action texts of effect runs, kept between runs: every run copies its script.
    std::vector<std::string> FreeActionTexts;

    int32_t NewestCard = 0;
    int32_t LastCard = 0;
    int32_t LastTarget = 0;
    std::string LastTargetName;
    std::string TurnLog;
    // Where the line that says the turn log was cut ends in it (engine/model/turn_log.h).
    std::size_t TurnLogCutAt = 0;
    std::string FailReason;
    uint8_t DebugMode = 0;
    uint8_t GameOver = 0;
    // 1 from a game's first turn until it ends or the new-game set-up shows the games page: only
    // meanwhile is there a turn to play and a hand to show.
    uint8_t GameRunning = 0;
    uint8_t Winner = 0;

    // Values the game flow and the designer keep but the engine reads and counts.
    uint8_t RealPayment = 0;
    double MaskedActions = 0;
    double UnmaskedActions = 0;
    double CancelledActions = 0;
    int32_t SuccessfulActions = 0;
    uint8_t FullSize = 0;
    uint8_t DeckManagerMode = 0;
    uint8_t PickingCard = 0;
    uint8_t CurrentDeck = 0;
    uint8_t ListBusy = 0;  // 1 while SortCards runs; the designer ignores list clicks meanwhile
    // The card-list index each collection picture of the deck manager shows, 0 for none.
    List<int32_t> ColDisplay = List<int32_t>(kPaneSlots);
    uint8_t LinkRedirect = 0;  // 1 while LinkDeck links a card-test deck list against EditCards

    // Values the windows hand to one another: the opener sets them before it shows a window and
    // reads them after it has closed.
    uint8_t ClickMode = 0;        // what the next card link in the board view does
    uint8_t MenuActionIndex = 0;  // the effect of a menu action waiting for its target
    int32_t PickedCard = 0;       // collection position of the card picked in the deck manager
    uint8_t PickedDeck = 0;       // 0: the picked card lies in the collection
    // Set by the deck manager when a pick closed it; the opener clears it before showing the
    // window. PickedCard alone cannot tell, since a description under the pointer sets it too.
    uint8_t PickMade = 0;
    uint8_t DeckManagerFromMenu = 0;
    uint8_t EditorTest = 0;           // a test game of the designer's cards is under way
    uint8_t EditFromDeckManager = 0;  // the deck manager handed a collection card to the designer
    int16_t EditIndex = 0;            // slot of EditCards shown in the designer, 0 none yet
    List<Card> EnemyCards;            // the opponent's cards edited in the deck manager
    uint8_t Connected = 0;
    // The trait names the designer offers; a free slot is empty.
    List<std::string> CommonTraits = List<std::string>(100);

    // Shared utilities.
    GetFieldCacheRecord GetFieldCache;
    List<RandomStringList> RandomStringLists;
    List<std::string> ImageFolders;
    bool ImageFoldersBuilt = false;
    // The answers of the picture search (location empty: not found), kept while the folders the
    // search reads are watched and no entry of the names it depends on changes in them.
    struct PictureLocation {
        std::vector<std::string> lowerNames;  // the file name, and the folders of the name given
        std::string location;
        bool checkOnUse = true;  // found through a link: checked to be there each time
        bool refused = false;    // outside the program folder and the game folders
    };
    std::unordered_map<std::string, PictureLocation> PictureLocations;
    FolderWatch PictureFolderWatch;
    std::vector<std::string> PictureWatchRefused;  // folders the system would not watch
    bool PictureSearchCutTold = false;             // the player was told a cap cut the search
    // Open picture look-up batches (see PictureLookupBatch), and whether the watch was asked for
    // changes since the outermost one opened.
    int PictureBatchDepth = 0;
    bool PictureBatchDrained = false;
    std::string RandomFileFolder;
    List<std::string> RandomFileNames;
    int RandomFileCount = 0;
    Rng Random;
    // When set, the generator is seeded with this wherever it would be seeded from the clock, so
    // that tests and benchmarks replay the same game.
    std::optional<double> SeedOverride;

    // Save targets whose temporary files left by earlier runs were looked for in this run.
    std::unordered_set<std::string> SweptSaveTargets;

    // The folder the program and its data live in, and the folder data paths are taken from.
    // The engine never changes the process's working folder.
    std::filesystem::path ProgramFolder;
    std::filesystem::path CurrentFolder;
};

}  // namespace dv
