#pragma once
// The deck manager without its window: the two panes of card pictures, the deck choice, the
// descriptions shown while the pointer rests on a picture, the clicks that move, sell and pick
// cards, the deck commands and files, and the closing by mode. The window turns each widget event
// into one call here and draws what the call returns; dialogs go through the dialog seam.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/model/model_state.h"
#include "ui/common/held_presses.h"

namespace dv::ui {

// What one picture box of a pane does on a redraw.
struct SlotDraw {
    enum class Change { Keep, Hide, Show };
    Change change = Change::Keep;
    std::optional<std::string> picture;  // a file to load into the box first, when set
};

// Everything UpdateDecks draws. An unset value leaves its control as it is.
struct DeckView {
    std::vector<std::string> deckNames;  // the deck choice's entries
    int chosenDeck = 0;                  // entry shown as chosen, from 0
    std::array<SlotDraw, kPaneSlots> deck;
    std::array<SlotDraw, kPaneSlots> collection;
    int deckScroll = 1;  // the scroll bars' values
    int collectionScroll = 1;
    std::optional<int> deckScrollMax;
    std::optional<int> collectionScrollMax;
    std::optional<std::string> tokens;     // "Tokens: 500"
    std::optional<std::string> cardCount;  // "Cards: 40"
};

// Which of the controls that depend on the mode are shown.
struct ShownControls {
    bool done = true;          // "DONE"
    bool sell = true;          // "Sell Cards"
    bool changeImage = true;   // "Change Card Image"
    bool loadOpponent = true;  // "Load Existing Opponent"
};

// What a handler asks of the window.
struct DeckOutcome {
    std::optional<std::string> page;  // shown in the description viewer first
    std::optional<DeckView> view;     // drawn
    std::optional<ShownControls> controls;
    bool close = false;  // the window closes; its handler already did what the closing would
};

// Shows a page in the description viewer and returns once it has loaded; window events, the
// player's presses among them, run meanwhile.
using PageShow = std::function<void(const std::string& location)>;

class DeckManagerLogic {
  public:
    // The first showing: the load, then the activation.
    DeckOutcome Open();
    // The activation work again, when a modal window of the program has handed back.
    DeckOutcome Activate();
    DeckView UpdateDecks();

    // The pointer rests on a picture (slot 0 to 17): its description page, if any, is written and
    // shown through `show`, and the page shown is given. The wait for the page is part of the
    // command, so that no other command runs inside it.
    std::optional<std::string> DescribeCollectionCard(int slot, const PageShow& show);
    std::optional<std::string> DescribeDeckCard(int slot, const PageShow& show);
    // Shows the page a handler's outcome names, the wait a command of its own.
    void ShowOutcomePage(const std::string& location, const PageShow& show);
    // The presses made while a page shown through `show` loads: the window holds them until it
    // has loaded.
    HeldPresses& Presses() { return presses_; }

    DeckOutcome ChooseDeck(int entry);       // an entry of the deck choice, from 0
    DeckOutcome Scroll(int bar, int value);  // bar 0 the deck pane's, 1 the collection's
    DeckOutcome CollectionClick(int slot);
    DeckOutcome DeckClick(int slot);
    // The sort buttons 0 to 4, with the texts of the two trait boxes.
    DeckOutcome Sort(int button, const std::string& deckTrait, const std::string& collectionTrait);
    DeckOutcome ClearDeck();
    DeckOutcome ChangeCardImage();

    DeckOutcome DuplicateDeck();
    DeckOutcome RenameDeck();
    DeckOutcome NewDeck();
    DeckOutcome UnSort();
    DeckOutcome RandomizeDeck();
    DeckOutcome UnUniqueify();
    DeckOutcome SellCards();
    DeckOutcome Help();
    // Ends the program without saving: the closing that follows does nothing.
    DeckOutcome Quit();
    DeckOutcome Done();

    DeckOutcome SavePlayerAs();
    DeckOutcome LoadPlayer();
    DeckOutcome LoadExistingOpponent();
    DeckOutcome SaveAsOpponent();

    // The window is asked to close. `decided` is true when a handler of this window closes it and
    // has done what closing by mode would do. Returns whether the window may close.
    bool Closing(bool decided);

    int DeckScrollPos() const { return deckScrollPos_; }
    int CollectionScrollPos() const { return collectionScrollPos_; }
    bool EditNextCard() const { return editNextCard_; }
    bool EnemySaved() const { return enemySaved_; }

  private:
    DeckOutcome Activation();
    DeckOutcome DoneByMode();
    void SaveOpponent();
    DeckOutcome Redrawn(std::optional<std::string> page = std::nullopt);
    std::string ShowPage(const std::string& html);
    void WaitForPage(const std::string& location, const PageShow& show);
    bool DeckMeetsRules();
    bool StartCardTestWithRules();
    DeckOutcome HandToDesigner(int index);
    DeckOutcome EditInDesigner(int position);
    DeckOutcome Sell(int position);
    DeckOutcome AddToCurrentDeck(int position);
    ShownControls LoadControls() const;
    ShownControls ActivationControls(ShownControls shown) const;

    int deckScrollPos_ = 1;
    int collectionScrollPos_ = 1;
    bool editNextCard_ = false;
    bool enemySaved_ = false;
    bool saleHintShown_ = false;
    int32_t lastShownCard_ = 0;
    int32_t lastShownDeckCard_ = 0;
    bool quitting_ = false;
    HeldPresses presses_;
    ShownControls shown_;
};

}  // namespace dv::ui
