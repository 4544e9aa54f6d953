// Saturation tables: one row per given temperature or saturation pressure, with the
// columns chosen among T, P, dH, dS and every phase result of the point output for the
// saturated liquid (_liq) and the saturated vapour (_vap). Used by the "Saturation
// Tables" window and by "kelvane-cli saturation"; computes through the engine only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/saturation.h"
#include "forms/chart_data.h"
#include "forms/fields.h"

namespace kelvane {

class MainForm;

struct SaturationColumn {
    enum class Kind { kT, kP, kDH, kDS, kPhase };
    std::string name;  // "T", "P", "dH", "dS", "Rho_liq", "H_vap", ...
    Kind kind = Kind::kT;
    const FieldRow* row = nullptr;  // kPhase: the point output's field
    bool vapour = false;            // kPhase: the vapour's value, else the liquid's
};

// Every column in the order the names are listed: T, P, dH, dS, then each phase field
// of the point output as NAME_liq, NAME_vap.
const std::vector<SaturationColumn>& SaturationColumns();
const SaturationColumn* SaturationColumnNamed(std::string_view name);
// The names of all columns separated by commas (for messages).
std::string SaturationColumnNames();
// The default choice: T, P, both densities, enthalpies and entropies, dH, Cp and W of
// both phases, and viscosity and thermal conductivity where the fluid has them.
std::vector<const SaturationColumn*> DefaultSaturationColumns(const Fluid& fluid);

// The unit text of a column as the main window shows it with its current units.
std::string SaturationColumnUnit(const SaturationColumn& column, const MainForm& form);

// The text of one cell of the saturation state p in the display units u (p without a
// value: its message).
std::string SaturationCell(const SaturationColumn& column, const SaturationPoint& p, const DisplayUnits& u);
// The number of one cell in the display units, NaN where the cell holds no number.
double SaturationCellValue(const SaturationColumn& column, const SaturationPoint& p, const DisplayUnits& u);

// One table: the given variable and values (display units of the main window), the
// columns, and for each computed row its state and texts.
struct SaturationTable {
    bool byPressure = false;
    std::vector<double> given;  // display units
    std::vector<const SaturationColumn*> columns;
    std::vector<std::string> units;
    std::vector<SaturationPoint> points;          // one per computed row
    std::vector<std::vector<std::string>> cells;  // one per computed row
};

// What a table needs from the main window: fluid, units, wavelength.
struct SaturationSettings {
    const Fluid* fluid = nullptr;
    DisplayUnits units;
    double wavelength = 589;
};
SaturationSettings SettingsOf(const MainForm& form);

// The saturation state of a given value (display units) and its row's texts: the cell
// of the given variable holds the given value, every other cell the message when the
// value lies outside the saturation range.
SaturationPoint SaturationOfGiven(const SaturationSettings& s, bool byPressure, double given);
std::vector<std::string> SaturationRow(const SaturationSettings& s, const std::vector<const SaturationColumn*>& columns,
                                       bool byPressure, double given, const SaturationPoint& p);

// The table as text: names, units, then the rows; tabs, or commas with `csv` (a cell
// holding a comma or a quotation mark is quoted). Every line ends in a line break.
std::string SaturationTableText(const SaturationTable& table, bool csv);
// Rows [firstRow, lastRow] and columns [firstColumn, lastColumn] as tab-separated text
// (no heading), for the clipboard.
std::string SaturationTableRange(const SaturationTable& table, int firstRow, int lastRow, int firstColumn,
                                 int lastColumn);

// The chart of column `column` against T (or P when againstPressure), the rows in the
// table's order; cells without a number are gaps.
ChartData SaturationPlot(const SaturationTable& table, const SaturationSettings& s, int column, bool againstPressure);

}  // namespace kelvane
