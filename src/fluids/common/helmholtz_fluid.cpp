#include "fluids/common/helmholtz_fluid.h"

#include <algorithm>
#include <cmath>

#include "core/solvers.h"

namespace kelvane {

std::array<double, kPropertyCount> HelmholtzProperties(const ReducedHelmholtz& h, double delta,
                                                       double tau, double R, double T, double rho,
                                                       double M, double rhored) {
    const double pt = h.phiT * tau;
    const double ptt = h.phiTT * tau * tau;
    const double Z = 1 + delta * h.rD;
    const double pdt = delta * tau * h.rDT;
    const double pdd = delta * delta * h.rDD;
    const double e = Z - pdt;          // 1 + delta phir_d - delta tau phir_dt
    const double L = 2 * Z - 1 + pdd;  // 1 + 2 delta phir_d + delta^2 phir_dd
    const double RT = R * T;

    std::array<double, kPropertyCount> out{};
    out[kF] = RT * h.phi;
    out[kU] = RT * pt;
    out[kH] = RT * (pt + Z);
    out[kG] = RT * (h.phi + Z);
    out[kS] = R * (pt - h.phi);
    out[kCv] = -R * ptt;
    out[kCp] = R * (e * e / L - ptt);
    out[kZ] = Z;
    out[kFugacity] = std::exp(Z - std::log(Z) - 1 + h.r);
    out[kW] = std::sqrt((L - e * e / ptt) * (RT / M) * 1000);
    out[kJT] = -(pdt + pdd + Z - 1) / ((e * e - ptt * L) * R * rho);
    out[kC2] = h.virial / rhored;
    out[kAlpha] = e / (L * T);
    out[kKappa] = 1 / (L * RT * rho);
    return out;
}

namespace {

// Reduced density on the isotherm at pressure p by step halving.
double DensityAt(ResidualFunction phir, double tau, double rhored, double R, double T, double p,
                 double x, double h) {
    do {
        const double pressure = (1 + x * phir(1, x, 0, tau)) * x * rhored * R * T;
        if (pressure > p)
            x -= h;
        else
            x += h;
        h /= 2;
    } while (!(x < 0) && !(h / x < 1e-6) && h > 0);
    return x;
}

}  // namespace

EqualAreaResult EqualAreaSaturation(ResidualFunction phir, double tau, double T, double R,
                                    double rhored, double p0, double dV, double dL,
                                    double (*vapourStart)(double dV), int maxPasses) {
    const double RTrhored = rhored * R * T;
    double target = p0;
    EqualAreaResult result{p0, dV, dL, 0, false};
    for (int pass = 1; pass <= maxPasses; ++pass) {
        dV = DensityAt(phir, tau, rhored, R, T, target, vapourStart(dV), 0.25 * dV);
        dL = DensityAt(phir, tau, rhored, R, T, target, 1.9 * dL, 0.5 * dL);
        const double pn = (phir(0, dL, 0, tau) - phir(0, dV, 0, tau) + std::log(dL / dV)) *
                          RTrhored * dV * dL / (dL - dV);
        result = {pn, dV, dL, pass, false};
        if (std::fabs(pn - target) / pn < 1e-6) {
            result.converged = true;
            // The searches leave each density within a few millionths of its root, which
            // on the liquid branch is a pressure error of megapascals: a compressed
            // liquid just above the saturation pressure would then lie below the
            // saturated-liquid density. Both densities are narrowed to the roots of the
            // final pressure, inside the brackets the searches left.
            auto pressure = [&](double x) { return (1 + x * phir(1, x, 0, tau)) * x * RTrhored; };
            for (double* x : {&result.dV, &result.dL}) {
                const double refined = RefineIncreasingRoot(pressure, pn, *x * (1 - 4e-6), *x * (1 + 4e-6));
                if (std::isfinite(refined)) *x = refined;
            }
            break;
        }
        target = pn;
    }
    return result;
}

NewtonSaturation NewtonEqualArea(ResidualEvaluator phir, double tau, double T, double R, double rhored,
                                 double dV, double dL) {
    NewtonSaturation out;
    if (!(dV > 0 && dL > dV)) return out;
    constexpr unsigned kOrders = kOrderR | kOrderD | kOrderDD;
    double previous = 1;
    for (int step = 1; step <= kMaxNewtonSaturationSteps; ++step) {
        const ResidualDerivatives v = phir(dV, tau, kOrders), l = phir(dL, tau, kOrders);
        const double JV = dV * (1 + dV * v.rD), JL = dL * (1 + dL * l.rD);
        const double KV = dV * v.rD + v.r + std::log(dV), KL = dL * l.rD + l.r + std::log(dL);
        const double JdV = 1 + dV * (2 * v.rD + dV * v.rDD), JdL = 1 + dL * (2 * l.rD + dL * l.rDD);
        const double KdV = 2 * v.rD + dV * v.rDD + 1 / dV, KdL = 2 * l.rD + dL * l.rDD + 1 / dL;
        // JdL sL - JdV sV = JV - JL and KdL sL - KdV sV = KV - KL.
        const double a = JV - JL, b = KV - KL;
        const double det = JdV * KdL - JdL * KdV;
        if (!(std::isfinite(det) && det != 0)) return out;
        double sV = (JdL * b - KdL * a) / det;
        double sL = (JdV * b - KdV * a) / det;
        if (!(std::isfinite(sV) && std::isfinite(sL))) return out;
        // Keep 0 < dV < dL: halve the step until it does.
        for (int cut = 0; cut < 60 && !(dV + sV > 0 && dL + sL > dV + sV); ++cut) {
            sV /= 2;
            sL /= 2;
        }
        if (!(dV + sV > 0 && dL + sL > dV + sV)) return out;
        // Done when the step lies below 1e-10 relative (the error after it, quadratic
        // in the step, lies below the precision of phir), or, near the critical point,
        // where the isotherm is flat and the conditions are known only to a few
        // digits fewer, when a step below 1e-5 no longer shrinks quadratically: it is
        // the rounding noise of the conditions.
        const double size = std::max(std::fabs(sV) / dV, std::fabs(sL) / dL);
        const bool last = size <= 1e-10 || (size <= 1e-5 && size > 0.25 * previous);
        previous = size;
        // The pressure of the vapour, where it is least affected by rounding, carried
        // to the new densities to first order.
        const double p = (JV + JdV * sV) * rhored * R * T;
        dV += sV;
        dL += sL;
        out.steps = step;
        if (last) {
            out.pressure = p;
            out.dV = dV;
            out.dL = dL;
            // Two stable densities, not the trivial solution dV = dL that Newton's
            // method can approach near the critical point: either far apart, or with an
            // unstable stretch of the isotherm (a falling pressure) at their mean.
            auto apart = [&] {
                if (dL > 1.5 * dV) return true;
                const double m = (dV + dL) / 2;
                const ResidualDerivatives mid = phir(m, tau, kOrderD | kOrderDD);
                return 1 + m * (2 * mid.rD + m * mid.rDD) < 0;
            };
            out.converged = JdV > 0 && JdL > 0 && p > 0 && apart();
            return out;
        }
    }
    return out;
}

}  // namespace kelvane
