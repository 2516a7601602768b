// The designer's commands on whole card files and its hand-overs to the deck manager.
#include <filesystem>

#include "data/card_files.h"
#include "data/card_sets.h"
#include "engine/model/card_lists.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "ui/common/dialogs.h"
#include "ui/common/flag_scope.h"
#include "ui/decks/deck_manager_modes.h"
#include "ui/designer/card_designer.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Duvenhall";
constexpr const char* kCardFileFilter = "Card files (*.txt *.TXT);;All files (*)";

bool FileExists(const std::string& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

// The folder of a card file with its trailing separator.
std::string FolderOf(const std::string& file) {
    const fs::path folder = fs::path(file).parent_path();
    return folder.empty() ? std::string() : (folder / "").string();
}

// Where the card at `slot` went after the list was sorted; the slot itself when it is not found.
int SlotAfterSort(const List<Card>& cards, const Card& shown, int slot) {
    if (shown.Name.empty()) return slot;
    for (int i = 1; i <= cards.size(); ++i)
        if (cards[i].GID == shown.GID && cards[i].UniqueName == shown.UniqueName) return i;
    return slot;
}

}  // namespace

std::optional<std::string> Designer::AskCardFile(FileChoice choice, const char* title) const {
    const std::string folder =
        form.pictures.CardFolder.empty() ? St().CurrentFolder.string() : form.pictures.CardFolder;
    std::optional<std::string> file =
        choice == FileChoice::Open ? TheDialogs().OpenFile(title, folder, kCardFileFilter)
                                   : TheDialogs().SaveFile(title, folder, "", kCardFileFilter);
    if (!file || file->empty()) return std::nullopt;
    if (choice == FileChoice::Save && fs::path(*file).extension().empty()) *file += ".txt";
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
    s.EditIndex = 1;
    s.EditCards = List<Card>(1);
    ReadCards(s.EditCards, *file, s.Players[1], 1, "", kReadReplace);
    SortCollectionByName();
    form.LoadCombos();
    s.CardSetFile = *file;
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
    ReadCards(s.EditCards, *file, s.Players[1], 1, "", kReadAppend);
    SortCollectionByName();
    form.LoadCombos();
    form.loadcommontraits();
    form.pictures.CardFolder = FolderOf(*file);
    if (s.EditCards.Has(s.EditIndex)) s.CurrentCard = s.EditCards[s.EditIndex];
}

void Designer::SaveCards() {
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
    if (s.CardSetFile.empty()) {
        const std::optional<std::string> file = AskCardFile(FileChoice::Save, "Save Cards");
        if (!file) return;
        s.CardSetFile = *file;
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
    SetColFileName(s.CardSetFile, 1);
    SaveCollection(s.EditCards, s.CardSetFile, "COLLECTION", "", 0, PathOrigin::Chosen);
    form.ShowSlot(s.EditIndex);
}

void Designer::SaveCardsAs() {
    State& s = St();
    if (s.EditIndex >= 1) form.Commit();
    const std::optional<std::string> file = AskCardFile(FileChoice::Save, "Save Cards As...");
    if (!file) return;
    s.CardSetFile = *file;
    SetColFileName(s.CardSetFile, 1);
    SaveCollection(s.EditCards, s.CardSetFile, "COLLECTION", "", 0, PathOrigin::Chosen);
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
    handedOver_.reset();  // the card chosen in the card view is shown instead
    if (s.EditCards.Has(slot)) s.EditIndex = static_cast<int16_t>(slot);
    Activate();
    form.controls.CardCombo.Select(s.EditIndex - 1);
    form.ShowSlot(s.EditIndex);
}

void Designer::HandOverCard() {
    handedOver_ = St().CurrentCard;
}

void Designer::TakeBackCard() {
    if (!handedOver_) return;
    St().CurrentCard = std::move(*handedOver_);
    handedOver_.reset();
}

void Designer::ComeBack() {
    TakeBackCard();
    Activate();
}

}  // namespace dv::ui
