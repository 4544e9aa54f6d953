#include "fluids/co2/co2_transport.h"

#include <limits>

namespace kelvane {

double BackgroundViscosity(double, double) { return std::numeric_limits<double>::quiet_NaN(); }
double BackgroundConductivity(double, double) { return std::numeric_limits<double>::quiet_NaN(); }

}  // namespace kelvane
