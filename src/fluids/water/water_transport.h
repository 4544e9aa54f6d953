// Transport and electrical properties of water: IAPS 1985 viscosity and thermal
// conductivity (revised for use with IAPWS-IF97), the IAPWS 1997 static dielectric
// constant and refractive index, and the Marshall-Franck (1981) ion product.
// delta is the density in mol/m3, tau = 1/T in 1/K.
#pragma once

namespace kelvane {

double WaterViscosity(double delta, double tau);  // Pa s
// dpdT = (d pbar / d Tbar) at constant density, drhodp = (d rhobar / d pbar) at
// constant temperature, both reduced with T* = 647.226 K, rho* = 317.763 kg/m3,
// p* = 22.115 MPa.
double WaterConductivity(double delta, double tau, double dpdT, double drhodp);  // W/(m K)
double WaterDielectricConstant(double delta, double tau);
double WaterIonProduct(double delta, double tau);                          // pKw = -log10 Kw, Kw in mol2/kg2
double WaterRefractiveIndex(double delta, double tau, double wavelength);  // wavelength in nm

}  // namespace kelvane
