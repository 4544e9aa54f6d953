#include "fluids/co2/co2_critical.h"

namespace kelvane {

double CosIntegral(double, double) { return 0; }
Complex CosIntegralComplex(Complex, double) { return Complex(); }
double CriticalViscosity(double, double, double, double, double, double, double) { return -1; }
double ConductivityEnhancement(double, double, double, double, double, double, double, double) {
    return -1;
}

}  // namespace kelvane
