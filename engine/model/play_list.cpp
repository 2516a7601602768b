#include "engine/model/play_list.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace dv {

PlayList& PlayList::operator=(StableList<Card> cards) {
    if (depth_ > 0) NoteAll();
    cards_ = std::move(cards);
    return *this;
}

void PlayList::Resize(int count) {
    // A slot dropped and added again inside a trial still comes back as it was.
    if (depth_ > 0 && count < size()) NoteAll();
    cards_.Resize(count);
}

void PlayList::Journal::Forget() {
    for (int slot : notedSlots)
        noted[slot] = 0;
    notedSlots.clear();
}

int PlayList::OpenJournal() {
    if (static_cast<int>(journals_.size()) == depth_) journals_.emplace_back();
    Journal& journal = journals_[depth_];
    journal.openSize = size();
    if (static_cast<int>(journal.noted.size()) <= journal.openSize)
        journal.noted.resize(journal.openSize + 1, 0);
    return ++depth_;
}

void PlayList::Note(long long i) {
    Journal& journal = journals_[depth_ - 1];
    if (i < 1 || i > journal.openSize || journal.noted[i]) return;
    journal.noted[i] = 1;
    const std::size_t k = journal.notedSlots.size();
    journal.notedSlots.push_back(static_cast<int>(i));
    if (journal.saved.size() == k) journal.saved.emplace_back();
    // Copied into the room of an earlier saved card.
    journal.saved[k] = cards_[i];
}

void PlayList::NoteAll() {
    const int last = std::min(size(), journals_[depth_ - 1].openSize);
    for (int i = 1; i <= last; ++i)
        Note(i);
}

void PlayList::TakeBack() {
    if (depth_ == 0) throw std::logic_error("no journal of play is open");
    Journal& journal = journals_[depth_ - 1];
    for (std::size_t k = 0; k < journal.notedSlots.size(); ++k) {
        const int slot = journal.notedSlots[k];
        // One move: the texts' room it leaves in the journal is reused by the next copy there.
        if (slot <= size()) cards_[slot] = std::move(journal.saved[k]);
    }
    journal.Forget();
    for (int i = journal.openSize + 1; i <= size(); ++i)
        cards_[i] = Card{};
    --depth_;
}

void PlayList::CloseJournal() {
    if (depth_ == 0) throw std::logic_error("no journal of play is open");
    Journal& inner = journals_[depth_ - 1];
    --depth_;
    if (depth_ > 0) {
        Journal& outer = journals_[depth_ - 1];
        for (std::size_t k = 0; k < inner.notedSlots.size(); ++k) {
            const int slot = inner.notedSlots[k];
            if (slot > outer.openSize || outer.noted[slot]) continue;
            outer.noted[slot] = 1;
            const std::size_t n = outer.notedSlots.size();
            outer.notedSlots.push_back(slot);
            if (outer.saved.size() == n) outer.saved.emplace_back();
            std::swap(outer.saved[n], inner.saved[k]);
        }
    }
    inner.Forget();
}

}  // namespace dv
