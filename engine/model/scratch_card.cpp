#include "engine/model/scratch_card.h"

#include "engine/model/state.h"

namespace dv {

ScratchCard::ScratchCard(const Card& from) {
    auto& free = St().FreeScratchCards;
    if (free.empty()) {
        card_ = std::make_unique<Card>(from);
        return;
    }
    card_ = std::move(free.back());
    free.pop_back();
    *card_ = from;
}

ScratchCard::~ScratchCard() {
    // Looked up again here, not kept: the card goes to whichever state is current now.
    auto& free = St().FreeScratchCards;
    if (static_cast<int>(free.size()) < kMaxFreeScratchCards) free.push_back(std::move(card_));
}

}  // namespace dv
