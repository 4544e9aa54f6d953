// Evaluation of the check table and the consistency identities through the adapter.
#include "verify/verification.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "core/fluid_model.h"
#include "fluids/registry.h"
#include "verify/check_values.h"
#include "verify/point_adapter.h"

namespace kelvane::verify {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Trimmed(double x) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", x);
    return buf;
}

std::string StateText(const CheckValue& c) {
    std::string s = "T=" + Trimmed(c.T) + " K";
    switch (c.road) {
        case Road::kPressure: s += ", p=" + Trimmed(c.x) + " MPa"; break;
        case Road::kDensity: s += ", rho=" + Trimmed(c.x) + (c.molarInput ? " mol/dm3" : " kg/m3"); break;
        case Road::kSaturation: s += ", saturation"; break;
        case Road::kSaturatedLiquid: s += ", saturated liquid"; break;
        case Road::kSaturatedVapour: s += ", saturated vapour"; break;
        case Road::kFormula:
            if (c.x > 0) s += ", rho=" + Trimmed(c.x) + (c.molarInput ? " mol/dm3" : " kg/m3");
            break;
    }
    if (c.quantity == Quantity::kN) s += ", lambda=" + Trimmed(c.wavelength) + " nm";
    if (c.road == Road::kFormula) s += " (equation evaluated directly)";
    if (c.outsideRange) s += " (refused as frozen)";
    return s;
}

// The equation evaluated directly for a formula row.
double FormulaValue(const CheckValue& c, double rhoMolar) {
    switch (c.formulation) {
        case FormulationId::kIf97Boundary23: return VerifyFormula(Formula::kB23Pressure, c.T, 0) / 1e6;
        case FormulationId::kIf97Saturation: return VerifyFormula(Formula::kSaturationPressure, c.T, 0) / 1e6;
        case FormulationId::kWaterDielectric: return VerifyFormula(Formula::kWaterDielectric, c.T, rhoMolar);
        case FormulationId::kWaterRefractive:
            return VerifyFormula(Formula::kWaterRefractive, c.T, rhoMolar, c.wavelength);
        case FormulationId::kWaterViscosity:
            return VerifyFormula(Formula::kWaterViscosity, c.T, rhoMolar) * (c.quantity == Quantity::kEta ? 1e6 : 1);
        case FormulationId::kWaterConductivity:
            return VerifyFormula(Formula::kWaterConductivityBackground, c.T, rhoMolar);
        case FormulationId::kFenghourViscosity:
            return VerifyFormula(Formula::kCo2ViscosityBackground, c.T, rhoMolar) * 1e6;
        case FormulationId::kMethanolViscosity: return VerifyFormula(Formula::kMethanolViscosity, c.T, rhoMolar) * 1e3;
        case FormulationId::kMethanolConductivity:
            return VerifyFormula(Formula::kMethanolConductivity, c.T, rhoMolar) * 1e3;
        default: return kNaN;
    }
}

