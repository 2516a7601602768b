#include "engine/model/random.h"

#include <cstring>

namespace dv {
namespace {

constexpr uint64_t kStep = 0x9E3779B97F4A7C15ull;

}  // namespace

void Rng::Seed(double seed) {
    if (seed == 0) seed = 0;  // -0 and 0 give one sequence
    uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    state_ = bits ^ 0x9E3779B97F4A7C15ull;
}

double Rng::Draw() {
    // splitmix64
    ++draws_;
    uint64_t z = (state_ += kStep);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

void Rng::Skip(uint64_t n) {
    // Each draw adds one step to the state before mixing it, so n draws add n steps.
    state_ += n * kStep;
    draws_ += n;
}

}  // namespace dv
