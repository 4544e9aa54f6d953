// The carbon dioxide fluid model (Span-Wagner 1996 with its transport correlations).
#pragma once

#include <string>

#include "core/fluid_model.h"

namespace kelvane {

const FluidOperations& Co2Operations();

// The operations behind Co2Operations(). They read the constants and the current state
// point (T, tau, P, rho, meltP) of the calculator state.
namespace co2 {

// Melting pressure (at and above the triple point) or sublimation pressure (below it)
// in Pa as a number text, or ">800MPa".
std::string MeltingPressure(double tau);
// "" for 216 K <= T <= 1100 K, else the message.
std::string CheckTemperature(double T);
// "" when P (Pa) is below the melting or sublimation pressure, non-negative and at most
// 800 MPa, else the message.
std::string CheckState(double P, double T);
// Saturation pressure (Pa), vapour and liquid density (mol/m3) by the equal-area
// iteration, or "over Tc" / "N/A".
SaturationResult Saturation(double tau);
// Compression factor 1 + delta dphir/ddelta at the state's tau.
double Pressure(double delta, double tau, double pi);
// The 14 results and the viscosity, thermal conductivity and diffusivity texts.
PropertyResults Properties(double delta, double tau, double pi, const std::string& wavelength);

// Correlation length of the critical fluctuations in m at (delta, tau), with the
// damping above 445 K; 0 where the susceptibility difference is negative.
double CorrelationLength(double delta, double tau);

}  // namespace co2

}  // namespace kelvane
