#pragma once
// The deck manager's own texts and limits.

namespace dv::ui {

inline constexpr const char* kTitle = "Duvenhall";
// CurrentDeck is a byte: no more deck lists than it can choose.
inline constexpr int kMaxDecks = 255;

inline constexpr const char* kCardFileFilter = "Card files (*.txt *.TXT);;All files (*)";
inline constexpr const char* kPlayerFileFilter = "Player files (*.plr *.PLR);;All files (*)";
// A card set's rules file is a game file ("*.gam") or a card file that holds the rules.
inline constexpr const char* kRulesFileFilter =
    "Rules files (*.gam *.GAM *.txt *.TXT);;All files (*)";
inline constexpr const char* kPlayerOrCardFileFilter =
    "Player files (*.plr *.PLR *.txt *.TXT);;All files (*)";

inline constexpr const char* kChooseRulesFile =
    "Please choose the rules file to use for this card set.";
inline constexpr const char* kTooManyDecks =
    "You have 255 decks, as many as the deck manager can hold.";
inline constexpr const char* kSaleHint =
    "Click here to switch into sale mode.  Click again to return to normal mode.  To sell a card "
    "in sale mode, simply click on it.";
inline constexpr const char* kHelpText =
    "This is the deck editor.  Your card collection is shown in the middle of the screen and the "
    "currently selected deck is on the left.  Simply click on a card to move it from one to the "
    "other.  When you are satisfied with your deck, hit the \"PLAY\" button to start the game.";
inline constexpr const char* kSold = "<font color=#FF3311>Ha ha ha!  It's mine now!</font>";
inline constexpr const char* kNoSaleFromDeck =
    "You cannot sell cards out of your decks.  You can only sell them out of your collection.";
inline constexpr const char* kEnemyNamePrompt =
    "What should this enemy's name be?  (Leave blank for default name)";
inline constexpr const char* kEnemyNeedsName =
    "The enemy needs a name: type one, or put a card with the PLAYER trait into the deck.";
// Loading an opponent and randomizing work on the three decks held as whole cards.
inline constexpr const char* kStoredDeckRange = "Choose one of the decks 1 to 3 for this.";

}  // namespace dv::ui
