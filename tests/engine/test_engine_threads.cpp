// Calculate on several threads at once gives, for every state, the very bits of a
// serial run: all three fluids interleaved, so that each thread's caches (saturation
// of the last temperature, Helmholtz tau factors) see another order of fluids and
// temperatures than the serial run.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/calculate.h"
#include "fluids/registry.h"

using namespace kelvane;

namespace {

constexpr int kStatesPerFluid = 10000;

struct Job {
    int fluid;
    PointInput input;
};

// Each fluid's accepted range in both modes, with repeated temperatures (as in a
// table row), states inside the coexistence range and refused states; fluids in turn.
std::vector<Job> Jobs() {
    struct Range {
        double T0, T1, P0, P1, rho0, rho1;  // K, Pa, mol/m3
    } const ranges[3] = {
        {270, 2300, 1e3, 110e6, 1, 60000}, {170, 630, 1e2, 820e6, 1, 30000}, {210, 1110, 1e3, 820e6, 1, 30000}};
    std::vector<Job> jobs;
    uint64_t x = 88172645463325252ull;  // xorshift: the same states on every run
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return static_cast<double>(x >> 11) * 0x1p-53;
    };
    double T[3] = {0, 0, 0};
    for (int i = 0; i < kStatesPerFluid; ++i) {
        for (int f = 0; f < 3; ++f) {
            const Range& r = ranges[f];
            if (i % 4 == 0) T[f] = r.T0 + (r.T1 - r.T0) * next();  // four states per temperature
            Job j{f, {}};
            j.input.inputVar = i % 2;
            j.input.T = T[f];
            if (j.input.inputVar == 0)
                j.input.P = r.P0 * std::pow(r.P1 / r.P0, next());
            else
                j.input.rho = r.rho0 * std::pow(r.rho1 / r.rho0, next());
            j.input.wavelength = 400 + 300 * next();
            jobs.push_back(j);
        }
    }
    return jobs;
}

void Put(std::vector<uint64_t>& out, double x) { out.push_back(std::bit_cast<uint64_t>(x)); }

// Every number of a result as bits, with its flags, statuses and messages.
std::vector<uint64_t> Bits(const PointResult& r) {
    std::vector<uint64_t> b;
    const PointContext& s = r.state;
    for (double x : {s.T, s.P, s.rho, s.tau, s.delta, s.pi, s.satuP, s.satuRhov, s.satuRhol, s.meltP}) Put(b, x);
    b.push_back(static_cast<uint64_t>(s.inputVar));
    b.push_back(r.hasP | r.hasRho << 1 | r.hasProperties << 2);
    b.push_back(static_cast<uint64_t>(r.melt.status));
    Put(b, r.melt.value);
    b.push_back(static_cast<uint64_t>(r.saturation.status));
    for (double x : {r.saturation.P, r.saturation.rhov, r.saturation.rhol}) Put(b, x);
    for (double x : r.properties.values) Put(b, x);
    for (const Quantity& q : r.properties.secondary) {
        b.push_back(static_cast<uint64_t>(q.status));
        Put(b, q.value);
    }
    b.push_back(static_cast<uint64_t>(r.messageCount));
    for (MessageId m : r.messages) b.push_back(static_cast<uint64_t>(m));
    return b;
}

std::vector<std::vector<uint64_t>> Serial(const std::vector<Job>& jobs) {
    std::vector<std::vector<uint64_t>> out;
    out.reserve(jobs.size());
    for (const Job& j : jobs) out.push_back(Bits(Calculate(FluidAt(j.fluid), j.input)));
    return out;
}

// `threads` threads; thread t takes the states t, t + threads, ... (or, reversed,
// walks its share backwards), so that no thread sees the serial order.
std::vector<std::vector<uint64_t>> Parallel(const std::vector<Job>& jobs, int threads, bool reversed) {
    std::vector<std::vector<uint64_t>> out(jobs.size());
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            std::vector<size_t> share;
            for (size_t k = t; k < jobs.size(); k += threads) share.push_back(k);
            if (reversed && t % 2 == 1) std::reverse(share.begin(), share.end());
            for (size_t i : share) out[i] = Bits(Calculate(FluidAt(jobs[i].fluid), jobs[i].input));
        });
    for (std::thread& th : pool) th.join();
    return out;
}

}  // namespace

TEST(EngineThreads, ResultsAreBitIdenticalToASerialRun) {
    const std::vector<Job> jobs = Jobs();
    ASSERT_EQ(jobs.size(), 3u * kStatesPerFluid);
    const std::vector<std::vector<uint64_t>> serial = Serial(jobs);
    // The set exercises results, messages and the coexistence warning of every fluid.
    long computed[3] = {0, 0, 0}, refused[3] = {0, 0, 0};
    for (size_t i = 0; i < jobs.size(); ++i) {
        const bool hasProperties = serial[i][11] & 4;  // the flags follow the ten doubles and inputVar
        (hasProperties ? computed : refused)[jobs[i].fluid]++;
    }
    for (int f = 0; f < 3; ++f) {
        EXPECT_GT(computed[f], kStatesPerFluid / 4) << f;
        EXPECT_GT(refused[f], 100) << f;
    }
    for (int threads : {2, 3}) {
        for (bool reversed : {false, true}) {
            const std::vector<std::vector<uint64_t>> parallel = Parallel(jobs, threads, reversed);
            size_t differing = 0;
            for (size_t i = 0; i < jobs.size(); ++i)
                if (parallel[i] != serial[i] && ++differing <= 10)
                    ADD_FAILURE() << threads << " threads" << (reversed ? " (reversed)" : "") << ": state " << i
                                  << " of fluid " << jobs[i].fluid << " T=" << jobs[i].input.T << " mode "
                                  << jobs[i].input.inputVar << " differs from the serial run";
            EXPECT_EQ(differing, 0u) << threads << " threads";
        }
    }
}
