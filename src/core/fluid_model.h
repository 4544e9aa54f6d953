// The interface every fluid model implements and the one global calculator state.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kelvane {

// Saturation state at one temperature: each text is a number in SI units (Pa, mol/m3)
// written by FormatFile, or a message such as "over Tc" or "N/A".
struct SaturationResult {
    std::string pressure;
    std::string vapourDensity;
    std::string liquidDensity;
};

// The six optional texts of the second result group. An unset text leaves its field
// empty; a set text is shown as it stands (a display-format number or a message).
struct SecondaryResults {
    std::optional<std::string> eps;     // relative dielectric constant
    std::optional<std::string> etha;    // viscosity, Pa s
    std::optional<std::string> lambda;  // thermal conductivity, W/(m K)
    std::optional<std::string> Dth;     // thermal diffusivity, m2/s
    std::optional<std::string> pKw;     // ion product, -log10 Kw
    std::optional<std::string> n;       // refractive index
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

struct PropertyResults {
    std::array<double, kPropertyCount> values{};
    SecondaryResults secondary;
};

// The operations of one fluid. Arguments are SI molar values or the reduced variables
// tau = Tred/T, delta = rho/rhored, pi = P/Pred of the calculator state.
struct FluidOperations {
    // Melting pressure (Pa, as a number text) or a message.
    std::string (*MeltingPressure)(double tau) = nullptr;
    // Empty when T (K) is inside the model's range, else the message.
    std::string (*CheckTemperature)(double T) = nullptr;
    // Empty when the state (P in Pa, T in K) is acceptable, else the message.
    std::string (*CheckState)(double P, double T) = nullptr;
    SaturationResult (*Saturation)(double tau) = nullptr;
    // Compression factor Z; called as (delta, tau, 0) or, for water only, (0, tau, pi).
    double (*Pressure)(double delta, double tau, double pi) = nullptr;
    // The 14 results and the secondary texts; `wavelength` is the text of the
    // wavelength field in nm (for the refractive index).
    PropertyResults (*Properties)(double delta, double tau, double pi, const std::string& wavelength) = nullptr;
    // Optional (water only): region number of the state and the region 2-3 boundary
    // pressure in Pa at T = 1/x. Both present or both absent.
    int (*Region)(double delta, double tau, double pi, double satuP, double satuRhov, double satuRhol) = nullptr;
    double (*BoundaryB23Pressure)(double x) = nullptr;
    // True when Saturation is a function of tau and the state's T alone (no other
    // state, no side effects), so that the calculator may reuse its last answer.
    bool saturationDependsOnTemperatureOnly = false;
};

// Constants of one fluid as the fluid table lists them.
struct FluidModel {
    const char* name;    // display name, used in table titles
    double M;            // g/mol
    double R;            // J/(mol K)
    double Tc;           // K
    double Pc;           // Pa
    double rhocMolar;    // mol/m3 when the critical density is given molar, else 0
    double rhocMass;     // kg/m3 from which rhoc = rhocMass / M * 1000 is derived, else 0
    double Tred;         // K; 0 means "equal to Tc"
    double rhored;       // mol/m3; 0 means "equal to rhoc"
    double Pred;         // Pa
    FluidOperations ops;
};

// The single global state of the calculator.
struct CalculatorState {
    // Constants of the selected fluid.
    double M = 0, R = 0, Tc = 0, Pc = 0, rhoc = 0, Tred = 0, rhored = 0, Pred = 0;
    // Current state point.
    double T = 0, P = 0, rho = 0, tau = 0, delta = 0, pi = 0;
    // Saturation and melting values at T; 0 when the model answered with a message.
    double satuP = 0, satuRhov = 0, satuRhol = 0, meltP = 0;
    int inputVar = 0;  // 0: pressure given, 1: density given
    int fluid = -1;    // index of the selected fluid
    FluidOperations ops;
};

extern CalculatorState calc;

constexpr int kFluidCount = 3;

// The fluid table (0 water, 1 methanol, 2 carbon dioxide).
const FluidModel& Fluid(int index);

// Installs the operations of fluid `index`; called once at start by the fluid registry.
void RegisterFluidOperations(int index, const FluidOperations& ops);

// Saturation(tau) of the current fluid. For a fluid whose Saturation depends on the
// temperature alone the answer of the last temperature is remembered (the cells of a
// table row share one temperature), keyed on the fluid's operation and the exact bits
// of tau and T, so the texts are those a fresh call returns.
SaturationResult CurrentSaturation(double tau);

// Copies the constants of fluid `index` into the calculator state (deriving rhoc from
// the mass density where the table gives one) and makes its operations current. An
// index outside 0..2 changes nothing.
void SelectFluid(int index);

}  // namespace kelvane
