#include "data/card_file_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "data/card_file_items.h"
#include "data/card_files.h"
#include "data/card_sets.h"
#include "data/outermost_read.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/files.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/model/watched_host.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/card_life.h"
#include "engine/rules/trait_changes.h"

namespace dv {
namespace {

// A "#DUPLICATE" line makes at most this many copies.
constexpr int kMaxDuplicateCopies = 1000;
constexpr int kStoredDecks = 3;
// Files one outermost read may open: the file itself and each file it includes, as often as it
// is included. A tree of files each of which includes the two files of the next level opens 2 to
// the power of its levels. The sample game's reads open two at most.
constexpr int kMaxReadFiles = 1000;
// Cards one outermost read may place, in whatever list. The sample game's largest read places
// 81 (a player file after the starter game); a test reads 8,008 cards into play from one file.
constexpr long long kMaxReadCards = 100000;
// Cards one outermost read may copy, as the deck read so far, at the end of the files it
// includes. The sample game's reads copy 43 at most.
constexpr long long kMaxReadCopies = 1000000;
// Bytes one outermost read may read, a file included again counted again: as much as one data
// file may hold. 998 includes of one 16 MB file read it all, twice, for 90 s.
constexpr long long kMaxReadBytes = static_cast<long long>(kMaxDataFileBytes);
// File names one outermost read may look up ("#INCLUDE" and "#REF..." lines): each is looked up
// once a read, however often it is named; a name in the wrong case costs a folder listing for each
// of its folders.
constexpr std::size_t kMaxReadLookUps = 1000;

// A read refused for what it would read: more than the bounds above allow, or a file outside the
// program folder and the game folders. Found by reading first into scratch lists, such a read
// changes nothing.
struct RefusedRead : CardFileFault {
    using CardFileFault::CardFileFault;
};

// Text before the first ":" and after it (empty when there is none).
std::pair<std::string, std::string> SplitFirstColon(const std::string& text) {
    const auto at = text.find(':');
    if (at == std::string::npos) return {text, ""};
    return {text.substr(0, at), text.substr(at + 1)};
}

std::vector<std::string> SplitAll(const std::string& text, char delimiter) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(delimiter, start);
        fields.push_back(
            text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return fields;
        start = at + 1;
    }
}

std::string Canonical(const fs::path& p) {
    std::error_code ec;
    auto c = fs::weakly_canonical(p, ec);
    return ec ? p.lexically_normal().string() : c.string();
}

// What a read may change besides its card list and player. A set read points these at scratch
// copies, so that fetching cards changes nothing else of the running game.
struct Sinks {
    PlayList* inPlay;
    List<Card>* sideBoard;
    List<CardTemplate>* templates;
    List<Card>* traitActions;
    Card* rulesCard;
    Card* costCard;
    List<CardDeck>* playerDecks;
    List<DeckList>* decks;
    std::string* gameFile;
    std::string* deckRules;
    uint8_t* starterDeck;
    bool live;  // activates cards in play, registers trait graphics and random texts, shuffles
};

struct Scratch {
    PlayList inPlay;
    List<Card> sideBoard;
    List<CardTemplate> templates;
    List<Card> traitActions;
    Card rulesCard;
    Card costCard;
    List<CardDeck> playerDecks = List<CardDeck>(kStoredDecks);
    List<DeckList> decks;
    std::string gameFile;
    std::string deckRules;
    uint8_t starterDeck = 0;
};

Sinks GameSinks() {
    State& s = St();
    return {&s.InPlay,    &s.SideBoard, &s.Templates,   &s.TraitActions,
            &s.RulesCard, &s.CostCard,  &s.PlayerDecks, &s.Decks,
            &s.GameFile,  &s.DeckRules, &s.StarterDeck, true};
}

Sinks ScratchSinks(Scratch& x) {
    return {&x.inPlay,    &x.sideBoard, &x.templates,   &x.traitActions,
            &x.rulesCard, &x.costCard,  &x.playerDecks, &x.decks,
            &x.gameFile,  &x.deckRules, &x.starterDeck, false};
}

enum class Kind {
    None,
    Deck,
    InPlay,
    Rules,
    PlayerCard,
    TraitAction,
    SideBoard,
    StoredDeck,
    Cards,
    Template,
    Cost
};

struct CurrentCard {
    Kind kind = Kind::None;
    int index = 0;
    int deck = 0;
};

struct Recording;

// One read and the files it includes: they share the card list, the player, the placement counts
// of the lists that a file fills from the start, and the stored-deck number. Its counts go to the
// tally of the outermost read (OutermostRead), which the reads it sets off share.
struct Run {
    List<Card>& cards;
    Player& player;
    int duplicateCheck;
    Sinks sinks;
    std::string name;  // of the outermost file
    int cardsCount = 0;
    int readStart = 0;  // cards the list held before the read, when it adds to them
    bool cutCardsOnFirst = false;
    int templateCount = 0;
    int deckListCount = 0;
    int storedDeck = 0;
    bool dryRun = false;  // into scratch lists, to find whether the read is refused: no deck copies
    // A read kept by the file found (ReadCardSet): the file, its stamp, and while it is being
    // kept, the recording that the files it includes add to.
    bool keepByFile = false;
    std::string realLocation = {};
    std::string stamp = {};
    Recording* recording = nullptr;
    // A read of a card file: the depth of the include chain when it began, what the file holds
    // besides its cards, and the slots of the cards and templates its included files placed.
    int baseDepth = 0;
    CardFileLayout* layout = nullptr;
    std::vector<std::pair<std::string, int>> includedCards = {};
    std::vector<std::pair<std::string, int>> includedTemplates = {};
    std::vector<std::string> unwritten = {};  // its lines that a save of the card file drops

