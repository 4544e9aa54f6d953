// The published check values of every formulation the calculator uses, in one table
// that the tests and the verification report share.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace kelvane::verify {

// A published formulation (or a documented comparison) and its fluid.
struct Formulation {
    const char* name;         // short name, the report's first column
    int fluid;                // 0 water, 1 methanol, 2 carbon dioxide
    const char* publication;  // where the check values are printed
};

enum class FormulationId {
    kIf97Region1,
    kIf97Region2,
    kIf97Region3,
    kIf97Region5,
    kIf97Boundary23,
    kIf97Saturation,
    kWaterDielectric,
    kWaterRefractive,
    kWaterIonProduct,
    kWaterViscosity,
    kWaterConductivity,
    kSpanWagnerSaturation,
    kSpanWagnerSinglePhase,
    kFenghourViscosity,
    kVesovicConductivity,
    kMethanol,
    kMethanolViscosity,
    kMethanolConductivity,
    kCount
};

const Formulation& FormulationOf(FormulationId id);

// How the checked number is obtained.
enum class Road {
    kPressure,         // the point calculation with T and P given
    kDensity,          // the point calculation with T and rho given
    kSaturation,       // the point calculation's saturation values at T
    kSaturatedLiquid,  // the point at T and the saturated liquid density
    kSaturatedVapour,  // the point at T and the saturated vapour density
    kFormula,          // one published equation evaluated directly (see Formula)
};

// The checked quantity in the unit the publication prints.
enum class Quantity {
    kV,            // specific volume, m3/kg
    kP,            // pressure, MPa
    kRho,          // density, kg/m3
    kU,            // kJ/kg
    kH,            // kJ/kg
    kS,            // kJ/(kg K)
    kCv,           // kJ/(kg K)
    kCp,           // kJ/(kg K)
    kW,            // m/s
    kSatP,         // MPa
    kSatRhoV,      // kg/m3
    kSatRhoL,      // kg/m3
    kEta,          // 1e-6 Pa s
    kEtaPaS,       // Pa s
    kLambda,       // W/(m K)
    kLambdaMilli,  // mW/(m K)
    kEps,          // relative dielectric constant
    kN,            // refractive index
    kPKw,          // -log10 Kw (Kw in mol2/kg2)
    kEtaMilli,     // 1e-3 Pa s
};
const char* QuantityName(Quantity q);
const char* QuantityUnit(Quantity q);

// A documented difference between the program's constants and the publication's,
// applied to the published value before the comparison (see ShiftOf).
enum class Shift {
    kNone,
    kDielectricBoltzmann,  // k = 1.3806e-23 J/K instead of 1.380658e-23 J/K
    kRefractiveResonance,  // the squared resonance wavelengths 0.052533574 and 29.51680642
};

struct CheckValue {
    FormulationId formulation;
    const char* source;  // the table of the publication
    Road road;
    double T;  // K
    double x;  // MPa (pressure roads), kg/m3 (density roads, or mol/dm3 when molarInput)
    Quantity quantity;
    const char* published;    // the value as printed
    double wavelength = 589;  // nm (refractive index)
    bool molarInput = false;
    // A published state on the melting line, which the calculation refuses as frozen:
    // the fluid operations are evaluated in the calculation's order without the checks.
    bool outsideRange = false;
    Shift shift = Shift::kNone;
    double units = 0.5;     // allowed deviation in units of the last significant digit
    int digits = 0;         // when > 0: the significant digit that defines the unit
    double allowAbs = 0;    // documented further allowance, in the published unit
    double allowRel = 0;    // documented further allowance, relative to the value
    const char* note = "";  // why a shift or an allowance applies
};

// Every check value, grouped by formulation in the order of FormulationId.
std::span<const CheckValue> CheckValues();
// The check values of one formulation (optionally of one quantity), in table order.
std::vector<CheckValue> ChecksOf(FormulationId f);
std::vector<CheckValue> ChecksOf(FormulationId f, Quantity q);

// The published value as a number, and the unit of the digit that defines its tolerance.
double PublishedValue(const CheckValue& c);
double LastDigitUnit(const CheckValue& c);
// The value the program is expected to reach: the published one plus the documented shift.
double ExpectedValue(const CheckValue& c);
// Allowed |computed - expected|: `units` of the last digit (widened by 1e-6 of itself
// against the binary representation) plus the documented allowances.
double Tolerance(const CheckValue& c);

// Specific gas constant of IAPWS-IF97, kJ/(kg K), with which its check values were
// generated; the calculator's R / M is 6.0e-8 higher, and the water checks convert
// molar results to specific ones with this constant.
inline constexpr double kIf97R = 0.461526;

}  // namespace kelvane::verify
