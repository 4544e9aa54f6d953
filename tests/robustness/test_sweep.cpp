// Every fluid over its whole accepted range and a little beyond, in both input modes:
// a grid through the edges of every range, the critical point and the saturation line,
// and a random set with a fixed seed. Each state must finish within a time limit and
// leave every field holding a number, one of the calculator's messages, or nothing,
// as the rules of the calculation say.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <thread>

#include "core/calculate.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "state_check.h"

using namespace kelvane;
using namespace kelvane::robustness;

namespace {

using Clock = std::chrono::steady_clock;

// A state that runs longer than this is taken for a hang: the watchdog names it and
// aborts the test program (a normal state takes well under a millisecond, under the
// sanitizers a few).
constexpr double kStateLimitSeconds = 60;

struct State {
    std::string T, value;
};

// splitmix64: portable, so the random set is the same on every platform.
class Random {
public:
    explicit Random(uint64_t seed) : s_(seed) {}
    double Uniform() {  // [0, 1)
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1.0p-53;
    }
    double Between(double a, double b) { return a + (b - a) * Uniform(); }
    double LogBetween(double a, double b) { return a * std::exp(std::log(b / a) * Uniform()); }
    // 1 +- 10^-k with k uniform in [kMin, kMax], the sign at random.
    double NearOne(double kMin, double kMax) {
        const double e = std::pow(10.0, -Between(kMin, kMax));
        return Uniform() < 0.5 ? 1 - e : 1 + e;
    }

private:
    uint64_t s_;
};

std::string Text(double x) { return FormatFile(x); }

std::vector<double> Temperatures(const FluidRange& r) {
    std::vector<double> T = {r.Tmin * (1 - 1e-12), r.Tmin, r.Tmin * (1 + 1e-12),
                             r.Tmax * (1 - 1e-12), r.Tmax, r.Tmax * (1 + 1e-12)};
    for (int i = 1; i < 60; ++i) T.push_back(r.Tmin + (r.Tmax - r.Tmin) * i / 60);
    for (double d : {-1.0, -0.1, -0.01, -1e-3, -1e-5, 0.0, 1e-5, 1e-3, 0.01, 0.1, 1.0}) T.push_back(r.Tc + d);
    for (double t : r.specialT) T.push_back(t);
    return T;
}

// Mode 2 gives specific volumes (m3/kg): the reciprocals of the density values.
double AsGiven(int mode, double rho) { return mode == 2 && rho != 0 ? 1 / rho : rho; }

std::vector<double> Values(const FluidRange& r, int mode) {
    if (mode == 2) {
        std::vector<double> v = Values(r, 1);
        for (double& x : v) x = AsGiven(mode, x);
        v.push_back(5e-324);  // subnormal volume: an infinite density
        // Dilute gases: 1/P^2 of a Gibbs function leaves the range of numbers from a
        // volume of about 1e154 m3/kg on.
        for (double dilute : {1e155, 1e158, 1e200, 1e300}) v.push_back(dilute);
        return v;
    }
    const double top = mode == 0 ? r.Pmax : r.rhoMax;
    const double centre = mode == 0 ? r.Pc : r.rhoc;
    std::vector<double> v = {-1, -1e-9, 0, top * (1 - 1e-12), top, top * (1 + 1e-12), 10 * top};
    for (int i = 0; i <= 40; ++i) v.push_back(1e-6 * std::pow(top / 1e-6, i / 40.0));
    for (double d : {-0.1, -0.01, -1e-3, 0.0, 1e-3, 0.01, 0.1}) v.push_back(centre * (1 + d));
    if (mode == 0)
        for (double p : r.specialP) v.push_back(p);
    return v;
}

// States on both sides of the saturation line and on the edges of the two-phase test.
void SaturationStates(int fluid, int mode, double T, std::vector<State>& out) {
    const Saturation s = SaturationAt(fluid, T);
    if (s.P <= 0) return;
    if (mode == 0) {
        for (double f : {1 - 1e-2, 1 - 1e-6, 1.0, 1 + 1e-6, 1 + 1e-2}) out.push_back({Text(T), Text(s.P * f)});
    } else {
        for (double rho :
             {s.rhoV * (1 - 1e-3), s.rhoV, s.rhoV * 1.05 * (1 - 1e-9), s.rhoV * 1.05, 0.5 * (s.rhoV + s.rhoL),
              s.rhoL * 0.9, s.rhoL * 0.9 * (1 + 1e-9), s.rhoL, s.rhoL * (1 + 1e-3)})
            out.push_back({Text(T), Text(AsGiven(mode, rho))});
    }
}

std::vector<State> GridStates(int fluid, int mode) {
    const FluidRange& r = Range(fluid);
    std::vector<State> states;
    const std::vector<double> values = Values(r, mode);
    for (double T : Temperatures(r)) {
        for (double v : values) states.push_back({Text(T), Text(v)});
        if (T < r.Tc) SaturationStates(fluid, mode, T, states);
    }
    states.push_back({Text(r.Tc), "-0"});
    return states;
}

std::vector<State> RandomStates(int fluid, int mode, int count) {
    const FluidRange& r = Range(fluid);
    Random rnd(0x6b656c76616e65ull + 17 * fluid + mode);
    const double top = mode == 0 ? r.Pmax : r.rhoMax;
    const int given = mode;
    mode = mode == 2 ? 1 : mode;
    const double centre = mode == 0 ? r.Pc : r.rhoc;
    std::vector<State> states;
    while (static_cast<int>(states.size()) < count) {
        const double kind = rnd.Uniform();
        double T, v;
        if (kind < 0.5) {  // anywhere in the range
            T = rnd.Between(r.Tmin, r.Tmax);
            v = rnd.LogBetween(1e-6, top);
        } else if (kind < 0.65) {  // around the critical point
            T = r.Tc + 5 * std::pow(rnd.Between(-1, 1), 3);
            v = centre * (1 + 0.3 * std::pow(rnd.Between(-1, 1), 3));
        } else if (kind < 0.85) {  // around the saturation line
            T = rnd.Between(r.Tmin, r.Tc);
            const Saturation s = SaturationAt(fluid, T);
            if (s.P <= 0) continue;
            const double near = rnd.NearOne(1, 9);
            v = mode == 0 ? s.P * near : (rnd.Uniform() < 0.5 ? s.rhoV : s.rhoL) * near;
        } else {  // the edges of the temperature and pressure ranges
            T = (rnd.Uniform() < 0.5 ? r.Tmin : r.Tmax) * rnd.NearOne(2, 12);
            if (rnd.Uniform() < 0.3) T = r.specialT[static_cast<size_t>(rnd.Uniform() * r.specialT.size())];
            v = top * rnd.NearOne(2, 12);
            if (mode == 0 && rnd.Uniform() < 0.5)
                v = r.specialP[static_cast<size_t>(rnd.Uniform() * r.specialP.size())] * rnd.NearOne(3, 12);
        }
        states.push_back({Text(T), Text(AsGiven(given, v))});
    }
    return states;
}

// Aborts the program when one state runs past the limit, naming the state.
class Watchdog {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Start(const std::string& what) {
        std::lock_guard<std::mutex> lock(mutex_);
        what_ = what;
        start_ = Clock::now();
        running_ = true;
    }
    void Stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (running_ && std::chrono::duration<double>(Clock::now() - start_).count() > kStateLimitSeconds) {
                std::fprintf(stderr, "state did not finish within %.0f s: %s\n", kStateLimitSeconds, what_.c_str());
                std::abort();
            }
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false, running_ = false;
    std::string what_;
    Clock::time_point start_;
    std::thread thread_;
};

// Why a state shows NAN or INF somewhere. Density given: negative, or above the
// density the fluid reaches at its highest accepted pressure at that temperature (the
// pressure search then ends without converging). A negative compression factor: the
// given pressure is below what the density solver resolves on a steep liquid
// isotherm (its step ends at 1e-6 of the density), so the density found lies where
// the isotherm is already below zero pressure. Or a metastable state that the
// two-phase test lets through.
std::string NonFiniteCause(int fluid, int mode, const State& s, const MainForm& form) {
    const double v = AsGiven(mode, ParseStrict(s.value));
    mode = mode == 2 ? 1 : mode;
    if (mode == 1 && v < 0) return "negative density given";
    if (mode == 1) {
        const double T = ParseStrict(s.T);
        const FluidRange& r = Range(fluid);
        MainForm probe;
        const double pmax = fluid == 0 && T > 1073.15 ? 10 : r.Pmax;
        RunPoint(probe, fluid, 0, s.T, FormatFile(pmax));
        if (probe.EditMes.text.empty() && v > ParseLeading(probe.EditRho.text))
            return "density above the fluid at its highest accepted pressure";
    }
    if (ParseLeading(form.EditZ.text) < 0) return "negative compression factor";
    if (form.EditMes.text.find(MainForm::kTwoPhaseWarning) != std::string::npos) return "metastable two-phase state";
    return "other";
}

// Why a state with properties and no message is not mechanically or thermally stable;
// empty when it is.
std::string UnstableWithoutMessage(const MainForm& form) {
    const double cv = ParseStrict(form.EditCv.text), cp = ParseStrict(form.EditCp.text);
    const double w = ParseStrict(form.EditW.text), kappa = ParseStrict(form.Editkappa.text);
    if (!(cv > 0)) return "Cv = " + form.EditCv.text;
    if (!(cp >= cv)) return "Cp = " + form.EditCp.text + " < Cv = " + form.EditCv.text;
    if (!(w > 0)) return "W = " + form.EditW.text;
    if (!(kappa > 0)) return "kappa = " + form.Editkappa.text;
    // The pressure rises with the density along the isotherm (density given).
    PointInput in = form.ReadInput();
    if (in.inputVar == 1) {
        const PointResult a = Calculate(form.SelectedFluid(), in);
        in.rho *= 1 + 1e-5;
        const PointResult b = Calculate(form.SelectedFluid(), in);
        // At the critical point itself (dP/drho)T vanishes and the two pressures agree
        // to round-off: a fall of more than that is a fault.
        if (b.hasProperties && !b.HasMessage(MessageId::kUnstable) && !(b.state.P >= a.state.P * (1 - 1e-14)))
            return "P falls from " + FormatFile(a.state.P) + " to " + FormatFile(b.state.P) + " Pa as rho rises";
    }
    return "";
}

// Why a state marked unstable is not one: along its isotherm the pressure rises with
// the density there (a difference of 1e-6 in the density on each side, whose pressure
// change at a truly unstable state is negative far beyond round-off and curvature; a
// neighbour without a pressure, inside the two-phase range, leaves the one-sided
// difference); empty when the marking is right.
std::string StableDespiteMessage(const MainForm& form) {
    PointInput in = form.ReadInput();
    const PointResult at = Calculate(form.SelectedFluid(), in);
    if (!at.hasRho || !at.hasP || !(at.state.rho > 0)) return "no state at a state marked unstable";
    in.inputVar = 1;
    const double rho = at.state.rho;
    double lower = at.state.P, upper = at.state.P;
    for (double f : {1 - 1e-6, 1 + 1e-6}) {
        in.rho = rho * f;
        const PointResult next = Calculate(form.SelectedFluid(), in);
        if (next.hasP && std::isfinite(next.state.P)) (f < 1 ? lower : upper) = next.state.P;
    }
    if (upper - lower > 1e-10 * std::max(std::fabs(lower), std::fabs(upper)))
        return "marked unstable, but P rises from " + FormatFile(lower) + " to " + FormatFile(upper) +
               " Pa as rho rises by 2e-6";
    return "";
}

Tally RunStates(int fluid, int mode, const std::vector<State>& states) {
    Tally t;
    MainForm form;
    Watchdog watchdog;
    for (const State& s : states) {
        const std::string what = std::string(Range(fluid).name) + (mode == 0 ? " T=" : " T=") + s.T +
                                 (mode == 0 ? " K P=" : " K rho=") + s.value + (mode == 0 ? " MPa" : " kg/m3");
        watchdog.Start(what);
        const auto start = Clock::now();
        try {
            RunPoint(form, fluid, mode, s.T, s.value);
        } catch (const std::exception& e) {
            t.failures.push_back(what + ": exception " + e.what());
            continue;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        watchdog.Stop();
        if (seconds > t.slowestSeconds) {
            t.slowestSeconds = seconds;
            t.slowestState = what;
        }
        ++t.states;
        const Verdict v = Judge(form, fluid, mode);
        if (v.computed) ++t.computed;
        if (!v.nonFinite.empty()) {
            ++t.withNonFinite;
            const std::string cause = NonFiniteCause(fluid, mode, s, form);
            ++t.nonFiniteByCause[cause];
            if (cause == "other" && t.nonFiniteByCause[cause] <= 5) {
                std::string fields;
                for (const std::string& f : v.nonFinite) fields += " " + f;
                std::cout << "  NAN/INF (" << fields << " ) at " << what << ": P=" << form.EditP.text
                          << " rho=" << form.EditRho.text << " satuP=" << form.EditsatuP.text << "\n";
            }
        }
        for (const std::string& f : v.nonFinite) {
            ++t.nonFiniteByField[f];
            auto& examples = t.nonFiniteExamples[f];
            if (examples.size() < 3)
                examples.push_back(what + " (" + form.EditMes.text + ") P=" + form.EditP.text +
                                   " Cp=" + form.EditCp.text + " kappa=" + form.Editkappa.text);
        }
        if (v.unstable) {
            ++t.unstable;
            const std::string why = StableDespiteMessage(form);
            if (!why.empty()) {
                ++t.falselyUnstable;
                if (t.falselyUnstable <= 5) t.failures.push_back(what + ": " + why);
            }
        }
        // A single-phase state shown as stable must be one: the isotherm rises with the
        // density, Cp >= Cv > 0, W > 0 and kappa > 0.
        if (v.computed && !v.unstable && !v.notDefined &&
            form.EditMes.text.find(MainForm::kTwoPhaseWarning) == std::string::npos) {
            const std::string why = UnstableWithoutMessage(form);
            if (!why.empty()) {
                ++t.unstableWithoutMessage;
                if (t.unstableWithoutMessage <= 5) t.failures.push_back(what + ": " + why);
            }
        }
        ++t.messages[form.EditMes.text];
        for (const std::string& p : v.problems)
            if (t.failures.size() < 20) t.failures.push_back(what + ": " + p);
    }
    return t;
}

void Report(int fluid, int mode, const Tally& t) {
    std::cout << Range(fluid).name
              << (mode == 0   ? ", pressure given: "
                  : mode == 1 ? ", density given: "
                              : ", specific volume given: ")
              << t.states << " states, " << t.computed << " with properties, " << t.withNonFinite
              << " with NAN or INF fields, " << t.unstable << " marked unstable, " << t.unstableWithoutMessage
              << " unstable without message, " << t.falselyUnstable << " marked unstable but stable; slowest "
              << t.slowestSeconds * 1e3 << " ms (" << t.slowestState << ")\n";
    for (const auto& [field, n] : t.nonFiniteByField) {
        std::cout << "  " << field << " NAN/INF in " << n << " states, e.g.\n";
        for (const std::string& e : t.nonFiniteExamples.at(field)) std::cout << "    " << e << "\n";
    }
    for (const auto& [cause, n] : t.nonFiniteByCause) std::cout << "  " << n << " NAN/INF states: " << cause << "\n";
    for (const auto& [message, n] : t.messages) std::cout << "  " << n << "  \"" << message << "\"\n";
}

class Sweep : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
};

}  // namespace

