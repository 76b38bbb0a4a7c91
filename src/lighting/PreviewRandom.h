#pragma once
// The preview's source of chance: a small splitmix64 generator, so that one
// seed gives the same frames on every machine and standard library.

#include <cstdint>

namespace keyloom::lighting {

class PreviewRandom {
public:
    explicit PreviewRandom(std::uint64_t seed = 0) : state_(seed) {}

    void reseed(std::uint64_t seed) { state_ = seed; }

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number in 0 .. bound - 1 (0 for a bound of 0), from the top 32 bits
    // scaled without a division.
    std::uint32_t below(std::uint32_t bound) {
        return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
    }

private:
    std::uint64_t state_;
};

}  // namespace keyloom::lighting
