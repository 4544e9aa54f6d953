// The carbon dioxide fluid model (Span-Wagner 1996 with its transport correlations).
#pragma once

#include "core/fluid_model.h"

namespace kelvane {

const FluidOperations& Co2Operations();

// The operations behind Co2Operations(), functions of their arguments alone.
namespace co2 {

// Melting pressure (at and above the triple point) or sublimation pressure (below it)
// in Pa, or kAbove800MPa.
Quantity MeltingPressure(double tau);
// kNone for 216 K <= T <= 1100 K, else the message.
MessageId CheckTemperature(double T);
// kNone when P (Pa) is below the melting or sublimation pressure meltP (0: none),
// non-negative and at most 800 MPa, else the message.
MessageId CheckState(double P, double T, double meltP);
// Saturation pressure (Pa), vapour and liquid density (mol/m3) at tau = Tc/T by
// Newton's method on the equal-area conditions from the auxiliary densities, or
// kOverTc at and above Tc, or kNotAvailable where neither it nor the equal-area
// iteration finds a phase equilibrium.
SaturationState Saturation(double tau, double T);
// The step-halving equal-area iteration from the auxiliary pressure and densities,
// with its cut-off at 304.124 K ("N/A" between there and Tc).
SaturationState EqualAreaSaturationState(double tau, double T);
// Compression factor with its slope d Z / d delta.
double PressureSlope(double delta, double tau, const PointContext& state, double* dZdDelta);
// Compression factor 1 + delta dphir/ddelta at (delta, tau).
double Pressure(double delta, double tau, double pi, const PointContext& state);
// The 14 results and the viscosity, thermal conductivity and diffusivity of the state.
PropertyResults Properties(const PointContext& state, double wavelength);
// The 14 results of Properties alone.
std::array<double, kPropertyCount> StateValues(const PointContext& state);
// The auxiliary vapour pressure (Pa) at T (K) below Tc, else 0.
double AuxiliarySaturationPressure(double T);

// Correlation length of the critical fluctuations in m at (delta, tau) and the state's
// temperature T in K, with the damping above 445 K; 0 where the susceptibility
// difference is negative.
double CorrelationLength(double delta, double tau, double T);

}  // namespace co2

}  // namespace kelvane
