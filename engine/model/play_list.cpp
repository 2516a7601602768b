#include "engine/model/play_list.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace dv {

// A copy's index points into its own cards; a moved deque keeps its elements where they are, but
// the index is built anew all the same rather than relied on. A copy or a moved list starts without
// an index of its walks: it is built again when a walk asks.
PlayList::PlayList(const PlayList& other)
    : cards_(other.cards_), journals_(other.journals_), depth_(other.depth_) {
    IndexSlots();
}

PlayList::PlayList(PlayList&& other)
    : cards_(std::move(other.cards_)), journals_(std::move(other.journals_)), depth_(other.depth_) {
    IndexSlots();
    other.IndexSlots();
}

PlayList& PlayList::operator=(const PlayList& other) {
    if (this == &other) return *this;
    cards_ = other.cards_;
    journals_ = other.journals_;
    depth_ = other.depth_;
    IndexSlots();
    return *this;
}

PlayList& PlayList::operator=(PlayList&& other) {
    if (this == &other) return *this;
    cards_ = std::move(other.cards_);
    journals_ = std::move(other.journals_);
    depth_ = other.depth_;
    IndexSlots();
    other.IndexSlots();
    return *this;
}

PlayList& PlayList::operator=(StableList<Card> cards) {
    if (depth_ > 0) NoteAll();
    cards_ = std::move(cards);
    IndexSlots();
    return *this;
}

void PlayList::Resize(int count) {
    // A slot dropped and added again inside a trial still comes back as it was.
    if (depth_ > 0 && count < size()) NoteAll();
    cards_.Resize(count);
    IndexSlots();
}

void PlayList::IndexSlots() {
    DropIndex();
    slots_.clear();
    for (Card& card : cards_)
        slots_.push_back(&card);
}

void PlayList::DropIndex() {
    if (indexed_) PlayIndex::Drop(this);
    indexed_ = false;
    Watch();
}

void PlayList::HandOut(long long i) {
    if (depth_ > 0) Note(i);
    if (indexed_) Index().HandedOut(static_cast<int>(i));
}

void PlayList::HandOutAll() {
    if (depth_ > 0) NoteAll();
    if (indexed_) Index().HandedOutAll();
}

void PlayList::BuildIndex() {
    PlayIndex::Make(this, slots_);
    indexed_ = true;
    Watch();
}

void PlayList::OutOfRange(long long i) {
    throw std::out_of_range("list index " + std::to_string(i));
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
    ++depth_;
    Watch();
    return depth_;
}

void PlayList::Note(long long i) {
    Journal& journal = journals_[depth_ - 1];
    if (i < 1 || i > journal.openSize || journal.noted[i]) return;
    journal.noted[i] = 1;
    const std::size_t k = journal.notedSlots.size();
    journal.notedSlots.push_back(static_cast<int>(i));
    if (journal.saved.size() == k) journal.saved.emplace_back();
    // Copied into the room of an earlier saved card.
    journal.saved[k] = *slots_[i - 1];
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
        if (slot > size()) continue;
        *slots_[slot - 1] = std::move(journal.saved[k]);
        if (indexed_) Index().Replaced(slot);
    }
    journal.Forget();
    for (int i = journal.openSize + 1; i <= size(); ++i) {
        *slots_[i - 1] = Card{};
        if (indexed_) Index().Replaced(i);
    }
    --depth_;
    Watch();
}

void PlayList::CloseJournal() {
    if (depth_ == 0) throw std::logic_error("no journal of play is open");
    Journal& inner = journals_[depth_ - 1];
    --depth_;
    Watch();
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
