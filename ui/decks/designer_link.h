#pragma once
// What the deck manager asks of the card designer. The designer's window installs its answers;
// until it does, a hand-over to the designer does nothing, and a card handed over for editing
// comes back unchanged.

namespace dv::ui {

class DesignerLink {
  public:
    virtual ~DesignerLink() = default;
    // Shows the designer (without waiting) with card `index` of EditCards chosen in its card
    // list while ListBusy is 1, its lists refilled. The deck manager closes afterwards.
    virtual void ShowCard(int index) = 0;
    // Shows the designer modally on CurrentCard (EditFromDeckManager is 1 meanwhile); returns once
    // it hands back, with the edited card in CurrentCard.
    virtual void EditCurrentCard() = 0;
};

// The installed link, or nullptr while the designer has installed none.
DesignerLink* TheDesignerLink();
// Passing nullptr removes the link.
void SetDesignerLink(DesignerLink* link);

}  // namespace dv::ui
