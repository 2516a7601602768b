#pragma once
// What the card designer asks of the windows built beside it: the deck manager's modes, the card
// picture work, the effect picker and the main window. The designer window supplies them; tests
// supply fakes.

#include <string>

namespace dv::ui {

class DesignerPeers {
  public:
    virtual ~DesignerPeers() = default;

    // The deck manager in mode 1 (an opponent's deck over EnemyCards), modal: returns once it
    // has closed.
    virtual void EditEnemyDeck() = 0;
    // The deck manager in mode 2 (card test) or 3 (view the cards), not waiting for it; the
    // designer window hides until the deck manager or the test game shows it again.
    virtual void ShowDeckManagerFor(int mode) = 0;

    // Composes the card picture and thumbnail again (mode 1) or shows the card's saved ones (0).
    virtual void UpdatePic(int mode) = 0;
    // Saves the shown card picture or thumbnail as a JPEG file at the path.
    virtual void SaveImage(const std::string& path) = 0;
    virtual void SaveMini(const std::string& path) = 0;
    // Closes the picture picker when the designer closes.
    virtual void UnloadPicPick() = 0;

    // The action commands the effect picker wrote, each ended by ":"; empty when none was chosen.
    virtual std::string PickEffect() = 0;

    // Shows the main window again when the designer closes.
    virtual void ShowMainWindow() = 0;
};

}  // namespace dv::ui