// The computed value of one check in the published unit; `message` receives the
// calculation's message when it gave no number.
double ComputedValue(const CheckValue& c, std::string& message) {
    const Formulation& f = FormulationOf(c.formulation);
    const FluidConstants& fluid = FluidAt(f.fluid).constants;
    const double M = fluid.M, Rm = fluid.R;
    const double rhoMolar = c.molarInput ? c.x * 1000 : c.x / M * 1000;
    PointResult r;
    switch (c.road) {
        case Road::kFormula: return FormulaValue(c, rhoMolar);
        case Road::kPressure: r = VerifyPoint(f.fluid, c.T, c.x * 1e6, 0, c.wavelength, c.outsideRange); break;
        case Road::kDensity: r = VerifyPoint(f.fluid, c.T, 0, rhoMolar, c.wavelength); break;
        case Road::kSaturation: r = VerifyPoint(f.fluid, c.T, 0, 1.0); break;
        case Road::kSaturatedLiquid:
        case Road::kSaturatedVapour: {
            const PointResult s = VerifyPoint(f.fluid, c.T, 0, 1.0);
            // Just on the phase's side of the saturation state (by 1e-12 of the density),
            // where the region rule of water and the two-phase test put it.
            const double rho = c.road == Road::kSaturatedLiquid ? s.satRhoL * (1 + 1e-12) : s.satRhoV * (1 - 1e-12);
            if (!std::isfinite(rho)) {
                message = "no saturation state";
                return kNaN;
            }
            r = VerifyPoint(f.fluid, c.T, 0, rho, c.wavelength, c.outsideRange);
            break;
        }
    }
    // IF97's check values are specific quantities generated with its own gas constant;
    // the others use the program's molar mass.
    const bool if97 = f.fluid == 0;
    const double specific = if97 ? kIf97R / Rm : 1 / M;  // J/mol -> kJ/kg
    const auto& v = r.values;
    double x = kNaN;
    switch (c.quantity) {
        case Quantity::kV: x = if97 ? v[kZ] * kIf97R * 1000 * c.T / r.P : 1000 / (r.rho * M); break;
        case Quantity::kP: x = if97 ? v[kZ] * r.rho * M / 1000 * kIf97R * c.T / 1000 : r.P / 1e6; break;
        case Quantity::kRho: x = r.rho * M / 1000; break;
        case Quantity::kU: x = v[kU] * specific; break;
        case Quantity::kH: x = v[kH] * specific; break;
        case Quantity::kS: x = v[kS] * specific; break;
        case Quantity::kCv: x = v[kCv] * specific; break;
        case Quantity::kCp: x = v[kCp] * specific; break;
        case Quantity::kW: x = if97 ? v[kW] * std::sqrt(kIf97R / (Rm / M)) : v[kW]; break;
        case Quantity::kSatP: x = r.satP / 1e6; break;
        case Quantity::kSatRhoV: x = r.satRhoV * M / 1000; break;
        case Quantity::kSatRhoL: x = r.satRhoL * M / 1000; break;
        case Quantity::kEta: x = r.eta * 1e6; break;
        case Quantity::kEtaPaS: x = r.eta; break;
        case Quantity::kLambda: x = r.lambda; break;
        case Quantity::kLambdaMilli: x = r.lambda * 1e3; break;
        case Quantity::kEps: x = r.eps; break;
        case Quantity::kN: x = r.n; break;
        case Quantity::kPKw: x = r.pKw; break;
        case Quantity::kEtaMilli: x = r.eta * 1e3; break;
    }
    if (!std::isfinite(x)) message = r.message.empty() ? "no value" : r.message;
    return x;
}

CheckResult Judge(CheckResult r) {
    r.pass = std::isfinite(r.computed) && std::fabs(r.computed - r.expected) <= r.tolerance;
    return r;
}

}  // namespace

double CheckResult::Digits() const {
    if (!std::isfinite(computed)) return 0;
    const double d = std::fabs(computed - expected);
    if (d == 0) return 16;
    if (expected == 0) return std::max(0.0, -std::log10(d));
    return std::clamp(-std::log10(d / std::fabs(expected)), 0.0, 16.0);
}

const char* FluidName(int fluid) {
    static const char* const names[] = {"water", "methanol", "co2"};
    return fluid >= 0 && fluid < 3 ? names[fluid] : "?";
}

int FluidByName(const std::string& name) {
    for (int i = 0; i < 3; ++i)
        if (name == FluidName(i)) return i;
    return -1;
}

CheckResult Evaluate(const CheckValue& c) {
    const Formulation& f = FormulationOf(c.formulation);
    CheckResult r;
    r.formulation = f.name;
    r.fluid = f.fluid;
    r.source = std::string(f.publication) + ", " + c.source;
    r.state = StateText(c);
    r.quantity = QuantityName(c.quantity);
    if (*QuantityUnit(c.quantity)) r.quantity += std::string(" / ") + QuantityUnit(c.quantity);
    r.published = c.published;
    r.expected = ExpectedValue(c);
    r.shifted = c.shift != Shift::kNone;
    r.tolerance = Tolerance(c);
    std::string message;
    r.computed = ComputedValue(c, message);
    r.note = message.empty() ? c.note : message;
    return Judge(r);
}