    void CountFile() {
        ++St().CardRead.Files;
        CheckBounds();
    }
    void CountCard() {
        ++St().CardRead.Cards;
        CheckBounds();
    }
    void CountCopies(long long cards) {
        St().CardRead.Copies += cards;
        CheckBounds();
    }
    void CountBytes(long long bytes) {
        St().CardRead.Bytes += bytes;
        CheckBounds();
    }
    // Refuses the read once the outermost read, with the reads it set off, passes a bound.
    void CheckBounds() const {
        const OutermostRead& read = St().CardRead;
        if (read.Files > kMaxReadFiles)
            throw RefusedRead(name, 0,
                              "the read would open more than " + std::to_string(kMaxReadFiles) +
                                  " files (this file and those it includes)");
        if (read.Cards > kMaxReadCards)
            throw RefusedRead(name, 0,
                              "the read would place more than " + std::to_string(kMaxReadCards) +
                                  " cards (from this file and those it includes)");
        if (read.Copies > kMaxReadCopies)
            throw RefusedRead(name, 0,
                              "the read would copy more than " + std::to_string(kMaxReadCopies) +
                                  " cards (the deck as read so far, after each file "
                                  "it includes)");
        if (read.Bytes > kMaxReadBytes)
            throw RefusedRead(name, 0,
                              "the read would read more than " +
                                  std::to_string(kMaxReadBytes >> 20) +
                                  " MB (this file and those it includes, each time it is "
                                  "included)");
    }
};

// Where the read may open a file that the file read names, found once a read: the gate of the
// files that data names (FindNamedFile).
NamedFile LookUpNamed(const Run& run, const std::string& name) {
    OutermostRead& read = St().CardRead;
    std::string key = St().CurrentFolder.string();
    key += '\0';
    key += name;
    if (const auto kept = read.LookedUp.find(key); kept != read.LookedUp.end()) return kept->second;
    if (read.LookedUp.size() >= kMaxReadLookUps)
        throw RefusedRead(run.name, 0,
                          "the read would look up more than " + std::to_string(kMaxReadLookUps) +
                              " file names (in this file and those it includes)");
    NamedFile found = FindNamedFile(name);
    // No file has a longer name: such a name is not kept, and looking it up costs nothing.
    if (name.size() <= kMaxDataPathBytes) read.LookedUp.emplace(std::move(key), found);
    return found;
}

// Where a read starts in its card list, as its mode says.
void StartAt(Run& run, int mode) {
    if (mode == kReadReplace) {
        run.cards.Resize(1);
        run.cards[1] = Card{};
    } else if (mode == kReadAppend) {
        run.cardsCount = run.cards.size();
        run.readStart = run.cardsCount;
    } else {
        run.cutCardsOnFirst = true;
    }
}

// Keeps the include depth and the name slots right however the read of a file ends.
class ChainEntry {
  public:
    ChainEntry(const ItemReader& in, const std::string& name, const fs::path& location)
        : ChainEntry(in, name, Canonical(location), Resolved{}) {}
    // For a location already made canonical: a kept set's read, repeated at every card taken.
    struct Resolved {};
    ChainEntry(const ItemReader& in, const std::string& name, std::string canonical, Resolved) {
        DataState& d = St();
        if (d.IncludeList.Depth >= kMaxIncludeDepth)
            in.Fail("files are nested deeper than " + std::to_string(kMaxIncludeDepth));
        ++d.IncludeList.Depth;
        d.IncludeList.Names[d.IncludeList.Depth] = {name, std::move(canonical)};
    }
    ~ChainEntry() {
        DataState& d = St();
        if (--d.IncludeList.Depth <= 0) {
            d.IncludeList.Depth = 0;
            for (auto& slot : d.IncludeList.Names)
                slot = {};
        }
    }
    ChainEntry(const ChainEntry&) = delete;
    ChainEntry& operator=(const ChainEntry&) = delete;
};

bool OnChain(const fs::path& location) {
    const std::string c = Canonical(location);
    const DataState& d = St();
    for (int i = 1; i <= d.IncludeList.Depth && i <= kMaxIncludeDepth; ++i)
        if (d.IncludeList.Names[i].Location == c) return true;
    return false;
}

// What a read being kept has done so far (see CardReadMemo): where it placed cards, which values
// it set, and whether it did anything a memo could not do again.
struct Recording {
    bool keep = true;
    bool acrossIncludes = false;  // a read kept by the file found: its includes are recorded too
    bool includes = false;        // it has an "#INCLUDE" line
    struct Slot {
        bool intoDeck;
        int index;
        bool pictureLookedUp;
        bool thumbnailLookedUp;
        std::string zone;
        int64_t gidDraw;  // see CardReadMemo::Placed
    };
    std::vector<Slot> placed;
    bool everyCardPlaced = true;
    uint64_t drawsBefore = 0;
    std::optional<Card> rulesBefore, costBefore;
    std::vector<int> traitActions;  // the slots of the trait actions it added
    std::vector<std::pair<std::string, std::string>> customStrings;
    std::vector<std::pair<uint64_t, int>> keptDraws;
    bool decks = false;
    bool wonMissions = false;
    bool lastModified = false;
    bool tokens = false;
    bool gameFile = false;
    bool deckRules = false;
    bool starterDeck = false;
};

bool Overridable(const std::string& zone) {
    static const std::array<const char*, 6> overridable = {"COLLECTION", "PLAYERDECK", "NEUTRAL",
                                                           "SIDEBOARD",  "PLAYER",     "INDECK"};
    return std::find(overridable.begin(), overridable.end(), zone) != overridable.end();
}

// The zone a card of the file goes to: its own zone item, or the read's override for the zones
// a read may send elsewhere; upper case without '#'. A stored deck's number goes to storedDeck.
std::string PlacementZone(std::string zone, const std::string& zoneOverride, int& storedDeck) {
    if (!zoneOverride.empty() && Overridable(zone)) zone = zoneOverride;
    const auto [zoneHead, zoneRest] = SplitFirstColon(zone);
    if (UpperText(zoneHead) == "INPLAYERDECK") {
        // No number of a stored deck is that large: held to what an int holds, it stays none.
        storedDeck = static_cast<int>(std::clamp<double>(ReadNumber(zoneRest), INT_MIN, INT_MAX));
        zone = "PLAYERDECK";
    }
    zone.erase(std::remove(zone.begin(), zone.end(), '#'), zone.end());
    return UpperText(zone);
}

enum class Placement { Deck, Cards, Elsewhere };

// Where a card of that placement zone goes in a read that checks no duplicates.
Placement PlacementOf(const std::string& zone) {
    if (zone == "INDECK" || zone == "CARDINDECK") return Placement::Deck;
    if (zone == "PLAYERDECK" || zone == "COLLECTION") return Placement::Cards;
    return Placement::Elsewhere;
}

class FileReader {
  public:
    FileReader(Run& run, ItemReader& in, std::string zoneOverride, Recording* recording = nullptr)
        : run_(run), in_(in), zoneOverride_(std::move(zoneOverride)), recording_(recording) {}

    void ReadAll() {
        while (!in_.AtEnd()) {
            const std::string word = in_.Next("");
            // Each line is a procedure of its own: the cards of play it changes are let go when
            // it ends, and the next line takes its card again.
            HoldScope line;
            try {
                Directive(word);
                // A read that a line set off (a card set, a card read into play that creates
                // cards) counts toward this read's bounds.
                run_.CheckBounds();
            } catch (const CardFileFault&) {
                throw;
            } catch (const std::exception& e) {
                in_.Fail(std::string(word) + ": " + e.what());
            }
        }
    }

  private:
    std::string Next() { return in_.Next(directive_); }

    void Directive(const std::string& word) {
        directive_ = word.c_str();
        using Handler = void (FileReader::*)();
        static const std::array<std::pair<const char*, Handler>, 31> table = {{
            {"#CARD", &FileReader::FullCard},
            {"#CARDINDECK", &FileReader::CardInDeck},
            {"#CARDINPLAYERDECK", &FileReader::CardInPlayerDeck},
            {"#CARDINPLAY", &FileReader::CardInPlay},
            {"#SIDEBOARDCARD", &FileReader::SideBoardCard},
            {"#COLLECTION", &FileReader::CollectionCard},
            {"#TEMPLATE", &FileReader::TemplateCard},
            {"#TEMPLATEDATA", &FileReader::TemplateData},
            {"#NEUTRALCARD", &FileReader::NeutralCard},
            {"#TRAITACTION", &FileReader::TraitAction},
            {"#RULESCARD", &FileReader::RulesCard},
            {"#COSTCARD", &FileReader::CostCard},
            {"#PLAYERCARD", &FileReader::Nothing},
            {"#REFINDECK", &FileReader::RefInDeck},
            {"#REFINPLAYERDECK", &FileReader::RefInPlayerDeck},
            {"#REFINPLAY", &FileReader::RefInPlay},
            {"#REFCOLLECTION", &FileReader::RefCollection},
            {"#TRAIT", &FileReader::Trait},
            {"#EFFECT", &FileReader::EffectLine},
            {"#EXTRADATA", &FileReader::ExtraData},
            {"#TRAITACTIONDESC", &FileReader::TraitActionDesc},
            {"#DUPLICATE", &FileReader::Duplicate},
            {"#DECK", &FileReader::DeckList},
            {"#WONMISSIONS", &FileReader::WonMissions},
            {"#LASTMODIFIED", &FileReader::LastModified},
            {"#TOKENS", &FileReader::Tokens},
            {"#GAMEFILE", &FileReader::GameFile},
            {"#DECKRULES", &FileReader::DeckRules},
            {"#CUSTOMSTRING", &FileReader::CustomString},
            {"#STARTERDECK", &FileReader::StarterDeck},
            {"#INCLUDE", &FileReader::Include},
        }};
        for (const auto& [name, handler] : table) {
            if (word == name) {
                if (recording_ && !Repeatable(handler) &&
                    !(handler == &FileReader::Include && recording_->acrossIncludes))
                    recording_->keep = false;
                if (run_.layout && !CardFileKeeps(handler)) NoteUnwritten(word);
                (this->*handler)();
                return;
            }
        }
    }

    // Directives whose cards and data a save of the designer's card file writes back (a card
    // line as its zone says; "#DUPLICATE" makes no copies in the designer's reads).
    static bool CardFileKeeps(void (FileReader::*handler)()) {
        using Handler = void (FileReader::*)();
        static const Handler kept[] = {
            &FileReader::FullCard,        &FileReader::CollectionCard, &FileReader::TemplateCard,
            &FileReader::TemplateData,    &FileReader::CostCard,       &FileReader::RefCollection,
            &FileReader::Trait,           &FileReader::EffectLine,     &FileReader::ExtraData,
            &FileReader::TraitActionDesc, &FileReader::Duplicate,      &FileReader::LastModified,
            &FileReader::Tokens,          &FileReader::GameFile,       &FileReader::DeckRules,
            &FileReader::CustomString,    &FileReader::StarterDeck,    &FileReader::Include,
            &FileReader::Nothing,
        };
        return std::find(std::begin(kept), std::end(kept), handler) != std::end(kept);
    }

    // A line of the card file itself that a save of it as the designer's card file drops.
    void NoteUnwritten(const std::string& what) {
        if (!OwnLayout()) return;
        std::vector<std::string>& noted = run_.unwritten;
        if (std::find(noted.begin(), noted.end(), what) == noted.end()) noted.push_back(what);
    }

    // Directives whose whole work a memo of the read does again.
    static bool Repeatable(void (FileReader::*handler)()) {
        using Handler = void (FileReader::*)();
        static const Handler repeatable[] = {
            &FileReader::FullCard,    &FileReader::Trait,           &FileReader::EffectLine,
            &FileReader::ExtraData,   &FileReader::TraitActionDesc, &FileReader::DeckList,
            &FileReader::WonMissions, &FileReader::LastModified,    &FileReader::Tokens,
            &FileReader::GameFile,    &FileReader::DeckRules,       &FileReader::StarterDeck,
            &FileReader::Nothing,     &FileReader::RulesCard,       &FileReader::CostCard,
            &FileReader::TraitAction, &FileReader::CustomString,
        };
        return std::find(std::begin(repeatable), std::end(repeatable), handler) !=
               std::end(repeatable);
    }

    // Cards.

    Card NewCard(int owner) {
        Card card;
        InitCard(card, owner, 0);
        return card;
    }

    Card SixItemCard(int owner) {
        Card card = NewCard(owner);
        card.Name = Next();
        card.Picture = Next();
        card.Thumbnail = Next();
        card.Colour = Next();
        card.CostDesc = Next();
        card.Description = Next();
        return card;
    }

