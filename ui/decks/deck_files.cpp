// The deck manager's file menu: the player file saved and loaded, the deck on show saved as an
// opponent, and an opponent's deck loaded into a stored deck.

#include <filesystem>
#include <functional>
#include <system_error>

#include "data/card_files.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/deck_lists.h"
#include "engine/model/files.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/rules/card_life.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/save_failure.h"
#include "ui/decks/deck_manager_logic.h"
#include "ui/decks/deck_manager_texts.h"

namespace dv::ui {
namespace {

std::string ProgramFolder() {
    return St().ProgramFolder.string();
}

// Everything a read of a card file into the deck manager may change: the lists it shows, the
// player it shows, and what a file sets up for the game (its rules, cost card, trait actions,
// templates, side board and texts). A load that fails puts it all back, whatever it had read
// before the fault: the reader keeps that part, which would take the place of what the player
// has.
struct BeforeLoad {
    List<Card> collection = St().Collection;
    List<Card> enemyCards = St().EnemyCards;
    List<DeckList> decks = St().Decks;
    List<CardDeck> playerDecks = St().PlayerDecks;
    uint8_t currentDeck = St().CurrentDeck;
    Player player = St().Players[1];
    std::string partialFile = St().PartialCollectionFile;
    Card rulesCard = St().RulesCard;
    Card costCard = St().CostCard;
    List<Card> traitActions = St().TraitActions;
    List<CardTemplate> templates = St().Templates;
    List<Card> sideBoard = St().SideBoard;
    List<RandomStringList> texts = St().RandomStringLists;
    std::string gameFile = St().GameFile;
    std::string deckRules = St().DeckRules;
    uint8_t starterDeck = St().StarterDeck;

    void PutBack() {
        State& st = St();
        st.Collection = std::move(collection);
        st.EnemyCards = std::move(enemyCards);
        st.Decks = std::move(decks);
        st.PlayerDecks = std::move(playerDecks);
        st.CurrentDeck = currentDeck;
        st.Players[1] = std::move(player);
        st.PartialCollectionFile = std::move(partialFile);
        st.RulesCard = std::move(rulesCard);
        st.CostCard = std::move(costCard);
        st.TraitActions = std::move(traitActions);
        st.Templates = std::move(templates);
        st.SideBoard = std::move(sideBoard);
        st.RandomStringLists = std::move(texts);
        st.GameFile = std::move(gameFile);
        st.DeckRules = std::move(deckRules);
        st.StarterDeck = starterDeck;
    }
};

// Runs a load of the deck manager: false, with everything as it was, when the read failed (the
// reader said why) or, for `needsCards`, left that list without a named card (said here).
bool Load(const std::string& file, const List<Card>* needsCards,
          const std::function<bool()>& read) {
    BeforeLoad before;
    if (!read()) {
        before.PutBack();
        return false;
    }
    if (needsCards && !HasNamedCard(*needsCards)) {
        before.PutBack();
        TheDialogs().Message(
            "\"" + std::filesystem::path(file).filename().string() +
                "\" holds no cards: the collection and the decks stay as they were.",
            kTitle);
        return false;
    }
    return true;
}

}  // namespace

DeckOutcome DeckManagerLogic::SavePlayerAs() {
    EngineGuard guard;
    if (!guard) return {};
    // The dialog adds ".plr" itself, before it asks about replacing a file of that name.
    const std::optional<std::string> file =
        TheDialogs().SaveFile("Save Player", ProgramFolder(), "*.plr", kPlayerFileFilter, "plr");
    if (!file) return {};
    std::filesystem::path path = *file;
    // A file of the program folder is kept by its name there, as the profile list keeps it.
    const std::filesystem::path inFolder = path.lexically_relative(St().ProgramFolder);
    if (!inFolder.empty() && *inFolder.begin() != "..") path = inFolder;
    ShowSaveFailure(SavePlayerReason(path.string(), PathOrigin::Chosen), kTitle);
    return {};
}

DeckOutcome DeckManagerLogic::LoadPlayer() {
    EngineGuard guard;
    if (!guard) return {};
    const std::optional<std::string> file =
        TheDialogs().OpenFile("Load Player", ProgramFolder(), kPlayerOrCardFileFilter);
    if (!file) return {};
    State& st = St();
    // A picture or an empty file reads as no cards at all: the panes went empty without a word.
    if (!Load(*file, &st.Collection,
              [&] { return ReadCards(st.Collection, *file, st.Players[1], 0, "", kReadReplace); }))
        return {};
    // The file brings deck lists of its own: the one on show must still be one of them.
    if (st.Decks.empty()) st.Decks.PushBack(DeckList{"", {0}, {0}});
    if (!st.Decks.Has(st.CurrentDeck)) st.CurrentDeck = 1;
    return Redrawn();
}

DeckOutcome DeckManagerLogic::LoadExistingOpponent() {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    if (!st.PlayerDecks.Has(st.CurrentDeck)) {
        TheDialogs().Message(kStoredDeckRange, kTitle);
        return {};
    }
    const std::optional<std::string> file =
        TheDialogs().OpenFile("Load Existing Opponent", ProgramFolder(), kCardFileFilter);
    if (!file || !DataFileExists(st.ProgramFolder, *file)) return {};
    Player scratch;
    InitPlayer(scratch, 2);
    const bool read = Load(*file, nullptr, [&] {
        st.PlayerDecks[st.CurrentDeck].Cards = List<Card>(1);
        return ReadCards(st.EnemyCards, *file, scratch, 0,
                         "INPLAYERDECK:" + std::to_string(st.CurrentDeck), kReadAppend);
    });
    return read ? Redrawn() : DeckOutcome{};
}

DeckOutcome DeckManagerLogic::SaveAsOpponent() {
    EngineGuard guard;
    if (!guard) return {};
    SaveOpponent();
    return {};
}

void DeckManagerLogic::SaveOpponent() {
    State& st = St();
    const uint8_t mode = st.DeckManagerMode;
    // Only an opponent being built and the player's deck on show can be saved as an opponent.
    if (mode != kEditDecks && mode != kOpponentDeck) return;
    List<Card> deckCards;
    if (mode == kEditDecks) CopyLinkedDeck(st.Decks[st.CurrentDeck], deckCards);
    List<Card>& cards = mode == kOpponentDeck ? st.EnemyCards : deckCards;

    const std::optional<std::string> answer = TheDialogs().Input(kEnemyNamePrompt, kTitle, "");
    if (!answer) return;
    std::string name = *answer;
    for (Card& card : cards) {
        if (!name.empty()) break;
        if (!card.Name.empty() && HasTrait(card, "PLAYER", 0)) name = card.Name;
    }
    if (name.empty()) {
        TheDialogs().Message(kEnemyNeedsName, kTitle);
        return;
    }
    // Both refuse a name that would leave the game's folder, and say why they fail.
    const std::string path = EnemyFilePath(name);
    if (path.empty()) return;
    // The name may be that of an opponent the player made before, or one of the game's own: the
    // question says which folder, as the file the player opened may lie elsewhere.
    std::error_code ec;
    const std::filesystem::path target(path);
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ec)) &&
        !TheDialogs().YesNo("\"" + target.filename().string() +
                                "\" already exists in the game's folder " +
                                target.parent_path().string() + ". Replace it with this deck?",
                            kTitle))
        return;
    if (!ShowSaveFailure(SaveEnemyReason(cards, path, name), kTitle)) return;
    TheDialogs().Message("Enemy saved.", kTitle);
    enemySaved_ = true;
}

}  // namespace dv::ui
