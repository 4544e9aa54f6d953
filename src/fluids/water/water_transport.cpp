#include "fluids/water/water_transport.h"

#include <limits>

namespace kelvane {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

double WaterViscosity(double, double) { return kNaN; }
double WaterConductivity(double, double, double, double) { return kNaN; }
double WaterDielectricConstant(double, double) { return kNaN; }
double WaterIonProduct(double, double) { return kNaN; }
double WaterRefractiveIndex(double, double, double) { return kNaN; }

}  // namespace kelvane
