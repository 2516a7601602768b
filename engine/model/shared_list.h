#pragma once
// A list numbered from 1, like `List`, whose copies share their elements until one of them is
// changed. Cards are copied whole for every trial run and every journal entry, while their trait
// names and compiled scripts hardly ever change: copying those costs a count, not every string.
//
// Reading through a const list never copies. Anything that may change the elements (the non-const
// index, Resize, PushBack, raw) first gives this list elements of its own when they are shared, so
// a reference it hands out must not be written through after the list has been copied since.

#include <cstddef>
#include <initializer_list>
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
    SharedList() = default;
    explicit SharedList(int count) {
        if (count > 0) items_ = std::make_shared<std::vector<T>>(static_cast<std::size_t>(count));
    }
    SharedList(std::initializer_list<T> items) {
        if (items.size() > 0) items_ = std::make_shared<std::vector<T>>(items);
    }
    SharedList(List<T> list) {
        if (!list.empty()) items_ = std::make_shared<std::vector<T>>(std::move(list.raw()));
    }

    int size() const { return items_ ? static_cast<int>(items_->size()) : 0; }
    bool empty() const { return size() == 0; }
    bool Has(long long i) const { return i >= 1 && i <= size(); }

    const T& operator[](long long i) const { return (*items_)[Checked(i)]; }
    T& operator[](long long i) {
        const std::size_t at = Checked(i);
        return Own()[at];
    }

    // Grows or shrinks to count elements, keeping the first ones; the same size changes nothing.
    void Resize(int count) {
        const std::size_t wanted = count < 0 ? 0 : static_cast<std::size_t>(count);
        if (wanted == static_cast<std::size_t>(size())) return;
        Own().resize(wanted);
    }
    int PushBack(T item) {
        Own().push_back(std::move(item));
        return size();
    }
    void Clear() { items_.reset(); }

    auto begin() const { return raw().begin(); }
    auto end() const { return raw().end(); }

    const std::vector<T>& raw() const { return items_ ? *items_ : Empty(); }
    std::vector<T>& raw() { return Own(); }

    friend bool operator==(const SharedList& a, const SharedList& b) {
        return a.items_ == b.items_ || a.raw() == b.raw();
    }

  private:
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
    static const std::vector<T>& Empty() {
        static const std::vector<T> none;
        return none;
    }

    std::shared_ptr<std::vector<T>> items_;
};

}  // namespace dv
