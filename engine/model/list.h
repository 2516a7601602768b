#pragma once
// Card lists and most record lists number their elements from 1, so that a card number or a
// slot number means the same thing everywhere. Indexing outside 1..size() throws, which the
// failure guard of the calling procedure turns into its "Error in" message.

#include <cstddef>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace dv {

template <class T, class Storage>
class BasicList {
  public:
    BasicList() = default;
    explicit BasicList(int count) { Resize(count); }
    BasicList(std::initializer_list<T> items) : items_(items) {}

    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }
    bool Has(long long i) const { return i >= 1 && i <= size(); }

    // The storage's own reference types, so that a List<bool> hands out its bit proxies.
    typename Storage::reference operator[](long long i) { return items_[Checked(i)]; }
    typename Storage::const_reference operator[](long long i) const { return items_[Checked(i)]; }

    // Grows or shrinks to count elements, keeping the first ones.
    void Resize(int count) { items_.resize(count < 0 ? 0 : static_cast<std::size_t>(count)); }
    int PushBack(T item) {
        items_.push_back(std::move(item));
        return size();
    }
    void Clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    Storage& raw() { return items_; }
    const Storage& raw() const { return items_; }

    friend bool operator==(const BasicList& a, const BasicList& b) { return a.items_ == b.items_; }

  private:
    std::size_t Checked(long long i) const {
        if (!Has(i)) throw std::out_of_range("list index " + std::to_string(i));
        return static_cast<std::size_t>(i - 1);
    }
    Storage items_;
};

// Growth never moves the elements already held: references into it stay valid while it grows.
template <class T>
using StableList = BasicList<T, std::deque<T>>;

struct Card;

// How a List holds its elements: side by side, but cards each in a place of its own, as in a
// StableList. A run that changes a card of a list (the collection, a stored deck) works on the card
// itself while its commands add cards to that very list (a booster adds to the collection).
template <class T>
struct ListStorage {
    using Type = std::vector<T>;
};
template <>
struct ListStorage<Card> {
    using Type = std::deque<Card>;
};

template <class T>
using List = BasicList<T, typename ListStorage<T>::Type>;

}  // namespace dv
