// The fluid interface of the calculation engine: each fluid's constants, its limits as
// data and its operations as functions of explicit arguments. Nothing here reads or
// writes a mutable global; what a fluid remembers between calls lives in per-thread
// caches inside the fluid.
#pragma once

#include <array>
#include <cstdint>

namespace kelvane {

// How a quantity of the calculation came out. Every status other than kValue stands for
// one of the texts the windows show in the quantity's place; kUnset leaves it empty.
enum class Status : uint8_t {
    kUnset,                   // not computed (the field stays empty)
    kValue,                   // `value` holds the result
    kOverTc,                  // at or above the critical temperature
    kNotAvailable,            // no result here
    kNotAvailableBackground,  // no result; `value` holds the background value
    kNotTreated,              // outside what the formulation treats
    kAbove250MPa,             // melting pressure beyond 250 MPa
    kAbove800MPa,             // melting pressure beyond 800 MPa
    kOverPc,                  // a given pressure at or above the critical pressure
};

struct Quantity {
    Status status = Status::kUnset;
    double value = 0;

    static constexpr Quantity Of(double v) { return {Status::kValue, v}; }
    static constexpr Quantity With(Status s) { return {s, 0}; }
    constexpr bool HasValue() const { return status == Status::kValue; }
};

// The messages of the calculation. The forms turn each into the system's text.
enum class MessageId : uint8_t {
    kNone = 0,
    kModelMissing,          // no model for the selected fluid
    kTwoPhase,              // density inside the coexistence range
    kZeroState,             // a given pressure or density of zero
    kNoPressure,            // no pressure of the equation of state gives the density
    kDensityNotInadequate,  // negative pressure (water, carbon dioxide)
    kDensityNotAdequate,    // negative pressure (methanol)
    kFreeze,                // above the melting pressure
    kWaterBelowT,
    kWaterAboveT,
    kWaterAbove100MPa,
    kWaterAbove10MPaHot,
    kMethanolBelowT,
    kMethanolAboveT,
    kAbove800MPa,
    kMethanolAbove250MPaCold,
    kMethanolAbove02MPaHot,
    kCo2BelowT,
    kCo2AboveT,
    // Saturation by pressure and two-phase states.
    kWaterBelowSaturationRange,     // below the saturation pressure at 273.15 K
    kMethanolBelowSaturationRange,  // below the saturation pressure at the triple point
    kCo2BelowSaturationRange,       // below the saturation pressure at 216 K
    kSaturationOverTc,              // no saturation state: at or above Tc
    kSaturationNotAvailable,        // no saturation state from the phase equilibrium
    kSaturationOverPc,              // no saturation state: at or above Pc
    kQualityRange,                  // a vapour fraction outside 0..1
    kUnstable,                      // (dP/drho)T not positive: Cp, W, alpha, kappa and JT undefined
    kWavelengthNotPositive,         // no refractive index: the wavelength is not a positive number
    kWavelengthOutOfRange,          // no refractive index: the wavelength is outside its formulation
    kNotDefined,                    // a result has no finite value at this state
    // States by pressure and enthalpy or entropy.
    kNoStateOnIsobar,  // no accepted state has the value at the pressure
    kCount
};

// Saturation at one temperature: pressure in Pa, densities in mol/m3, or a status.
struct SaturationState {
    Status status = Status::kUnset;
    double P = 0, rhov = 0, rhol = 0;
};

// Positions of the 14 results of Properties (SI molar units).
enum PropertyIndex {
    kF = 0,     // Helmholtz energy, J/mol
    kU,         // internal energy, J/mol
    kH,         // enthalpy, J/mol
    kG,         // Gibbs energy, J/mol
    kS,         // entropy, J/(mol K)
    kCv,        // isochoric heat capacity, J/(mol K)
    kCp,        // isobaric heat capacity, J/(mol K)
    kZ,         // compression factor
    kFugacity,  // fugacity coefficient f/P
    kW,         // speed of sound, m/s
    kJT,        // Joule-Thomson coefficient, K/Pa
    kC2,        // second virial coefficient, m3/mol
    kAlpha,     // isobaric expansion coefficient, 1/K
    kKappa,     // isothermal compression coefficient, 1/Pa
    kPropertyCount
};

// The six transport and electrical results.
enum SecondaryIndex {
    kEps = 0,  // relative dielectric constant
    kEtha,     // viscosity, Pa s
    kLambda,   // thermal conductivity, W/(m K)
    kDth,      // thermal diffusivity, m2/s
    kPKw,      // ion product, -log10 Kw
    kN,        // refractive index
    kSecondaryCount
};

// The bit of a secondary result in FluidOperations::secondaryResults.
constexpr uint32_t SecondaryBit(SecondaryIndex k) { return 1u << k; }
inline constexpr uint32_t kAllSecondaryResults = (1u << kSecondaryCount) - 1;

struct PropertyResults {
    std::array<double, kPropertyCount> values{};
    std::array<Quantity, kSecondaryCount> secondary{};
    // Bit i set: values[i] has no meaning at this state (shown as "N/A"). Set by the
    // calculation for a mechanically unstable state and for a value that is not finite.
    uint32_t undefined = 0;
    bool Defined(int i) const { return (undefined >> i & 1u) == 0; }
};

// The state point as far as the calculation has got, handed to the fluid operations
// that depend on more than their own variables. T in K, P in Pa, rho in mol/m3, the
// reduced variables tau = Tred/T, delta = rho/rhored, pi = P/Pred, and the saturation
// and melting values at T (0 where there is none).
struct PointContext {
    double T = 0, P = 0, rho = 0, tau = 0, delta = 0, pi = 0;
    double satuP = 0, satuRhov = 0, satuRhol = 0, meltP = 0;
    int inputVar = 0;  // 0: pressure given, 1: density given; 2, 3: pressure with enthalpy or entropy
};

// The operations of one fluid.
struct FluidOperations {
    // Melting (or sublimation) pressure in Pa, or a status.
    Quantity (*MeltingPressure)(double tau) = nullptr;
    // kNone when T (K) is inside the model's range, else the message.
    MessageId (*CheckTemperature)(double T) = nullptr;
    // kNone when the state (P in Pa, T in K, melting pressure meltP in Pa or 0) is
    // acceptable, else the message.
    MessageId (*CheckState)(double P, double T, double meltP) = nullptr;
    // Phase equilibrium at tau = Tred/T (T the state's temperature in K).
    SaturationState (*Saturation)(double tau, double T) = nullptr;
    // Compression factor Z; called as (delta, tau, 0) or, for water only, (0, tau, pi).
    double (*Pressure)(double delta, double tau, double pi, const PointContext& s) = nullptr;
    // The 14 results and the secondary results of the state s; `wavelength` in nm (for
    // the refractive index).
    PropertyResults (*Properties)(const PointContext& s, double wavelength) = nullptr;
    // Optional (water only): region number of the state and the region 2-3 boundary
    // pressure in Pa at T = 1/x. Both present or both absent.
    int (*Region)(double delta, double tau, double pi, double satuP, double satuRhov, double satuRhol) = nullptr;
    double (*BoundaryB23Pressure)(double x) = nullptr;
    // True when Saturation is a function of its arguments alone (no other state, no side
    // effects), so that the calculation may reuse its last answer.
    bool saturationDependsOnTemperatureOnly = false;
    // Optional: Pressure's compression factor in the density form (delta, tau, 0) with
    // its slope d Z / d delta in *dZdDelta, for the Newton steps of the density search.
    // Where the slope is unknown it sets 0 (the search then bisects).
    double (*PressureSlope)(double delta, double tau, const PointContext& s, double* dZdDelta) = nullptr;
    // Optional: the 14 results of Properties at the state s, the same numbers without
    // the transport and electrical results, for searches that need only these. The
    // fugacity coefficient may be left NaN where it costs a search of its own.
    std::array<double, kPropertyCount> (*StateValues)(const PointContext& s) = nullptr;
    // Optional: the saturation pressure (Pa) at T (K) from the fluid's auxiliary
    // equation, an estimate of the phase equilibrium's pressure for start values; 0
    // where the equation has no value (at or above its critical temperature).
    double (*AuxiliarySaturationPressure)(double T) = nullptr;
    // Bit k set (1u << SecondaryIndex): Properties gives the secondary result k, a value
    // or a status, at every state; a clear bit: it leaves that result unset.
    uint32_t secondaryResults = 0;
    // Optional: the Gibbs energy G (J/mol) of the state s, and its entropy in *S
    // (J/(mol K)), the same numbers as StateValues gives, for the iterations on the
    // phase equilibrium at a given pressure, which need no more.
    double (*GibbsEnergy)(const PointContext& s, double* S) = nullptr;
};

// Constants of one fluid, with the critical density, the reducing temperature and the
// reducing density already derived from the fluid table's entries.
struct FluidConstants {
    const char* name;  // display name, used in table titles
    double M;          // g/mol
    double R;          // J/(mol K)
    double Tc;         // K
    double Pc;         // Pa
    double rhoc;       // mol/m3
    double Tred;       // K
    double rhored;     // mol/m3
    double Pred;       // Pa
};

// The fluid table's entry: rhoc from the molar value, or from a mass density as
// rhocMass / M * 1000; a reducing temperature or density of 0 means "equal to the
// critical value".
constexpr FluidConstants MakeConstants(const char* name, double M, double R, double Tc, double Pc, double rhocMolar,
                                       double rhocMass, double Tred, double rhored, double Pred) {
    const double rhoc = rhocMass != 0 ? rhocMass / M * 1000 : rhocMolar;
    return {name, M, R, Tc, Pc, rhoc, Tred != 0 ? Tred : Tc, rhored != 0 ? rhored : rhoc, Pred};
}

// clang-format off
//                                                     M          R        Tc        Pc        rhoc mol rhoc kg Tred    rhored   Pred
inline constexpr FluidConstants kWaterConstants    = MakeConstants("Water",    18.015257, 8.31451, 647.096,  22.064e6, 0,    322,   1.0,    1.0,     1.0);
inline constexpr FluidConstants kMethanolConstants = MakeConstants("Methanol", 32.04216,  8.31448, 512.6,    8.1035e6, 8600, 0,     513.38, 8785.17, 1.0);
inline constexpr FluidConstants kCo2Constants      = MakeConstants("CO2",      44.0098,   8.31451, 304.1282, 7.3773e6, 0,    467.6, 0,      0,       1.0);
// clang-format on

// Limits of a fluid's formulation as data: the accepted temperatures, the triple point
// and the highest accepted pressure.
struct FluidLimits {
    double Tmin, Tmax;  // K
    double Ttriple;     // K
    double Pmax;        // Pa
};

// One fluid: constants, limits and operations.
struct Fluid {
    int index;       // 0 water, 1 methanol, 2 carbon dioxide
    const char* id;  // short name for scripts ("water", "methanol", "co2")
    FluidConstants constants;
    FluidLimits limits;
    FluidOperations ops;
};

constexpr int kFluidCount = 3;

}  // namespace kelvane
