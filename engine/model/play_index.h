#pragma once
// Which cards of a crowded board a walk over play for a trigger must look at. A walk hands the
// trigger to the cards whose effects answer it, in slot order, and leaves every other card alone;
// on a board of thousands, looking at every card for each card that enters play is what costs.
//
// Each slot has a sign: bits for the triggers its effects and its start time name and for the
// lengths of its effects' triggers, a bit for an active card, and one for a card with a run under
// way or a target to take up. A walk asks for the cards whose sign meets the trigger's; the others
// can be left alone unseen.
//
// A sign is taken again only where the card may have changed since the last look. A slot handed
// out for change is held by the procedure at work (the innermost HoldScope) until it ends: the
// procedure may change the card through its reference at any time. A walk signs anew each held
// slot it passes, once, and so costs the cards it reaches and the held cards in its way; when the
// procedure ends its slots are signed once more at the next look, then left alone. So a procedure
// that keeps references of play past walks holds them for its whole run, and one that outlives
// many walks should take for change only the cards it changes: read the rest through a const
// reference. A card handed out where no procedure is at work stays held.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/records.h"

namespace dv {

class PlayIndex;

// A procedure that may change the cards of play it is handed, for as long as it runs.
class HoldScope {
  public:
    HoldScope() { ++depth_; }
    ~HoldScope() {
        if (--depth_ < heldFrom_) Released();
    }
    HoldScope(const HoldScope&) = delete;
    HoldScope& operator=(const HoldScope&) = delete;

  private:
    friend class PlayIndex;
    static void Released();

    static inline int depth_ = 0;
    // The depth of the innermost procedure that holds a slot: when it ends, its slots are let go.
    static inline int heldFrom_ = -1;
};

class PlayIndex {
  public:
    // Boards from this many slots on are indexed; smaller ones are looked at whole.
    static int LiveFrom() { return liveFrom_; }
    // For the tests: index boards from two slots on and compare each look with the cards
    // themselves, ending the program at the first slot whose sign is out of date.
    static void CheckAgainstCards(bool on) {
        checking_ = on;
        liveFrom_ = on ? 2 : kLiveFrom;
    }
    static bool Checking() { return checking_; }
    // For the tests: index boards from this many slots on (0 for the program's own bound).
    static void IndexBoardsFrom(int count) { liveFrom_ = count > 0 ? count : kLiveFrom; }
    // Signs taken since the program began.
    static long long Signs() { return signs_taken_; }

    // The index kept for a list of play (its owner), or null.
    static PlayIndex* Of(const void* owner);
    // Makes one over the slots of play. Any of them may be held by a procedure already at work, so
    // each counts as held by the outermost one.
    static void Make(const void* owner, const std::vector<Card*>& slots);
    static void Drop(const void* owner);

    PlayIndex(const void* owner, const std::vector<Card*>& slots);
    ~PlayIndex();
    PlayIndex(const PlayIndex&) = delete;
    PlayIndex& operator=(const PlayIndex&) = delete;

    void HandedOut(int slot);
    void HandedOutAll();
    // The card of the slot was replaced where no procedure holds it.
    void Replaced(int slot);
    void Added();

    // The signs of the cards a walk for the trigger may hand it to: those that name it, and
    // those with a run under way or a target to take up.
    static uint64_t Answering(const std::string& trigger);
    // The signs of the cards with an effect of the trigger's length, which take it up.
    static uint64_t OfLength(std::size_t length);
    static constexpr uint64_t kActive = 1;

    // The first slot from `from` to `last` whose sign meets `signs`, or 0. Held slots on the way
    // are signed anew.
    int Next(uint64_t signs, int from, int last);

  private:
    static constexpr int kLiveFrom = 256;
    static constexpr int kBits = 64;
    static uint64_t Sign(const Card& card);

    void List(int slot, int depth);
    void Release(int depth);
    void Resign(int slot);
    void Refresh();
    bool IsHeld(int slot) const;
    // found, after checking in the tests that every slot passed over is signed as it is.
    int Checked(int from, int found, int last) const;

    static inline bool checking_ = false;
    static inline int liveFrom_ = kLiveFrom;
    static inline long long signs_taken_ = 0;
    // Never destroyed: lists of play may outlive any static at the program's end.
    static std::vector<std::unique_ptr<PlayIndex>>& Live();

    const void* owner_;
    const std::vector<Card*>& slots_;
    std::vector<uint64_t> signs_;                    // by slot - 1
    std::array<std::vector<uint64_t>, kBits> bits_;  // per sign bit, one bit per slot
    struct Hold {
        int slot;
        int depth;
    };
    std::vector<Hold> held_;          // in order of depth
    std::vector<uint64_t> heldBits_;  // one bit per slot
    std::vector<int> changed_;
    std::vector<char> isChanged_;  // by slot - 1

    friend class HoldScope;
};

}  // namespace dv