    int StoredDeckNumber(const std::string& item) {
        return static_cast<int>(NumberItem(in_, item, 1, kStoredDecks, "a stored deck number"));
    }

    int PlaceInDeck(Card card) {
        run_.CountCard();
        return run_.player.Deck.PushBack(std::move(card));
    }

    int PlaceInPlay(Card card, bool activate) {
        // The placed card is let go when it is in: a file of thousands would hold them all.
        HoldScope hold;
        run_.CountCard();
        PlayList& inPlay = *run_.sinks.inPlay;
        const int slot = inPlay.PushBack(std::move(card));
        // The card knows its slot, so activating it does not place it a second time.
        inPlay[slot].Index = slot;
        if (activate && run_.sinks.live) ActivateCard(inPlay[slot], 0);
        return slot;
    }

    // What a line of the card file read itself (not of a file it includes) brings: the card
    // file's layout, when the read fills one.
    CardFileLayout* OwnLayout() const {
        return St().IncludeList.Depth == run_.baseDepth + 1 ? run_.layout : nullptr;
    }

    void NoteIncluded(std::vector<std::pair<std::string, int>>& slots, int slot) const {
        if (run_.layout && !OwnLayout()) slots.push_back({in_.FileName(), slot});
    }

    int PlaceInCards(Card card) {
        run_.CountCard();
        run_.cutCardsOnFirst = false;
        const int slot = ++run_.cardsCount;
        run_.cards.Resize(slot);
        run_.cards[slot] = std::move(card);
        NoteIncluded(run_.includedCards, slot);
        return slot;
    }

    int PlaceInStoredDeck(int deck, const Card& card) {
        run_.CountCard();
        return (*run_.sinks.playerDecks)[deck].Cards.PushBack(card);
    }

    int PlaceInSideBoard(const Card& card) {
        run_.CountCard();
        return run_.sinks.sideBoard->PushBack(card);
    }

    int PlaceTraitAction(const Card& card) {
        run_.CountCard();
        return run_.sinks.traitActions->PushBack(card);
    }

    int PlaceTemplate(const Card& card) {
        run_.CountCard();
        List<CardTemplate>& templates = *run_.sinks.templates;
        const int slot = ++run_.templateCount;
        templates.Resize(slot);
        templates[slot] = CardTemplate{};
        templates[slot].card = card;
        NoteIncluded(run_.includedTemplates, slot);
        return slot;
    }

    void CardInDeck() { current_ = {Kind::Deck, PlaceInDeck(SixItemCard(run_.player.Id))}; }

    void CardInPlayerDeck() {
        const int deck = StoredDeckNumber(Next());
        run_.storedDeck = deck;
        const Card card = SixItemCard(run_.player.Id);
        current_ = {Kind::StoredDeck, PlaceInStoredDeck(deck, card), deck};
    }

    void CardInPlay() {
        current_ = {Kind::InPlay, PlaceInPlay(SixItemCard(run_.player.Id), false)};
    }

    void NeutralCard() {
        Card card = SixItemCard(0);
        card.Owner = 0;
        current_ = {Kind::InPlay, PlaceInPlay(card, false)};
    }

    void SideBoardCard() {
        Card card = SixItemCard(0);
        card.Owner = 0;
        current_ = {Kind::SideBoard, PlaceInSideBoard(card)};
    }

    void CollectionCard() { current_ = {Kind::Cards, PlaceInCards(SixItemCard(run_.player.Id))}; }

    void TemplateCard() { current_ = {Kind::Template, PlaceTemplate(SixItemCard(run_.player.Id))}; }

    void TemplateData() {
        const std::string back = Next();
        const std::string text = Next();
        const std::string colour = Next();
        CardTemplate& t = (*run_.sinks.templates)[run_.templateCount];
        t.BackPicture = back;
        t.Extra = text;
        t.Colour = static_cast<int32_t>(
            NumberItem(in_, colour, INT32_MIN, INT32_MAX, "a template colour"));
    }

    // Notes the draw that set up a card whose identifier stays in it; a setting-up that did not
    // draw exactly once could not be repeated.
    void KeptDraw(uint64_t before, int card) {
        if (!recording_) return;
        const uint64_t now = St().Random.Draws();
        if (now != before + 1) recording_->keep = false;
        recording_->keptDraws.push_back({now - 1 - recording_->drawsBefore, card});
    }

    void TraitAction() {
        const uint64_t before = St().Random.Draws();
        Card card = NewCard(0);
        card.Name = Next();
        card.Owner = 0;
        current_ = {Kind::TraitAction, PlaceTraitAction(card)};
        if (recording_) {
            KeptDraw(before, 2 + static_cast<int>(recording_->traitActions.size()));
            recording_->traitActions.push_back(current_.index);
        }
    }

    void RulesCard() {
        Card& rules = *run_.sinks.rulesCard;
        if (recording_ && !recording_->rulesBefore) recording_->rulesBefore = rules;
        const uint64_t before = St().Random.Draws();
        InitCard(rules, 0, 0);
        KeptDraw(before, 0);
        rules.Name = "RulesCard";
        current_ = {Kind::Rules};
    }

    void CostCard() {
        // Started afresh like the rules card: reading the same file twice must not give the cost
        // card every effect twice.
        Card& cost = *run_.sinks.costCard;
        if (recording_ && !recording_->costBefore) recording_->costBefore = cost;
        const uint64_t before = St().Random.Draws();
        InitCard(cost, 0, 0);
        KeptDraw(before, 1);
        cost.Name = "CostCard";
        current_ = {Kind::Cost};
    }

    // The slot of the card of the list that the card duplicates; 0 when there is none.
    int DuplicateOf(const Card& card) {
        // Until this file places its first card, the list still holds what it held before.
        const int last =
            run_.cutCardsOnFirst ? run_.cards.size() : std::min(run_.cardsCount, run_.cards.size());
        for (int i = 1; i <= last; ++i) {
            const Card& other = run_.cards[i];
            if (card.UniqueName.empty() ? other.Name == card.Name
                                        : other.UniqueName == card.UniqueName)
                return i;
        }
        return 0;
    }

    // A card left out for one read before it in the same read is told: a save of the list would
    // drop it without a word. One the list held before the read (Add Cards from File) is not.
    void TellLeftOut(const Card& card, int duplicateOf) {
        if (!run_.sinks.live || run_.cutCardsOnFirst || duplicateOf <= run_.readStart) return;
        const std::string key = (card.UniqueName.empty() ? card.Name : card.UniqueName) + ":" +
                                std::to_string(card.GID);
        const std::string named = card.Name + " (" + key + ", " + in_.FileName() + ")";
        AddReadFault("card of a unique name read before",
                     "Left out " + named + ": a card read before it has the same unique name. " +
                         "Saving these cards will not write it.",
                     "Left out ",
                     " cards that have the unique name of a card read before them; saving these "
                     "cards will not write them: ",
                     named);
    }

    // A card read whole from its items, with what placing it needs to record.
    struct ReadCard {
        Card card;
        std::string fileZone;
        bool pictureLookedUp = false;
        bool thumbnailLookedUp = false;
        int64_t gidDraw = -1;  // of a drawn identifier, in a read kept by the file found
    };

    void Record(bool intoDeck, int index, const ReadCard& read) {
        if (recording_)
            recording_->placed.push_back({intoDeck, index, read.pictureLookedUp,
                                          read.thumbnailLookedUp, read.fileZone, read.gidDraw});
    }

    ReadCard ReadFullCard() {
        ReadCard read{NewCard(run_.player.Id), {}, false, false, -1};
        Card& card = read.card;
        read.fileZone = Next();
        card.Name = Next();
        const std::string key = Next();
        card.SetFile = Next();
        const std::string picture = Next();
        const std::string thumbnail = Next();
        card.Colour = Next();
        card.Description = Next();

        // The identifier follows the last ":", so a unique name may itself hold ":".
        const auto colon = key.rfind(':');
        card.UniqueName = colon == std::string::npos ? key : key.substr(0, colon);
        const long long gid = colon == std::string::npos
                                  ? 0
                                  : LeadingNumberItem(in_, key.substr(colon + 1), INT32_MIN,
                                                      INT32_MAX, "a card identifier");
        const uint64_t before = St().Random.Draws();
        card.GID =
            gid != 0 ? static_cast<int32_t>(gid) : static_cast<int32_t>(RandomNum(200000000));
        // A drawn identifier stays in the card: a memo of the bytes could not give it again; one
        // kept by the file found draws it again at the same place of the generator's sequence.
        if (gid == 0 && recording_) {
            if (recording_->acrossIncludes && St().Random.Draws() == before + 1) {
                read.gidDraw = static_cast<int64_t>(before - recording_->drawsBefore);
            } else {
                recording_->keep = false;
            }
        }
        if (card.Colour.empty()) card.Colour = "#FFFFFF";
        card.Owner = run_.player.Id;
        std::tie(card.Picture, card.PictureUrl) = SplitFirstColon(picture);
        std::tie(card.Thumbnail, card.ThumbnailUrl) = SplitFirstColon(thumbnail);
        if (!card.PictureUrl.empty()) card.PictureItem = picture;
        if (!card.ThumbnailUrl.empty()) card.ThumbnailItem = thumbnail;
        // A location given beside a name is shown as it is: it passes the folder rule first.
        if (!PictureLocationAllowed(card.PictureUrl)) card.PictureUrl.clear();
        if (!PictureLocationAllowed(card.ThumbnailUrl)) card.ThumbnailUrl.clear();
        read.pictureLookedUp = card.PictureUrl.empty();
        read.thumbnailLookedUp = card.ThumbnailUrl.empty();
        if (read.pictureLookedUp) card.PictureUrl = GetImagePath(card.Picture, 0, "");
        if (read.thumbnailLookedUp) card.ThumbnailUrl = GetImagePath(card.Thumbnail, 0, "");
        return read;
    }

