#include "game/play_queue.h"

#include <cstdint>

#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/dispatch.h"

namespace dv {
namespace {

// Hand indexes are stored in a byte.
constexpr int kMaxHandIndex = 255;
// One pass closes one gap; a queue of ten slots never needs more passes than it has slots.
constexpr int kMaxSortPasses = kQueueSlots;

const std::string kQuote = "\"";

// The slot remembers the target's GID, so a card that takes its place later is not hit; the hand
// card carries the target into its play.
void AimSlot(Card& handCard, int slot, int target) {
    State& st = St();
    st.ActionTargets[slot] = static_cast<int16_t>(target);
    st.ActionTargetGIDs[slot] =
        target > 0 && st.InPlay.Has(target) && !st.InPlay[target].Name.empty()
            ? st.InPlay[target].GID
            : 0;
    handCard.PresetTarget = static_cast<int16_t>(target);
    handCard.NextTarget = static_cast<int16_t>(target);
}

void ClearSlot(int slot) {
    State& st = St();
    st.ActionCards[slot] = 0;
    st.ActionTargets[slot] = 0;
    st.ActionTargetGIDs[slot] = 0;
}

}  // namespace

void AddAction(int card, int target) {
    Guarded("AddAction", [&] {
        State& st = St();
        if (card < 1 || card > kMaxHandIndex) throw RunFault("hand index out of range");
        Card& handCard = st.Players[1].Hand[card];
        for (int s = 1; s <= kQueueSlots; ++s) {
            if (st.ActionCards[s] == 0) {
                st.ActionCards[s] = static_cast<uint8_t>(card);
                AimSlot(handCard, s, target);
                st.ChoiceSlot = s;
                return;
            }
            if (st.ActionCards[s] == card) {
                ClearSlot(s);
                SortActions();
                return;
            }
        }
    });
}

void SortActions() {
    Guarded("SortActions", [&] {
        State& st = St();
        for (int pass = 0; pass < kMaxSortPasses; ++pass) {
            bool moved = false;
            for (int s = 1; s < kQueueSlots; ++s) {
                if (st.ActionCards[s] == 0 && st.ActionCards[s + 1] > 0) {
                    st.ActionCards[s] = st.ActionCards[s + 1];
                    st.ActionTargets[s] = st.ActionTargets[s + 1];
                    st.ActionTargetGIDs[s] = st.ActionTargetGIDs[s + 1];
                    ClearSlot(s + 1);
                    moved = true;
                }
            }
            if (!moved) return;
        }
    });
}

void ClearActions() {
    for (int s = 1; s <= kQueueSlots; ++s)
        ClearSlot(s);
    St().ChoiceSlot = 0;
}

void SetActionTarget(int slot, int target) {
    Guarded("SetActionTarget", [&] {
        State& st = St();
        if (slot < 1 || slot > kQueueSlots || st.ActionCards[slot] == 0) return;
        AimSlot(st.Players[1].Hand[st.ActionCards[slot]], slot, target);
    });
}

int QueuedTarget(int slot) {
    const State& st = St();
    if (slot < 1 || slot > kQueueSlots) return 0;
    const int target = st.ActionTargets[slot];
    if (target == kDiscardTarget) return kDiscardTarget;
    if (target <= 0 || !st.InPlay.Has(target)) return 0;
    const Card& card = st.InPlay[target];
    if (card.Name.empty() || card.GID != st.ActionTargetGIDs[slot]) return 0;
    return target;
}

void DropStaleTargets() {
    Guarded("DropStaleTargets", [&] {
        State& st = St();
        for (int s = 1; s <= kQueueSlots; ++s) {
            if (st.ActionCards[s] == 0 || st.ActionTargets[s] <= 0 || QueuedTarget(s) > 0) continue;
            st.ActionTargets[s] = 0;
            st.ActionTargetGIDs[s] = 0;
            if (st.Players[1].Hand.Has(st.ActionCards[s])) {
                Card& handCard = st.Players[1].Hand[st.ActionCards[s]];
                handCard.PresetTarget = 0;
                handCard.NextTarget = 0;
            }
        }
    });
}

void DisplayActionList() {
    Guarded("DisplayActionList", [&] {
        State& st = St();
        st.HTMLText.clear();
        for (int s = 1; s <= kQueueSlots; ++s) {
            if (st.ActionCards[s] == 0) continue;
            Card& hand = st.Players[1].Hand[st.ActionCards[s]];
            const int target = QueuedTarget(s);
            if (target > 0)
                AddHTML("Play " + DCard(hand) + " on " + DCard(st.InPlay[target]) + "<br>");
            else if (target == 0)
                AddHTML("Play " + DCard(hand) + "<br>");
            else if (target == kDiscardTarget)
                AddHTML("Discard " + DCard(hand) + "<br>");
        }

        for (int c = 1; c <= st.InPlay.size(); ++c) {
            Card& card = st.InPlay[c];
            if (card.Name.empty()) continue;
            for (int e = 1; e <= card.Effects.size(); ++e) {
                const Effect& effect = card.Effects[e];
                if (effect.MenuState != MenuState::Chosen) continue;
                const std::string uses =
                    " uses special action " + kQuote + effect.MenuText + kQuote;
                if (effect.TargetType == kTargetCollection) {
                    AddHTML(DCard(card) + uses + " on one of the cards in their collection.");
                } else if (effect.Target > 0 && st.InPlay.Has(effect.Target)) {
                    AddHTML(DCard(card) + uses + " on " + kQuote + st.InPlay[effect.Target].Name +
                            kQuote + ".<br>");
                } else if (effect.Target >= 0) {
                    // A target beyond the cards in play is no target.
                    AddHTML(DCard(card) + uses + ".");
                }
            }
        }

        CreateHTML("Display.html", "#000000");
        HTMLDisplay2(kQueueViewer, "Display.html");
    });
}

}  // namespace dv
