#pragma once
// A card of the player's collection as the deck manager hands it to the designer to be edited:
// a name, a unique name, a picture and one trait.

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"

namespace dv::test {

inline Card OwnedCard() {
    Card card;
    InitCard(card, 1, 0);
    card.Name = "Owned";
    card.UniqueName = "owned";
    card.Picture = "Card-owned.jpg";
    SetTrait(card, "HP", Value("4"), 1);
    return card;
}

}  // namespace dv::test
