#pragma once
// The main window's buttons and menu items, its activation and its closing, without the window:
// each command returns false when it did nothing because another command or a page load was
// under way.

#include <string>

namespace dv::ui {

// Form_Activate's outcome for the window to show.
struct Activation {
    bool deckManagerEnabled = true;
    bool raiseHelp = false;
};

enum class CloseOutcome {
    Refused,         // a command is under way: the window stays
    Closed,          // the player file is saved when a game is current
    BackToDesigner,  // a test game of the designer's cards: the designer comes back, nothing saved
};

// The player file of the current game and profile; empty when no game is current.
std::string CurrentPlayerFile();

// What "Quit / New Game" does: ends the game (the player file is saved), clears the board,
// hands, queue and traits, and shows the games page.
void QuitToNewGame();

// The player closed the help window: no later activation brings it back.
void HelpWindowClosed();

class MainCommands {
  public:
    // Form_Load: the queued-plays and card views show "blank.htm"; the hand is hidden.
    void Load();
    // Form_Activate, run at the first show and when the program's own deck manager or designer
    // hands back, never on a mere focus change: a re-read then would drop cards won in play.
    Activation Activate();

    // "Take Turn"; a new game once the game is over, nothing while no game runs.
    bool TakeTurn();
    bool ComputerTurn();  // "AI Turn": the computer plays the human side from now on
    bool ComputerGame();  // "AI Game"
    bool Tournament();    // "AI Game Test"
    bool EvolveDeck();    // "Evolve a Deck": the deck file comes from the open-file dialog
    bool BackToGame();    // "<<< Back to Game"
    bool NewGame();       // "Quit / New Game"
    bool OpenDeckManager();
    bool SaveCurrentPlayer();
    // "Full Sized Images" now carries its check mark or not.
    void SetFullSize(bool checked);
    // "Debug Mode": returns whether the item carries its check mark now.
    bool ToggleDebugMode();
    bool ShowHelp();
    // "Card Editor": the main window makes way for the designer, saving the player file first.
    bool LeaveForDesigner();
    CloseOutcome Close();
};

}  // namespace dv::ui
