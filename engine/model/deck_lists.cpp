#include "engine/model/deck_lists.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "engine/model/card_lists.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"

namespace dv {
namespace {

// The index of the first card carrying the identifier, 0 when none does.
int FirstCarrying(const List<Card>& cards, int32_t id) {
    for (int i = 1; i <= cards.size(); ++i)
        if (cards[i].GID == id) return i;
    return 0;
}

// Fills ColDisplay from position `pos` on: each slot takes the next card that is shown.
void FillSlots(long long pos, const List<Card>& cards, bool showAll) {
    List<int32_t>& slots = St().ColDisplay;
    for (int slot = 1; slot <= kPaneSlots; ++slot) {
        ++pos;
        while (!showAll && pos <= cards.size() && cards[pos].DisplayFilter != 0)
            ++pos;
        if (pos > cards.size()) return;
        slots[slot] = static_cast<int32_t>(pos);
    }
}

}  // namespace

void LinkDeck(DeckList& deck, List<Card>& cards, int startAt) {
    State& st = St();
    if (st.DeckManagerMode == kCardTest && st.LinkRedirect == 0) {
        st.LinkRedirect = 1;
        LinkDeck(deck, st.EditCards, 0);
        st.LinkRedirect = 0;
        return;
    }
    Guarded("LinkDeck", [&] {
        for (Card& card : cards)
            card.DisplayFilter = 0;
        if (startAt == 0) deck.Positions = List<float>(deck.CardIds.size());
        deck.Positions.Resize(deck.CardIds.size());
        // Each pass either links entry j and moves on, or drops it and shortens the list.
        int j = startAt > 0 ? startAt : 1;
        while (deck.CardIds.Has(j)) {
            const int32_t id = deck.CardIds[j];
            const int at = id == 0 ? 0 : FirstCarrying(cards, id);
            if (id != 0 && at == 0 && deck.CardIds.size() > 1) {
                const int last = deck.CardIds.size();
                deck.CardIds[j] = deck.CardIds[last];
                deck.CardIds.Resize(last - 1);
                deck.Positions.Resize(last - 1);
                continue;  // entry j now holds the moved identifier
            }
            deck.Positions[j] = static_cast<float>(at);
            if (startAt > 0) break;
            ++j;
        }
    });
}

void CopyLinkedDeck(DeckList& deck, List<Card>& cards) {
    Guarded("CopyToDeck", [&] {
        State& st = St();
        LinkDeck(deck, st.Collection, 0);
        // In card-test mode the positions are those of the designer's cards.
        const List<Card>& source = st.DeckManagerMode == kCardTest ? st.EditCards : st.Collection;
        cards = List<Card>(deck.Positions.size());
        for (int j = 1; j <= deck.Positions.size(); ++j) {
            const long long at = std::lround(deck.Positions[j]);
            if (at > 0 && source.Has(at)) cards[j] = source[at];
        }
    });
}

void CopyToMultiDeck(const List<Card>& cards, DeckList& deck) {
    Guarded("CopyToMultiDeck", [&] {
        // A deck list always keeps one entry, an empty one at least.
        const int size = std::max(cards.size(), 1);
        deck.CardIds = List<int32_t>(size);
        deck.Positions = List<float>(size);
        for (int i = 1; i <= cards.size(); ++i)
            deck.CardIds[i] = cards[i].GID;
    });
}

void SortDeck(DeckList& deck, const std::string& key) {
    Guarded("SortDeck", [&] {
        List<Card>& work = St().PlayerDecks[1].Cards;
        CopyLinkedDeck(deck, work);
        SortCards(work, key, 0);
        CopyToMultiDeck(work, deck);
        LinkDeck(deck, St().Collection, 0);
    });
}

void SetColDisplay(int start) {
    Guarded("SetColDisplay", [&] {
        State& st = St();
        st.ColDisplay = List<int32_t>(kPaneSlots);
        const uint8_t mode = st.DeckManagerMode;
        if (mode == kOpponentDeck || mode == kCardTest || mode == kCardView) {
            SetColDisplay2(start, st.EditCards, 0);
            return;
        }
        if (mode == kCardPick) {
            SetColDisplay2(start, st.Collection, 1);
            return;
        }
        // The scroll position counts shown cards: the hidden ones before it push it on.
        const List<Card>& cards = st.Collection;
        long long hidden = 0;
        if (st.PickingCard != 1) {
            for (int i = 1; i <= start && i <= cards.size(); ++i)
                if (cards[i].DisplayFilter == 1) ++hidden;
        }
        FillSlots(std::max<long long>(start + hidden - 1, 0), cards, false);
    });
}

void SetColDisplay2(int start, const List<Card>& cards, int showAll) {
    Guarded("SetColDisplay2", [&] {
        St().ColDisplay = List<int32_t>(kPaneSlots);
        FillSlots(std::max(start - 1, 0), cards, showAll == 1);
    });
}

void CleanDecks() {
    Guarded("CleanDecks", [&] {
        State& st = St();
        List<Card>& collection = st.Collection;
        // Of named cards sharing an identifier the last survives. Identifier 0 is no identifier:
        // cards without one are never taken for copies of each other.
        std::unordered_map<int32_t, int> named;
        for (const Card& card : collection)
            if (!card.Name.empty() && card.GID != 0) ++named[card.GID];
        for (Card& card : collection) {
            if (card.Name.empty() || card.GID == 0) continue;
            int& count = named[card.GID];
            if (count < 2) continue;
            --count;
            card.Name.clear();
            card.GID = 0;
        }
        for (int i = 2; i <= collection.size(); ++i) {
            if (!collection[i - 1].Name.empty()) continue;
            collection[i - 1] = collection[i];
            collection[i].Name.clear();
            collection[i].GID = 0;
        }

        DeckList& deck = st.Decks[st.CurrentDeck];
        DeckList kept{deck.Name, {}, {}};
        for (int i = 1; i <= deck.CardIds.size(); ++i) {
            if (deck.CardIds[i] == 0) continue;
            kept.CardIds.PushBack(deck.CardIds[i]);
            kept.Positions.PushBack(deck.Positions.Has(i) ? deck.Positions[i] : 0);
        }
        if (kept.CardIds.empty()) {
            kept.CardIds.PushBack(0);
            kept.Positions.PushBack(0);
        }
        deck = std::move(kept);
    });
}

}  // namespace dv