    void FullCard() {
        ReadCard read = ReadFullCard();
        const std::string zone = PlacementZone(read.fileZone, zoneOverride_, run_.storedDeck);
        static const std::array<const char*, 7> placedElsewhere = {
            "INDECK", "CARDINDECK", "INPLAY", "NEUTRAL", "SIDEBOARD", "PLAYER", "TRAITACTION"};
        if (std::find(placedElsewhere.begin(), placedElsewhere.end(), zone) !=
            placedElsewhere.end())
            NoteUnwritten("#CARD, " + zone);
        PlaceFullCard(std::move(read), zone);
        if (recording_ && (zone == "INPLAY" || zone == "NEUTRAL" || zone == "SIDEBOARD" ||
                           zone == "PLAYER" || zone == "TEMPLATE" || zone == "TRAITACTION"))
            recording_->keep = false;
    }

    void PlaceFullCard(ReadCard read, const std::string& zone) {
        Card& card = read.card;
        const std::string& fileZone = read.fileZone;
        // Each branch places the card at most once: it is moved there.
        if (zone == "INDECK" || zone == "CARDINDECK") {
            current_ = {Kind::Deck, PlaceInDeck(std::move(card))};
            Record(true, current_.index, read);
        } else if (zone == "PLAYERDECK") {
            current_ = {Kind::Cards, PlaceInCards(std::move(card))};
            Record(false, current_.index, read);
        } else if (zone == "INPLAY") {
            current_ = {Kind::InPlay, PlaceInPlay(std::move(card), true)};
        } else if (zone == "NEUTRAL") {
            card.Owner = 3;
            current_ = {Kind::InPlay, PlaceInPlay(std::move(card), true)};
        } else if (zone == "COLLECTION") {
            const int duplicateOf = run_.duplicateCheck == 1 ? DuplicateOf(card) : 0;
            if (duplicateOf != 0) {
                TellLeftOut(card, duplicateOf);
                current_ = {};
                if (recording_) recording_->everyCardPlaced = false;
            } else {
                current_ = {Kind::Cards, PlaceInCards(std::move(card))};
                Record(false, current_.index, read);
            }
        } else if (zone == "SIDEBOARD") {
            current_ = {Kind::SideBoard, PlaceInSideBoard(card)};
        } else if (zone == "PLAYER") {
            const int slot = PlaceInPlay(card, true);
            run_.player.CardIndex = slot;
            (*run_.sinks.inPlay)[slot].Colour.clear();
            run_.player.Colour.clear();
            current_ = {Kind::PlayerCard, slot};
        } else if (zone == "TEMPLATE") {
            current_ = {Kind::Template, PlaceTemplate(card)};
        } else if (zone == "TRAITACTION") {
            current_ = {Kind::TraitAction, PlaceTraitAction(card)};
        } else {
            current_ = {};
            if (recording_ && Overridable(fileZone)) recording_->everyCardPlaced = false;
        }
    }

    // The card of a "#REF..." line: its set passes the gate of the files that data names, and is
    // read, when it is not kept, as a read of this one.
    Card SetCard() {
        const std::string name = Next();
        const std::string set = Next();
        const NamedFile found = LookUpNamed(run_, set);
        if (!found.refusal.empty()) throw RefusedRead(in_.FileName(), in_.Line(), found.refusal);
        Card card = GetCardsetCard(name, found);
        run_.CheckBounds();
        return card;
    }

    void RefInDeck() { PlaceInDeck(SetCard()); }

    void RefInPlayerDeck() {
        const int deck = StoredDeckNumber(Next());
        run_.storedDeck = deck;
        PlaceInStoredDeck(deck, SetCard());
    }

    void RefInPlay() { PlaceInPlay(SetCard(), false); }

    void RefCollection() { PlaceInCards(SetCard()); }

    // Detail lines.

    Card* Current() {
        const Sinks& s = run_.sinks;
        switch (current_.kind) {
            case Kind::None:
                return nullptr;
            case Kind::Deck:
                return &run_.player.Deck[current_.index];
            case Kind::InPlay:
            case Kind::PlayerCard:
                return &(*s.inPlay)[current_.index];
            case Kind::Rules:
                return s.rulesCard;
            case Kind::Cost:
                return s.costCard;
            case Kind::TraitAction:
                return &(*s.traitActions)[current_.index];
            case Kind::SideBoard:
                return &(*s.sideBoard)[current_.index];
            case Kind::StoredDeck:
                return &(*s.playerDecks)[current_.deck].Cards[current_.index];
            case Kind::Cards:
                return &run_.cards[current_.index];
            case Kind::Template:
                return &(*s.templates)[current_.index].card;
        }
        return nullptr;
    }

    void Trait() {
        const std::string item = Next();
        Card* card = Current();
        if (!card) return;
        const auto [name, value] = SplitFirstColon(item);
        if (name.empty()) return;
        SetTrait(*card, name, Value(value), 1, "");
        if (current_.kind == Kind::Rules && run_.sinks.live && name == "TRAITGRAPHIC") {
            if (recording_) recording_->keep = false;
            std::vector<std::string> f = SplitAll(item, ':');
            f.resize(std::max<std::size_t>(f.size(), 9));
            AddTraitGraph(f[1], f[2], f[4], f[3], f[5], f[6], f[7], f[8]);
        }
    }

    void EffectLine() {
        const std::string target = Next();
        const std::string trigger = Next();
        const std::string script = Next();
        if (Card* card = Current())
            AddEffect(*card, script, GetTargetType(target), trigger, 0, target);
    }

    void ExtraData() {
        const std::string rarity = Next();
        const std::string startTime = Next();
        const std::string mods = Next();
        const std::string picture = Next();
        in_.NextOr("");
        Card* card = Current();
        if (!card) return;
        card->Rarity = static_cast<uint8_t>(NumberItem(in_, rarity, 0, 255, "a rarity"));
        card->StartTime = startTime;
        card->Mods = mods;
        std::vector<std::string> f = SplitAll(picture, '%');
        f.resize(std::max<std::size_t>(f.size(), 11));
        card->ArtSource = f[0];
        card->BackSource = f[1];
        card->MiniSource = f[2];
        for (int i = 0; i < 8; ++i)
            card->ArtRegion[i] = static_cast<int16_t>(
                NumberItem(in_, f[3 + i], INT16_MIN, INT16_MAX, "a picture region"));
    }

    void TraitActionDesc() {
        const std::string name = Next();
        const std::string description = Next();
        Card* card = Current();
        if (!card) return;
        const int slot = GetTraitNum(*card, name);
        if (slot == 0) {
            if (recording_) recording_->keep = false;
            AddReadFault("trait action of a missing trait",
                         "Error in reading cards: " + card->Name + " references trait " + name +
                             " but does not have it.",
                         "Error in reading cards: ", " lines name traits their cards do not have: ",
                         card->Name + " (" + name + ")");
            return;
        }
        if (card->TraitActionDescs.size() < slot) card->TraitActionDescs.Resize(slot);
        card->TraitActionDescs[slot] = description;
    }

    void Duplicate() {
        const double asked = ReadNumber(Next());
        if (run_.duplicateCheck != 0) return;
        if (current_.kind != Kind::Deck && current_.kind != Kind::InPlay &&
            current_.kind != Kind::StoredDeck)
            return;
        const int copies = static_cast<int>(std::clamp<double>(asked, 1, kMaxDuplicateCopies));
        for (int i = 0; i < copies; ++i) {
            Card copy = *Current();
            copy.GID = static_cast<int32_t>(RandomNum(10000000));
            if (current_.kind == Kind::Deck) {
                PlaceInDeck(copy);
            } else if (current_.kind == Kind::StoredDeck) {
                PlaceInStoredDeck(current_.deck, copy);
            } else {
                const bool activate = copy.Active == 1;
                copy.Active = 0;
                PlaceInPlay(copy, activate);
            }
        }
    }

    // Lists and player data.

    void DeckList() {
        if (recording_) recording_->decks = true;
        List<dv::DeckList>& decks = *run_.sinks.decks;
        const int slot = ++run_.deckListCount;
        decks.Resize(slot);
        dv::DeckList& list = decks[slot];
        list = {};
        list.Name = Next();
        list.CardIds = List<int32_t>(1);
        list.Positions = List<float>(1);
        while (!in_.AtEnd()) {
            const std::string item = in_.Next("#DECK");
            if (item == "#ENDOFDECK") break;
            const long long id =
                LeadingNumberItem(in_, item, INT32_MIN, INT32_MAX, "a card identifier");
            if (id == 0) continue;
            list.CardIds.PushBack(static_cast<int32_t>(id));
            list.Positions.PushBack(0);
        }
    }

