#pragma once
// Process-wide state of the card model: the cards of the game and the shared utilities' caches.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/list.h"
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

struct ModelState {
    StableList<Card> InPlay;
    List<Player> Players = List<Player>(3);
    List<Card> Collection;
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
    uint8_t EffectOutcome = 0;
    uint8_t TraitChanged = 0;
    uint8_t CollectionEffect = 0;
    uint8_t DesignerActive = 0;

    // Trait reads whose bonus is being evaluated, so a bonus that reads its own trait ends.
    std::vector<std::pair<const Card*, std::string>> BonusReads;
    // Nesting of losses passed on to absorbing traits.
    int AbsorbDepth = 0;
    int ExpressionDepth = 0;  // value expressions being evaluated, one inside another

    int32_t NewestCard = 0;
    int32_t LastCard = 0;
    int32_t LastTarget = 0;
    std::string LastTargetName;
    std::string TurnLog;
    std::string FailReason;
    uint8_t DebugMode = 0;
    uint8_t GameOver = 0;
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

    // Shared utilities.
    GetFieldCacheRecord GetFieldCache;
    List<RandomStringList> RandomStringLists;
    List<std::string> ImageFolders;
    bool ImageFoldersBuilt = false;
    std::string RandomFileFolder;
    List<std::string> RandomFileNames;
    int RandomFileCount = 0;
    Rng Random;

    // The folder the program and its data live in, and the folder data paths are taken from.
    // The engine never changes the process's working folder.
    std::filesystem::path ProgramFolder;
    std::filesystem::path CurrentFolder;
};

}  // namespace dv
