#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <random>

namespace kvt {

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
    std::mt19937_64 engine_;
};

}  // namespace kvt