    void WonMissions() {
        if (recording_) recording_->wonMissions = true;
        List<std::string> names;
        while (!in_.AtEnd()) {
            const std::string item = in_.Next("#WONMISSIONS");
            if (item.empty()) continue;
            if (item[0] == '#') {
                if (item != "#ENDWONMISSIONS") names.PushBack(item);
                break;
            }
            names.PushBack(item);
        }
        if (names.empty()) names.PushBack("");
        run_.player.WonMissions = std::move(names);
    }

    void LastModified() {
        if (recording_) recording_->lastModified = true;
        std::string stamp = Next();
        stamp.erase(std::remove(stamp.begin(), stamp.end(), '#'), stamp.end());
        run_.player.LastModified = stamp;
    }

    void Tokens() {
        if (recording_) recording_->tokens = true;
        run_.player.Tokens =
            static_cast<int32_t>(NumberItem(in_, Next(), INT32_MIN, INT32_MAX, "tokens"));
    }

    void GameFile() {
        if (recording_) recording_->gameFile = true;
        *run_.sinks.gameFile = Next();
        if (CardFileLayout* own = OwnLayout()) own->GameFile = *run_.sinks.gameFile;
    }
    void DeckRules() {
        if (recording_) recording_->deckRules = true;
        *run_.sinks.deckRules = Next();
        if (CardFileLayout* own = OwnLayout()) own->DeckRules = *run_.sinks.deckRules;
    }
    void StarterDeck() {
        if (recording_) recording_->starterDeck = true;
        *run_.sinks.starterDeck = 1;
        if (CardFileLayout* own = OwnLayout()) own->StarterDeck = true;
    }
    void Nothing() {}

    void CustomString() {
        const std::string list = Next();
        const std::string text = Next();
        if (run_.sinks.live) AddRandomString(list, text);
        if (recording_) recording_->customStrings.push_back({list, text});
        if (CardFileLayout* own = OwnLayout()) own->CustomStrings.push_back({list, text});
    }

    void Include();

    Run& run_;
    ItemReader& in_;
    std::string zoneOverride_;
    Recording* recording_;
    CurrentCard current_;
    const char* directive_ = "";
};

// Whether a read of these bytes could be kept or done again from a memo: the outermost file of
// a read into the game that fills its list from the start.
bool Memorable(const Run& run) {
    return run.sinks.live && !run.layout && St().IncludeList.Depth == 1 && run.cardsCount == 0 &&
           !run.cutCardsOnFirst && run.duplicateCheck == 0;
}

bool IsSide(int id) {
    return id == 1 || id == 2;
}

// Whether the memo was kept for a reader like this read's: the same player or the other side, and
// the rules and cost cards as they were. A card differs between the two sides only by its owner,
// its side mask and its effects' side requirements, which a repeat sets afresh.
bool SameReader(const CardReadMemo& memo, const Run& run) {
    if (memo.DesignerActive != St().DesignerActive) return false;
    if (memo.PlayerId != run.player.Id && !(IsSide(memo.PlayerId) && IsSide(run.player.Id)))
        return false;
    // Setting a card up afresh keeps some of its values and draws a new identifier.
    auto sameBefore = [](const std::optional<Card>& before, const Card& now) {
        if (!before) return true;
        if (now.GID == before->GID) return now == *before;
        Card drawnAlike = now;
        drawnAlike.GID = before->GID;
        return drawnAlike == *before;
    };
    return sameBefore(memo.RulesBefore, *run.sinks.rulesCard) &&
           sameBefore(memo.CostBefore, *run.sinks.costCard);
}

// Whether the memo does again what this read would do. Another zone override only sends the cards
// to other lists, when no card of the file was left out and every card still goes to the deck or
// the list read into.
bool SameConditions(const CardReadMemo& memo, const Run& run, const std::string& bytes,
                    const std::string& zoneOverride) {
    if (memo.Bytes.size() != bytes.size() || memo.Location != run.realLocation ||
        memo.Bytes != bytes || !SameReader(memo, run))
        return false;
    if (memo.ZoneOverride == zoneOverride) return true;
    if (!memo.EveryCardPlaced) return false;
    int storedDeck = 0;
    return std::all_of(memo.Cards.begin(), memo.Cards.end(), [&](const CardReadMemo::Placed& p) {
        return PlacementOf(PlacementZone(p.zone, zoneOverride, storedDeck)) != Placement::Elsewhere;
    });
}

// A trait mask bit moved from one position to another.
struct MovedBit {
    int fromWord;
    int32_t fromBit;
    int toWord;
    int32_t toBit;
};

void MoveBits(MaskWords& mask, const std::vector<MovedBit>& moves) {
    MaskWords moved = mask;
    for (const MovedBit& m : moves)
        moved[m.fromWord] &= ~m.fromBit;
    for (const MovedBit& m : moves)
        if (mask[m.fromWord] & m.fromBit) moved[m.toWord] |= m.toBit;
    mask = moved;
}

// Hands out the memo's trait mask positions again, in its order, and says how the bits its cards
// were built with move to the positions the names have now. False when a name had no position
// then or has none now: the bits could not be put right, and the file is read instead (the names
// handed out meanwhile are the ones that read hands out first, in the same order).
bool HandOutMaskPositions(const CardReadMemo& memo, std::vector<MovedBit>& moves) {
    for (const TraitMaskLookup& then : memo.MaskLookups) {
        std::string name = then.Name;
        int word = -1;
        int32_t bit = 0;
        gettraitmaskpos(name, word, bit);
        if (word < 1 || word >= static_cast<int>(MaskWords().size()) || then.Word < 1) return false;
        if (word == then.Word && bit == then.Bit) continue;
        if (std::none_of(moves.begin(), moves.end(), [&](const MovedBit& m) {
                return m.fromWord == then.Word && m.fromBit == then.Bit;
            }))
            moves.push_back({then.Word, then.Bit, word, bit});
    }
    return true;
}

// Moves the card's mask bits, and its effects', to the positions their names have now.
void MoveCardBits(Card& card, const std::vector<MovedBit>& moves) {
    if (moves.empty()) return;
    MoveBits(card.TraitMask, moves);
    for (int e = 1; e <= card.Effects.size(); ++e) {
        Effect& effect = card.Effects[e];
        for (MaskWords* mask : {&effect.ReqTargetHas, &effect.ReqSourceHas, &effect.ReqTargetNot,
                                &effect.ReqSourceNot, &effect.TraitBits})
            MoveBits(*mask, moves);
    }
}

// A draw whose identifier stays in what a kept read built, counted from the read's first draw:
// target -1 is a placed card (in the deck or the list read into, at index), else as KeptDraws.
struct Drawn {
    uint64_t draw;
    int target;
    bool intoDeck = false;
    int index = 0;
};

// Places the cards of the kept read again, each on the reader's side, and notes the draws of the
// identifiers they were given.
void PlaceAgain(const CardReadMemo& memo, Run& run, const std::string& zoneOverride,
                const std::vector<MovedBit>& moves, std::vector<Drawn>& draws) {
    const bool otherSide = memo.PlayerId != run.player.Id;
    for (const CardReadMemo::Placed& placed : memo.Cards) {
        Card card = placed.card;
        if (otherSide) {
            card.Owner = run.player.Id;
            card.SideMask = run.player.Id;
            for (int e = 1; e <= card.Effects.size(); ++e)
                if (!std::as_const(card.Effects)[e].Text.empty())
                    SetSideRequirement(card, card.Effects[e]);
        }
        if (placed.pictureLookedUp) card.PictureUrl = GetImagePath(card.Picture, 0, "");
        if (placed.thumbnailLookedUp) card.ThumbnailUrl = GetImagePath(card.Thumbnail, 0, "");
        MoveCardBits(card, moves);
        const bool intoDeck = memo.ZoneOverride == zoneOverride
                                  ? placed.intoDeck
                                  : PlacementOf(PlacementZone(placed.zone, zoneOverride,
                                                              run.storedDeck)) == Placement::Deck;
        int index = 0;
        if (intoDeck) {
            index = run.player.Deck.PushBack(std::move(card));
        } else {
            index = ++run.cardsCount;
            run.cards.Resize(index);
            run.cards[index] = std::move(card);
        }
        if (placed.GidDraw >= 0)
            draws.push_back({static_cast<uint64_t>(placed.GidDraw), -1, intoDeck, index});
    }
}

// Sets up the rules card, the cost card and the trait actions of the kept read again, and gives
// them and the placed cards the identifiers the same draws give now.
void SetUpAgain(const CardReadMemo& memo, Run& run, const std::vector<MovedBit>& moves,
                std::vector<Drawn>& draws) {
    State& st = St();
    if (memo.RulesAfter) {
        *run.sinks.rulesCard = *memo.RulesAfter;
        MoveCardBits(*run.sinks.rulesCard, moves);
    }
    if (memo.CostAfter) {
        *run.sinks.costCard = *memo.CostAfter;
        MoveCardBits(*run.sinks.costCard, moves);
    }
    const int firstAction = run.sinks.traitActions->size() + 1;
    for (const Card& action : memo.TraitActions)
        run.sinks.traitActions->PushBack(action);
    for (int k = firstAction; k <= run.sinks.traitActions->size(); ++k)
        MoveCardBits((*run.sinks.traitActions)[k], moves);
    for (const auto& [draw, target] : memo.KeptDraws)
        draws.push_back({draw, target});
    std::stable_sort(draws.begin(), draws.end(),
                     [](const Drawn& a, const Drawn& b) { return a.draw < b.draw; });
    uint64_t drawn = 0;
    for (const Drawn& d : draws) {
        st.Random.Skip(d.draw - drawn);
        drawn = d.draw + 1;
        if (d.target < 0) {
            // As the reader draws a card's identifier.
            const auto gid = static_cast<int32_t>(RandomNum(200000000));
            (d.intoDeck ? run.player.Deck[d.index] : run.cards[d.index]).GID = gid;
            continue;
        }
        const int32_t gid = DrawSetUpGID();
        if (d.target == 0) run.sinks.rulesCard->GID = gid;
        if (d.target == 1) run.sinks.costCard->GID = gid;
        if (d.target >= 2) (*run.sinks.traitActions)[firstAction + d.target - 2].GID = gid;
    }
    st.Random.Skip(memo.Draws - drawn);
}

// Does what the kept read did. Picture locations are looked up again: the pictures on disk may
// have changed since.
void Repeat(const CardReadMemo& memo, Run& run, const std::string& zoneOverride,
            const std::vector<MovedBit>& moves) {
    State& st = St();
    const PictureLookupBatch lookups;
    std::vector<Drawn> draws;
    PlaceAgain(memo, run, zoneOverride, moves, draws);
    if (memo.Decks) {
        *run.sinks.decks = *memo.Decks;
        run.deckListCount = memo.Decks->size();
    }
    if (memo.WonMissions) run.player.WonMissions = *memo.WonMissions;
    if (memo.LastModified) run.player.LastModified = *memo.LastModified;
    if (memo.Tokens) run.player.Tokens = *memo.Tokens;
    if (memo.GameFile) *run.sinks.gameFile = *memo.GameFile;
    if (memo.DeckRules) *run.sinks.deckRules = *memo.DeckRules;
    if (memo.StarterDeck) *run.sinks.starterDeck = 1;
    if (memo.SetsTraitChanged) st.TraitChanged = 1;
    SetUpAgain(memo, run, moves, draws);
    for (const auto& [list, text] : memo.CustomStrings)
        AddRandomString(list, text);
}

// Watches a read being kept and puts back, however it ends, what watching it changed: the host,
// the logging of trait mask positions, and the trait-changed mark, which ends set if the read set
// it and as it was otherwise.
class WatchScope {
  public:
    WatchScope(WatchedHost& watched, CardReadMemo& memo) : standIn_(watched), memo_(memo) {
        State& st = St();
        traitChanged_ = st.TraitChanged;
        st.TraitChanged = 0;
        st.LogMaskLookups = true;
        st.MaskLookups.clear();
    }
    ~WatchScope() {
        State& st = St();
        st.LogMaskLookups = false;
        // Only the first lookup of a name can change the table; the later ones find it.
        for (TraitMaskLookup& lookup : st.MaskLookups) {
            const bool seen =
                std::any_of(memo_.MaskLookups.begin(), memo_.MaskLookups.end(),
                            [&](const TraitMaskLookup& kept) { return kept.Name == lookup.Name; });
            if (!seen) memo_.MaskLookups.push_back(std::move(lookup));
        }
        st.MaskLookups.clear();
        memo_.SetsTraitChanged = st.TraitChanged != 0;
        if (!memo_.SetsTraitChanged) st.TraitChanged = traitChanged_;
    }
    WatchScope(const WatchScope&) = delete;
    WatchScope& operator=(const WatchScope&) = delete;

