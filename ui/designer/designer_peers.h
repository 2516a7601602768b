#pragma once
// What the card designer asks of the windows built beside it: the deck manager's modes, the card
// picture work, the effect picker and the main window. The designer window supplies them; tests
// supply fakes.

#include <string>

#include "engine/model/records.h"

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
    // Writes the shown card picture and thumbnail under the two bare names into the current
    // folder and gives CurrentCard and `stored` those names; false, having said why, when a file
    // could not be written (the names then stay empty).
    virtual bool StorePictureFiles(const std::string& pictureName, const std::string& thumbnailName,
                                   Card& stored) = 0;
    // Closes the picture picker when the designer closes.
    virtual void UnloadPicPick() = 0;

    // The action commands the effect picker wrote, each ended by ":"; empty when none was chosen.
    virtual std::string PickEffect() = 0;

    // Shows the main window again when the designer closes.
    virtual void ShowMainWindow() = 0;
};

}  // namespace dv::ui
