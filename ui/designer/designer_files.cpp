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

// Whether the card list or the templates read hold anything: a file of neither (a picture chosen
// by mistake) would become the card file that the next Save Cards writes over without asking.
bool HoldsCardsOrTemplates(const List<Card>& cards) {
    for (const CardTemplate& t : St().Templates)
        if (!t.card.Name.empty()) return true;
    return HasNamedCard(cards);
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

void Designer::LoadCards() {
    State& s = St();
    // A cancelled choice leaves the open file and its unsaved cards as they are.
    const std::optional<std::string> file = AskCardFile(FileChoice::Open, "Load Cards");
    if (!file || !FileExists(*file)) return;
    if (!ReadsWhole(*file, List<Card>(1), s.Players[1].Id, 1, kReadReplace)) return;
    // Each load starts from no templates: another file's would be written into this one.
    List<CardTemplate> had = std::exchange(s.Templates, List<CardTemplate>(1));
    List<Card> cards(1);
    CardFileLayout layout;
    const bool read = ReadCardFile(cards, *file, s.Players[1], 1, kReadReplace, layout);
    if (!read || !HoldsCardsOrTemplates(cards)) {
        if (read) TellNothingIn(*file);
        s.Templates = std::move(had);
        return;
    }
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
    // The file's templates come after the designer's own, which a read would write over.
    List<CardTemplate> had = std::exchange(s.Templates, List<CardTemplate>(1));
    List<Card> cards = s.EditCards;
    if (!ReadCards(cards, *file, s.Players[1], 1, "", kReadAppend)) {
        s.Templates = std::move(had);
        return;
    }
    for (CardTemplate& added : s.Templates) {
        if (added.card.Name.empty()) continue;
        bool known = false;
        for (const CardTemplate& own : had)
            known = known || own.card.Name == added.card.Name;
        if (!known) had.PushBack(std::move(added));
    }
    s.Templates = std::move(had);
    s.EditCards = std::move(cards);
    SortCollectionByName();
    form.LoadCombos();
    form.loadcommontraits();
    form.pictures.CardFolder = FolderOf(*file);
    if (s.EditCards.Has(s.EditIndex)) s.CurrentCard = s.EditCards[s.EditIndex];
}

bool Designer::SaveCardFile() {
    State& s = St();
    // The file's name without its folder, whichever separator the folder uses.
    std::string setFile = s.CardSetFile;
    FileNameOf(setFile);
    setFile = fs::path(setFile).filename().string();
    for (Card& card : s.EditCards)
        card.SetFile = setFile;
    // The shown card is committed from CurrentCard, so it takes the stamp too.
    s.CurrentCard.SetFile = setFile;
    if (s.EditIndex >= 1) form.Commit();
    if (!SaveLeavingIncludedChanges()) return false;
    std::string file = s.CardSetFile;
    if (file.empty()) {
        const std::optional<std::string> chosen = AskCardFile(FileChoice::Save, "Save Cards");
        if (!chosen) return false;
        file = *chosen;
    }
    const Card shown = s.EditCards.Has(s.EditIndex) ? s.EditCards[s.EditIndex] : Card{};
    SortCards(s.EditCards, "NAME", 0);
    {
        const ListBusyScope busy;
        form.LoadCombos();
    }
    // The sort moves cards: the form goes on with the card it showed, wherever it now lies.
    s.EditIndex = static_cast<int16_t>(SlotAfterSort(s.EditCards, shown, s.EditIndex));
    form.controls.CardCombo.Select(s.EditIndex - 1);
    // A file that was not written does not become the designer's card file.
    const bool saved = SaveCollection(s.EditCards, file, "COLLECTION", "", 0, PathOrigin::Chosen);
    if (saved) {
        s.CardSetFile = file;
        SetColFileName(s.CardSetFile, 1);
    }
    form.ShowSlot(s.EditIndex);
    return saved;
}

void Designer::SaveCards() {
    SaveCardFile();
}

void Designer::SaveCardsAs() {
    State& s = St();
    if (s.EditIndex >= 1) form.Commit();
    if (!SaveLeavingIncludedChanges()) return;
    const std::optional<std::string> file = AskCardFile(FileChoice::Save, "Save Cards As...");
    if (!file) return;
    // A failed save keeps the card file the designer had.
    if (!SaveCollection(s.EditCards, *file, "COLLECTION", "", 0, PathOrigin::Chosen)) return;
    s.CardSetFile = *file;
    SetColFileName(s.CardSetFile, 1);
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
