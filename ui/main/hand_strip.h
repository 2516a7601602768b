#pragma once
// The hand strip of the main window: ten hand pictures with their name labels. Hovering a
// picture shows its card once; releasing the mouse on it queues or unqueues the card.

#include <array>
#include <cstdint>
#include <string>

#include "ui/common/held_presses.h"

namespace dv::ui {

inline constexpr int kHandSlots = 10;

struct HandSlotView {
    bool visible = false;
    std::string picture;  // the thumbnail's file path
    std::string name;
    uint8_t red = 0, green = 0, blue = 0;  // the label's text colour
};

class HandStrip {
  public:
    // UpdateHand: slot i (1 to 10) of the human player's hand as it should show, at index i - 1;
    // none while no game runs.
    // Forgets the hovered slot, so that a new card in that slot shows on the next hover.
    std::array<HandSlotView, kHandSlots> Redraw();
    // HideHand.
    void Hide() { lastHoverSlot_ = 0; }
    // Picture2_MouseMove: shows the card of the slot unless it was the last shown; true when
    // shown. The selection stays as it was. The player did not ask for that page: the main
    // window's presses made while it loads are held, and run once it has loaded.
    bool Hover(int slot);
    // Picture2_MouseUp: toggles the card in the queue of plays, as a discard with the right
    // button. True when the slot held a card.
    bool Release(int slot, bool rightButton);

    int LastHoverSlot() const { return lastHoverSlot_; }
    // The main window's presses go through this, so that one made during a hover's page load is
    // held rather than refused.
    HeldPresses& Presses() { return presses_; }

  private:
    int lastHoverSlot_ = 0;
    HeldPresses presses_;
};

}  // namespace dv::ui
