#pragma once
// A list numbered from 1, like `List`, whose copies share their elements until one of them is
// changed. Cards are copied whole for every trial run and every journal entry, while their trait
// names and compiled scripts hardly ever change: copying those costs a count, not every string.
// Only the elements up to the last one ever written are stored; the ones after it read as empty
// (a card's twenty trait slots mostly are).
//
// Reading through a const list never copies. Anything that may change the elements (the non-const
// index, a shrinking Resize, PushBack) first gives this list elements of its own when they are
// shared, so a reference it hands out must not be written through after the list has been copied
// since.
//
// An element type may be stored each element behind a count of its own (`ListSlot`): a write
// to a shared list then copies only pointers and the element written, not every element.

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/model/list.h"

namespace dv {

// How a list stores an element: by default the element itself.
template <class T>
struct ListSlot {
    using Slot = T;
    static const T* Read(const Slot& slot) { return &slot; }
    static T& Write(Slot& slot) { return slot; }
    static Slot Make(T item) { return item; }
};

// Each element behind a count of its own, copied only when a list that shares it writes it. For
// large elements that are written one at a time while the lists holding them are copied whole.
template <class T>
struct SharedSlot {
    using Slot = std::shared_ptr<T>;
    static const T* Read(const Slot& slot) { return slot.get(); }
    static T& Write(Slot& slot) {
        if (!slot) {
            slot = std::make_shared<T>();
        } else if (slot.use_count() > 1) {
            slot = std::make_shared<T>(*slot);
        }
        return *slot;
    }
    static Slot Make(T item) { return std::make_shared<T>(std::move(item)); }
};

template <class T>
class SharedList {
    using Slots = ListSlot<T>;
    using Slot = typename Slots::Slot;

  public:
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator() = default;
        const_iterator(const SharedList* list, int at) : list_(list), at_(at) {}
        const T& operator*() const { return list_->At(at_); }
        const T* operator->() const { return &list_->At(at_); }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++at_;
            return was;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.at_ == b.at_;
        }

      private:
        const SharedList* list_ = nullptr;
        int at_ = 0;
    };

    SharedList() = default;
    explicit SharedList(int count) : size_(count < 0 ? 0 : count) {}
    SharedList(std::initializer_list<T> items) : size_(static_cast<int>(items.size())) {
        if (size_ == 0) return;
        items_ = std::make_shared<std::vector<Slot>>();
        items_->reserve(items.size());
        for (const T& item : items)
            items_->push_back(Slots::Make(item));
    }
    SharedList(List<T> list) : size_(list.size()) {
        if (size_ == 0) return;
        if constexpr (std::is_same_v<Slot, T>) {
            items_ = std::make_shared<std::vector<T>>(std::move(list.raw()));
        } else {
            items_ = std::make_shared<std::vector<Slot>>();
            items_->reserve(list.raw().size());
            for (T& item : list.raw())
                items_->push_back(Slots::Make(std::move(item)));
        }
    }

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // How many elements are held; every one after them reads empty, so a loop that passes over
    // empty elements need go no further.
    int StoredSize() const { return items_ ? static_cast<int>(items_->size()) : 0; }
    bool Has(long long i) const { return i >= 1 && i <= size_; }
    // Whether a held element passes the test; for a test that no empty element passes, whether
    // any element does, without reading the elements one index at a time.
    template <class Test>
    bool AnyHeld(Test test) const {
        if (!items_) return false;
        for (const Slot& slot : *items_) {
            const T* item = Slots::Read(slot);
            if (item && test(*item)) return true;
        }
        return false;
    }

    const T& operator[](long long i) const { return At(Checked(i)); }
    T& operator[](long long i) {
        const std::size_t at = Checked(i);
        std::vector<Slot>& items = Own();
        if (items.size() <= at) items.resize(at + 1);
        return Slots::Write(items[at]);
    }

    // Grows or shrinks to count elements, keeping the first ones.
    void Resize(int count) {
        const int wanted = count < 0 ? 0 : count;
        if (items_ && static_cast<int>(items_->size()) > wanted)
            Own().resize(static_cast<std::size_t>(wanted));
        size_ = wanted;
    }
    int PushBack(T item) {
        std::vector<Slot>& items = Own();
        items.resize(static_cast<std::size_t>(size_));
        items.push_back(Slots::Make(std::move(item)));
        return ++size_;
    }
    void Clear() {
        items_.reset();
        size_ = 0;
    }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

    friend bool operator==(const SharedList& a, const SharedList& b) {
        if (a.size_ != b.size_) return false;
        if (a.items_ == b.items_) return true;
        for (int k = 0; k < a.size_; ++k)
            if (!(a.At(k) == b.At(k))) return false;
        return true;
    }

  private:
    // Element k counted from 0.
    const T& At(std::size_t k) const {
        if (items_ && k < items_->size()) {
            if (const T* item = Slots::Read((*items_)[k])) return *item;
        }
        return Empty();
    }
    // Kept out of the element reads, which are short enough to be written in where they stand.
    static const T& Empty() {
        static const T kEmpty{};
        return kEmpty;
    }
    std::size_t Checked(long long i) const {
        if (!Has(i)) OutOfRange(i);
        return static_cast<std::size_t>(i - 1);
    }
    [[noreturn]] static void OutOfRange(long long i) {
        throw std::out_of_range("list index " + std::to_string(i));
    }
    std::vector<Slot>& Own() {
        if (!items_) {
            items_ = std::make_shared<std::vector<Slot>>();
        } else if (items_.use_count() > 1) {
            items_ = std::make_shared<std::vector<Slot>>(*items_);
        }
        return *items_;
    }

    std::shared_ptr<std::vector<Slot>> items_;  // the first elements: never more than size_
    int size_ = 0;
};

}  // namespace dv
