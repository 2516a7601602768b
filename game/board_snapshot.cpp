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

bool AllZero(const auto& words) {
    for (const auto word : words)
        if (word != 0) return false;
    return true;
}

// Whether a card is exactly as a free slot is made: most slots of play are. Binding every member
// by name makes a member added to Card fail to compile here until it is checked too.
bool IsBlank(const Card& card) {
    const auto& [name, picture, thumbnail, pictureUrl, thumbnailUrl, costDesc, traitNames,
                 traitValues, traitActionDescs, effects, description, colour, active, presetTarget,
                 nextTarget, owner, gid, initialised, traitEffectsValid, rarity, setFile,
                 uniqueName, traitMask, sideMask, index, startTime, mods, sortKey, displayFilter,
                 dead, alreadyPlaced, artSource, backSource, miniSource, artRegion] = card;
    return name.empty() && picture.empty() && thumbnail.empty() && pictureUrl.empty() &&
           thumbnailUrl.empty() && costDesc.empty() && traitNames.empty() && traitValues.empty() &&
           traitActionDescs.empty() && effects.empty() && description.empty() && colour.empty() &&
           active == 0 && presetTarget == 0 && nextTarget == 0 && owner == 0 && gid == 0 &&
           initialised == 0 && traitEffectsValid == 0 && rarity == 0 && setFile.empty() &&
           uniqueName.empty() && AllZero(traitMask) && sideMask == 0 && index == 0 &&
           startTime.empty() && mods.empty() && sortKey.IsText() && sortKey == Value() &&
           displayFilter == 0 && dead == 0 && alreadyPlaced == 0 && artSource.empty() &&
           backSource.empty() && miniSource.empty() && AllZero(artRegion);
}

// Whether the card in play is still the one taken; a blank slot taken needs no comparing.
bool Unchanged(const Card& now, const BoardSnapshot::Taken& taken) {
    return taken.blank ? IsBlank(now) : IdenticalCards(now, taken.card);
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
    for (int i = 1; i <= inPlayCount_; ++i) {
        const Card& now = st.InPlay[i];
        Taken& taken = inPlay_[i - 1];
        if (Unchanged(now, taken)) continue;
        taken.card = now;
        taken.blank = IsBlank(now);
    }
    registry_ = st.TriggerRegistry;
    activationQueue_ = st.ActivationQueue;
    newestCard_ = st.NewestCard;
    lastCard_ = st.LastCard;
}

void BoardSnapshot::Restore() const {
    static const Taken kFreeSlot;
    State& st = St();
    for (int i = 1; i <= st.InPlay.size(); ++i) {
        const Taken& taken = i <= inPlayCount_ ? inPlay_[i - 1] : kFreeSlot;
        Card& now = st.InPlay[i];
        if (!Unchanged(now, taken)) now = taken.card;
    }
    st.TriggerRegistry = registry_;
    st.ActivationQueue = activationQueue_;
    st.NewestCard = newestCard_;
    st.LastCard = lastCard_;
}

}  // namespace dv