std::vector<CheckResult> RunPublishedChecks(int fluid) {
    std::vector<CheckResult> out;
    for (const CheckValue& c : CheckValues())
        if (fluid < 0 || FormulationOf(c.formulation).fluid == fluid) out.push_back(Evaluate(c));
    return out;
}

namespace {

// States (T/K, p/MPa) that spread over each fluid's range and phases.
struct Spread {
    double T, p;
};
const std::vector<Spread>& SpreadOf(int fluid) {
    static const std::vector<Spread> states[3] = {
        {{300, 10}, {500, 10}, {400, 0.1}, {650, 25}, {700, 30}, {1500, 5}},  // regions 1, 1, 2, 3, 2, 5
        {{200, 10}, {300, 10}, {400, 0.1}, {500, 50}, {600, 0.1}},
        {{220, 10}, {280, 2}, {320, 10}, {500, 20}, {1000, 50}},
    };
    return states[fluid];
}
const std::vector<double>& SaturationTemperatures(int fluid) {
    static const std::vector<double> temperatures[3] = {{300, 450, 600}, {250, 400, 500}, {230, 270, 300}};
    return temperatures[fluid];
}

std::string ConsistencyName(int fluid) { return std::string("Consistency (") + FluidName(fluid) + ")"; }

CheckResult Identity(int fluid, const std::string& identity, const std::string& state, const std::string& quantity,
                     double computed, double expected, double tolerance, const std::string& note) {
    CheckResult r;
    r.formulation = ConsistencyName(fluid);
    r.fluid = fluid;
    r.source = identity;
    r.state = state;
    r.quantity = quantity;
    r.published = FormatNumber(expected);
    r.expected = expected;
    r.computed = computed;
    r.tolerance = tolerance;
    r.note = note;
    return Judge(r);
}

void AddIdentities(int fluid, std::vector<CheckResult>& out) {
    const double R = FluidAt(fluid).constants.R;
    for (const Spread& s : SpreadOf(fluid)) {
        const std::string state = "T=" + Trimmed(s.T) + " K, p=" + Trimmed(s.p) + " MPa";
        const double P = s.p * 1e6;
        const PointResult r = VerifyPoint(fluid, s.T, P, 0);
        const auto& v = r.values;
        const double RT = R * s.T;
        // Tolerances: the arithmetic of the results (1e-9 of the terms), and for H the density found
        // for the given pressure, which the searches refine far below their 1e-6 step rule.
        out.push_back(Identity(fluid, "H = U + P/rho", state, "H / J/mol", v[kH], v[kU] + P / r.rho,
                               1e-8 * (std::fabs(v[kH]) + RT), "density from the pressure"));
        out.push_back(Identity(fluid, "G = H - T S", state, "G / J/mol", v[kG], v[kH] - s.T * v[kS],
                               1e-9 * (std::fabs(v[kH]) + s.T * std::fabs(v[kS]) + RT), ""));
        out.push_back(Identity(fluid, "F = U - T S", state, "F / J/mol", v[kF], v[kU] - s.T * v[kS],
                               1e-9 * (std::fabs(v[kU]) + s.T * std::fabs(v[kS]) + RT), ""));
        // Central differences over +-0.1 % of T: the truncation error is about 1e-7 of the
        // heat capacity; at constant pressure the density search adds up to 1e-6 of
        // (dH/d ln rho)_T = (1 / (rho kappa)) (1 - T alpha) per 2 dT.
        // Richardson's extrapolation of central differences over 0.1 % and 0.05 % of T
        // removes the error of second order, which near the critical point would be
        // 1e-3 of Cp; what remains, with the density searches differenced over 0.05 % of
        // T, stays below 1e-5 of the heat capacity.
        const double dT = 1e-3 * s.T;
        auto derivative = [&](int k, double P1, double rho1) {
            auto difference = [&](double h) {
                const PointResult a = VerifyPoint(fluid, s.T + h, P1, rho1), b = VerifyPoint(fluid, s.T - h, P1, rho1);
                return (a.values[k] - b.values[k]) / (2 * h);
            };
            return (4 * difference(dT / 2) - difference(dT)) / 3;
        };
        out.push_back(Identity(fluid, "Cp = (dH/dT)_P", state, "Cp / J/(mol K)", v[kCp], derivative(kH, P, 0),
                               1e-5 * v[kCp], "central differences over 0.1 % of T, extrapolated"));
        out.push_back(Identity(fluid, "Cv = (dU/dT)_rho", state, "Cv / J/(mol K)", v[kCv], derivative(kU, 0, r.rho),
                               1e-5 * v[kCv], "central differences over 0.1 % of T, extrapolated"));
    }
    for (double T : SaturationTemperatures(fluid)) {
        const std::string state = "T=" + Trimmed(T) + " K, saturation";
        const PointResult s = VerifyPoint(fluid, T, 0, 1.0);
        const PointResult l = VerifyPoint(fluid, T, 0, s.satRhoL), g = VerifyPoint(fluid, T, 0, s.satRhoV);
        // The saturation search stops at 1e-6 in the densities; in the liquid the bulk
        // modulus 1/kappa magnifies that in the Gibbs energy. The pressure of the saturated
        // liquid's density is found again by the pressure search, to 1e-9 of 1/kappa.
        const double bulkL = 1 / (l.values[kKappa] * s.satRhoL);  // J/mol
        const double RT = R * T;
        out.push_back(Identity(fluid, "G' = G'' (phase equilibrium)", state, "G' / J/mol", l.values[kG], g.values[kG],
                               1e-6 * (RT + bulkL), "saturation search 1e-6"));
        out.push_back(
            Identity(fluid, "p(rho'') = p_s", state, "p'' / Pa", g.P, s.satP, 2e-6 * s.satP, "saturation search 1e-6"));
        out.push_back(Identity(fluid, "p(rho') = p_s", state, "p' / Pa", l.P, s.satP,
                               1e-6 * s.satP + 1e-9 / l.values[kKappa], "pressure search from the density"));
    }
}

}  // namespace

