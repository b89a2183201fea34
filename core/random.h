#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <random>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kvt {

// The 64-bit Mersenne Twister, number for number std::mt19937_64, with the
// same text form as the standard library's: the 312 state words, each
// followed by a space, then the position. Refilling the state, which a
// shuffle does every 312 draws, works on two words at a time where the
// processor can; the standard library's refill did one, and was a twelfth
// of a simulation's time.
class MersenneTwister64 {
public:
    static constexpr int kWords = 312;

    explicit MersenneTwister64(std::uint64_t seed) {
        state_[0] = seed;
        for (int i = 1; i < kWords; ++i)
            state_[i] = 6364136223846793005ull * (state_[i - 1] ^ (state_[i - 1] >> 62)) + static_cast<std::uint64_t>(i);
        next_ = kWords;
    }

    std::uint64_t operator()() {
        if (next_ >= kWords) Refill();
        std::uint64_t z = state_[next_++];
        z ^= (z >> 29) & 0x5555555555555555ull;
        z ^= (z << 17) & 0x71d67fffeda60000ull;
        z ^= (z << 37) & 0xfff7eee000000000ull;
        z ^= z >> 43;
        return z;
    }

    friend std::ostream& operator<<(std::ostream& out, const MersenneTwister64& mt) {
        const std::ios_base::fmtflags flags = out.flags(std::ios_base::dec | std::ios_base::fixed | std::ios_base::left);
        const char fill = out.fill(' ');
        for (const std::uint64_t word : mt.state_) out << static_cast<unsigned long>(word) << ' ';
        out << mt.next_;
        out.flags(flags);
        out.fill(fill);
        return out;
    }
    friend std::istream& operator>>(std::istream& in, MersenneTwister64& mt) {
        const std::ios_base::fmtflags flags = in.flags(std::ios_base::dec | std::ios_base::skipws);
        for (std::uint64_t& word : mt.state_) {
            unsigned long value = 0;
            in >> value;
            word = value;
        }
        in >> mt.next_;
        in.flags(flags);
        return in;
    }
    bool operator==(const MersenneTwister64&) const = default;

private:
    static constexpr int kShift = 156;
    static constexpr std::uint64_t kUpper = ~0ull << 31;
    static constexpr std::uint64_t kLower = ~kUpper;
    static constexpr std::uint64_t kMatrix = 0xb5026f5aa96619e9ull;

    // state_[k] from the words k and k + 1 (wrapped) and the one `far` away.
    static std::uint64_t Twist(std::uint64_t k, std::uint64_t k1, std::uint64_t far) {
        const std::uint64_t y = (k & kUpper) | (k1 & kLower);
        return far ^ (y >> 1) ^ ((y & 1) ? kMatrix : 0);
    }

    void Refill() {
        std::uint64_t* x = state_.data();
        int k = 0;
#if defined(__SSE2__)
        // Two words at a time: word k + 1 is read before word k is written,
        // and the far words lie 156 away, out of the pair's reach.
        const auto twist2 = [x](int at, int far) {
            const __m128i upper = _mm_set1_epi64x(static_cast<long long>(kUpper));
            const __m128i one = _mm_set1_epi64x(1);
            const __m128i matrix = _mm_set1_epi64x(static_cast<long long>(kMatrix));
            const auto load = [](const std::uint64_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
            const __m128i y = _mm_or_si128(_mm_and_si128(load(x + at), upper), _mm_andnot_si128(upper, load(x + at + 1)));
            const __m128i odd = _mm_sub_epi64(_mm_setzero_si128(), _mm_and_si128(y, one));
            const __m128i twisted = _mm_xor_si128(_mm_xor_si128(load(x + far), _mm_srli_epi64(y, 1)), _mm_and_si128(odd, matrix));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(x + at), twisted);
        };
        for (; k + 1 < kWords - kShift; k += 2) twist2(k, k + kShift);
        for (; k + 2 < kWords; k += 2) twist2(k, k - (kWords - kShift));
#endif
        for (; k < kWords - kShift; ++k) x[k] = Twist(x[k], x[k + 1], x[k + kShift]);
        for (; k < kWords - 1; ++k) x[k] = Twist(x[k], x[k + 1], x[k - (kWords - kShift)]);
        x[kWords - 1] = Twist(x[kWords - 1], x[0], x[kShift - 1]);
        next_ = 0;
    }

    std::array<std::uint64_t, kWords> state_;
    unsigned long next_;
};

// The game's one random generator: seeded once, uniform on [0, 1).
class Random {
public:
    Random() : engine_(std::random_device{}()) {}
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    // A random slot of a stack of n cards: the integer part of n times Uniform().
    int Slot(int n) { return n <= 0 ? 0 : static_cast<int>(n * Uniform()); }

    // The generator's whole state as numbers, and back: a generator read
    // back goes on exactly where the written one stood.
    friend std::ostream& operator<<(std::ostream& out, const Random& r) { return out << r.engine_; }
    friend std::istream& operator>>(std::istream& in, Random& r) { return in >> r.engine_; }
    bool operator==(const Random&) const = default;

private:
    MersenneTwister64 engine_;
};

}  // namespace kvt
