#pragma once
// The one random generator of the game: a small generator of our own, so that a seed gives the
// same sequence on every machine and every build.

#include <cstdint>

namespace dv {

class Rng {
  public:
    Rng() { Seed(0); }
    void Seed(double seed);
    // A uniform draw in [0, 1).
    double Draw();
    // Draws made so far (seeding does not start the count afresh).
    uint64_t Draws() const { return draws_; }
    // Moves on as n draws would, without making them.
    void Skip(uint64_t n);
    bool operator==(const Rng&) const = default;

  private:
    uint64_t state_ = 0;
    uint64_t draws_ = 0;
};

}  // namespace dv
