// The deck manager's deck list commands: duplicate, rename, new deck, shuffle the collection,
// randomize, clear unique names, the sale toggle, help and quit.

#include "engine/model/card_lists.h"
#include "engine/model/state.h"
#include "game/deck_evolution.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/decks/deck_manager_logic.h"
#include "ui/decks/deck_manager_texts.h"

namespace dv::ui {
namespace {

// The card set a randomized deck takes its new cards from.
constexpr const char* kRandomizeSet = "Torvalune_StartingSet.txt";
constexpr double kRandomizedShare = 50;

// Whether another deck list fits; says why not when it does not.
bool RoomForADeck() {
    if (St().Decks.size() < kMaxDecks) return true;
    TheDialogs().Message(kTooManyDecks, kTitle);
    return false;
}

}  // namespace

DeckOutcome DeckManagerLogic::DuplicateDeck() {
    EngineGuard guard;
    if (!guard || !RoomForADeck()) return {};
    State& st = St();
    DeckList copy = st.Decks[st.CurrentDeck];
    copy.Name = "Copy of " + copy.Name;
    st.CurrentDeck = static_cast<uint8_t>(st.Decks.PushBack(std::move(copy)));
    return Redrawn();
}

DeckOutcome DeckManagerLogic::RenameDeck() {
    EngineGuard guard;
    if (!guard) return {};
    const std::optional<std::string> name = TheDialogs().Input("New name for deck?", kTitle, "");
    if (!name) return {};
    St().Decks[St().CurrentDeck].Name = *name;
    return Redrawn();
}

DeckOutcome DeckManagerLogic::NewDeck() {
    EngineGuard guard;
    if (!guard || St().DeckManagerMode != kEditDecks || !RoomForADeck()) return {};
    const std::optional<std::string> name = TheDialogs().Input("Name for new deck?", kTitle, "");
    if (!name) return {};
    State& st = St();
    st.CurrentDeck = static_cast<uint8_t>(st.Decks.PushBack(DeckList{*name, {0}, {0}}));
    return Redrawn();
}

DeckOutcome DeckManagerLogic::UnSort() {
    EngineGuard guard;
    if (!guard) return {};
    RandomizeCards(St().Collection);
    return Redrawn();
}

DeckOutcome DeckManagerLogic::RandomizeDeck() {
    EngineGuard guard;
    if (!guard) return {};
    if (!St().PlayerDecks.Has(St().CurrentDeck)) {
        TheDialogs().Message(kStoredDeckRange, kTitle);
        return {};
    }
    ::dv::RandomizeDeck(kRandomizeSet, kRandomizedShare, St().CurrentDeck);
    return Redrawn();
}

DeckOutcome DeckManagerLogic::UnUniqueify() {
    EngineGuard guard;
    if (!guard) return {};
    for (Card& card : St().Collection)
        card.UniqueName = card.Name;
    return {};
}

DeckOutcome DeckManagerLogic::SellCards() {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    if (st.SaleMode == 1) {
        st.SaleMode = 0;
        return {};
    }
    if (!saleHintShown_) {
        TheDialogs().Message(kSaleHint, kTitle);
        saleHintShown_ = true;
    }
    st.SaleMode = 1;
    return {};
}

DeckOutcome DeckManagerLogic::Help() {
    TheDialogs().Message(kHelpText, kTitle);
    return {};
}

DeckOutcome DeckManagerLogic::Quit() {
    quitting_ = true;
    // The command that opened the window (a game start) reads this and goes no further.
    St().EndProgram = 1;
    TheHost().Call(WindowCall::EndProgram, "");
    DeckOutcome out;
    // The designer's cards, their save not done, kept the program going: this window stays too.
    quitting_ = out.close = St().EndProgram == 1;
    return out;
}

}  // namespace dv::ui
