// Today's road to a state point is the headless main window: its fields are set as a
// user sets them, "Calculate" runs, and the fields are read back in the precise
// (15-digit) format of the command-line tool's --precise.
#include "verify/point_adapter.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/main_form.h"
#include "core/solvers.h"
#include "core/units.h"
#include "fluids/co2/co2_model.h"
#include "fluids/co2/co2_transport.h"
#include "fluids/registry.h"
#include "fluids/water/water_eos.h"
#include "fluids/water/water_transport.h"

namespace kelvane::verify {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A number typed with every digit a double holds, so that the form parses it back exactly.
std::string Exact(double x) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

// A field's number, NaN for an empty field or a message.
double Number(const EditField& f) {
    try {
        return f.text.empty() ? kNaN : ParseStrict(f.text);
    } catch (const ConversionError&) {
        return kNaN;
    }
}

// The calculator's global state, the precise-format switch and the selected fluid are
// put back on leaving, so that a report run from the About window leaves the main
// window's calculation as it was.
class StateGuard {
public:
    StateGuard() : saved_(calc), precise_(PreciseResults()) {}
    ~StateGuard() {
        calc = saved_;
        SetPreciseResults(precise_);
    }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    CalculatorState saved_;
    bool precise_;
};

PointResult Empty() {
    PointResult r;
    r.values.fill(kNaN);
    r.P = r.rho = r.satP = r.satRhoV = r.satRhoL = r.eta = r.lambda = r.eps = r.pKw = r.n = kNaN;
    return r;
}

}  // namespace

namespace {

// The fluid operations in the order of "Calculate", without the range and melting
// checks that refuse the state.
PointResult PointOutsideRange(int fluid, double T, double P, double rho, double wavelength) {
    SelectFluid(fluid);
    calc.inputVar = P > 0 ? 0 : 1;
    calc.T = T;
    calc.tau = calc.Tred / T;
    calc.meltP = 0;
    const SaturationResult s = calc.ops.Saturation(calc.tau);
    calc.satuP = ParseLeading(s.pressure);
    calc.satuRhov = ParseLeading(s.vapourDensity);
    calc.satuRhol = ParseLeading(s.liquidDensity);
    if (P > 0) {
        calc.P = P;
        calc.rho = SolveDensity(T, P, calc.satuP, calc.satuRhov, calc.satuRhol);
    } else {
        calc.rho = rho;
        calc.P = SolvePressure(T, rho, calc.satuP, calc.satuRhov, calc.satuRhol);
    }
    calc.pi = calc.P / calc.Pred;
    calc.delta = calc.rho / calc.rhored;
    const PropertyResults p = calc.ops.Properties(calc.delta, calc.tau, calc.pi, Exact(wavelength));
    PointResult out = Empty();
    for (int i = 0; i < kPropertyCount; ++i) out.values[i] = p.values[i];
    out.P = calc.P;
    out.rho = calc.rho;
    out.computed = true;
    out.message = "range and melting checks passed over";
    return out;
}

}  // namespace

PointResult VerifyPoint(int fluid, double T, double P, double rho, double wavelength, bool outsideRange) {
    RegisterAllFluids();
    const StateGuard guard;
    if (outsideRange) return PointOutsideRange(fluid, T, P, rho, wavelength);
    SetPreciseResults(true);
    MainForm f;  // the window's initial units: K, MPa, kg/m3, mol
    f.RadioGroupMatter.index = fluid;
    f.RadioGroupMatterClick();
    f.RadioGroupVar.index = P > 0 ? 0 : 1;
    f.RadioGroupVarClick();
    f.EditT.text = Exact(T);
    if (P > 0) {
        f.EditP.text = Exact(P / PressureFactor(0));
    } else {
        f.EditRho.text = Exact(DensityToDisplay(rho, 0, true));
    }
    f.Editnlambda.text = Exact(wavelength);
    f.ButtonCalcClick();

    PointResult r = Empty();
    r.message = f.EditMes.text;
    const double fP = PressureFactor(0), fR = DensityFactor(0), gA = AmountFactor(0);
    auto pressure = [&](const EditField& e) { return Number(e) * fP; };
    auto density = [&](const EditField& e) { return DensityFromDisplay(Number(e), 0, true); };
    r.P = pressure(f.EditP);
    r.rho = density(f.EditRho);
    r.satP = pressure(f.EditsatuP);
    r.satRhoV = density(f.EditsatuRhov);
    r.satRhoL = density(f.EditsatuRhol);
    const EditField* molar[] = {&f.EditF, &f.EditU, &f.EditH, &f.EditG, &f.EditS, &f.EditCv, &f.EditCp};
    for (int i = 0; i < 7; ++i) r.values[i] = Number(*molar[i]) * gA;
    r.values[kZ] = Number(f.EditZ);
    r.values[kFugacity] = Number(f.EditFP);
    r.values[kW] = Number(f.EditW);
    r.values[kJT] = Number(f.EditJT) / fP;
    r.values[kC2] = Number(f.EditC2) / fR;
    r.values[kAlpha] = Number(f.Editalpha);
    r.values[kKappa] = Number(f.Editkappa) / fP;
    r.computed = std::isfinite(r.values[kH]);
    r.eta = Number(f.EditVisc);
    r.lambda = Number(f.EditTherc);
    r.eps = Number(f.EditEps);
    r.pKw = Number(f.EditKw);
    r.n = Number(f.Editn);
    // The water model shows its electrical properties and viscosity with 8 digits even in
    // the precise format; the refractive index is published with 9. They depend on the
    // state's (T, rho) alone, so they are taken from the same functions the model calls,
    // at the state the calculation reached, with every digit.
    if (fluid == 0 && r.computed && std::isfinite(r.rho)) {
        r.eta = WaterViscosity(r.rho, 1 / T);
        r.eps = WaterDielectricConstant(r.rho, 1 / T);
        r.pKw = WaterIonProduct(r.rho, 1 / T);
        r.n = WaterRefractiveIndex(r.rho, 1 / T, wavelength);
    }
    return r;
}

double VerifyFormula(Formula formula, double T, double x, double wavelength) {
    RegisterAllFluids();
    const StateGuard guard;
    switch (formula) {
        case Formula::kB23Pressure:
            SelectFluid(0);
            return BoundaryB23Pressure(1 / T);
        case Formula::kSaturationPressure:
            SelectFluid(0);
            return SaturationPressureEquation(T);
        case Formula::kWaterDielectric:
            SelectFluid(0);
            return WaterDielectricConstant(x, 1 / T);
        case Formula::kWaterRefractive:
            SelectFluid(0);
            return WaterRefractiveIndex(x, 1 / T, wavelength);
        case Formula::kWaterViscosity:
            SelectFluid(0);
            return WaterViscosity(x, 1 / T);
        case Formula::kWaterConductivityBackground:
            SelectFluid(0);
            return WaterConductivity(x, 1 / T, 0, 0);
        case Formula::kCo2ViscosityBackground:
            SelectFluid(2);
            calc.T = T;  // the dilute-gas term takes sqrt(T) from the state
            return BackgroundViscosity(x / calc.rhored, calc.Tred / T);
    }
    return kNaN;
}

}  // namespace kelvane::verify
