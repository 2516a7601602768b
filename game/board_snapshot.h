#pragma once
// The cards in play and what indexes them, taken before a trial that may disturb them and put
// back after it. The computer takes one for every card it weighs, so a snapshot keeps its copies
// between uses: taking and restoring then copy into buffers that already have the room, and
// restoring writes back only the cards that the trial changed.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/records.h"
#include "engine/rules/rules_state.h"

namespace dv {

class BoardSnapshot {
  public:
    void Take();
    // Puts play back as taken. Slots added since stay, free, so that the numbering of play
    // never shrinks under a caller that holds a slot number.
    void Restore() const;

    // A card as taken, and whether it is blank (as a free slot is made), which most are.
    struct Taken {
        Card card;
        bool blank = true;
    };

  private:
    std::vector<Taken> inPlay_;  // the first inPlayCount_ entries hold the cards taken
    int inPlayCount_ = 0;
    std::array<TriggerSlot, 21> registry_;
    List<int16_t> activationQueue_;
    int32_t newestCard_ = 0;
    int32_t lastCard_ = 0;
};

// The same card to the last bit (numbers that compare equal may still differ, as 0 and -0 do).
bool IdenticalCards(const Card& a, const Card& b);

}  // namespace dv