  private:
    const HostStandIn standIn_;
    CardReadMemo& memo_;
    uint8_t traitChanged_;
};

// Reads the bytes and keeps what the read did when a memo can do all of it again.
void ReadAndKeep(Run& run, ItemReader& in, const std::string& bytes,
                 const std::string& zoneOverride) {
    State& st = St();
    CardReadMemo memo;
    const uint64_t drawsBefore = st.Random.Draws();
    Recording recording;
    recording.drawsBefore = drawsBefore;
    recording.acrossIncludes = run.keepByFile;
    WatchedHost watched(TheHost());
    {
        WatchScope scope(watched, memo);
        // The files it includes add to the recording of a read kept by the file found.
        struct Recorded {
            Run& run;
            ~Recorded() { run.recording = nullptr; }
        } recorded{run};
        if (run.keepByFile) run.recording = &recording;
        FileReader(run, in, zoneOverride, &recording).ReadAll();
    }
    if (!recording.keep || watched.called) return;

    memo.Location = run.realLocation;
    if (run.keepByFile) {
        memo.Stamp = run.stamp;
        memo.StampedAlone = !recording.includes;
    } else {
        memo.Bytes = bytes;
    }
    memo.ZoneOverride = zoneOverride;
    memo.PlayerId = run.player.Id;
    memo.DesignerActive = st.DesignerActive;
    memo.Draws = st.Random.Draws() - drawsBefore;
    memo.Cards.reserve(recording.placed.size());
    for (const Recording::Slot& slot : recording.placed) {
        const Card& card = slot.intoDeck ? run.player.Deck[slot.index] : run.cards[slot.index];
        memo.Cards.push_back({card, slot.intoDeck, slot.pictureLookedUp, slot.thumbnailLookedUp,
                              slot.zone, slot.gidDraw});
    }
    if (recording.decks) memo.Decks = *run.sinks.decks;
    if (recording.wonMissions) memo.WonMissions = run.player.WonMissions;
    if (recording.lastModified) memo.LastModified = run.player.LastModified;
    if (recording.tokens) memo.Tokens = run.player.Tokens;
    if (recording.gameFile) memo.GameFile = *run.sinks.gameFile;
    if (recording.deckRules) memo.DeckRules = *run.sinks.deckRules;
    memo.StarterDeck = recording.starterDeck;
    if (recording.rulesBefore) {
        memo.RulesBefore = std::move(recording.rulesBefore);
        memo.RulesAfter = *run.sinks.rulesCard;
    }
    if (recording.costBefore) {
        memo.CostBefore = std::move(recording.costBefore);
        memo.CostAfter = *run.sinks.costCard;
    }
    for (int slot : recording.traitActions)
        memo.TraitActions.push_back((*run.sinks.traitActions)[slot]);
    memo.CustomStrings = std::move(recording.customStrings);
    memo.KeptDraws = std::move(recording.keptDraws);
    memo.EveryCardPlaced = recording.everyCardPlaced;

    std::vector<CardReadMemo>& memos = run.keepByFile ? st.KeptSetReads : st.CardReadMemos;
    std::erase_if(memos, [&](const CardReadMemo& m) {
        return run.keepByFile && m.Location == memo.Location;
    });
    if (memos.size() >= kMaxCardReadMemos) memos.erase(memos.begin());
    memos.push_back(std::move(memo));
}

// Reads the outermost file of a read into the game, or does again what reading the same bytes
// under the same conditions did before.
void ReadOrRepeat(Run& run, ItemReader& in, const FoundFile& file, const std::string& bytes,
                  const std::string& zoneOverride) {
    if (run.keepByFile) {
        ReadAndKeep(run, in, bytes, zoneOverride);
        return;
    }
    // Kept by the file found: "S.txt" and "./S.txt" are one file.
    run.realLocation = Canonical(file.location);
    std::vector<CardReadMemo>& memos = St().CardReadMemos;
    const auto kept = std::find_if(memos.begin(), memos.end(), [&](const CardReadMemo& m) {
        return SameConditions(m, run, bytes, zoneOverride);
    });
    if (kept == memos.end()) {
        ReadAndKeep(run, in, bytes, zoneOverride);
        return;
    }
    // The one used last goes to the end, away from the next to be let go.
    std::rotate(kept, kept + 1, memos.end());
    const CardReadMemo& memo = memos.back();
    std::vector<MovedBit> moves;
    if (HandOutMaskPositions(memo, moves)) {
        Repeat(memo, run, zoneOverride, moves);
    } else {
        FileReader(run, in, zoneOverride).ReadAll();
    }
}

// Reads one file of the run (the outermost or an included one) after it has been found.
void ReadFile(Run& run, const FoundFile& file, const std::string& bytes,
              const std::string& zoneOverride) {
    run.CountFile();
    ItemReader in(bytes, file.name);
    ChainEntry entry(in, file.name, file.location);
    if (Memorable(run)) {
        ReadOrRepeat(run, in, file, bytes, zoneOverride);
    } else {
        FileReader(run, in, zoneOverride, run.recording).ReadAll();
    }
    // An included file, too, leaves a copy of the deck as read so far, which a card activated
    // later in the read may draw from; a tree of files would copy it for each of its files.
    if (St().IncludeList.Depth > 1) run.CountCopies(run.player.Deck.size());
    if (!run.dryRun) MakeOrigDeck(run.player);
    if (St().IncludeList.Depth == 1 && run.sinks.live) ShuffleDeck(run.player);
}

// A name that leads to a FIFO, a device or a folder is there but is no file to read: the reader
// says so rather than that it cannot be found. The lookup found no regular file under it.
bool NamesNoRegularFile(const std::string& name, const std::filesystem::path& folder) {
    std::error_code ec;
    return !name.empty() && std::filesystem::exists(ResolveDataPath(folder, name), ec);
}

void FileReader::Include() {
    const std::string name = Next();
    const int line = in_.Line();
    const std::string zone = in_.NextOr("");
    if (recording_) recording_->includes = true;
    if (CardFileLayout* own = OwnLayout()) own->Includes.push_back({name, zone});
    const NamedFile found = LookUpNamed(run_, name);
    if (!found.location.empty() && OnChain(found.location)) {
        if (recording_) recording_->keep = false;
        const std::string skipped = "\"#INCLUDE, " + ShownName(name) + "\" in " + in_.FileName();
        AddReadFault("include of a file being read",
                     "Skipped " + skipped + ": that file is already being read.", "Skipped ",
                     " \"#INCLUDE\" lines of files already being read: ", skipped);
        return;
    }
    for (const IncludeSlot& slot : St().IncludeList.Names)
        if (!slot.Name.empty() && SameNoCase(slot.Name, name)) return;
    if (found.location.empty() && NamesNoRegularFile(name, St().CurrentFolder))
        in_.Fail("the included file " + name + " cannot be read: not a regular file");
    if (found.location.empty())
        in_.Fail("the included file " + ShownName(name) + " cannot be found");
    if (!found.refusal.empty()) throw RefusedRead(in_.FileName(), line, found.refusal);
    // Counted before it is read: a file of the bound's size is not read to find it too large.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(found.location, sizeError);
    if (!sizeError) run_.CountBytes(static_cast<long long>(size));
    std::string reason;
    const auto bytes = ReadWholeFile(found.location, &reason);
    if (!bytes) in_.Fail("the included file " + name + " cannot be read: " + reason);
    ReadFile(run_, {found.name, found.location}, *bytes, zone);
}

// Whether a read of these bytes could be refused: only an include or a card set opens a second
// file, or one outside the folders, and each card placed but a copy takes an item that begins
// with '#'.
bool MayBeRefused(std::string_view bytes) {
    long long marks = 0;
    for (auto at = bytes.find('#'); at != std::string_view::npos; at = bytes.find('#', at + 1)) {
        const std::string_view rest = bytes.substr(at);
        if (rest.starts_with("#INCLUDE") || rest.starts_with("#DUPLICATE") ||
            rest.starts_with("#REF") || ++marks > kMaxReadCards)
            return true;
    }
    return false;
}

// Why a read of the file would be refused, found by reading it first into scratch lists; empty
// when it would not be. It starts where the read starts: from the card list and the deck the read
// adds to, and from the tally of the outermost read. The generator, the host, the include chain
// and the tally are left as they were, so a refused read changes nothing, as a file that cannot be
// read changes nothing. Any other fault is left to the read itself to tell.
std::string RefusalOfRead(const FoundFile& found, const std::string& bytes, const Run& real,
                          int mode, const std::string& zoneOverride) {
    if (!MayBeRefused(bytes)) return {};
    State& st = St();
    const Rng random = st.Random;
    const IncludeChain chain = st.IncludeList;
    const uint8_t traitChanged = st.TraitChanged;
    const OutermostRead tally = st.CardRead;
    SilentHost silent;
    std::string refusal;
    {
        const HostStandIn standIn(silent);
        Scratch scratch;
        List<Card> cards = mode == kReadReplace ? List<Card>(1) : real.cards;
        Player player = real.player;
        Run run{cards, player, real.duplicateCheck, ScratchSinks(scratch), found.name};
        StartAt(run, mode);
        run.dryRun = true;
        try {
            ReadFile(run, found, bytes, zoneOverride);
        } catch (const RefusedRead& f) {
            refusal = f.what();
        } catch (const std::exception&) {
        }
    }
    st.Random = random;
    st.IncludeList = chain;
    st.TraitChanged = traitChanged;
    st.CardRead = tally;
    return refusal;
}

// The stamp that stands for the bytes of a file kept by the file found: a file written again
// (saved through a temporary file, or in its place) has another.
std::string FileStamp(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + ":" +
           std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec) + ":" + std::to_string(info.st_ctim.tv_sec) + "." +
           std::to_string(info.st_ctim.tv_nsec);
}