TEST_P(Sweep, EveryStateFinishesWithFieldsByTheRules) {
    const auto [fluid, mode] = GetParam();
    std::vector<State> states = GridStates(fluid, mode);
    const size_t grid = states.size();
    const std::vector<State> random = RandomStates(fluid, mode, 15500);
    states.insert(states.end(), random.begin(), random.end());
    EXPECT_GE(states.size(), 20000u) << grid << " grid states";

    const Tally t = RunStates(fluid, mode, states);
    Report(fluid, mode, t);
    for (const std::string& f : t.failures) ADD_FAILURE() << f;
    EXPECT_EQ(t.states, static_cast<long>(states.size()));
    EXPECT_GT(t.computed, t.states / 4);  // most of the sweep lies inside the range
    // No field shows NAN or INF: a result without meaning is "N/A" with a message.
    EXPECT_EQ(t.withNonFinite, 0);
    EXPECT_EQ(t.unstableWithoutMessage, 0);
    EXPECT_EQ(t.falselyUnstable, 0);
}

INSTANTIATE_TEST_SUITE_P(AllFluids, Sweep, ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 1, 2)),
                         [](const ::testing::TestParamInfo<Sweep::ParamType>& info) {
                             return std::string(Range(std::get<0>(info.param)).name) +
                                    (std::get<1>(info.param) == 0   ? "PressureGiven"
                                     : std::get<1>(info.param) == 1 ? "DensityGiven"
                                                                    : "VolumeGiven");
                         });
