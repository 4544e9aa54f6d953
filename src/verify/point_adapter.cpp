// The road to a state point is the engine's point calculation, the one the windows, the
// tables and the command-line tool call: Calculate on the fluid of the registry. Its
// numbers are read as the calculation produced them (no text in between), so the 14
// results and the transport and electrical values carry every digit of a double.
#include "verify/point_adapter.h"

#include <limits>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/solvers.h"
#include "fluids/co2/co2_transport.h"
#include "fluids/methanol/methanol_conductivity.h"
#include "fluids/methanol/methanol_viscosity.h"
#include "fluids/registry.h"
#include "fluids/water/water_eos.h"
#include "fluids/water/water_transport.h"
#include "forms/texts.h"

namespace kelvane::verify {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PointResult Empty() {
    PointResult r;
    r.values.fill(kNaN);
    r.P = r.rho = r.satP = r.satRhoV = r.satRhoL = r.eta = r.lambda = r.eps = r.pKw = r.n = kNaN;
    return r;
}

double ValueOf(const kelvane::Quantity& q) { return q.HasValue() ? q.value : kNaN; }

// The 14 results and the transport and electrical values of the operation Properties.
void TakeProperties(const PropertyResults& p, PointResult& out) {
    for (int i = 0; i < kPropertyCount; ++i) out.values[i] = p.values[i];
    out.eta = ValueOf(p.secondary[kEtha]);
    out.lambda = ValueOf(p.secondary[kLambda]);
    out.eps = ValueOf(p.secondary[kEps]);
    out.pKw = ValueOf(p.secondary[kPKw]);
    out.n = ValueOf(p.secondary[kN]);
    out.computed = true;
}

// The fluid operations in the order of Calculate, without the range and melting checks
// that refuse the state: saturation as the calculation carries it, the density or the
// pressure from the solvers, then Properties.
PointResult PointOutsideRange(const Fluid& fluid, double T, double P, double rho, double wavelength) {
    const FluidConstants& c = fluid.constants;
    PointContext s;
    s.inputVar = P > 0 ? 0 : 1;
    s.T = T;
    s.tau = c.Tred / T;
    const SaturationState sat = CalculationSaturation(fluid, s.tau, T);
    if (sat.status == Status::kValue) {
        s.satuP = sat.P;
        s.satuRhov = sat.rhov;
        s.satuRhol = sat.rhol;
    }
    if (P > 0) {
        s.P = P;
        s.pi = P / c.Pred;
        s.rho = SolveDensity(fluid, s);
    } else {
        s.rho = rho;
        s.delta = rho / c.rhored;
        s.P = SolvePressure(fluid, s, nullptr);
    }
    s.pi = s.P / c.Pred;
    s.delta = s.rho / c.rhored;
    PointResult out = Empty();
    TakeProperties(fluid.ops.Properties(s, wavelength), out);
    out.P = s.P;
    out.rho = s.rho;
    out.message = "range and melting checks passed over";
    return out;
}

}  // namespace

PointResult VerifyPoint(int fluid, double T, double P, double rho, double wavelength, bool outsideRange) {
    const Fluid& f = FluidAt(fluid);
    if (outsideRange) return PointOutsideRange(f, T, P, rho, wavelength);
    PointInput in;
    in.inputVar = P > 0 ? 0 : 1;
    in.T = T;
    in.P = P > 0 ? P : 0;
    in.rho = P > 0 ? 0 : rho;
    in.wavelength = wavelength;
    const kelvane::PointResult c = Calculate(f, in);

    PointResult r = Empty();
    r.message = MessageLine(c);
    if (c.hasP) r.P = c.state.P;
    if (c.hasRho) r.rho = c.state.rho;
    if (c.saturation.status == Status::kValue) {
        r.satP = c.saturation.P;
        r.satRhoV = c.saturation.rhov;
        r.satRhoL = c.saturation.rhol;
    }
    if (c.hasProperties) TakeProperties(c.properties, r);
    return r;
}

double VerifyFormula(Formula formula, double T, double x, double wavelength) {
    // Water's reducing values: tau = Tred/T = 1/T with Tred = 1 K is what its
    // correlations take, delta = rho/rhored the molar density.
    constexpr const FluidConstants& w = kWaterConstants;
    constexpr const FluidConstants& co2 = kCo2Constants;
    const double tauW = w.Tred / T, deltaW = x / w.rhored;
    switch (formula) {
        case Formula::kB23Pressure: return BoundaryB23Pressure(tauW);
        case Formula::kSaturationPressure: return SaturationPressureEquation(T);
        case Formula::kWaterDielectric: return WaterDielectricConstant(deltaW, tauW);
        case Formula::kWaterRefractive: return WaterRefractiveIndex(deltaW, tauW, wavelength);
        case Formula::kWaterViscosity: return WaterViscosity(deltaW, tauW);
        case Formula::kWaterConductivityBackground: return WaterConductivity(deltaW, tauW, 0, 0);
        case Formula::kCo2ViscosityBackground:
            // The dilute-gas term takes sqrt(T) from the state, the rest tau.
            return BackgroundViscosity(x / co2.rhored, co2.Tred / T, T);
        case Formula::kMethanolViscosity: return MethanolViscosity(T, x * kMethanolConstants.M / 1000);
        case Formula::kMethanolConductivity: {
            const double rho = x * kMethanolConstants.M / 1000;
            return MethanolConductivity(T, rho, MethanolCriticalInputsFromEos(T, rho));
        }
    }
    return kNaN;
}

}  // namespace kelvane::verify
