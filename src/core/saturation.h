// Saturation states by temperature and by pressure, the properties of both coexisting
// phases, and two-phase states of given vapour fraction.
//
// Every state here rests on the fluid's own phase equilibrium: the answer of its
// Saturation operation (equal Gibbs energies of water's regions 1 and 2, or the
// equal-area condition on an isotherm) is carried on by Newton's method on that same
// condition until the pressures and Gibbs energies of the two phases agree to the
// precision of the arithmetic. The saturation pressure is then a smooth function of
// the temperature, so that a state found by pressure and the state at its temperature
// are one and the same, and dP/dT obeys Clausius-Clapeyron.
#pragma once

#include "core/calculate.h"
#include "core/fluid_model.h"

namespace kelvane {

// Both saturated phases at one temperature.
struct SaturationPoint {
    // kValue; kOverTc or kNotAvailable (from the fluid's Saturation), kOverPc (a given
    // pressure at or above the critical pressure), kNotAvailable (a given pressure
    // between the highest saturation pressure and Pc); kUnset with `message` for a
    // temperature or pressure outside the accepted range.
    Status status = Status::kUnset;
    // Why there is no state (kNone when status is kValue): the temperature check, the
    // range of saturation pressures, or the kSaturation* message of the status.
    MessageId message = MessageId::kNone;
    double T = 0;                    // K
    double P = 0;                    // Pa
    double rhov = 0, rhol = 0;       // mol/m3
    PropertyResults vapour, liquid;  // the 14 and the secondary results of each phase
    double dH = 0, dS = 0;           // H_vap - H_liq (J/mol), S_vap - S_liq (J/(mol K))
    bool converged = false;          // Newton on the equilibrium met its tolerance

    bool HasValue() const { return status == Status::kValue; }
};

// The saturated states at T (K); `wavelength` (nm) for the refractive index.
SaturationPoint SaturationByTemperature(const Fluid& fluid, double T, double wavelength = 589);

// The saturated states at the saturation pressure P (Pa): the temperature whose
// equilibrium pressure is P, found on the same equilibrium as SaturationByTemperature.
// A negative `wavelength` leaves out the transport and electrical results of the
// phases where the fluid gives the 14 results alone (StateValues).
SaturationPoint SaturationByPressure(const Fluid& fluid, double P, double wavelength = 589);

// The temperature (K) at which the fluid's auxiliary vapour-pressure equation gives P
// (Pa), between the lowest accepted temperature and just below the critical one: 0
// below the first's pressure, -1 above the second's, NaN when the fluid has no such
// equation or it gives no answer.
double AuxiliarySaturationTemperature(const Fluid& fluid, double P);

// The temperatures (K) between which SaturationByPressure searches: the lowest
// accepted temperature and the highest temperature at which the equilibrium exists,
// with their saturation pressures (Pa).
struct SaturationRange {
    double Tlow = 0, Thigh = 0;
    double Plow = 0, Phigh = 0;
};
SaturationRange SaturationRangeOf(const Fluid& fluid);

// The state of vapour fraction x (0 liquid, 1 vapour) in equilibrium at `sat`: the
// density from the specific volumes, U, H, S, F, G, Z and the fugacity coefficient by
// the lever rule; quality set, the results without meaning for a mixture marked by
// PointResult::ResultAvailable and the secondary results "N/A" where the fluid has
// them. A `sat` without a value, or x outside 0..1, gives its message.
PointResult TwoPhaseState(const Fluid& fluid, const SaturationPoint& sat, double x);

}  // namespace kelvane
