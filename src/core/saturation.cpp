#include "core/saturation.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/solvers.h"

namespace kelvane {

namespace {

// Newton passes on the equilibrium; from the fluid's own answer (1e-6) two to four
// reach the precision of the arithmetic, more only just below the critical point.
constexpr int kMaxNewtonPasses = 60;
// Relative size of the last Newton correction at which the equilibrium counts as met.
constexpr double kNewtonTolerance = 1e-13;
// Relative residuals of the pressures and of the Gibbs energies (against RT) at which
// the equilibrium counts as met whatever the size of the last correction.
constexpr double kResidualTolerance = 1e-12;
// Relative difference of the two densities below which they count as one.
constexpr double kMinimumSeparation = 1e-7;
// Passes of the temperature search of SaturationByPressure, and its tolerance on
// ln P (the pressure at the answer equals the given one to about this relative amount).
constexpr int kMaxTemperaturePasses = 200;
constexpr double kPressureTolerance = 1e-13;
// The largest relative step of the saturation pressure between adjacent temperatures
// that SaturationByPressure answers with the temperature of the step.
constexpr double kMaxPressureStep = 1e-4;
// Halvings of the searches for the highest saturation temperature.
constexpr int kMaxEdgeHalvings = 64;

// One phase at the equilibrium: its state, its results, its pressure (Pa), its Gibbs
// energy (J/mol) and dP/drho along the isotherm (Pa m3/mol).
struct Phase {
    PointContext state;
    PropertyResults results;
    double P = 0, G = 0, dPdrho = 0;
};

PointContext BaseState(const Fluid& f, double T, const SaturationState& seed) {
    PointContext s;
    s.T = T;
    s.tau = f.constants.Tred / T;
    s.satuP = seed.P;
    s.satuRhov = seed.rhov;
    s.satuRhol = seed.rhol;
    if (f.ops.MeltingPressure) {
        const Quantity m = f.ops.MeltingPressure(s.tau);
        s.meltP = m.HasValue() && std::isfinite(m.value) ? m.value : 0;
    }
    return s;
}

// The results of the phase: all of them, or (`wavelength` negative, where the fluid
// gives them alone) the 14 of StateValues, the same numbers, for the passes of an
// iteration that needs only G and kappa.
void Finish(const Fluid& f, Phase& p, double wavelength) {
    if (wavelength < 0 && f.ops.StateValues)
        p.results.values = f.ops.StateValues(p.state);
    else
        p.results = f.ops.Properties(p.state, wavelength);
    p.G = p.results.values[kG];
    // kappa = (1/rho) (drho/dP)_T
    p.dPdrho = 1 / (p.state.rho * p.results.values[kKappa]);
}

// A phase of given density, for an equation with a density form (a Helmholtz energy).
Phase AtDensity(const Fluid& f, const PointContext& base, double rho, double wavelength) {
    Phase p;
    p.state = base;
    p.state.inputVar = 1;
    p.state.rho = rho;
    p.state.delta = rho / f.constants.rhored;
    const double Z = f.ops.Pressure(p.state.delta, p.state.tau, 0, p.state);
    p.P = Z * rho * f.constants.R * base.T;
    p.state.P = p.P;
    p.state.pi = p.P / f.constants.Pred;
    Finish(f, p, wavelength);
    return p;
}

// The state of a phase of given pressure, for water's Gibbs-function regions: the
// liquid of region 1 (the state's saturation pressure equal to P) or the vapour of
// region 2 (the saturation pressure just above P).
PointContext AtPressureState(const Fluid& f, const PointContext& base, double P, bool liquid) {
    PointContext s = base;
    s.inputVar = 0;
    s.P = P;
    s.pi = P / f.constants.Pred;
    s.satuP = liquid ? P : std::nextafter(P, std::numeric_limits<double>::infinity());
    return s;
}

// That phase with its density and results.
Phase AtPressure(const Fluid& f, const PointContext& base, double P, bool liquid, double wavelength) {
    Phase p;
    p.state = AtPressureState(f, base, P, liquid);
    const double Z = f.ops.Pressure(0, p.state.tau, p.state.pi, p.state);
    p.state.rho = P / (Z * f.constants.R * base.T);
    p.state.delta = p.state.rho / f.constants.rhored;
    p.state.satuP = liquid ? P : p.state.satuP;
    p.P = P;
    Finish(f, p, wavelength);
    return p;
}

// True when the fluid evaluates its coexisting phases by pressure (water at and below
// 623.15 K, where the liquid and the vapour have equations of their own).
bool ByPressure(const Fluid& f, double tau, const SaturationState& seed) {
    return f.ops.Region && f.ops.Region(0, tau, seed.P / f.constants.Pred, seed.P, seed.rhov, seed.rhol) == 1;
}

// Equal Gibbs energies of the liquid and the vapour equations at T: Newton on the
// pressure, d(G_v - G_l)/dP = 1/rho_v - 1/rho_l.
bool SolveByPressure(const Fluid& f, const PointContext& base, double P, double wavelength, Phase& liquid,
                     Phase& vapour) {
    for (int pass = 0; pass < kMaxNewtonPasses; ++pass) {
        liquid = AtPressure(f, base, P, true, wavelength);
        vapour = AtPressure(f, base, P, false, wavelength);
        const double slope = 1 / vapour.state.rho - 1 / liquid.state.rho;
        const double step = -(vapour.G - liquid.G) / slope;
        if (!std::isfinite(step) || !(slope > 0)) return false;
        if (std::fabs(step) <= kNewtonTolerance * P) return true;
        P = std::fabs(step) < 0.5 * P ? P + step : P * (step > 0 ? 1.5 : 0.5);
    }
    return false;
}

// Equal pressures and Gibbs energies of the two densities on one isotherm (the
// equal-area condition): Newton on (rho_l, rho_v) with dG/drho = (dP/drho) / rho.
bool SolveByDensity(const Fluid& f, const PointContext& base, double rhol, double rhov, double wavelength,
                    Phase& liquid, Phase& vapour) {
    for (int pass = 0; pass < kMaxNewtonPasses; ++pass) {
        liquid = AtDensity(f, base, rhol, wavelength);
        vapour = AtDensity(f, base, rhov, wavelength);
        const double al = liquid.dPdrho, av = vapour.dPdrho;
        const double F1 = liquid.P - vapour.P, F2 = liquid.G - vapour.G;
        const double det = al * av * (1 / rhol - 1 / rhov);
        double dl = (F1 * av / rhov - av * F2) / det;
        double dv = (al * F1 / rhol - al * F2) / det;
        if (!std::isfinite(dl) || !std::isfinite(dv) || !(al > 0) || !(av > 0)) return false;
        // Both densities meeting in one is the trivial solution, not a coexistence.
        if (!(rhol > rhov * (1 + kMinimumSeparation))) return false;
        if (std::fabs(dl) <= kNewtonTolerance * rhol && std::fabs(dv) <= kNewtonTolerance * rhov) return true;
        // Just below the critical point the corrections stall at the rounding of the
        // nearly singular system; the equations themselves are then met.
        const double RT = f.constants.R * base.T;
        if (std::fabs(F1) <= kResidualTolerance * vapour.P && std::fabs(F2) <= kResidualTolerance * RT) return true;
        // Keep both densities positive and apart: at most a fifth of each per pass.
        const double scale = std::fmin(1.0, std::fmin(0.2 * rhol / std::fabs(dl), 0.2 * rhov / std::fabs(dv)));
        rhol += scale * dl;
        rhov += scale * dv;
        if (!(rhol > rhov)) return false;
    }
    return false;
}

MessageId StatusMessage(Status s) {
    switch (s) {
        case Status::kOverTc: return MessageId::kSaturationOverTc;
        case Status::kOverPc: return MessageId::kSaturationOverPc;
        default: return MessageId::kSaturationNotAvailable;
    }
}

MessageId BelowRangeMessage(const Fluid& f) {
    switch (f.index) {
        case 0: return MessageId::kWaterBelowSaturationRange;
        case 1: return MessageId::kMethanolBelowSaturationRange;
        case 2: return MessageId::kCo2BelowSaturationRange;
        default: return MessageId::kSaturationNotAvailable;
    }
}

SaturationPoint Refused(double T, Status status, MessageId message) {
    SaturationPoint p;
    p.T = T;
    p.status = status;
    p.message = message;
    return p;
}

bool HasEquilibrium(const Fluid& f, double T) {
    return f.ops.Saturation(f.constants.Tred / T, T).status == Status::kValue;
}

}  // namespace

namespace {

// SaturationByTemperature with the states of both phases; `wavelength` negative for the
// 14 results alone (Finish), completed by Complete.
SaturationPoint SaturationAt(const Fluid& fluid, double T, double wavelength, PointContext* liquidState,
                             PointContext* vapourState) {
    if (!fluid.ops.CheckTemperature || !fluid.ops.Saturation || !fluid.ops.Properties)
        return Refused(T, Status::kUnset, MessageId::kModelMissing);
    if (!std::isfinite(T)) return Refused(T, Status::kUnset, MessageId::kSaturationNotAvailable);
    const MessageId range = fluid.ops.CheckTemperature(T);
    if (range != MessageId::kNone) return Refused(T, Status::kUnset, range);
    const double tau = fluid.constants.Tred / T;
    const SaturationState seed = fluid.ops.Saturation(tau, T);
    if (seed.status != Status::kValue) return Refused(T, seed.status, StatusMessage(seed.status));

    const PointContext base = BaseState(fluid, T, seed);
    Phase liquid, vapour;
    const bool byPressure = ByPressure(fluid, tau, seed);
    bool converged = byPressure ? SolveByPressure(fluid, base, seed.P, wavelength, liquid, vapour)
                                : SolveByDensity(fluid, base, seed.rhol, seed.rhov, wavelength, liquid, vapour);
    if (!converged) {
        // Keep the fluid's own answer, which the calculation shows.
        if (byPressure) {
            liquid = AtPressure(fluid, base, seed.P, true, wavelength);
            vapour = AtPressure(fluid, base, seed.P, false, wavelength);
        } else {
            liquid = AtDensity(fluid, base, seed.rhol, wavelength);
            vapour = AtDensity(fluid, base, seed.rhov, wavelength);
        }
    }

    SaturationPoint p;
    p.status = Status::kValue;
    p.T = T;
    // The vapour's pressure: the liquid's comes from a compression factor near 0 at low
    // temperatures, where it carries the rounding of 1 + delta dphi/ddelta.
    p.P = vapour.P;
    if (!converged) p.P = seed.P;
    p.rhol = liquid.state.rho;
    p.rhov = vapour.state.rho;
    p.liquid = liquid.results;
    p.vapour = vapour.results;
    p.dH = vapour.results.values[kH] - liquid.results.values[kH];
    p.dS = vapour.results.values[kS] - liquid.results.values[kS];
    p.converged = converged;
    if (liquidState) *liquidState = liquid.state;
    if (vapourState) *vapourState = vapour.state;
    return p;
}

// The results of both phases of a point of SaturationAt computed without them.
void Complete(const Fluid& fluid, SaturationPoint& p, const PointContext& liquid, const PointContext& vapour,
              double wavelength) {
    if (!p.HasValue()) return;
    p.liquid = fluid.ops.Properties(liquid, wavelength);
    p.vapour = fluid.ops.Properties(vapour, wavelength);
}

// The 14 results alone: those StateValues left out (water's fugacity coefficient in
// region 3) from Properties, for the phases that lack one.
void CompleteValues(const Fluid& fluid, SaturationPoint& p, const PointContext& liquid, const PointContext& vapour) {
    if (!p.HasValue()) return;
    auto lacking = [](const PropertyResults& r) {
        for (double v : r.values)
            if (std::isnan(v)) return true;
        return false;
    };
    if (lacking(p.liquid)) p.liquid.values = fluid.ops.Properties(liquid, 589).values;
    if (lacking(p.vapour)) p.vapour.values = fluid.ops.Properties(vapour, 589).values;
}

}  // namespace

SaturationPoint SaturationByTemperature(const Fluid& fluid, double T, double wavelength) {
    PointContext liquid, vapour;
    SaturationPoint p = SaturationAt(fluid, T, -1, &liquid, &vapour);
    Complete(fluid, p, liquid, vapour, wavelength);
    return p;
}

SaturationRange SaturationRangeOf(const Fluid& fluid) {
    struct Entry {
        SaturationState (*operation)(double, double) = nullptr;
        int fluid = -1;
        uint64_t Tmin = 0;
        SaturationRange range;
    };
    thread_local Entry last[kFluidCount + 1];
    Entry& e = last[fluid.index >= 0 && fluid.index < kFluidCount ? fluid.index : kFluidCount];
    const uint64_t TminBits = std::bit_cast<uint64_t>(fluid.limits.Tmin);
    if (e.operation == fluid.ops.Saturation && e.fluid == fluid.index && e.Tmin == TminBits) return e.range;

    SaturationRange r;
    r.Tlow = fluid.limits.Tmin;
    // The highest temperature with an equilibrium: the fluid's Saturation answers with a
    // status above it; then the highest at which Newton also meets its tolerance.
    double lo = r.Tlow, hi = fluid.constants.Tc;
    if (HasEquilibrium(fluid, hi)) lo = hi;
    for (int i = 0; i < kMaxEdgeHalvings && hi - lo > 1e-12 * hi; ++i) {
        const double mid = lo + (hi - lo) / 2;
        (HasEquilibrium(fluid, mid) ? lo : hi) = mid;
    }
    if (!SaturationByTemperature(fluid, lo).converged) {
        hi = lo;
        lo = r.Tlow;
        for (int i = 0; i < kMaxEdgeHalvings && hi - lo > 1e-9 * hi; ++i) {
            const double mid = lo + (hi - lo) / 2;
            (SaturationByTemperature(fluid, mid).converged ? lo : hi) = mid;
        }
    }
    r.Thigh = lo;
    const SaturationPoint low = SaturationByTemperature(fluid, r.Tlow);
    const SaturationPoint high = SaturationByTemperature(fluid, r.Thigh);
    r.Plow = low.HasValue() ? low.P : 0;
    r.Phigh = high.HasValue() ? high.P : 0;

    e.operation = fluid.ops.Saturation;
    e.fluid = fluid.index;
    e.Tmin = TminBits;
    e.range = r;
    return r;
}

namespace {

// Regula falsi (Illinois) on ln p in 1/T, nearly linear in it.
double SolveAuxiliary(const Fluid& f, double P) {
    double (*const aux)(double) = f.ops.AuxiliarySaturationPressure;
    if (!aux || !(P > 0)) return std::nan("");
    const double Tlo = f.limits.Tmin, Thi = f.constants.Tc * (1 - 1e-9);
    const double target = std::log(P);
    const double a = 1 / Thi, b = 1 / Tlo;  // ln p falls with 1/T
    const double ga = std::log(aux(Thi)) - target, gb = std::log(aux(Tlo)) - target;
    if (!std::isfinite(ga) || !std::isfinite(gb)) return std::nan("");
    if (ga < 0) return -1;
    if (gb > 0) return 0;
    IllinoisBracket r{a, ga, b, gb};
    for (int i = 0; i < 100; ++i) {
        const double x = r.Next();
        if (!(x > r.a && x < r.b)) break;
        const double g = std::log(aux(1 / x)) - target;
        if (!std::isfinite(g)) return std::nan("");
        if (std::fabs(g) <= 1e-12 || std::fabs(r.b - r.a) <= 1e-12 * x) return 1 / x;
        r.Replace(x, g, g > 0);  // g falls with 1/T
    }
    return 1 / (r.a + (r.b - r.a) / 2);
}

}  // namespace

// The search of a state by pressure and the equilibrium by pressure it may lead to
// both start here: the last answer of this thread is kept, keyed on the equation and
// the exact bits of its inputs, so it is the one the search gives.
double AuxiliarySaturationTemperature(const Fluid& f, double P) {
    struct Entry {
        double (*aux)(double) = nullptr;
        uint64_t Tmin = 0, Tc = 0, P = 0;
        double T = 0;
    };
    thread_local Entry last;
    const Entry key{f.ops.AuxiliarySaturationPressure, std::bit_cast<uint64_t>(f.limits.Tmin),
                    std::bit_cast<uint64_t>(f.constants.Tc), std::bit_cast<uint64_t>(P), 0};
    if (key.aux && last.aux == key.aux && last.Tmin == key.Tmin && last.Tc == key.Tc && last.P == key.P) return last.T;
    last = key;
    last.T = SolveAuxiliary(f, P);
    return last.T;
}

namespace {

// Newton passes of the equilibrium by pressure from the auxiliary temperature; two to
// four reach the precision of the arithmetic.
constexpr int kMaxDirectPasses = 30;
// Largest relative temperature step of one pass; the auxiliary equations are far
// closer than that to the equilibrium.
constexpr double kMaxDirectStep = 0.01;
// Relative temperature step of a later pass after which the iteration takes the step
// and stops.
constexpr double kLastDirectStep = 1e-7;

// The base state of both phases at T on the isobar P: the equilibrium sought is its
// own saturation state.
PointContext IsobarBase(const Fluid& f, double T, double P, double rhov, double rhol) {
    SaturationState seed;
    seed.status = Status::kValue;
    seed.P = P;
    seed.rhov = rhov;
    seed.rhol = rhol;
    return BaseState(f, T, seed);
}

// The equilibrium at the pressure P from the temperature T: Newton's method on the
// temperature and, for an equation with a density form, both densities at once.
//  - Water's liquid and vapour regions (by pressure): G_v(T, P) = G_l(T, P), with
//    d(G_v - G_l)/dT = -(S_v - S_l).
//  - A Helmholtz energy: P(T, rho_l) = P(T, rho_v) = P and G(T, rho_l) = G(T, rho_v).
//    With (dP/dT)_rho = alpha/kappa and (dG/dT)_rho = -S + (dP/dT)_rho / rho, the
//    linear system reduces to one equation for the temperature step,
//      dT (S_v - S_l) = (G_v - G_l) - (P - P_l)/rho_l + (P - P_v)/rho_v,
//    and each density step follows from its own pressure equation.
// The temperature of the last pass, whose next correction is below the precision of
// the arithmetic; NaN where the iteration leaves the way it started (the liquid region
// at water's 623.15 K, the temperatures of the range) or does not converge.
double DirectEquilibrium(const Fluid& f, double P, double T, const SaturationRange& range) {
    const double none = std::nan("");
    const FluidConstants& c = f.constants;
    const SaturationState atPressure{Status::kValue, P, 0, 0};
    // Water's liquid and vapour by pressure (their Gibbs energies alone), any other
    // fluid by density.
    const bool byPressure = f.ops.Region != nullptr;
    if (byPressure && !f.ops.GibbsEnergy) return none;
    double rhol = 0, rhov = 0;
    if (!byPressure) {
        if (!f.ops.Pressure) return none;
        const SaturationState seed = f.ops.Saturation(c.Tred / T, T);
        if (seed.status != Status::kValue) return none;
        rhol = seed.rhol;
        rhov = seed.rhov;
    }
    bool converged = false;
    for (int pass = 0; pass < kMaxDirectPasses && !converged; ++pass) {
        if (!(T > range.Tlow && T < range.Thigh)) return none;
        if (f.ops.CheckTemperature(T) != MessageId::kNone) return none;
        double dT = 0, dl = 0, dv = 0;
        if (byPressure) {
            if (!ByPressure(f, c.Tred / T, atPressure)) return none;
            // The phases as AtPressure sets them up, G and S alone.
            const PointContext base = IsobarBase(f, T, P, 0, 0);
            double Sl = 0, Sv = 0;
            const double Gl = f.ops.GibbsEnergy(AtPressureState(f, base, P, true), &Sl);
            const double Gv = f.ops.GibbsEnergy(AtPressureState(f, base, P, false), &Sv);
            const double dS = Sv - Sl;
            if (!(dS > 0)) return none;
            dT = (Gv - Gl) / dS;
            converged = std::fabs(dT) <= kNewtonTolerance * T;
        } else {
            const PointContext base = IsobarBase(f, T, P, rhov, rhol);
            const Phase liquid = AtDensity(f, base, rhol, -1);
            const Phase vapour = AtDensity(f, base, rhov, -1);
            const auto& l = liquid.results.values;
            const auto& v = vapour.results.values;
            const double dS = v[kS] - l[kS];
            if (!(dS > 0) || !(liquid.dPdrho > 0) || !(vapour.dPdrho > 0)) return none;
            if (!(rhol > rhov * (1 + kMinimumSeparation))) return none;
            dT = ((vapour.G - liquid.G) - (P - liquid.P) / rhol + (P - vapour.P) / rhov) / dS;
            dl = (P - liquid.P - l[kAlpha] / l[kKappa] * dT) / liquid.dPdrho;
            dv = (P - vapour.P - v[kAlpha] / v[kKappa] * dT) / vapour.dPdrho;
            converged = std::fabs(dT) <= kNewtonTolerance * T && std::fabs(dl) <= kNewtonTolerance * rhol &&
                        std::fabs(dv) <= kNewtonTolerance * rhov;
            // Close to the critical point the corrections stall at the rounding of the
            // nearly singular system; the equations themselves are then met.
            const double RT = c.R * T;
            converged = converged || (std::fabs(liquid.P - P) <= kResidualTolerance * P &&
                                      std::fabs(vapour.P - P) <= kResidualTolerance * P &&
                                      std::fabs(liquid.G - vapour.G) <= kResidualTolerance * RT);
        }
        if (!std::isfinite(dT) || !std::isfinite(dl) || !std::isfinite(dv)) return none;
        if (converged) break;
        // Newton's error after a step is of the order of the step squared: a step this
        // small leaves the temperature exact to the arithmetic's precision without a
        // pass to confirm it (the equilibrium at the temperature is computed next).
        if (pass > 0 && std::fabs(dT) <= kLastDirectStep * T) return T + dT;
        // Damped where a step would be large: the temperature by a hundredth, each
        // density by a fifth at most.
        double scale = std::fmin(1.0, kMaxDirectStep * T / std::fabs(dT));
        if (dl != 0) scale = std::fmin(scale, 0.2 * rhol / std::fabs(dl));
        if (dv != 0) scale = std::fmin(scale, 0.2 * rhov / std::fabs(dv));
        T += scale * dT;
        rhol += scale * dl;
        rhov += scale * dv;
    }
    return converged ? T : none;
}

}  // namespace

SaturationPoint SaturationByPressure(const Fluid& fluid, double P, double wavelength) {
    if (!fluid.ops.CheckTemperature || !fluid.ops.Saturation || !fluid.ops.Properties)
        return Refused(0, Status::kUnset, MessageId::kModelMissing);
    if (std::isnan(P)) return Refused(0, Status::kNotAvailable, MessageId::kSaturationNotAvailable);
    const SaturationRange range = SaturationRangeOf(fluid);
    // Methanol's equation reaches its critical point slightly above the tabulated Pc
    // (8.10399 MPa against 8.1035 MPa); the pressures up to there are saturation states.
    if (P >= fluid.constants.Pc && !(P <= range.Phigh))
        return Refused(0, Status::kOverPc, MessageId::kSaturationOverPc);
    if (!(range.Plow > 0) || !(range.Phigh > range.Plow))
        return Refused(0, Status::kNotAvailable, MessageId::kSaturationNotAvailable);
    if (!(P >= range.Plow)) return Refused(0, Status::kUnset, BelowRangeMessage(fluid));
    if (P > range.Phigh) return Refused(0, Status::kNotAvailable, MessageId::kSaturationNotAvailable);

    // ln P is nearly linear in 1/T (Clausius-Clapeyron): regula falsi (Illinois) on
    // g(1/T) = ln P(T) - ln P, which falls with 1/T, inside the bracket of the range.
    const double target = std::log(P);
    const double a = 1 / range.Thigh, b = 1 / range.Tlow;
    const double ga = std::log(range.Phigh) - target, gb = std::log(range.Plow) - target;
    if (ga == 0) return SaturationByTemperature(fluid, range.Thigh, wavelength);
    if (gb == 0) return SaturationByTemperature(fluid, range.Tlow, wavelength);

    // The first temperature tried: the equilibrium at P by Newton's method from the
    // auxiliary equation's temperature, where both answer; the equilibrium at that
    // temperature then meets P to the precision of the arithmetic.
    double x = std::nan("");
    const double Taux = AuxiliarySaturationTemperature(fluid, P);
    if (Taux > range.Tlow && Taux < range.Thigh) {
        const double T = DirectEquilibrium(fluid, P, Taux, range);
        x = 1 / (std::isfinite(T) ? T : Taux);
    }
    IllinoisBracket r{a, ga, b, gb};
    SaturationPoint best;
    PointContext bestLiquid, bestVapour;
    double bestGap = std::numeric_limits<double>::infinity();
    double lastGap = std::numeric_limits<double>::infinity();
    bool closed = false;  // no double left between the ends of the bracket
    for (int pass = 0; pass < kMaxTemperaturePasses; ++pass) {
        if (!(x > r.a && x < r.b)) x = r.Next();
        if (!(x > r.a && x < r.b)) {
            closed = true;
            break;
        }
        PointContext liquid, vapour;
        SaturationPoint p = SaturationAt(fluid, 1 / x, -1, &liquid, &vapour);
        if (!p.HasValue()) break;
        const double g = std::log(p.P) - target;
        if (std::fabs(g) < bestGap) {
            bestGap = std::fabs(g);
            best = p;
            bestLiquid = liquid;
            bestVapour = vapour;
        }
        if (std::fabs(g) <= kPressureTolerance) break;
        r.Replace(x, g, g > 0);  // g falls with 1/T
        // Newton's step by Clausius-Clapeyron, d ln P / d(1/T) = -T dH / (P dV), while
        // it at least halves the mismatch; else the bracket's next point.
        const double slope = -p.T * p.dH / (p.P * (1 / p.rhov - 1 / p.rhol));
        x = std::fabs(g) < 0.5 * lastGap ? x - g / slope : std::nan("");
        lastGap = std::fabs(g);
    }
    // A bracket closed on two adjacent temperatures whose pressures lie on both sides
    // of P is a step of the saturation pressure: water's at 623.15 K, where the
    // equilibrium of its liquid and vapour equations gives way to that of region 3,
    // 762 Pa higher. The pressures inside the step have that temperature, and the
    // nearer of its two equilibria.
    const bool step = closed && bestGap <= kMaxPressureStep;
    if (!best.HasValue() || !(bestGap <= 1e-10 || step))
        return Refused(0, Status::kNotAvailable, MessageId::kSaturationNotAvailable);
    if (wavelength >= 0 || !fluid.ops.StateValues)
        Complete(fluid, best, bestLiquid, bestVapour, std::fabs(wavelength));
    else
        CompleteValues(fluid, best, bestLiquid, bestVapour);
    return best;
}

PointResult TwoPhaseState(const Fluid& fluid, const SaturationPoint& sat, double x) {
    PointResult r;
    PointContext& s = r.state;
    s.T = sat.T;
    s.tau = sat.T != 0 ? fluid.constants.Tred / sat.T : 0;
    if (!sat.HasValue()) {
        if (sat.status != Status::kUnset) r.saturation.status = sat.status;
        r.AddMessage(sat.message);
        return r;
    }
    s.P = sat.P;
    s.pi = sat.P / fluid.constants.Pred;
    s.satuP = sat.P;
    s.satuRhov = sat.rhov;
    s.satuRhol = sat.rhol;
    r.hasP = true;
    r.saturation = {Status::kValue, sat.P, sat.rhov, sat.rhol};
    if (fluid.ops.MeltingPressure) {
        r.melt = fluid.ops.MeltingPressure(s.tau);
        if (r.melt.HasValue()) {
            r.melt.value = RoundTo15Digits(r.melt.value);
            s.meltP = std::isfinite(r.melt.value) ? r.melt.value : 0;
        }
    }
    if (!(x >= 0 && x <= 1)) {
        r.AddMessage(MessageId::kQualityRange);
        return r;
    }
    // Specific volumes add by the vapour fraction; so do U, H, S, F, G and, at one
    // pressure and temperature, Z = P v / (R T). The ends are the phases themselves.
    s.rho = x == 0 ? sat.rhol : x == 1 ? sat.rhov : 1 / ((1 - x) / sat.rhol + x / sat.rhov);
    s.delta = s.rho / fluid.constants.rhored;
    r.hasRho = true;
    r.quality = Quantity::Of(x);
    r.hasProperties = true;
    for (int i = 0; i < kPropertyCount; ++i) {
        const double l = sat.liquid.values[i], v = sat.vapour.values[i];
        r.properties.values[i] = !r.ResultAvailable(i) ? std::nan("") : x == 0 ? l : x == 1 ? v : (1 - x) * l + x * v;
    }
    for (int k = 0; k < kSecondaryCount; ++k)
        if ((fluid.ops.secondaryResults >> k & 1u) || sat.liquid.secondary[k].status != Status::kUnset)
            r.properties.secondary[k] = Quantity::With(Status::kNotAvailable);
    return r;
}

}  // namespace kelvane
