#include "fluids/water/water_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "fluids/water/water_eos.h"
#include "fluids/water/water_transport.h"

namespace kelvane {

namespace {

// Reducing constants of regions 1, 2 and 5 (IAPWS-IF97).
constexpr double kP1 = 16.53e6, kT1 = 1386;
constexpr double kP2 = 1e6, kT2 = 540;
constexpr double kP5 = 1e6, kT5 = 1000;

constexpr double kTmin = 273.15, kTmax = 2273.15, kT25 = 1073.15, kT13 = 623.15;
// Above this temperature the region-3 Maxwell construction has no two-phase loop to
// work with inside its fixed search windows.
constexpr double kSaturationCutoff = 647.08438225;

// Start densities and search half-widths of the region-3 saturation, in units of rhoc.
constexpr double kVapourStart = 0.704, kVapourHalfWidth = 0.353;
constexpr double kLiquidStart = 1.393, kLiquidHalfWidth = 0.394;

// Below this reduced pressure of a gas region (2 or 5) the state is an ideal gas to
// the last digit: pi gamma_pi = 1 + pi gamma^r_pi and pi^2 gamma_pipi = -1 +
// pi^2 gamma^r_pipi are 1 and -1 in double precision (the residual derivatives stay
// below 100 in magnitude over both regions), while 1/pi^2 in gamma_pipi overflows
// from pi = 1e-154 on and 1/pi in gamma_pi once pi is subnormal.
constexpr double kIdealGasPi = 1e-100;

// Reference values of the IAPS-1985 transport equations.
constexpr double kTstar = 647.226;                       // K
constexpr double kPstar = 22.115e6;                      // Pa
double RhoStar() { return 317763 / kWaterConstants.M; }  // 317.763 kg/m3 in mol/m3
// p* / (rho* R T*): converts reduced derivatives of the equation of state to the
// reduced variables of the thermal-conductivity enhancement.
double TransportK() { return kPstar / (RhoStar() * kWaterConstants.R * kTstar); }

// Region-3 pressure (Pa) at density rho (mol/m3) and T = 1/tau.
double Region3Pressure(double rho, double tau) {
    const double delta3 = rho / kWaterConstants.rhoc;
    return rho * kWaterConstants.R / tau * delta3 * HelmholtzRegion3(1, delta3, 0, kWaterConstants.Tc * tau);
}

Quantity MeltingPressure(double) { return Quantity::With(Status::kNotTreated); }

MessageId CheckTemperature(double T) {
    if (!(T >= kTmin)) return MessageId::kWaterBelowT;
    if (T > kTmax) return MessageId::kWaterAboveT;
    return MessageId::kNone;
}

MessageId CheckState(double P, double T, double /*meltP*/) {
    if (!(P >= 0)) return MessageId::kDensityNotInadequate;
    if (P > 1e8) return MessageId::kWaterAbove100MPa;
    if (P > 1e7 && T > kT25) return MessageId::kWaterAbove10MPaHot;
    return MessageId::kNone;
}

SaturationState Saturation(double tau, double /*T*/) {
    // Compared through tau = 1/T, exact for a boundary temperature given exactly.
    if (tau <= 1 / kWaterConstants.Tc) return {Status::kOverTc};
    const double T = 1 / tau;
    WaterSaturationState s;
    if (tau >= 1 / kT13) {
        s = SaturationRegions12Newton(T);
        if (!s.converged) s = SaturationRegions12(T);
    } else {
        const double ps = SaturationPressureEquation(T);
        s = SaturationRegion3Newton(T, ps);
        // The step-halving iteration, where Newton's method did not converge, inside
        // the temperatures its fixed search windows serve.
        if (!s.converged && tau >= 1 / kSaturationCutoff) s = SaturationRegion3(T, ps);
    }
    if (!s.converged) return {Status::kNotAvailable};
    return {Status::kValue, s.pressure, s.rhoV, s.rhoL};
}

double Pressure(double delta, double tau, double pi, const PointContext& st) {
    const int r = Region(delta, tau, pi, st.satuP, st.satuRhov, st.satuRhol);
    if (pi == 0 && r == 3) {
        const double delta3 = delta / kWaterConstants.rhoc;
        return delta3 * HelmholtzRegion3(1, delta3, 0, kWaterConstants.Tc * tau);
    }
    if (delta != 0) return 0;
    // A density given inside the coexistence range is a metastable vapour evaluated
    // with region 2; the pressure search for it must stay on region 2 above the
    // saturation pressure, or it could never reach the given density.
    if (r == 1 && st.inputVar == 1 && st.satuRhov != 0 && st.rho >= st.satuRhov &&
        Region(st.rho, tau, 0, st.satuP, st.satuRhov, st.satuRhol) == 2)
        return pi / kP2 * GibbsRegion2(1, pi / kP2, 0, kT2 * tau);
    switch (r) {
        case 1: return pi / kP1 * GibbsRegion1(1, pi / kP1, 0, kT1 * tau);
        case 5: return pi / kP5 < kIdealGasPi ? 1 : pi / kP5 * GibbsRegion5(1, pi / kP5, 0, kT5 * tau);
        default:  // 2, and 3 by pressure
            return pi / kP2 < kIdealGasPi ? 1 : pi / kP2 * GibbsRegion2(1, pi / kP2, 0, kT2 * tau);
    }
}

double PressureSlope(double delta, double tau, const PointContext& st, double* dZdDelta) {
    if (Region(delta, tau, 0, st.satuP, st.satuRhov, st.satuRhol) == 3) {
        const double delta3 = delta / kWaterConstants.rhoc, tau3 = kWaterConstants.Tc * tau;
        const double f1 = HelmholtzRegion3(1, delta3, 0, tau3);
        *dZdDelta = (f1 + delta3 * HelmholtzRegion3(2, delta3, 0, tau3)) / kWaterConstants.rhoc;
        return delta3 * f1;
    }
    *dZdDelta = 0;
    return Pressure(delta, tau, 0, st);
}

// The 14 results of a Gibbs-function region (1, 2 or 5) with the inputs of the
// thermal-conductivity enhancement.
struct RegionResults {
    std::array<double, kPropertyCount> v{};
    double dpdT = 0;
    double drhodp = 0;
};

// The results of a Gibbs region from its six derivatives d at the reduced variables
// x = pi / pScale and y = tau. A gas region (2 or 5) below kIdealGasPi takes the
// ideal-gas values of gp and gpp, which its derivatives d no longer hold in the range
// of numbers.
RegionResults GibbsProperties(const PointContext& st, const GibbsOrders& d, double pScale, double y, double bsum,
                              double pi, double lnFugacity, bool gas) {
    const double R = kWaterConstants.R, T = st.T, RT = R * T, rho = st.rho;
    const double x = pi / pScale;
    const bool ideal = gas && x < kIdealGasPi;
    const double g = d.g;
    const double gt = y * d.gTau;
    const double gtt = y * y * d.gTauTau;
    const double gp = ideal ? 1 : x * d.gPi;
    const double gpt = x * y * d.gPiTau;
    const double gpp = ideal ? -1 : x * x * d.gPiPi;
    const double e = gp - gpt;

    RegionResults r;
    auto& v = r.v;
    v[kF] = RT * (g - gp);
    v[kU] = RT * (gt - gp);
    v[kH] = RT * gt;
    v[kG] = RT * g;
    v[kS] = R * (gt - g);
    v[kCv] = R * (e * e / gpp - gtt);
    v[kCp] = -R * gtt;
    v[kZ] = gp;
    v[kFugacity] = std::exp(lnFugacity);
    v[kW] = std::sqrt(gp * gp * (RT / kWaterConstants.M) * 1000 / (e * e / gtt - gpp));
    // In the ideal-gas limit gpt and rho both approach zero with the pressure; their
    // ratio is taken as (y gamma_pi,tau) (x / rho), which keeps its digits where gpt
    // would be subnormal.
    v[kJT] = ideal ? -(y * d.gPiTau) * ((pi / rho) / pScale) / (gp * v[kCp]) : -gpt / (gp * rho * v[kCp]);
    v[kC2] = bsum * RT / (kWaterConstants.rhored * 1e6);
    v[kAlpha] = e / (gp * T);
    v[kKappa] = -gpp / (gp * gp * rho * RT);
    r.dpdT = (pi / kPstar) * (kTstar / T) * (-e / gpp);
    r.drhodp = -(kTstar / T) * gpp / (gp * gp) * TransportK();
    return r;
}

// Density on the region-3 isotherm where the pressure equals pB, by a neighbourhood
// search from the region-2 density at the same pressure.
double BoundaryDensity(double rho2, double pB, double tau) {
    double V = rho2, W = 0.1 * rho2;
    // The mismatch at the centre is carried over: the next centre is one of the three
    // points just evaluated.
    double r0 = std::fabs(Region3Pressure(V, tau) - pB);
    for (int step = 0; step < kMaxBoundaryDensitySteps && W / V >= 1e-6; ++step) {
        const double rm = std::fabs(Region3Pressure(V - W, tau) - pB);
        const double rp = std::fabs(Region3Pressure(V + W, tau) - pB);
        if (std::min(rm, rp) < r0) {
            if (rm >= rp) {
                V = V + W;
                r0 = rp;
            } else {
                V = V - W;
                r0 = rm;
            }
        }
        W /= 2;
    }
    return V;
}

// BoundaryDensity for the region-2 density and boundary pressure of temperature 1/tau,
// remembered for the last temperature: both arguments are functions of tau alone, and
// the cells of a table row share their temperature.
double BoundaryDensityAt(double rho2, double pB, double tau) {
    struct Last {
        uint64_t tau = 0, rho2 = 0, pB = 0;
        bool valid = false;
        double rhoB = 0;
    };
    thread_local Last last;
    const uint64_t t = std::bit_cast<uint64_t>(tau), r = std::bit_cast<uint64_t>(rho2), p = std::bit_cast<uint64_t>(pB);
    if (!last.valid || last.tau != t || last.rho2 != r || last.pB != p) {
        last = {t, r, p, true, BoundaryDensity(rho2, pB, tau)};
    }
    return last.rhoB;
}

// Without `fugacity` the fugacity coefficient is left NaN: its bridge to region 2
// searches the boundary density at every new temperature.
RegionResults Region3Properties(const PointContext& st, double delta, double tau, bool fugacity) {
    const double R = kWaterConstants.R, T = st.T, RT = R * T, rho = st.rho;
    const double d = delta / kWaterConstants.rhoc, t = kWaterConstants.Tc * tau;
    const double p = HelmholtzRegion3(0, d, 0, t);
    const double pt = t * HelmholtzRegion3(0, d, 1, t);
    const double ptt = t * t * HelmholtzRegion3(0, d, 2, t);
    const double pd = d * HelmholtzRegion3(1, d, 0, t);
    const double pdt = d * t * HelmholtzRegion3(1, d, 1, t);
    const double pdd = d * d * HelmholtzRegion3(2, d, 0, t);
    const double e = pd - pdt;
    const double k = 2 * pd + pdd;

    RegionResults r;
    auto& v = r.v;
    v[kF] = RT * p;
    v[kU] = RT * pt;
    v[kH] = RT * (pd + pt);
    v[kG] = RT * (pd + p);
    v[kS] = R * (pt - p);
    v[kCv] = -R * ptt;
    v[kCp] = R * (e * e / k - ptt);
    v[kZ] = pd;

    v[kFugacity] = std::nan("");
    // Region 3 has no ideal-gas reference of its own: bridge from region 2 at the
    // region 2-3 boundary pressure of the same temperature.
    if (fugacity) {
        const double pB = BoundaryB23Pressure(tau);
        const double rho2 = kP2 / (GibbsRegion2(1, pB / kP2, 0, kT2 * tau) * R * T);
        const double rhoB = BoundaryDensityAt(rho2, pB, tau);
        const double dB = rhoB / kWaterConstants.rhoc;
        const double pB3 = HelmholtzRegion3(0, dB, 0, t);
        const double zB = dB * HelmholtzRegion3(1, dB, 0, t);
        const double lnf =
            -std::log(pd / zB) - std::log(rho / rhoB) + pd + p - zB - pB3 + GibbsRegion2(0, pB / kP2, -1, kT2 * tau);
        v[kFugacity] = std::exp(lnf);
    }

    v[kW] = std::sqrt((k - e * e / ptt) * (RT / kWaterConstants.M) * 1000);
    v[kJT] = (e - k) / (k * v[kCp] * rho);
    v[kC2] = GibbsRegion2(0, 0, -2, kT2 * tau) * RT / (kWaterConstants.rhored * 1e6);
    v[kAlpha] = e / (T * k);
    v[kKappa] = 1 / (rho * RT * k);
    r.dpdT = (delta / RhoStar()) * e / TransportK();
    r.drhodp = (kTstar / T) * TransportK() / k;
    return r;
}

// The 14 results and the inputs of the conductivity enhancement in the region of the
// state (in region 3 without the fugacity coefficient unless `fugacity`).
RegionResults RegionProperties(const PointContext& st, bool fugacity) {
    const double delta = st.delta, tau = st.tau, pi = st.pi;
    // Density-given states (inputVar 1) by density, all others by pressure.
    const int region = st.inputVar != 1 ? Region(0, tau, pi, st.satuP, st.satuRhov, st.satuRhol)
                                        : Region(delta, tau, 0, st.satuP, st.satuRhov, st.satuRhol);
    RegionResults r;
    switch (region) {
        case 1:
            r = GibbsProperties(st, GibbsRegion1Orders(pi / kP1, kT1 * tau), kP1, kT1 * tau,
                                GibbsRegion2(0, 0, -2, kT2 * tau), pi, LiquidLnFugacity(pi / kP1, kT1 * tau, st.satuP),
                                false);
            break;
        case 2:
            r = GibbsProperties(st, GibbsRegion2Orders(pi / kP2, kT2 * tau), kP2, kT2 * tau,
                                GibbsRegion2(0, 0, -2, kT2 * tau), pi, GibbsRegion2(0, pi / kP2, -1, kT2 * tau), true);
            break;
        case 5:
            r = GibbsProperties(st, GibbsRegion5Orders(pi / kP5, kT5 * tau), kP5, kT5 * tau,
                                GibbsRegion5(0, 0, -2, kT5 * tau), pi, GibbsRegion5(0, pi / kP5, -1, kT5 * tau), true);
            break;
        default: r = Region3Properties(st, delta, tau, fugacity); break;
    }
    return r;
}

std::array<double, kPropertyCount> StateValues(const PointContext& st) { return RegionProperties(st, false).v; }

// G and S as GibbsProperties computes them, from the same derivatives, without the
// other results (the second virial coefficient and the fugacity coefficient take
// sums of their own).
double GibbsEnergy(const PointContext& st, double* S) {
    const double tau = st.tau, pi = st.pi, R = kWaterConstants.R;
    const int region = st.inputVar != 1 ? Region(0, tau, pi, st.satuP, st.satuRhov, st.satuRhol)
                                        : Region(st.delta, tau, 0, st.satuP, st.satuRhov, st.satuRhol);
    GibbsOrders d;
    double y = 0;
    switch (region) {
        case 1:
            y = kT1 * tau;
            d = GibbsRegion1Orders(pi / kP1, y);
            break;
        case 2:
            y = kT2 * tau;
            d = GibbsRegion2Orders(pi / kP2, y);
            break;
        case 5:
            y = kT5 * tau;
            d = GibbsRegion5Orders(pi / kP5, y);
            break;
        default: {
            const std::array<double, kPropertyCount> v = RegionProperties(st, false).v;
            *S = v[kS];
            return v[kG];
        }
    }
    const double gt = y * d.gTau;
    *S = R * (gt - d.g);
    return R * st.T * d.g;
}

// Below the critical temperature the saturation-pressure equation of IAPWS-IF97
// (region 4), else 0.
double AuxiliarySaturationPressure(double T) {
    return T >= kTmin && T < kWaterConstants.Tc ? SaturationPressureEquation(T) : 0;
}

PropertyResults Properties(const PointContext& st, double wavelength) {
    const double delta = st.delta, tau = st.tau;
    const RegionResults r = RegionProperties(st, true);
    PropertyResults out;
    out.values = r.v;
    auto& s = out.secondary;
    s[kEps] = Quantity::Of(WaterDielectricConstant(delta, tau));
    s[kEtha] = Quantity::Of(WaterViscosity(delta, tau));
    if (r.drhodp >= 0) {
        const double lambda = WaterConductivity(delta, tau, r.dpdT, r.drhodp);
        s[kLambda] = Quantity::Of(lambda);
        s[kDth] = Quantity::Of(lambda / (delta * r.v[kCp]));
    } else {
        s[kLambda] = Quantity::With(Status::kNotAvailable);
        s[kDth] = Quantity::With(Status::kNotAvailable);
    }
    s[kPKw] = Quantity::Of(WaterIonProduct(delta, tau));
    s[kN] = Quantity::Of(WaterRefractiveIndex(delta, tau, wavelength));
    return out;
}

// |g2 - g1| of the dimensionless Gibbs functions of regions 2 and 1 at P; g1 receives
// the region-1 value.
double GibbsGap(double P, double tau, double& g1) {
    g1 = GibbsRegion1(0, P / kP1, 0, kT1 * tau);
    return std::fabs(GibbsRegion2(0, P / kP2, 0, kT2 * tau) - g1);
}

// Density on the region-3 isotherm at pressure P by step halving from `start` with
// the first step `step` (both mol/m3).
double Region3DensityAt(double P, double tau, double start, double step) {
    double rho = start;
    do {
        if (Region3Pressure(rho, tau) > P)
            rho -= step;
        else
            rho += step;
        step /= 2;
    } while (!(rho < 0) && !(step / rho < 1e-6));
    return rho;
}

}  // namespace

WaterSaturationState SaturationRegions12(double T) {
    const double tau = 1 / T;
    double P = SaturationPressureEquation(T);
    double h = 0.2 * P;
    double g1 = 0;
    double best = GibbsGap(P, tau, g1);
    while (!(std::fabs(g1) * 1e-6 > best) && !(h < 1e-12)) {
        const double below = GibbsGap(P - h, tau, g1);
        if (below < best) {
            P -= h;
            best = below;
        } else {
            const double above = GibbsGap(P + h, tau, g1);
            if (above < best) {
                P += h;
                best = above;
            }
        }
        h /= 2;
    }
    const double rhoL = kP1 / (GibbsRegion1(1, P / kP1, 0, kT1 * tau) * kWaterConstants.R * T);
    const double rhoV = kP2 / (GibbsRegion2(1, P / kP2, 0, kT2 * tau) * kWaterConstants.R * T);
    return {P, rhoV, rhoL, 0, true};
}

WaterSaturationState SaturationRegions12Newton(double T) {
    const double tau = 1 / T;
    double P = SaturationPressureEquation(T);
    WaterSaturationState s{P, 0, 0, 0, false};
    for (int step = 1; step <= kMaxWaterNewtonSteps; ++step) {
        // g2 - g1 and its pressure derivative (the difference of the reduced volumes).
        double g1, g1p, g2, g2p;
        GibbsRegion1AndSlope(P / kP1, kT1 * tau, &g1, &g1p);
        GibbsRegion2AndSlope(P / kP2, kT2 * tau, &g2, &g2p);
        const double dP = -(g2 - g1) / (g2p / kP2 - g1p / kP1);
        if (!(std::isfinite(dP) && P + dP > 0)) return s;
        P += dP;
        // Quadratic convergence: after a step below 1e-9 the error lies below the
        // precision of the Gibbs functions.
        if (std::fabs(dP) <= 1e-9 * P) {
            s.converged = true;
            s.passes = step;
            break;
        }
    }
    if (!s.converged) return s;
    s.pressure = P;
    s.rhoL = kP1 / (GibbsRegion1(1, P / kP1, 0, kT1 * tau) * kWaterConstants.R * T);
    s.rhoV = kP2 / (GibbsRegion2(1, P / kP2, 0, kT2 * tau) * kWaterConstants.R * T);
    return s;
}

namespace {

// Newton's method on the region-3 Maxwell conditions from the reduced densities dV, dL.
WaterSaturationState Region3Newton(double T, double dV, double dL) {
    const double rhoc = kWaterConstants.rhoc;
    const double t = kWaterConstants.Tc / T;
    WaterSaturationState s{0, 0, 0, 0, false};
    if (!(dV > 0 && dL > dV)) return s;
    // Equal pressure and Gibbs energy with J = d^2 phi_d and K = phi + d phi_d of the
    // region-3 function phi (which carries its own ln d term).
    double previous = 1;
    for (int step = 1; step <= kMaxWaterNewtonSteps; ++step) {
        const double fV = HelmholtzRegion3(0, dV, 0, t), fdV = HelmholtzRegion3(1, dV, 0, t),
                     fddV = HelmholtzRegion3(2, dV, 0, t);
        const double fL = HelmholtzRegion3(0, dL, 0, t), fdL = HelmholtzRegion3(1, dL, 0, t),
                     fddL = HelmholtzRegion3(2, dL, 0, t);
        const double JV = dV * dV * fdV, JL = dL * dL * fdL;
        const double KV = fV + dV * fdV, KL = fL + dL * fdL;
        const double JdV = dV * (2 * fdV + dV * fddV), JdL = dL * (2 * fdL + dL * fddL);
        const double KdV = 2 * fdV + dV * fddV, KdL = 2 * fdL + dL * fddL;
        const double a = JV - JL, b = KV - KL;
        const double det = JdV * KdL - JdL * KdV;
        double sV = (JdL * b - KdL * a) / det;
        double sL = (JdV * b - KdV * a) / det;
        if (!(std::isfinite(sV) && std::isfinite(sL))) return s;
        for (int cut = 0; cut < 60 && !(dV + sV > 0 && dL + sL > dV + sV); ++cut) {
            sV /= 2;
            sL /= 2;
        }
        if (!(dV + sV > 0 && dL + sL > dV + sV)) return s;
        // Done when the step lies below 1e-12 relative, or, near the critical point,
        // where the isotherm is flat and the conditions are known only to a few
        // digits fewer, when a step below 1e-5 no longer shrinks quadratically: it is
        // the rounding noise of the conditions.
        const double size = std::max(std::fabs(sV) / dV, std::fabs(sL) / dL);
        const bool last = size <= 1e-10 || (size <= 1e-5 && size > 0.25 * previous);
        previous = size;
        const double P = (JV + JdV * sV) * rhoc * kWaterConstants.R * T;
        dV += sV;
        dL += sL;
        if (last) {
            // Two stable densities, not the trivial solution dV = dL: far apart, or with
            // a falling pressure at their mean.
            auto apart = [&] {
                if (dL > 1.5 * dV) return true;
                const double m = (dV + dL) / 2;
                return m * (2 * HelmholtzRegion3(1, m, 0, t) + m * HelmholtzRegion3(2, m, 0, t)) < 0;
            };
            s = {P, dV * rhoc, dL * rhoc, step, JdV > 0 && JdL > 0 && P > 0 && apart()};
            return s;
        }
    }
    return s;
}

}  // namespace

WaterSaturationState SaturationRegion3Newton(double T, double p0) {
    const double tau = 1 / T;
    const double rhoc = kWaterConstants.rhoc;
    // Start: the densities of p0 found by the step-halving searches in their windows.
    const double dV = Region3DensityAt(p0, tau, kVapourStart * rhoc, kVapourHalfWidth * rhoc / 2) / rhoc;
    const double dL = Region3DensityAt(p0, tau, kLiquidStart * rhoc, kLiquidHalfWidth * rhoc / 2) / rhoc;
    WaterSaturationState s = Region3Newton(T, dV, dL);
    if (s.converged) return s;
    // Within a few hundredths of a kelvin of Tc the windows no longer separate the two
    // branches; the coexistence curve of region 3 there follows the scaling law
    // d = 1 -/+ 1.5 (1 - T/Tc)^0.325 closely enough for a start.
    const double w = 1.5 * std::exp(0.325 * std::log(1 - T / kWaterConstants.Tc));
    return Region3Newton(T, 1 - w, 1 + w);
}

WaterSaturationState SaturationRegion3(double T, double p0, int maxPasses) {
    const double tau = 1 / T;
    const double rhoc = kWaterConstants.rhoc;
    const double t = kWaterConstants.Tc * tau;
    double P = p0;
    WaterSaturationState s{p0, 0, 0, 0, false};
    for (int pass = 1; pass <= maxPasses; ++pass) {
        const double rhoV = Region3DensityAt(P, tau, kVapourStart * rhoc, kVapourHalfWidth * rhoc / 2);
        const double rhoL = Region3DensityAt(P, tau, kLiquidStart * rhoc, kLiquidHalfWidth * rhoc / 2);
        // Equal areas: P (1/rhoV - 1/rhoL) = F(rhoV) - F(rhoL) along the isotherm.
        const double phiV = HelmholtzRegion3(0, rhoV / rhoc, 0, t);
        const double phiL = HelmholtzRegion3(0, rhoL / rhoc, 0, t);
        const double Pn = (phiL - phiV) * kWaterConstants.R * T * rhoV * rhoL / (rhoL - rhoV);
        s = {Pn, rhoV, rhoL, pass, false};
        if (!(std::fabs(Pn - P) / Pn >= 1e-6)) {
            s.converged = true;
            break;
        }
        P = Pn;
    }
    return s;
}

const FluidOperations& WaterOperations() {
    static const FluidOperations ops{MeltingPressure,
                                     CheckTemperature,
                                     CheckState,
                                     Saturation,
                                     Pressure,
                                     Properties,
                                     Region,
                                     BoundaryB23Pressure,
                                     /*saturationDependsOnTemperatureOnly=*/true,
                                     PressureSlope,
                                     StateValues,
                                     AuxiliarySaturationPressure,
                                     kAllSecondaryResults,
                                     GibbsEnergy};
    return ops;
}

}  // namespace kelvane
