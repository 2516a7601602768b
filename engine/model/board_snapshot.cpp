#include "engine/model/board_snapshot.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "engine/model/state.h"
#include "engine/model/triggers.h"

namespace dv {
namespace {

bool IdenticalValues(const Value& a, const Value& b) {
    if (a.IsNumber() != b.IsNumber()) return false;
    if (a.IsNumber()) return std::bit_cast<uint64_t>(a.Num()) == std::bit_cast<uint64_t>(b.Num());
    return a == b;
}

}  // namespace

bool IdenticalCards(const Card& a, const Card& b) {
    // The sort key is the one member whose == is looser than identity.
    return a == b && IdenticalValues(a.SortKey, b.SortKey);
}

BoardSnapshot::~BoardSnapshot() {
    if (open_) Release();
}

void BoardSnapshot::Take() {
    State& st = St();
    if (open_) Release();
    st.InPlay.OpenJournal();
    open_ = true;
    registryKeep_ = st.OpenRegistryKeeps++;
    if (static_cast<int>(st.RegistryKeeps.size()) <= registryKeep_) st.RegistryKeeps.emplace_back();
    st.RegistryKeeps[registryKeep_].copied = false;
    activationQueue_ = st.ActivationQueue;
    newestCard_ = st.NewestCard;
    lastCard_ = st.LastCard;
#ifndef NDEBUG
    if (st.InPlay.size() <= kMaxCheckedSlots) whole_ = st.InPlay.Cards();
    checked_ = st.InPlay.size() <= kMaxCheckedSlots;
#endif
}

void BoardSnapshot::Restore() {
    State& st = St();
    if (!open_) return;
    open_ = false;
    st.InPlay.TakeBack();
    st.OpenRegistryKeeps = registryKeep_;
    RegistryKeep& keep = st.RegistryKeeps[registryKeep_];
    if (keep.copied) {
        RegistryWillChange();
        std::swap(st.TriggerRegistry, keep.registry);
    }
    st.ActivationQueue = activationQueue_;
    st.NewestCard = newestCard_;
    st.LastCard = lastCard_;
#ifndef NDEBUG
    if (!checked_) return;
    const StableList<Card>& now = st.InPlay.Cards();
    static const Card kFreeSlot;
    for (int i = 1; i <= now.size(); ++i) {
        if (IdenticalCards(now[i], i <= whole_.size() ? whole_[i] : kFreeSlot)) continue;
        // Play would go on wrong in a real game: stop at once, whatever guard is around.
        std::fprintf(stderr, "A trial left slot %d of play changed: the journal never saw it.\n",
                     i);
        std::abort();
    }
#endif
}

void BoardSnapshot::Release() {
    if (!open_) return;
    open_ = false;
    St().InPlay.CloseJournal();
    St().OpenRegistryKeeps = registryKeep_;
}

}  // namespace dv
