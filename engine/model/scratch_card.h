#pragma once
// Scratch copies of cards for trial runs. A fresh `Card` copy builds a dozen new strings and
// lists; copy-assigning into a kept card reuses their capacity and gives the same value. Each
// `ScratchCard` holds its card alone until it ends, so trial runs nested inside one another never
// share a copy.

#include <memory>

#include "engine/model/records.h"

namespace dv {

// Free scratch cards kept for reuse; more than this are let go when they come back.
constexpr int kMaxFreeScratchCards = 32;

class ScratchCard {
  public:
    // A card from the free ones (or a new one) set to a copy of `from`.
    explicit ScratchCard(const Card& from);
    ~ScratchCard();  // gives the card back for the next trial
    ScratchCard(const ScratchCard&) = delete;
    ScratchCard& operator=(const ScratchCard&) = delete;

    Card& operator*() { return *card_; }
    Card* operator->() { return card_.get(); }

  private:
    std::unique_ptr<Card> card_;
};

}  // namespace dv
