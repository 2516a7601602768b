#include "game/board_snapshot.h"

#include <bit>
#include <cstdint>

#include "engine/model/state.h"

namespace dv {
namespace {

bool IdenticalValues(const Value& a, const Value& b) {
    if (a.IsNumber() != b.IsNumber()) return false;
    if (a.IsNumber()) return std::bit_cast<uint64_t>(a.Num()) == std::bit_cast<uint64_t>(b.Num());
    return a == b;
}

const Card& FreeSlot() {
    static const Card free;
    return free;
}

}  // namespace

bool IdenticalCards(const Card& a, const Card& b) {
    // The sort key is the one member whose == is looser than identity.
    return a == b && IdenticalValues(a.SortKey, b.SortKey);
}

void BoardSnapshot::Take() {
    const State& st = St();
    inPlayCount_ = st.InPlay.size();
    if (static_cast<int>(inPlay_.size()) < inPlayCount_) inPlay_.resize(inPlayCount_);
    // Most cards are as the last trial left them; the others are copied into the room of the
    // previous copy.
    for (int i = 1; i <= inPlayCount_; ++i)
        if (!IdenticalCards(inPlay_[i - 1], st.InPlay[i])) inPlay_[i - 1] = st.InPlay[i];
    registry_ = st.TriggerRegistry;
    activationQueue_ = st.ActivationQueue;
    newestCard_ = st.NewestCard;
    lastCard_ = st.LastCard;
}

void BoardSnapshot::Restore() const {
    State& st = St();
    for (int i = 1; i <= st.InPlay.size(); ++i) {
        const Card& taken = i <= inPlayCount_ ? inPlay_[i - 1] : FreeSlot();
        Card& now = st.InPlay[i];
        if (!IdenticalCards(now, taken)) now = taken;
    }
    st.TriggerRegistry = registry_;
    st.ActivationQueue = activationQueue_;
    st.NewestCard = newestCard_;
    st.LastCard = lastCard_;
}

}  // namespace dv
