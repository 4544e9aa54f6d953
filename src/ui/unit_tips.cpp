#include "ui/unit_tips.h"

#include "forms/units.h"

namespace kelvane::ui {

// The texts come from the unit rows of forms/units.cpp.

QString TemperatureUnitTip() { return QString::fromStdString(UnitTip(UnitSelector::kTemperature)); }

QString PressureUnitTip() { return QString::fromStdString(UnitTip(UnitSelector::kPressure)); }

QString DensityUnitTip(bool densityMode) {
    return QString::fromStdString(UnitTip(UnitSelector::kDensity, densityMode));
}

QString AmountUnitTip() { return QString::fromStdString(UnitTip(UnitSelector::kAmount)); }

QString ViscosityUnitTip() { return QString::fromStdString(UnitTip(UnitSelector::kViscosity)); }

QString ConductivityUnitTip() { return QString::fromStdString(UnitTip(UnitSelector::kConductivity)); }

}  // namespace kelvane::ui
