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

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/list.h"

namespace dv {

template <class T>
class SharedList {
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
        if (size_ > 0) items_ = std::make_shared<std::vector<T>>(items);
    }
    SharedList(List<T> list) : size_(list.size()) {
        if (size_ > 0) items_ = std::make_shared<std::vector<T>>(std::move(list.raw()));
    }

    int size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // How many elements are held; every one after them reads empty, so a loop that passes over
    // empty elements need go no further.
    int StoredSize() const { return items_ ? static_cast<int>(items_->size()) : 0; }
    bool Has(long long i) const { return i >= 1 && i <= size_; }

    const T& operator[](long long i) const { return At(Checked(i)); }
    T& operator[](long long i) {
        const std::size_t at = Checked(i);
        std::vector<T>& items = Own();
        if (items.size() <= at) items.resize(at + 1);
        return items[at];
    }

    // Grows or shrinks to count elements, keeping the first ones.
    void Resize(int count) {
        const int wanted = count < 0 ? 0 : count;
        if (items_ && static_cast<int>(items_->size()) > wanted)
            Own().resize(static_cast<std::size_t>(wanted));
        size_ = wanted;
    }
    int PushBack(T item) {
        std::vector<T>& items = Own();
        items.resize(static_cast<std::size_t>(size_));
        items.push_back(std::move(item));
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
        if (items_ && k < items_->size()) return (*items_)[k];
        static const T kEmpty{};
        return kEmpty;
    }
    std::size_t Checked(long long i) const {
        if (!Has(i)) throw std::out_of_range("list index " + std::to_string(i));
        return static_cast<std::size_t>(i - 1);
    }
    std::vector<T>& Own() {
        if (!items_) {
            items_ = std::make_shared<std::vector<T>>();
        } else if (items_.use_count() > 1) {
            items_ = std::make_shared<std::vector<T>>(*items_);
        }
        return *items_;
    }

    std::shared_ptr<std::vector<T>> items_;  // the first elements: never more than size_
    int size_ = 0;
};

}  // namespace dv
