#pragma once
// The cards in play. A trial that may disturb play opens a journal on it: while one is open,
// every card handed out for change is first copied into the journal, so that taking the trial
// back writes back those few cards instead of copying and comparing the whole of play. Reading
// through a const reference notes nothing.
//
// Journals nest, each taken back or closed before the one around it. A card that was handed out
// for change before a journal opened and is changed while it is open must be noted by hand
// (`Note`): the journal cannot see it.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/play_index.h"
#include "engine/model/records.h"

namespace dv {

class PlayList {
  public:
    PlayList() = default;
    PlayList(StableList<Card> cards) : cards_(std::move(cards)) { IndexSlots(); }
    PlayList(const PlayList& other);
    PlayList(PlayList&& other);
    ~PlayList() { DropIndex(); }
    PlayList& operator=(const PlayList& other);
    PlayList& operator=(PlayList&& other);
    PlayList& operator=(StableList<Card> cards);

    int size() const { return static_cast<int>(slots_.size()); }
    bool empty() const { return slots_.empty(); }
    bool Has(long long i) const { return i >= 1 && i <= size(); }

    const Card& operator[](long long i) const { return *slots_[Checked(i)]; }
    Card& operator[](long long i) {
        Card& card = *slots_[Checked(i)];
        if (watched_) HandOut(i);
        return card;
    }

    auto begin() const { return cards_.begin(); }
    auto end() const { return cards_.end(); }
    auto begin() {
        if (watched_) HandOutAll();
        return cards_.begin();
    }
    auto end() { return cards_.end(); }

    int PushBack(Card card) {
        cards_.PushBack(std::move(card));
        slots_.push_back(&cards_.raw().back());
        if (indexed_) Index().Added();
        return size();
    }
    void Resize(int count);
    void Clear() { Resize(0); }

    const StableList<Card>& Cards() const { return cards_; }
    operator const StableList<Card>&() const { return cards_; }
    friend bool operator==(const PlayList& a, const PlayList& b) { return a.cards_ == b.cards_; }

    // Opens a journal; returns its depth (1 for the outermost).
    int OpenJournal();
    // Puts play back as it was when the innermost journal opened and closes it. Slots added since
    // stay, free, so that the numbering of play never shrinks under a caller holding a number.
    void TakeBack();
    // Closes the innermost journal and keeps play as it is; the journal around it, if any, takes
    // over what it noted.
    void CloseJournal();
    int JournalDepth() const { return depth_; }

    // Copies slot i into the innermost journal unless it holds it already.
    void Note(long long i);

    // Whether walks over play go by an index of its cards (see play_index.h): a crowded board
    // gets one here, and a small one is looked at whole.
    bool IndexIfCrowded() {
        if (indexed_) return true;
        if (size() < PlayIndex::LiveFrom()) return false;
        BuildIndex();
        return true;
    }
    // On an indexed board, the first slot from `from` to `last` whose card's sign meets `signs`,
    // or 0.
    int NextToLook(uint64_t signs, int from, int last) { return Index().Next(signs, from, last); }
    // On an indexed board, whether a card from `from` to `last` is active.
    bool AnyActive(int from, int last) { return Index().Next(PlayIndex::kActive, from, last) != 0; }

  private:
    struct Journal {
        int openSize = 0;
        std::vector<int> notedSlots;  // noted, in order
        std::vector<Card> saved;      // saved[k] is slot notedSlots[k] as it was; kept for reuse
        std::vector<char> noted;      // by slot number
        void Forget();
    };

    void NoteAll();
    void HandOut(long long i);
    void HandOutAll();
    void Watch() { watched_ = depth_ > 0 || indexed_; }
    PlayIndex& Index() const { return *PlayIndex::Of(this); }
    void BuildIndex();
    void DropIndex();
    // Slot i is slot i - 1 of the index. Play is indexed and counted all the time, and finding an
    // element of a deque, or its size, costs several times a look into a vector.
    void IndexSlots();
    std::size_t Checked(long long i) const {
        if (!Has(i)) OutOfRange(i);
        return static_cast<std::size_t>(i - 1);
    }
    [[noreturn]] static void OutOfRange(long long i);

    StableList<Card> cards_;
    std::vector<Card*> slots_;       // where each card of cards_ is; growth never moves them
    std::vector<Journal> journals_;  // the first depth_ are open; the others kept for reuse
    int depth_ = 0;
    // The index is kept beside the list (PlayIndex::Of), which stays as small as it was.
    bool indexed_ = false;  // a crowded board's
    bool watched_ = false;  // a journal is open or an index kept
};

}  // namespace dv
