// Algebra shared by the fluids whose equation of state is a reduced Helmholtz energy
// phi(delta, tau) = phi0(delta, tau) + phir(delta, tau) (methanol, carbon dioxide):
// the 14 thermodynamic results from the reduced derivatives, and the equal-area
// (Maxwell) saturation iteration.
#pragma once

#include <array>
#include <type_traits>
#include <utility>

#include "core/fluid_model.h"

namespace kelvane {

// Reduced Helmholtz energy and derivatives at one state point.
struct ReducedHelmholtz {
    double phi;     // full reduced Helmholtz energy (ideal part including its ln delta term)
    double phiT;    // d phi / d tau (ideal plus residual)
    double phiTT;   // d2 phi / d tau2 (ideal plus residual)
    double r;       // residual part phir
    double rD;      // d phir / d delta
    double rDD;     // d2 phir / d delta2
    double rDT;     // d2 phir / (d delta d tau)
    double virial;  // limit of d phir / d delta as delta -> 0
};

// The 14 results in SI molar units. R in J/(mol K), T in K, rho in mol/m3, M in g/mol,
// rhored in mol/m3.
std::array<double, kPropertyCount> HelmholtzProperties(const ReducedHelmholtz& h, double delta,
                                                       double tau, double R, double T, double rho,
                                                       double M, double rhored);

// The residual part phir(delta, tau) and its five partial derivatives up to the second
// order at one state point, for equations that evaluate them together.
struct ResidualDerivatives {
    double r = 0;    // phir
    double rD = 0;   // d phir / d delta
    double rDD = 0;  // d2 phir / d delta2
    double rT = 0;   // d phir / d tau
    double rDT = 0;  // d2 phir / (d delta d tau)
    double rTT = 0;  // d2 phir / d tau2
};

// Orders of a ResidualDerivatives, as bits for asking an evaluation for some of them.
enum ResidualOrder : unsigned {
    kOrderR = 1u << 0,
    kOrderD = 1u << 1,
    kOrderDD = 1u << 2,
    kOrderT = 1u << 3,
    kOrderDT = 1u << 4,
    kOrderTT = 1u << 5,
    kOrderAll = (1u << 6) - 1,
};

// The orders of ResidualOrder's bits as (delta order, tau order).
constexpr int kResidualOrders = 6;
constexpr int kOrderDeltaOf[kResidualOrders] = {0, 1, 2, 0, 1, 0};
constexpr int kOrderTauOf[kResidualOrders] = {0, 0, 0, 1, 1, 2};

// Calls f(std::integral_constant<int, o>()) for each order o whose bit is set in kMask,
// in increasing o; the evaluators use it to write each term once for every order and
// let the compiler keep only the asked ones.
template <unsigned kMask, typename F>
inline void ForEachOrder(F&& f) {
    [&]<int... o>(std::integer_sequence<int, o...>) {
        (
            [&] {
                if constexpr (((kMask >> o) & 1u) != 0) f(std::integral_constant<int, o>());
            }(),
            ...);
    }(std::make_integer_sequence<int, kResidualOrders>());
}

// The six fields of r in the order of ResidualOrder's bits.
inline double& ResidualField(ResidualDerivatives& r, int o) {
    double* const fields[kResidualOrders] = {&r.r, &r.rD, &r.rDD, &r.rT, &r.rDT, &r.rTT};
    return *fields[o];
}
inline double ResidualField(const ResidualDerivatives& r, int o) {
    const double fields[kResidualOrders] = {r.r, r.rD, r.rDD, r.rT, r.rDT, r.rTT};
    return fields[o];
}

// Evaluates the order set `orders`, known at run time, with an evaluator instantiated
// per set: eval(std::integral_constant<unsigned, kMask>()) computes the orders of kMask.
// The sets the calculator asks for have their own instances (the density searches
// d phir / d delta alone, the saturation iteration phir alone, the isothermal
// stiffness, the phase-equilibrium iteration the isothermal ones together, Properties
// all six); any other set is computed with all six.
template <typename Eval>
ResidualDerivatives EvaluateOrderSet(unsigned orders, Eval&& eval) {
    auto with = [&]<unsigned kMask>() { return eval(std::integral_constant<unsigned, kMask>()); };
    switch (orders) {
        case kOrderR: return with.template operator()<kOrderR>();
        case kOrderD: return with.template operator()<kOrderD>();
        case kOrderDD: return with.template operator()<kOrderDD>();
        case kOrderT: return with.template operator()<kOrderT>();
        case kOrderDT: return with.template operator()<kOrderDT>();
        case kOrderTT: return with.template operator()<kOrderTT>();
        case kOrderD | kOrderDD: return with.template operator()<kOrderD | kOrderDD>();
        case kOrderR | kOrderD | kOrderDD: return with.template operator()<kOrderR | kOrderD | kOrderDD>();
        default: {
            const ResidualDerivatives all = with.template operator()<kOrderAll>();
            ResidualDerivatives out;
            for (int o = 0; o < kResidualOrders; ++o)
                if ((orders >> o) & 1u) ResidualField(out, o) = ResidualField(all, o);
            return out;
        }
    }
}

// Residual function phir(delta, tau) and its first delta derivative.
using ResidualFunction = double (*)(int nDelta, double delta, int nTau, double tau);
// The asked orders (ResidualOrder bits) of phir at one state point.
using ResidualEvaluator = ResidualDerivatives (*)(double delta, double tau, unsigned orders);

struct EqualAreaResult {
    double pressure;  // Pa
    double dV;        // reduced saturated-vapour density
    double dL;        // reduced saturated-liquid density
    int passes;       // outer passes used
    bool converged;   // false when the pass limit ended the iteration
};

// Upper bound on the outer passes of the equal-area iteration; from the auxiliary
// start values it needs one to a few passes wherever a saturation state exists.
constexpr int kMaxEqualAreaPasses = 200;

// Phase equilibrium at tau by the equal-area condition. Each pass finds the vapour
// and liquid densities at the target pressure by step-halving searches on the
// isotherm (vapour from vapourStart(dV) with step dV/4, liquid from 1.9 dL with step
// dL/2, each ending when step/delta < 1e-6 or delta < 0), then takes
//   p = rhored R T dV dL / (dL - dV) [phir(dL) - phir(dV) + ln(dL/dV)]
// as the next target until it changes by less than 1e-6 relative.
// At most maxPasses passes.
EqualAreaResult EqualAreaSaturation(ResidualFunction phir, double tau, double T, double R,
                                    double rhored, double p0, double dV, double dL,
                                    double (*vapourStart)(double dV), int maxPasses = kMaxEqualAreaPasses);

// Phase equilibrium at tau by Newton's method on the two conditions of equal pressure
// and equal Gibbs energy of the reduced densities dV < dL (Akasaka, J. Therm. Sci.
// Technol. 3, 442 (2008)):
//   J(d) = d (1 + d phir_d),   K(d) = d phir_d + phir + ln d,
//   J(dV) = J(dL),             K(dV) = K(dL),
// which is the equal-area condition on the isotherm. Each step evaluates phir and its
// first two delta derivatives at both densities; a step that would leave 0 < dV < dL is
// shortened. The iteration ends when a step moves both densities by less than 1e-10
// relative (the error after it lies below the precision of phir), after at most
// kMaxNewtonSaturationSteps steps; `converged` is false when it did not end there, or
// when the densities it ended on are not both on a mechanically stable branch
// (d p / d rho > 0) or have fallen together.
struct NewtonSaturation {
    double pressure = 0;  // Pa
    double dV = 0, dL = 0;
    int steps = 0;
    bool converged = false;
};
constexpr int kMaxNewtonSaturationSteps = 60;
NewtonSaturation NewtonEqualArea(ResidualEvaluator phir, double tau, double T, double R, double rhored,
                                 double dV, double dL);

}  // namespace kelvane