// Where a set kept by the file found lies, and its stamp: found once for the open turn, since a
// turn may create half a million cards from one set and each look-up costs the file system's.
FoundSetFile FindSetFile(const std::string& fileName) {
    TurnSetFiles& turn = St().SetFilesThisTurn;
    const std::string key = St().CurrentFolder.string() + '\n' + fileName;
    if (turn.Open)
        if (const auto known = turn.ByName.find(key); known != turn.ByName.end())
            return known->second;
    ++turn.Lookups;
    FoundSetFile set{FindDataFile(fileName), {}, {}};
    if (set.Found.location.empty()) return set;
    set.Stamp = FileStamp(set.Found.location);
    set.Real = Canonical(set.Found.location);
    if (!turn.Open || set.Stamp.empty()) return set;
    if (turn.ByName.size() >= kMaxTurnSetFiles) turn.ByName.clear();
    turn.ByName.emplace(key, set);
    return set;
}

// A read of a card set for the one card of it that CardOfSet hands back.
struct SetPick {
    const std::string& name;
    bool placed;  // else only whether the set holds one is asked
    std::optional<Card> card = {};
    bool done = false;  // the kept read told it without building the deck
};

bool PickedBy(const Card& card, const std::string& name) {
    return !card.Name.empty() && (card.Name == name || card.UniqueName == name);
}

const CardReadMemo::DeckIndex& DeckIndexOf(CardReadMemo& memo) {
    if (memo.Deck) return *memo.Deck;
    CardReadMemo::DeckIndex& index = memo.Deck.emplace();
    for (std::size_t k = 0; k < memo.Cards.size(); ++k) {
        if (!memo.Cards[k].intoDeck) continue;
        index.cards.push_back(k);
        const Card& card = memo.Cards[k].card;
        if (card.Name.empty()) continue;
        const int ordinal = static_cast<int>(index.cards.size());
        index.byName[card.Name].push_back(ordinal);
        if (card.UniqueName != card.Name) index.byName[card.UniqueName].push_back(ordinal);
    }
    return index;
}

// The slot of the card the pick takes, as the deck took the cards before the shuffle: the
// player's own first, then the kept read's deck cards; 0 for none. The shuffle's draws, which
// follow the read's own, are made only to follow where the cards go; a card that will not be
// placed is only looked for, since the shuffle cannot change whether the deck holds one.
int PickedSlot(const CardReadMemo& memo, const Run& run, bool shuffled, const SetPick& pick) {
    const CardReadMemo::DeckIndex& index = *memo.Deck;
    const int before = run.player.Deck.size();
    const int slots = before + static_cast<int>(index.cards.size());
    const auto named = index.byName.find(pick.name);
    int first = 0;
    for (int slot = 1; slot <= before && first == 0; ++slot)
        if (PickedBy(run.player.Deck[slot], pick.name)) first = slot;
    if (first == 0 && named != index.byName.end()) first = before + named->second.front();
    if (first == 0 || !pick.placed || !shuffled) return first;

    std::vector<char> picked(static_cast<std::size_t>(slots) + 1, 0);
    for (int slot = 1; slot <= before; ++slot)
        picked[slot] = PickedBy(run.player.Deck[slot], pick.name) ? 1 : 0;
    if (named != index.byName.end())
        for (int ordinal : named->second)
            picked[before + ordinal] = 1;
    std::vector<int> order(static_cast<std::size_t>(slots) + 1);
    std::iota(order.begin(), order.end(), 0);
    State& st = St();
    const Rng now = st.Random;
    st.Random.Skip(memo.Draws);
    DrawShuffle(slots, [&](int i, int j) { std::swap(order[i], order[j]); });
    st.Random = now;
    for (int p = 1; p <= slots; ++p)
        if (picked[order[p]]) return order[p];
    return 0;
}

