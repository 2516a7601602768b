#pragma once
// The cards in play. A trial that may disturb play opens a journal on it: while one is open,
// every card handed out for change is first copied into the journal, so that taking the trial
// back writes back those few cards instead of copying and comparing the whole of play. Reading
// through a const reference notes nothing.
//
// Journals nest, each taken back or closed before the one around it. A card that was handed out
// for change before a journal opened and is changed while it is open must be noted by hand
// (`Note`): the journal cannot see it.

#include <utility>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/records.h"

namespace dv {

class PlayList {
  public:
    PlayList() = default;
    PlayList(StableList<Card> cards) : cards_(std::move(cards)) {}
    PlayList& operator=(StableList<Card> cards);

    int size() const { return cards_.size(); }
    bool empty() const { return cards_.empty(); }
    bool Has(long long i) const { return cards_.Has(i); }

    const Card& operator[](long long i) const { return cards_[i]; }
    Card& operator[](long long i) {
        Card& card = cards_[i];
        if (depth_ > 0) Note(i);
        return card;
    }

    auto begin() const { return cards_.begin(); }
    auto end() const { return cards_.end(); }
    auto begin() {
        if (depth_ > 0) NoteAll();
        return cards_.begin();
    }
    auto end() { return cards_.end(); }

    int PushBack(Card card) { return cards_.PushBack(std::move(card)); }
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

  private:
    struct Journal {
        int openSize = 0;
        std::vector<int> notedSlots;  // noted, in order
        std::vector<Card> saved;      // saved[k] is slot notedSlots[k] as it was; kept for reuse
        std::vector<char> noted;      // by slot number
        void Forget();
    };

    void NoteAll();

    StableList<Card> cards_;
    std::vector<Journal> journals_;  // the first depth_ are open; the others kept for reuse
    int depth_ = 0;
};

}  // namespace dv
