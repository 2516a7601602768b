#pragma once
// What an opener sets before it shows the deck manager in each mode, and puts back after. The
// window (deck_manager_window.h) pairs each with its showing; these are the steps without it.
//
//  mode 0, edit decks   the game start and the main window's "Deck Manager" (which sets
//                       DeckManagerFromMenu meanwhile) show it modally.
//  mode 1, opponent     the designer fills EnemyCards, then PrepareOpponentDeck, show modally,
//                       FinishOpponentDeck.
//  mode 2, card test    the designer calls PrepareCardTest, commits its card, hides itself and
//                       shows the window without waiting. DONE starts the test game; the next
//                       new-game set-up (QuickStart) ends the test.
//  mode 3, card view    the designer calls PrepareCardView, commits, hides itself and shows the
//                       window without waiting. A click on a card or DONE hands the card over
//                       through the DesignerLink (designer_link.h).
//  mode 4, card pick    the card view's menu action sets DeckManagerMode 4 and PickingCard 1 and
//                       shows the window modally; PickedCard and PickedDeck hold the answer.

namespace dv::ui {

void PrepareOpponentDeck();
void FinishOpponentDeck();
void PrepareCardTest();
void PrepareCardView();

}  // namespace dv::ui