// Does what the kept read did, placing of its cards only the one the pick takes: the first of its
// name in the deck as the read leaves it. So a card taken from a set costs what one card costs,
// whatever the set's size.
void PickFromKept(CardReadMemo& memo, Run& run, const std::string& zoneOverride,
                  const std::vector<MovedBit>& moves, SetPick& pick) {
    State& st = St();
    const std::vector<std::size_t>& placed = DeckIndexOf(memo).cards;
    const int before = run.player.Deck.size();
    const int slots = before + static_cast<int>(placed.size());
    const bool shuffled = st.IncludeList.Depth == 1 && run.sinks.live;
    const int taken = PickedSlot(memo, run, shuffled, pick);
    const bool fromRead = pick.placed && taken > before;
    {
        // The memo lends its cards for the repeat, and gets them back however it ends.
        struct Lent {
            CardReadMemo& memo;
            std::vector<CardReadMemo::Placed> cards;
            ~Lent() { memo.Cards = std::move(cards); }
        } lent{memo, std::move(memo.Cards)};
        memo.Cards.clear();
        if (fromRead) memo.Cards.push_back(lent.cards[placed[taken - before - 1]]);
        Repeat(memo, run, zoneOverride, moves);
    }
    // No original deck is copied: the caller lets the player's lists go (CardOfSet).
    if (shuffled) st.Random.Skip(static_cast<uint64_t>(slots));
    if (taken > 0)
        pick.card = !pick.placed ? Card{} : run.player.Deck[fromRead ? before + 1 : taken];
    pick.done = true;
}

// Does again what a read kept by the file found did, as ReadFile does a memo's, or only what the
// pick asks of it; false, having changed nothing of the read, when no kept read fits it.
bool RepeatKeptSetRead(Run& run, const FoundFile& found, const std::string& zoneOverride, int mode,
                       SetPick* pick) {
    std::vector<CardReadMemo>& kept = St().KeptSetReads;
    const auto fits = std::find_if(kept.begin(), kept.end(), [&](const CardReadMemo& m) {
        return m.Location == run.realLocation && m.Stamp == run.stamp &&
               m.ZoneOverride == zoneOverride && SameReader(m, run);
    });
    if (fits == kept.end()) return false;
    std::rotate(fits, fits + 1, kept.end());
    CardReadMemo& memo = kept.back();
    std::vector<MovedBit> moves;
    if (!HandOutMaskPositions(memo, moves)) return false;
    StartAt(run, mode);
    run.CountFile();
    ItemReader in(std::string_view(), found.name);
    ChainEntry entry(in, found.name, run.realLocation, ChainEntry::Resolved{});
    if (pick) {
        PickFromKept(memo, run, zoneOverride, moves, *pick);
        return true;
    }
    Repeat(memo, run, zoneOverride, moves);
    MakeOrigDeck(run.player);
    if (St().IncludeList.Depth == 1 && run.sinks.live) ShuffleDeck(run.player);
    return true;
}

}  // namespace

std::string UnreadableFileMessage(const std::string& name, const std::filesystem::path& folder) {
    if (!FindDataFile(name, folder).location.empty()) return {};
    if (NamesNoRegularFile(name, folder))
        return "Error in reading cards: " + name + ": the file cannot be read: not a regular file";
    return "Error in reading cards: " + name + ": the file cannot be found";
}

namespace {

// A card file's layout: the cards and templates its included files brought, as read. A file
// whose cards are read into the list, and that holds lines a save of the list would drop, says so.
void KeepIncluded(const Run& run, const Sinks& sinks) {
    if (!run.unwritten.empty() && run.cardsCount > run.readStart) {
        std::string lines;
        for (const std::string& line : run.unwritten)
            lines += (lines.empty() ? "" : "; ") + line;
        AddReadFault("lines a card file save does not write",
                     run.name +
                         " holds lines that a save of its cards does not write, and such a "
                         "save drops: " +
                         lines + ".",
                     "", "", "");
    }
    CardFileLayout& layout = *run.layout;
    for (const auto& [file, slot] : run.includedCards)
        if (run.cards.Has(slot)) layout.IncludedCards.push_back({file, run.cards[slot]});
    for (const auto& [file, slot] : run.includedTemplates)
        if (sinks.templates->Has(slot))
            layout.IncludedTemplates.push_back({file, (*sinks.templates)[slot]});
    layout.Read = true;
}

// A read whose lines, in a set-only scope, act on `scratch`. One kept by the file found
// (ReadCardSet) is done again from memory while the file is unchanged.
bool ReadWith(ReadScope scope, Scratch& scratch, List<Card>& cards, const std::string& fileName,
              Player& player, int duplicateCheck, const std::string& zoneOverride, int mode,
              bool keepByFile = false, CardFileLayout* layout = nullptr, SetPick* pick = nullptr) {
    if (fileName.empty()) return true;
    const ReadInTally inTally;
    // Only what a memo could keep is kept by the file: a read into the game from its start.
    const bool byFile = keepByFile && scope == ReadScope::Game && mode == kReadReplace &&
                        duplicateCheck == 0 && St().IncludeList.Depth == 0;
    const FoundSetFile set = byFile ? FindSetFile(fileName) : FoundSetFile{};
    const FoundFile found = byFile ? set.Found : FindDataFile(fileName);
    const bool intoCollection = &cards == &St().Collection;
    auto fail = [&](const std::string& reason) {
        TheHost().MessageBox("Error in reading cards: " + reason, "Duvenhall");
        if (intoCollection) St().PartialCollectionFile = found.name;
        return false;
    };
    if (found.location.empty()) {
        // Nothing was read and nothing changed.
        TheHost().MessageBox(UnreadableFileMessage(fileName, St().CurrentFolder), "Duvenhall");
        return false;
    }
    if (St().IncludeList.Depth > 0 && OnChain(found.location)) {
        TheHost().MessageBox("Error in reading cards: " + found.name + " is already being read.",
                             "Duvenhall");
        return false;
    }
    Run run{cards, player, duplicateCheck,
            scope == ReadScope::Game ? GameSinks() : ScratchSinks(scratch), found.name};
    run.baseDepth = St().IncludeList.Depth;
    run.layout = layout;
    if (byFile) {
        run.stamp = set.Stamp;
        run.realLocation = set.Real;
        run.keepByFile = !run.stamp.empty();
        if (run.keepByFile && RepeatKeptSetRead(run, found, zoneOverride, mode, pick)) return true;
    }
    std::string reason;
    const auto bytes = ReadWholeFile(found.location, &reason);
    if (!bytes) return fail(found.name + ": the file cannot be read: " + reason);

    std::string refusal;
    try {
        run.CountBytes(static_cast<long long>(bytes->size()));
        refusal = RefusalOfRead(found, *bytes, run, mode, zoneOverride);
    } catch (const RefusedRead& f) {
        refusal = f.what();
    }
    if (!refusal.empty()) return fail(refusal + "; nothing was read");

    // Cards read into play are activated, and their effects run.
    const TurnBudget budget;
    StartAt(run, mode);
    try {
        ReadFile(run, found, *bytes, zoneOverride);
    } catch (const CardFileFault& f) {
        return fail(f.what());
    } catch (const std::exception& e) {
        return fail(found.name + ": " + e.what());
    }
    if (intoCollection && mode == kReadReplace) St().PartialCollectionFile.clear();
    if (layout) KeepIncluded(run, run.sinks);
    return true;
}

}  // namespace

bool ReadCardsIn(ReadScope scope, List<Card>& cards, const std::string& fileName, Player& player,
                 int duplicateCheck, const std::string& zoneOverride, int mode) {
    Scratch scratch;
    return ReadWith(scope, scratch, cards, fileName, player, duplicateCheck, zoneOverride, mode);
}

std::optional<bool> MarksStarterDeck(const std::string& fileName) {
    // The identifiers drawn for the cards read are given back: the games played after this look
    // draw what they would have drawn without it.
    const Rng random = St().Random;
    Scratch scratch;
    List<Card> cards;
    Player player;
    InitPlayer(player, 2);
    const bool read =
        ReadWith(ReadScope::SetOnly, scratch, cards, fileName, player, 0, "", kReadReplace);
    St().Random = random;
    if (!read) return std::nullopt;
    return scratch.starterDeck == 1;
}

bool ReadCards(List<Card>& cards, const std::string& fileName, Player& player, int duplicateCheck,
               const std::string& zoneOverride, int mode) {
    return ReadCardsIn(ReadScope::Game, cards, fileName, player, duplicateCheck, zoneOverride,
                       mode);
}

bool ReadCards(List<Card>& cards, const std::string& fileName, Player& player,
               const std::string& zone) {
    return ReadCards(cards, fileName, player, 0, zone, kReadReplace);
}

bool ReadCardFile(List<Card>& cards, const std::string& fileName, Player& player,
                  int duplicateCheck, int mode, CardFileLayout& layout) {
    layout = {};
    Scratch scratch;
    return ReadWith(ReadScope::Game, scratch, cards, fileName, player, duplicateCheck, "", mode,
                    false, &layout);
}

bool ReadCardSet(List<Card>& cards, const std::string& fileName, Player& player,
                 const std::string& zone) {
    Scratch scratch;
    return ReadWith(ReadScope::Game, scratch, cards, fileName, player, 0, zone, kReadReplace, true);
}

std::optional<Card> CardOfSet(const std::string& cardName, const std::string& fileName,
                              Player& player, const std::string& zone, bool placed) {
    Scratch scratch;
    List<Card> cards;
    SetPick pick{cardName, placed};
    ReadWith(ReadScope::Game, scratch, cards, fileName, player, 0, zone, kReadReplace, true,
             nullptr, &pick);
    if (pick.done) return pick.card;
    // What a read that failed part way placed is searched as well.
    for (const Card& card : player.Deck)
        if (PickedBy(card, cardName)) return card;
    return std::nullopt;
}

}  // namespace dv
