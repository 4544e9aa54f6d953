// One row per field of the main window's state and results: control name, captions,
// property-list item, command-line and Python names, unit kind and where its value
// comes from in the engine's result. The main form (with its unit changes and labels),
// the table writer, the clipboard text, the command-line tool, the Python module and the
// tests are built from these rows, so that a new property is one row here, its fields
// in MainForm and its computation in the engine (README: what a new property touches).
#pragma once

#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/format.h"
#include "forms/controls.h"
#include "forms/units.h"

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

// The unit of a field: which selector it follows and how its SI molar value is
// converted to the display unit. Each kind has one row (UnitKindRows) from which the
// conversion, the unit label, the unit changes and the Python module's SI unit follow.
enum class UnitKind : uint8_t {
    kNone,                    // follows no selector: dimensionless, or SI as shown (W, alpha, Dth)
    kTemperature,             // K, deg C, Tr, deg F
    kPressure,                // divided by the pressure unit
    kDensity,                 // density or specific volume
    kEnergy,                  // U, H, F, G: divided by the amount unit's energy
    kEntropy,                 // S, Cv, Cp: the same factor, with the entropy label
    kTemperaturePerPressure,  // JT: multiplied by the pressure unit, "K / " label
    kInversePressure,         // kappa: multiplied by the pressure unit, "/ " label
    kInverseDensity,          // C2: multiplied by the density unit, specific-volume label
    kViscosity,               // Pa s, uPa s, cP
    kConductivity             // W/(m K), mW/(m K)
};

struct UnitKindRow {
    UnitKind kind;
    UnitSelector selector;  // the selector the field follows; kNone: a fixed unit
    // +1: shown = SI / factor (a quantity in the unit; a unit change multiplies the shown
    // number by old factor / new factor); -1: shown = SI * factor (a quantity per unit;
    // the change divides). Unused where densityMode is set.
    int power;
    bool secondLabel;  // labelled with the unit's second label (entropy, specific volume)
    // The density: in specific-volume mode shown = factor / SI and labelled with the
    // second label (the unit change then divides).
    bool densityMode;
    // A unit change rewrites the field whatever it shows, ParseLeading of a message or of
    // an empty field giving "0"; otherwise numbers only are rescaled and messages stay.
    bool alwaysRewritten;
    const char* prefix;  // before the unit's label ("K / " for JT, "/ " for kappa)
    // The SI unit of the Python module on a mass and on a molar basis; for kNone the
    // field's fixed unit gives it.
    const char* siMass;
    const char* siMolar;
};

// The row of kind k.
const UnitKindRow& UnitKindOf(UnitKind k);

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
    // The unit label of a field of kind kNone with a unit ("m / s"); null otherwise.
    const char* fixedUnit;
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

    // The unit index of selector s.
    int Index(UnitSelector s) const;
};

// The display value of SI molar value v of kind k in units u.
double ToDisplay(UnitKind k, double v, const DisplayUnits& u);
// The unit label of kind k in units u ("K / bar", "J / (kg K)"); empty for kNone.
std::string UnitLabel(UnitKind k, const DisplayUnits& u);
// The unit label of the field of `row` in units u (its fixed unit for kNone).
std::string UnitLabel(const FieldRow& row, const DisplayUnits& u);
// The Python module's SI unit of the field of `row` on a molar or a mass basis ("J/mol",
// "J/kg"); a fixed unit without its blanks, "1" before a leading "/" ("/ K" is "1/K").
std::string SiUnit(const FieldRow& row, bool molar);

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
