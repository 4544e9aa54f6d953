// Powers of one base remembered while the base stays the same. The equations of state
// are evaluated many times at the same variables: the six derivatives of one state,
// and the density searches and the saturation iteration along one isotherm (fixed
// tau, a new delta at each step). Each power is computed once per base, on first use:
// an integer exponent by repeated squaring in extended precision, rounded once (so the
// correctly rounded power, as std::pow gives it, in all but rare near-halfway cases),
// any other exponent by std::pow.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace kelvane {

// x^e for the N exponents of a fixed list; a power is asked for by its slot in the
// list.
template <int N>
class PowerTable {
public:
    explicit constexpr PowerTable(const std::array<double, N>& exponents) : exponents_(exponents) {}

    // Makes x the base; the powers of the previous base are forgotten unless x is the
    // same number (compared bit for bit).
    void Use(double x) {
        const uint64_t bits = std::bit_cast<uint64_t>(x);
        if (bits == base_ && generation_ != 0) return;
        base_ = bits;
        value_ = x;
        if (++generation_ == 0) {  // wrapped: forget every stamp
            stamps_.fill(0);
            generation_ = 1;
        }
    }
    bool Holds(double x) const { return generation_ != 0 && std::bit_cast<uint64_t>(x) == base_; }

    double operator()(int slot) {
        if (stamps_[slot] != generation_) {
            const double e = exponents_[slot];
            powers_[slot] = Power(value_, e);
            stamps_[slot] = generation_;
        }
        return powers_[slot];
    }

    // x^e: by squaring and multiplying for an integer |e| <= 64 (1/x^|e| for e < 0),
    // else std::pow. x = 0 gives what std::pow gives: 0 for e > 0, 1 for e = 0 and
    // +inf for e < 0.
    static double Power(double x, double e) {
        const int k = static_cast<int>(e);
        if (static_cast<double>(k) != e || k > 64 || k < -64) return std::pow(x, e);
        unsigned m = static_cast<unsigned>(k < 0 ? -k : k);
        long double result = 1, base = x;
        while (m != 0) {
            if (m & 1u) result *= base;
            m >>= 1;
            if (m != 0) base *= base;
        }
        return static_cast<double>(k < 0 ? 1 / result : result);
    }

private:
    std::array<double, N> exponents_;
    uint64_t base_ = 0;
    double value_ = 0;
    uint32_t generation_ = 0;
    std::array<uint32_t, N> stamps_{};
    std::array<double, N> powers_{};
};

// Exponents kMin, kMin + 1, ..., kMax as a list for PowerTable; slot of k is k - kMin.
template <int kMin, int kMax>
constexpr std::array<double, kMax - kMin + 1> IntegerExponents() {
    std::array<double, kMax - kMin + 1> e{};
    for (int k = kMin; k <= kMax; ++k) e[k - kMin] = k;
    return e;
}

// A few tables for alternating bases (a state's tau next to the fixed reference
// temperatures of a transport correlation): Select returns the table that holds x,
// or makes the least recently made one hold it.
template <int N, int kWays>
class PowerCache {
public:
    explicit PowerCache(const std::array<double, N>& exponents)
        : tables_(Fill(exponents, std::make_integer_sequence<int, kWays>())) {}

    PowerTable<N>& Select(double x) {
        for (PowerTable<N>& t : tables_)
            if (t.Holds(x)) return t;
        PowerTable<N>& t = tables_[next_];
        next_ = (next_ + 1) % kWays;
        t.Use(x);
        return t;
    }

private:
    template <int... I>
    static std::array<PowerTable<N>, kWays> Fill(const std::array<double, N>& e, std::integer_sequence<int, I...>) {
        return {((void)I, PowerTable<N>(e))...};
    }
    std::array<PowerTable<N>, kWays> tables_;
    int next_ = 0;
};

// Results of a function of one variable for the last kWays arguments (compared bit for
// bit), for values that are costly to build and asked for again and again at a few
// arguments (the tau factors of a temperature). Get returns the remembered entry of x,
// or fills the oldest entry with fill(x, entry) first.
template <typename T, int kWays>
class RecentResults {
public:
    template <typename Fill>
    T& Get(double x, Fill&& fill) {
        const uint64_t bits = std::bit_cast<uint64_t>(x);
        for (Entry& e : entries_)
            if (e.valid && e.bits == bits) return e.value;
        Entry& e = entries_[next_];
        next_ = (next_ + 1) % kWays;
        e.bits = bits;
        e.valid = true;
        fill(x, e.value);
        return e.value;
    }

private:
    struct Entry {
        uint64_t bits = 0;
        bool valid = false;
        T value;
    };
    std::array<Entry, kWays> entries_{};
    int next_ = 0;
};

}  // namespace kelvane
