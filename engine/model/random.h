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
    // Draws made since the generator was made; a read of cards replayed from memory makes as
    // many as the read it replays.
    uint64_t Draws() const { return draws_; }

  private:
    uint64_t state_ = 0;
    uint64_t draws_ = 0;
};

}  // namespace dv
