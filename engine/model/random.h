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

  private:
    uint64_t state_ = 0;
};

}  // namespace dv