std::vector<CheckResult> RunConsistencyChecks(int fluid) {
    std::vector<CheckResult> out;
    for (int f = 0; f < 3; ++f)
        if (fluid < 0 || fluid == f) AddIdentities(f, out);
    return out;
}

std::vector<CheckResult> RunVerification(int fluid) {
    std::vector<CheckResult> out = RunPublishedChecks(fluid);
    const std::vector<CheckResult> identities = RunConsistencyChecks(fluid);
    out.insert(out.end(), identities.begin(), identities.end());
    return out;
}

std::vector<CheckResult> ForDisplay(const std::vector<CheckResult>& results, int fluid) {
    std::vector<CheckResult> out;
    for (const CheckResult& r : results)
        if (fluid < 0 || r.fluid == fluid) out.push_back(r);
    std::stable_partition(out.begin(), out.end(), [](const CheckResult& r) { return !r.pass; });
    return out;
}

std::vector<Summary> Summarize(const std::vector<CheckResult>& results) {
    std::vector<Summary> out;
    for (const CheckResult& r : results) {
        auto it =
            std::find_if(out.begin(), out.end(), [&](const Summary& s) { return s.formulation == r.formulation; });
        if (it == out.end()) {
            out.push_back({r.formulation});
            it = out.end() - 1;
        }
        ++it->checks;
        it->failures += !r.pass;
        it->worstDigits = std::min(it->worstDigits, r.Digits());
        const double fraction = std::isfinite(r.computed) ? std::fabs(r.computed - r.expected) / r.tolerance
                                                          : std::numeric_limits<double>::infinity();
        it->worstFraction = std::max(it->worstFraction, fraction);
    }
    return out;
}

std::string FormatNumber(double x) {
    if (!std::isfinite(x)) return "-";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.12g", x);
    return buf;
}

std::string FormatDigits(double digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", digits);
    return digits >= 16 ? "16" : buf;
}

}  // namespace kelvane::verify
