// One row per field of the main window's state and results: control name, captions,
// property-list item, command-line and Python names, unit kind and where its value
// comes from in the engine's result. The main form, the table writer, the clipboard
// text, the command-line tool and the tests are built from these rows, so that a new
// property is one row here plus its computation in the engine.
#pragma once

#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/format.h"
#include "forms/controls.h"

namespace kelvane {

class MainForm;

// Where a field's value comes from.
enum class FieldSource : uint8_t {
    kTemperature,  // the typed temperature (never rewritten by a calculation)
    kPressure,     // the given or solved pressure
    kDensity,      // the given or solved density (or specific volume)
    kMessage,      // the message line
    kMelting,
    kSaturationPressure,
    kSaturationVapour,
    kSaturationLiquid,
    kResult,     // one of the 14 results (index: PropertyIndex)
    kSecondary,  // one of the six secondary results (index: SecondaryIndex)
    kQuality,    // the vapour fraction of a two-phase state of given quality
};

// How the SI molar value of a field is converted to its display unit.
enum class UnitKind : uint8_t {
    kNone,             // dimensionless, or SI as shown (W, alpha, transport)
    kTemperature,      // K, deg C, Tr
    kPressure,         // divided by the pressure unit
    kDensity,          // density or specific volume
    kAmount,           // energies and heat capacities: divided by the amount unit
    kPerPressure,      // JT and kappa: multiplied by the pressure unit
    kVolumePerAmount,  // C2: multiplied by the density unit
    kViscosity,        // Pa s, uPa s, cP
    kConductivity      // W/(m K), mW/(m K)
};

struct FieldRow {
    const char* control;    // control name, e.g. "EditU"
    const char* caption;    // caption in the result group ("Internal Energy"); null outside it
    const char* symbol;     // symbol in the result group ("U ="); null outside it
    const char* tableItem;  // item of the property list ("Internal Energy: U"); null if none
    int tableIndex;         // index of that item, -1 if none
    const char* python;     // name of the quantity in the Python module
    FieldSource source;
    int index;  // PropertyIndex or SecondaryIndex for kResult and kSecondary
    UnitKind unit;
    EditField MainForm::*field;
    Label MainForm::*label;  // the unit label beside the field; null where computed or none

    // The command-line tool's --tsv name: the control name without "Edit".
    std::string TsvName() const { return std::string(control).substr(4); }
};

// Every field in the order of the command-line tool's output.
const std::vector<FieldRow>& FieldRows();
// The row of a control name; null if unknown.
const FieldRow* FieldRowNamed(std::string_view control);
// The row of property-list item q; null if none.
const FieldRow* TableRow(int q);
// Number of property-list items.
int TablePropertyCount();
// The row whose --tsv name is `name` ("Cp", "S", "W", ...); null if none.
const FieldRow* FieldRowOfTsvName(std::string_view name);

// The display units in which the engine's numbers are shown.
struct DisplayUnits {
    const FluidConstants* constants = &kWaterConstants;
    int unitT = 0, unitP = 0, unitRho = 0, unitAmount = 0;
    int unitVisc = 0, unitTherc = 0;  // viscosity and thermal-conductivity units
    bool densityMode = true;
    bool precise = false;  // 15 digits instead of 8 for the calculated results
};

// The text the field of `row` shows after a calculation with result r (for the
// temperature: the result's T in the display unit).
std::string FieldText(const FieldRow& row, const PointResult& r, const DisplayUnits& u);

// A malformed number typed into a named field: what() puts the field's name before
// the conversion error's text ("T: \"abc\" is not a valid number.").
class FieldConversionError : public ConversionError {
public:
    FieldConversionError(std::string field, const std::string& text);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Field() const { return field_; }

private:
    std::string field_, message_;
};

// ParseStrict of the text of the field named `field`; throws FieldConversionError.
double ParseField(const std::string& field, std::string_view text);

// The format of calculated results: display format, or file format when precise.
std::string FormatResult(double x, bool precise);

}  // namespace kelvane
