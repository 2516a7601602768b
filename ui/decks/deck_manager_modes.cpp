#include "ui/decks/deck_manager_modes.h"

#include "engine/model/state.h"

namespace dv::ui {
namespace {

constexpr int kTestHandSlots = 10;

void EmptyHands() {
    State& st = St();
    st.Players[1].Hand = List<Card>(kTestHandSlots);
    st.Players[2].Hand = List<Card>(kTestHandSlots);
}

}  // namespace

void PrepareOpponentDeck() {
    St().DeckManagerMode = kOpponentDeck;
    St().PickingCard = 0;
}

void FinishOpponentDeck() {
    St().DeckManagerMode = kEditDecks;
}

void PrepareCardTest() {
    State& st = St();
    st.DeckManagerMode = kCardTest;
    st.PickingCard = 0;
    EmptyHands();
    st.TopCards[3] = List<Card>(1);
    st.TopCards[4] = List<Card>(1);
}

void PrepareCardView() {
    St().DeckManagerMode = kCardView;
    St().PickingCard = 0;
    EmptyHands();
}

}  // namespace dv::ui
