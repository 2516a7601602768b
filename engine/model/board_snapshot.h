#pragma once
// The cards in play and what indexes them, taken before a trial that may disturb them and put
// back after it. Play itself is kept by a journal of the cards the trial hands out for change
// (see play_list.h); the trigger registry is copied only if the trial is about to change it
// (RegistryWillChange), which most never do; the activation queue and the newest-card pointers
// are copied whole, into the room of the copies before. Snapshots nest, each put back or let go
// before the one around it.

#include <array>
#include <cstdint>

#include "engine/model/list.h"
#include "engine/model/records.h"
#include "engine/model/rules_state.h"

namespace dv {

class BoardSnapshot {
  public:
    BoardSnapshot() = default;
    // A snapshot never put back leaves play as it is.
    ~BoardSnapshot();
    BoardSnapshot(const BoardSnapshot&) = delete;
    BoardSnapshot& operator=(const BoardSnapshot&) = delete;

    void Take();
    // Puts play back as taken. Slots added since stay, free, so that the numbering of play
    // never shrinks under a caller that holds a slot number.
    void Restore();
    // Leaves play as it is now; a snapshot around this one still puts back what it disturbed.
    void Release();

  private:
    bool open_ = false;
    int registryKeep_ = 0;  // this snapshot's place in RegistryKeeps
    List<int16_t> activationQueue_;
    int32_t newestCard_ = 0;
    int32_t lastCard_ = 0;
#ifndef NDEBUG
    // The whole of play as taken: checked builds compare the journal's work against it, on
    // boards up to this size (copying a crowded board for every trial would take minutes).
    static constexpr int kMaxCheckedSlots = 1000;
    StableList<Card> whole_;
    bool checked_ = false;
#endif
};

// The same card to the last bit (numbers that compare equal may still differ, as 0 and -0 do).
bool IdenticalCards(const Card& a, const Card& b);

}  // namespace dv
