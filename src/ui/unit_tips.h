// Tooltips of the main window's unit selectors: every unit named in full.
#pragma once

#include <QString>

namespace kelvane::ui {

QString TemperatureUnitTip();
QString PressureUnitTip();
// The density selector lists densities or, in specific-volume mode, specific volumes.
QString DensityUnitTip(bool densityMode);
QString AmountUnitTip();
QString ViscosityUnitTip();
QString ConductivityUnitTip();

}  // namespace kelvane::ui
