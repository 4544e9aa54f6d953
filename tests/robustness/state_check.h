// Running one state point through the headless main form and judging what every
// result field shows: a number, one of the calculator's messages, or nothing, each
// where the rules of the calculation allow it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "forms/main_form.h"

namespace kelvane::robustness {

// Accepted range of each fluid in the default display units (K, MPa, kg/m3).
struct FluidRange {
    const char* name;
    double Tmin, Tmax;             // K
    double Pmax;                   // MPa
    double rhoMax;                 // kg/m3, above every accepted liquid density
    double Tc, Pc, rhoc;           // K, MPa, kg/m3
    std::vector<double> specialT;  // temperatures where a rule changes
    std::vector<double> specialP;  // pressures where a rule changes
};
const FluidRange& Range(int fluid);

// Selects the fluid, sets the inputs (pressure given for mode 0, density for mode 1,
// specific volume for mode 2) and runs "Calculate". Texts are put in the fields as given.
void RunPoint(MainForm& form, int fluid, int mode, const std::string& T, const std::string& value);

// Saturation state at T (K) from the fluid model, in the display units (MPa, kg/m3);
// all zero where the model answers with a message.
struct Saturation {
    double P = 0, rhoV = 0, rhoL = 0;
};
Saturation SaturationAt(int fluid, double T);

// Findings of one calculation. `problems` lists every rule the fields break.
struct Verdict {
    std::vector<std::string> problems;
    std::vector<std::string> nonFinite;  // names of fields showing NAN, INF or -INF
    bool computed = false;               // the property fields were filled
    bool unstable = false;               // the message line says (dP/drho)T <= 0
    bool notDefined = false;             // the message line says results are N/A
};
Verdict Judge(const MainForm& form, int fluid, int mode);

// Counters over many states.
struct Tally {
    long states = 0, computed = 0, withNonFinite = 0;
    long unstable = 0, unstableWithoutMessage = 0;
    long falselyUnstable = 0;                      // marked unstable where the pressure rises with the density
    std::map<std::string, long> nonFiniteByField;  // "EditW" -> states
    std::map<std::string, std::vector<std::string>> nonFiniteExamples;  // first states per field
    std::map<std::string, long> nonFiniteByCause;                       // states with a NAN or INF field, by cause
    std::map<std::string, long> messages;                               // EditMes text -> states
    double slowestSeconds = 0;
    std::string slowestState;
    std::vector<std::string> failures;  // first problems found, with their states
};

}  // namespace kelvane::robustness
