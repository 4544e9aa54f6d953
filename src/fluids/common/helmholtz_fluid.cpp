#include "fluids/common/helmholtz_fluid.h"

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
                                    double (*vapourStart)(double dV)) {
    const double RTrhored = rhored * R * T;
    double target = p0;
    EqualAreaResult result{p0, dV, dL, 0, false};
    for (int pass = 1; pass <= kMaxEqualAreaPasses; ++pass) {
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

}  // namespace kelvane
