// The generator's own random numbers: the same seed gives the same catalogue on every machine.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace tallywick {

// xoshiro256** seeded through splitmix64. The standard library's distributions differ between
// library versions, so every bounded draw is made here.
class Prng {
public:
    explicit Prng(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // A draw from 0 to bound - 1, without the bias of a plain modulo.
    int below(int bound) {
        const std::uint64_t n = static_cast<std::uint64_t>(bound);
        const std::uint64_t limit = UINT64_MAX - UINT64_MAX % n;
        std::uint64_t x = next();
        while (x >= limit) {
            x = next();
        }
        return static_cast<int>(x % n);
    }

    template <typename T> void shuffle(std::vector<T>& items) {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i) {
            std::swap(items[i], items[below(i + 1)]);
        }
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4];
};

} // namespace tallywick
