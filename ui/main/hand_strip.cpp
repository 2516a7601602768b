#include "ui/main/hand_strip.h"

#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "game/play_queue.h"
#include "ui/common/engine_guard.h"

namespace dv::ui {
namespace {

Card* HandCard(int slot) {
    auto& hand = St().Players[1].Hand;
    if (!hand.Has(slot) || hand[slot].Name.empty()) return nullptr;
    return &hand[slot];
}

}  // namespace

std::array<HandSlotView, kHandSlots> HandStrip::Redraw() {
    lastHoverSlot_ = 0;
    std::array<HandSlotView, kHandSlots> views;
    RunCommand("UpdateHand", [&] {
        // The end of a game hides the hand, and the rest of the turn that ended it redraws it.
        if (St().GameRunning == 0) return;
        for (int i = 1; i <= kHandSlots; ++i) {
            const Card* card = HandCard(i);
            if (!card) continue;
            HandSlotView& view = views[i - 1];
            view.visible = true;
            view.picture = GetImagePath(card->Thumbnail, 0, "");
            view.name = card->Name;
            long long first = 0, second = 0, third = 0;
            SplitColor(static_cast<long long>(ColorValue(card->Colour).Num()), first, second,
                       third);
            view.red = static_cast<uint8_t>(third);
            view.green = static_cast<uint8_t>(second);
            view.blue = static_cast<uint8_t>(first);
        }
    });
    return views;
}

bool HandStrip::Hover(int slot) {
    bool shown = false;
    RunCommand("Picture2_MouseMove", [&] {
        EngineGuard guard;
        if (!guard || slot == lastHoverSlot_) return;
        Card* card = HandCard(slot);
        if (!card) return;
        lastHoverSlot_ = slot;
        const int16_t selected = St().SelectedCard;
        presses_.Wait([&] { DisplayCard(*card, 1); });
        St().SelectedCard = selected;
        shown = true;
    });
    presses_.RunHeld();
    return shown;
}

bool HandStrip::Release(int slot, bool rightButton) {
    bool queued = false;
    RunCommand("Picture2_MouseUp", [&] {
        EngineGuard guard;
        Card* card = guard ? HandCard(slot) : nullptr;
        if (!card) return;
        State& st = St();
        if (rightButton) st.SelectedCard = kDiscardTarget;
        const int16_t target = st.SelectedCard;
        AddAction(slot, target);
        card->PresetTarget = target;
        st.SelectedCard = 0;
        DisplayActionList();
        queued = true;
    });
    return queued;
}

}  // namespace dv::ui
