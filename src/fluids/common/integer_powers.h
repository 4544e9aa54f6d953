// Integer powers of one base, all computed when the base changes and kept while it
// stays the same.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace kelvane {

// The powers v^k of one base v for integer k in a fixed range, all computed when the
// base changes and kept while it stays the same. An equation of state is evaluated
// many times at the same variables (six derivatives per state, the iterations at a
// fixed temperature). The powers are built outwards from v^0 = 1 by one extended-
// precision multiplication each (by v, or by 1/v below zero) and rounded once to
// double: 64 bits of mantissa keep the error of the longest chain (58 steps) near
// 1e-18, so each power is the correctly rounded one, what std::pow returns, in all but
// rare near-halfway cases, at a few instructions instead of a call of some hundred.
class IntegerPowers {
public:
    static constexpr int kMin = -64, kMax = 64;
    // Makes x the base with the powers lo..hi (kMin <= lo <= 0 <= hi <= kMax).
    void Use(double x, int lo, int hi) {
        const uint64_t bits = std::bit_cast<uint64_t>(x);
        if (valid_ && bits == base_ && lo >= low_ && hi <= high_) return;
        valid_ = true;
        base_ = bits;
        low_ = lo;
        high_ = hi;
        double* zero = &powers_[-kMin];
        zero[0] = 1;
        long double p = 1;
        for (int k = 1; k <= hi; ++k) {
            p *= x;
            zero[k] = static_cast<double>(p);
        }
        if (lo < 0) {
            const long double inverse = 1 / static_cast<long double>(x);
            p = 1;
            for (int k = -1; k >= lo; --k) {
                p *= inverse;
                zero[k] = static_cast<double>(p);
            }
        }
    }
    double operator()(int k) const { return powers_[k - kMin]; }

private:
    bool valid_ = false;
    uint64_t base_ = 0;
    int low_ = 0, high_ = 0;
    std::array<double, kMax - kMin + 1> powers_{};
};

}  // namespace kelvane
