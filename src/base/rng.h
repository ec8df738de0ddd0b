#pragma once

#include <cmath>
#include <cstdint>

namespace morvane {

// An integer draw floor(a u + b) for a draw u of the generator, computed in double. u carries 24
// bits, so for |a| and |b| below 2^29 (every integer draw of the simulation) the product and the
// sum are exact and the result is the exact floor: single precision would round a u + b up to the
// next integer for a few u just below it. The draws compared in single precision on purpose (the
// distribution fill's and the roulette's running sums) do not come through here.
inline std::int64_t drawInteger(float u, double a, double b) {
    return static_cast<std::int64_t>(std::floor(a * static_cast<double>(u) + b));
}

// The one uniform generator of the simulation: xoshiro256** (Blackman and Vigna), seeded through
// SplitMix64 from a 64-bit seed. Its sequence is fixed by the algorithm alone, so a seeded run
// gives the same draws with every compiler and standard library.
//
// uniform() returns u in [0, 1) as 24 random bits times 2^-24: exactly representable in a float and
// never 1.0, so floor(n * u) always stays below n.
//
// The original program reseeded from the seconds since midnight before every generation, fill and
// start; at hundreds of generations per second that repeats seeds. Here the generator is seeded
// once (from the clock, or from the user's seed) and reseedFromClock() continues the stream
// instead: the call marks the places where the design reseeds, and a seeded run stays reproducible.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) { seed64(seed); }
    // Seeded once from a high-resolution clock.
    Rng();

    void seed64(std::uint64_t seed);

    // Where the design reseeds from the clock: the stream simply continues.
    void reseedFromClock() {}

    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }
    // u in [0, 1), 24 bits of resolution.
    float uniform() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
    // Whether the next u is at most 0.5: uniform() <= 0.5f, read on the bits, as u is exact (its
    // 24 bits at most 2^23, the whole draw below (2^23 + 1) 2^40).
    static constexpr std::uint64_t kAtMostHalfBelow = ((std::uint64_t{1} << 23) + 1) << 40;
    bool atMostHalf() { return next() < kAtMostHalfBelow; }
    // floor(a u + b) for the next u: every integer draw.
    std::int64_t integer(double a, double b) { return drawInteger(uniform(), a, b); }
    // floor(n u): a whole number 0..n-1 for n > 0.
    int below(int n) { return static_cast<int>(integer(n, 0.0)); }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t s_[4]{};
};

// Coin tosses of a generator drawn 64 at a time, for a loop whose generator would not stay in
// registers: bit 63 - t of a block is what the t-th atMostHalf() call would give (the first toss in
// the highest bit), and settle(taken) leaves the generator exactly after the tosses taken (every
// block but the last whole, `taken` of the last), drawing again from where the last block began.
// Between a block and settle() the generator itself must not be drawn from; after settle() it may
// be.
class CoinTosses {
  public:
    explicit CoinTosses(Rng& rng) : rng_(rng), end_(rng) {}
    std::uint64_t block() {
        if (!open_) end_ = rng_;  // the generator may have been drawn from since it was settled
        start_ = end_;
        open_ = true;
        Rng g = end_;  // in registers through the block
        std::uint64_t bits = 0;
        for (int t = 0; t < 64; ++t)
            bits = (bits << 1) + (g.next() < Rng::kAtMostHalfBelow ? 1 : 0);
        end_ = g;
        return bits;
    }
    void settle(int taken) {
        if (!open_) return;
        rng_ = start_;
        for (int t = 0; t < taken; ++t) rng_.atMostHalf();
        end_ = rng_;
        open_ = false;
    }

  private:
    Rng& rng_;
    Rng start_{0}, end_;  // the generator where the last block began and where it ends
    bool open_ = false;
};

}  // namespace morvane
