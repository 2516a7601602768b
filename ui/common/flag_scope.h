#pragma once
// A flag that a window command sets for a part of its work and puts back as it found it, on every
// way out of that part, an error included: one fault must not leave a list or a form locked.

#include <cstdint>

#include "engine/model/state.h"

namespace dv::ui {

template <class T>
class FlagScope {
  public:
    FlagScope(T& flag, T value) : flag_(flag), found_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = found_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    T& flag_;
    T found_;
};

// The same for a flag of the one state, looked up again at the end: the state may have been
// replaced meanwhile.
class StateFlagScope {
  public:
    StateFlagScope(uint8_t State::*flag, uint8_t value) : flag_(flag), found_(St().*flag) {
        St().*flag_ = value;
    }
    ~StateFlagScope() { St().*flag_ = found_; }
    StateFlagScope(const StateFlagScope&) = delete;
    StateFlagScope& operator=(const StateFlagScope&) = delete;

  private:
    uint8_t State::*flag_;
    uint8_t found_;
};

// ListBusy is 1 while a command refills a card list or chooses an entry of it itself: the
// designer's card choice then neither commits the shown card nor loads another.
class ListBusyScope : public StateFlagScope {
  public:
    ListBusyScope() : StateFlagScope(&State::ListBusy, 1) {}
};

}  // namespace dv::ui
