// The designer's commands on whole card files and its hand-overs to the deck manager.
#include <filesystem>
#include <utility>
#include <vector>

#include "data/card_file_reader.h"
#include "data/card_files.h"
#include "data/card_sets.h"
#include "engine/model/card_lists.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/watched_host.h"
#include "ui/common/dialogs.h"
#include "ui/common/flag_scope.h"
#include "ui/decks/deck_manager_modes.h"
#include "ui/designer/card_designer.h"
#include "ui/designer/included_cards.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Duvenhall";
constexpr const char* kCardFileFilter = "Card files (*.txt *.TXT);;All files (*)";
constexpr const char* kCardFileExtension = "txt";
constexpr const char* kNothingLoaded = "; nothing was loaded";

bool FileExists(const std::string& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

// The folder of a card file with its trailing separator.
std::string FolderOf(const std::string& file) {
    const fs::path folder = fs::path(file).parent_path();
    return folder.empty() ? std::string() : (folder / "").string();
}

// The slot of the list that holds that card; 0 when it holds none.
int SlotOf(const List<Card>& cards, const Card& shown) {
    if (shown.Name.empty()) return 0;
    for (int i = 1; i <= cards.size(); ++i)
        if (cards[i].GID == shown.GID && cards[i].UniqueName == shown.UniqueName) return i;
    return 0;
}

// Where the card at `slot` went after the list was sorted; the slot itself when it is not found.
int SlotAfterSort(const List<Card>& cards, const Card& shown, int slot) {
    const int found = SlotOf(cards, shown);
    return found != 0 ? found : slot;
}

// Keeps the messages of a trial read until it is known whether the read failed.
class KeptMessages : public Host {
  public:
    std::vector<std::pair<std::string, std::string>> messages;

    void MessageBox(const std::string& text, const std::string& title) override {
        messages.emplace_back(text, title);
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void OpenURL(const std::string&, const std::string&) override {}
    void Call(WindowCall, const std::string&) override {}
};

// Whether the file reads whole, found by reading it first into scratch lists (`cards` is a copy
// of the list the read adds to), which changes nothing of the designer or the game. A read that
// fails half-way has placed cards and templates by then: the designer reads a file only when it
// reads whole, so a failed load changes nothing. When it does not, the reader's messages are
// shown, the last one saying that nothing was loaded.
bool ReadsWhole(const std::string& file, List<Card> cards, uint8_t playerId, int duplicateCheck,
                int mode) {
    State& s = St();
    const Rng random = s.Random;
    Player scratch;
    InitPlayer(scratch, playerId);
    KeptMessages kept;
    bool whole = false;
    {
        const HostStandIn standIn(kept);
        whole = ReadCardsIn(ReadScope::SetOnly, cards, file, scratch, duplicateCheck, "", mode);
    }
    // The identifiers drawn for the scratch cards are given back.
    s.Random = random;
    if (whole) return true;
    if (kept.messages.empty())
        kept.messages.emplace_back("Error in reading cards: " + file, kTitle);
    std::string& last = kept.messages.back().first;
    if (!last.ends_with("nothing was read")) last += kNothingLoaded;
    for (const auto& [text, title] : kept.messages)
        TheHost().MessageBox(text, title);
    return false;
}

bool HasNamedTemplate(const List<CardTemplate>& templates) {
    for (const CardTemplate& t : templates)
        if (!t.card.Name.empty()) return true;
    return false;
}

// Whether the card list or the templates read hold anything: a file of neither (a picture chosen
// by mistake) would become the card file that the next Save Cards writes over without asking.
bool HoldsCardsOrTemplates(const List<Card>& cards, const List<CardTemplate>& templates) {
    return HasNamedTemplate(templates) || HasNamedCard(cards);
}

using FileParts = Designer::CardFileParts;

// Reads a card file for the designer into `cards`. The reader fills the game's templates, cost
// card, tokens and game file: they are set aside for the read, so that what the file brought is
// told apart from what the game held, and handed back in `templates`, `parts` and `layout`. The
// game gets its own back, but for a cost card or game file the file brought, which then prices
// the cards and finds the card test's rules. The player's tokens are never a card file's.
bool ReadForDesigner(const std::string& file, List<Card>& cards, int mode,
                     List<CardTemplate>& templates, FileParts& parts, CardFileLayout& layout) {
    State& s = St();
    List<CardTemplate> gameTemplates = std::exchange(s.Templates, List<CardTemplate>(1));
    Card gameCost = std::exchange(s.CostCard, Card{});
    std::string gameFile = std::exchange(s.GameFile, std::string());
    const int32_t playerTokens = std::exchange(s.Players[1].Tokens, 0);
    const bool read = ReadCardFile(cards, file, s.Players[1], 1, mode, layout);
    templates = std::exchange(s.Templates, std::move(gameTemplates));
    parts = {s.CostCard, s.Players[1].Tokens};
    s.Players[1].Tokens = playerTokens;
    if (!read || s.CostCard.Name.empty()) s.CostCard = std::move(gameCost);
    if (!read || s.GameFile.empty()) s.GameFile = std::move(gameFile);
    return read;
}

// The writer writes the game's cost card and tokens: for a designer's card file they are the
// file's own while it is written, and the game's again afterwards. The game file goes with the
// layout the read of the file kept (a new file takes the game's, as it always did).
class PartsInPlace {
  public:
    explicit PartsInPlace(const FileParts& parts)
        : costCard_(std::exchange(St().CostCard, parts.costCard)),
          tokens_(std::exchange(St().Players[1].Tokens, parts.tokens)) {}
    ~PartsInPlace() {
        State& s = St();
        s.CostCard = std::move(costCard_);
        s.Players[1].Tokens = tokens_;
    }
    PartsInPlace(const PartsInPlace&) = delete;
    PartsInPlace& operator=(const PartsInPlace&) = delete;

  private:
    Card costCard_;
    int32_t tokens_;
};

// The set file a card is stamped with: the file's name without its folder, whichever separator
// the folder uses.
std::string SetFileName(std::string file) {
    FileNameOf(file);
    return fs::path(file).filename().string();
}

// Stamps every card and the shown one with a set file; the stamps they had are handed back.
std::vector<std::string> Stamp(const std::string& setFile) {
    State& s = St();
    std::vector<std::string> had{std::exchange(s.CurrentCard.SetFile, setFile)};
    for (Card& card : s.EditCards)
        had.push_back(std::exchange(card.SetFile, setFile));
    return had;
}

void Unstamp(const std::vector<std::string>& had) {
    State& s = St();
    s.CurrentCard.SetFile = had[0];
    for (int i = 1; i <= s.EditCards.size() && i < static_cast<int>(had.size()); ++i)
        s.EditCards[i].SetFile = had[static_cast<std::size_t>(i)];
}

void TellNothingIn(const std::string& file) {
    TheDialogs().Message("\"" + fs::path(file).filename().string() +
                             "\" holds no cards or templates: nothing was loaded.",
                         kTitle);
}

}  // namespace

std::optional<std::string> Designer::AskCardFile(FileChoice choice, const char* title) const {
    const std::string folder =
        form.pictures.CardFolder.empty() ? St().CurrentFolder.string() : form.pictures.CardFolder;
    // The save dialog adds ".txt" itself, before it asks about replacing a file of that name.
    std::optional<std::string> file =
        choice == FileChoice::Open
            ? TheDialogs().OpenFile(title, folder, kCardFileFilter)
            : TheDialogs().SaveFile(title, folder, "", kCardFileFilter, kCardFileExtension);
    if (!file || file->empty()) return std::nullopt;
    return file;
}

bool Designer::NeedsCardFile() {
    if (!St().CardSetFile.empty()) return false;
    TheDialogs().Message("You need to load a card file first.", kTitle);
    return true;
}

bool Designer::HoldsWork() const {
    const State& s = St();
    return HasNamedCard(s.EditCards) || !s.CurrentCard.Name.empty() ||
           HasNamedTemplate(s.Templates);
}

void Designer::LoadCards() {
    State& s = St();
    // The cards held are replaced: the author is asked about them first, as on closing, and a
    // save that did not happen leaves them, unloaded over.
    if (HoldsWork() && !OfferToSave()) return;
    // A cancelled choice leaves the open file and its unsaved cards as they are.
    const std::optional<std::string> file = AskCardFile(FileChoice::Open, "Load Cards");
    if (!file || !FileExists(*file)) return;
    if (!ReadsWhole(*file, List<Card>(1), s.Players[1].Id, 1, kReadReplace)) return;
    // Each load starts from no templates and parts: another file's would be written into this one.
    List<Card> cards(1);
    List<CardTemplate> templates;
    FileParts parts;
    CardFileLayout layout;
    if (!ReadForDesigner(*file, cards, kReadReplace, templates, parts, layout)) return;
    if (!HoldsCardsOrTemplates(cards, templates)) {
        TellNothingIn(*file);
        return;
    }
    s.Templates = std::move(templates);
    fileParts_ = std::move(parts);
    s.EditIndex = 1;
    s.EditCards = std::move(cards);
    SortCollectionByName();
    form.LoadCombos();
    s.CardSetFile = *file;
    s.CardSetLayout = std::move(layout);
    form.loadcommontraits();
    form.pictures.CardFolder = FolderOf(*file);
    const ListBusyScope busy;
    s.EditIndex = 1;
    form.controls.CardCombo.Select(0);
    form.ShowSlot(1);
    form.UpdateCard();
}

void Designer::AddCardsFromFile() {
    State& s = St();
    const std::optional<std::string> file = AskCardFile(FileChoice::Open, "Add Cards from File");
    if (!file || !FileExists(*file)) return;
    if (!ReadsWhole(*file, s.EditCards, s.Players[1].Id, 1, kReadAppend)) return;
    List<Card> cards = s.EditCards;
    List<CardTemplate> added;
    FileParts brought;
    CardFileLayout addedLayout;
    if (!ReadForDesigner(*file, cards, kReadAppend, added, brought, addedLayout)) return;
    // The author's own templates and parts stay; the added file gives only what they lack.
    for (CardTemplate& t : added) {
        if (t.card.Name.empty()) continue;
        bool known = false;
        for (const CardTemplate& own : s.Templates)
            known = known || own.card.Name == t.card.Name;
        if (!known) s.Templates.PushBack(std::move(t));
    }
    if (fileParts_.costCard.Name.empty()) fileParts_.costCard = std::move(brought.costCard);
    if (fileParts_.tokens == 0) fileParts_.tokens = brought.tokens;
    std::optional<std::string>& gameFile = s.CardSetLayout.GameFile;
    if (!gameFile || gameFile->empty()) gameFile = std::move(addedLayout.GameFile);
    // The author's cost card prices the author's cards, and the author's game file names the
    // rules of their test.
    if (!fileParts_.costCard.Name.empty()) s.CostCard = fileParts_.costCard;
    if (gameFile && !gameFile->empty()) s.GameFile = *gameFile;
    s.EditCards = std::move(cards);
    SortCollectionByName();
    form.LoadCombos();
    form.loadcommontraits();
    form.pictures.CardFolder = FolderOf(*file);
    if (s.EditCards.Has(s.EditIndex)) s.CurrentCard = s.EditCards[s.EditIndex];
}

bool Designer::SaveCardFile(SaveWay way) {
    State& s = St();
    if (s.EditIndex >= 1) form.Commit();
    if (!SaveLeavingIncludedChanges()) return false;
    // Cards never saved to a file stay without a set until their file is saved again.
    const bool firstSave = s.CardSetFile.empty();
    std::string file = s.CardSetFile;
    if (way == SaveWay::NewFile || file.empty()) {
        const char* title = way == SaveWay::NewFile ? "Save Cards As..." : "Save Cards";
        const std::optional<std::string> chosen = AskCardFile(FileChoice::Save, title);
        if (!chosen) return false;
        file = *chosen;
    }
    const bool sorted = way == SaveWay::CardFile;
    if (sorted) {
        const Card shown = s.EditCards.Has(s.EditIndex) ? s.EditCards[s.EditIndex] : Card{};
        SortCards(s.EditCards, "NAME", 0);
        {
            const ListBusyScope busy;
            form.LoadCombos();
        }
        // The sort moves cards: the form goes on with the card it showed, wherever it now lies.
        s.EditIndex = static_cast<int16_t>(SlotAfterSort(s.EditCards, shown, s.EditIndex));
        form.controls.CardCombo.Select(s.EditIndex - 1);
    }
    // Every card names the file written as its set, so collections refresh it from that file.
    const std::vector<std::string> had = Stamp(firstSave ? std::string() : SetFileName(file));
    bool saved = false;
    {
        const PartsInPlace own(fileParts_);
        saved = SaveCollection(s.EditCards, file, "COLLECTION", "", 0, PathOrigin::Chosen);
    }
    if (saved) {
        s.CardSetFile = file;
        SetColFileName(s.CardSetFile, 1);
    } else {
        Unstamp(had);
    }
    if (sorted) form.ShowSlot(s.EditIndex);
    return saved;
}

void Designer::SaveCards() {
    SaveCardFile(SaveWay::CardFile);
}

void Designer::SaveCardsAs() {
    SaveCardFile(SaveWay::NewFile);
}

void Designer::CreateCustomEnemy() {
    State& s = St();
    if (NeedsCardFile()) return;
    form.Commit();
    s.EnemyCards = List<Card>(1);
    PrepareOpponentDeck();
    HandOverCard();
    peers_.EditEnemyDeck();
    FinishOpponentDeck();
    ComeBack();
}

void Designer::EditExistingEnemy() {
    State& s = St();
    const std::optional<std::string> file = AskCardFile(FileChoice::Open, "Edit Existing Enemy");
    if (!file || !FileExists(*file)) return;
    if (!ReadsWhole(*file, List<Card>(1), s.Players[2].Id, 0, kReadReplace)) return;
    form.Commit();
    s.EnemyCards = List<Card>(1);
    // The file's deck cards are gathered in the opponent's deck: it starts empty, so no card of
    // an opponent read before stays in it.
    s.Players[2].Deck.Clear();
    if (!ReadCards(s.EnemyCards, *file, s.Players[2], 0, "", kReadReplace)) return;
    s.EnemyCards = s.Players[2].Deck;
    if (s.EnemyCards.empty()) s.EnemyCards.Resize(1);
    PrepareOpponentDeck();
    HandOverCard();
    peers_.EditEnemyDeck();
    FinishOpponentDeck();
    ComeBack();
}

void Designer::WriteStoreOrStarter(const char* title, const char* prompt, const char* unnamed,
                                   int starter) {
    State& s = St();
    if (s.EditIndex >= 1) form.Commit();
    const std::optional<std::string> file = AskCardFile(FileChoice::Save, title);
    if (!file) return;
    const std::optional<std::string> name = TheDialogs().Input(prompt, kTitle, "");
    if (!name) return;
    if (name->empty()) {
        TheDialogs().Message(unnamed, kTitle);
        return;
    }
    SaveCollection(s.EditCards, *file, "#CARDINDECK", *name, starter, PathOrigin::Chosen);
}

void Designer::CreateCardStore() {
    WriteStoreOrStarter("Create Card Store", "Name of store?",
                        "The store needs a name; nothing was written.", 0);
}

void Designer::CreateStarterDeckBuilder() {
    WriteStoreOrStarter("Create Starter Deck Builder", "Name of starter deck?",
                        "The starter deck needs a name; nothing was written.", 1);
}

void Designer::TestCards() {
    if (NeedsCardFile()) return;
    PrepareCardTest();
    form.Commit();
    HandOverCard();
    peers_.ShowDeckManagerFor(kCardTest);
    TheDialogs().Message(
        "Choose the cards you would like to test.  You may place cards in the player's starting "
        "hand or already in play.  When done, click the Play button.",
        kTitle);
}

void Designer::ViewCards() {
    if (NeedsCardFile()) return;
    form.Commit();
    PrepareCardView();
    HandOverCard();
    peers_.ShowDeckManagerFor(kCardView);
}

void Designer::ShowCardOfList(int slot) {
    State& s = St();
    // The card chosen in the card view is shown instead of the one handed over, in the
    // designer's own list, which a sort in the card view may have reordered meanwhile.
    const Card chosen = s.EditCards.Has(slot) ? s.EditCards[slot] : Card{};
    if (handedOver_) {
        s.EditCards = std::move(handedOver_->cards);
        s.EditIndex = handedOver_->index;
        handedOver_.reset();
    }
    const int found = SlotOf(s.EditCards, chosen);
    if (found != 0) s.EditIndex = static_cast<int16_t>(found);
    Activate();
    form.controls.CardCombo.Select(s.EditIndex - 1);
    form.ShowSlot(s.EditIndex);
}

void Designer::HandOverCard() {
    const State& s = St();
    handedOver_ = HandOver{s.CurrentCard, s.EditCards, s.EditIndex};
}

void Designer::TakeBackCard() {
    if (!handedOver_) return;
    State& s = St();
    s.CurrentCard = std::move(handedOver_->card);
    // A sort in the deck manager reorders EditCards under the slot the designer shows: its list
    // comes back as it was, the slot still holding the card on the form.
    s.EditCards = std::move(handedOver_->cards);
    s.EditIndex = handedOver_->index;
    handedOver_.reset();
}

void Designer::ComeBack() {
    TakeBackCard();
    // The card list points at the card the form shows.
    form.controls.CardCombo.Select(St().EditIndex - 1);
    Activate();
}

}  // namespace dv::ui
