#include "forms/fields.h"

#include <cmath>

#include "core/format.h"
#include "forms/main_form.h"
#include "forms/texts.h"
#include "forms/units.h"

namespace kelvane {

namespace {

using F = FieldSource;
using U = UnitKind;
using M = MainForm;
using US = UnitSelector;

// The rows in output order. Table indices follow the property list of "Make Tables".
// clang-format off
const std::vector<FieldRow> kRows = {
    {"EditT", nullptr, nullptr, nullptr, -1, "T", F::kTemperature, 0, U::kTemperature, nullptr, &M::EditT, nullptr},
    {"EditP", nullptr, nullptr, "Pressure: P", 0, "P", F::kPressure, 0, U::kPressure, nullptr, &M::EditP, nullptr},
    {"EditRho", nullptr, nullptr, "Density: rho", 1, "rho", F::kDensity, 0, U::kDensity, nullptr, &M::EditRho, nullptr},
    {"EditMes", nullptr, nullptr, nullptr, -1, "messages", F::kMessage, 0, U::kNone, nullptr, &M::EditMes, nullptr},
    {"EditmeltP", nullptr, nullptr, "Melting Pressure: P-melt", 2, "melting_pressure", F::kMelting, 0,
     U::kPressure, nullptr, &M::EditmeltP, &M::LabelmeltP},
    {"EditsatuP", nullptr, nullptr, "Saturation Pressure: P-satu", 3, "saturation_pressure",
     F::kSaturationPressure, 0, U::kPressure, nullptr, &M::EditsatuP, &M::LabelsatuP},
    {"EditsatuRhov", nullptr, nullptr, "Saturation vapor density: rho-gas", 4, "saturated_vapour_density",
     F::kSaturationVapour, 0, U::kDensity, nullptr, &M::EditsatuRhov, &M::LabelsatuRhov},
    {"EditsatuRhol", nullptr, nullptr, "Saturation liquid density: rho-liq", 5, "saturated_liquid_density",
     F::kSaturationLiquid, 0, U::kDensity, nullptr, &M::EditsatuRhol, &M::LabelsatuRhol},
    {"EditU", "Internal Energy", "U =", "Internal Energy: U", 6, "u", F::kResult, kU, U::kEnergy, nullptr, &M::EditU,
     &M::LabelU},
    {"EditH", "Enthalpy", "H =", "Enthalpy: H", 7, "h", F::kResult, kH, U::kEnergy, nullptr, &M::EditH, &M::LabelH},
    {"EditF", "Helmhortz Energy", "F =", "Helmhortz Energy: F", 8, "a", F::kResult, kF, U::kEnergy, nullptr, &M::EditF,
     &M::LabelF},
    {"EditG", "Gibbs Energy", "G =", "Gibbs Energy: G", 9, "g", F::kResult, kG, U::kEnergy, nullptr, &M::EditG,
     &M::LabelG},
    {"EditS", "Entropy", "S =", "Entropy: S", 25, "s", F::kResult, kS, U::kEntropy, nullptr, &M::EditS, &M::LabelS},
    {"EditCv", "Isochoric Spec. Heat", "Cv =", "Isochoric Specific Heat: Cv", 10, "cv", F::kResult, kCv,
     U::kEntropy, nullptr, &M::EditCv, &M::LabelCv},
    {"EditCp", "Isobaric Spec. Heat", "Cp =", "Isobaric Specific Heat: Cp", 11, "cp", F::kResult, kCp,
     U::kEntropy, nullptr, &M::EditCp, &M::LabelCp},
    {"EditZ", "Compression Factor", "Z =", "Compressibity Factor: Z", 12, "Z", F::kResult, kZ, U::kNone, nullptr,
     &M::EditZ, nullptr},
    {"EditFP", "Fugacity Coefficient", "F/P =", "Fugacity Coefficient: F/P", 13, "fugacity_coefficient",
     F::kResult, kFugacity, U::kNone, nullptr, &M::EditFP, nullptr},
    {"EditW", "Sound Velocity", "W =", "Sound Velocity: W", 14, "w", F::kResult, kW, U::kNone, "m / s", &M::EditW,
     &M::LabelW},
    {"EditJT", "Joule-Thomson Coef.", "m =", "Joule-Thomson Coefficient: m", 15, "joule_thomson", F::kResult,
     kJT, U::kTemperaturePerPressure, nullptr, &M::EditJT, &M::LabelJT},
    {"EditC2", "Second Virial Coef.", "C2(T) =", "Second Virial Coefficient: C2", 16, "second_virial",
     F::kResult, kC2, U::kInverseDensity, nullptr, &M::EditC2, &M::LabelC2},
    {"Editalpha", "Isobaric Expansion Coef.", "alpha =", "Isobaric Expansion Coefficient: alpha", 17, "alpha",
     F::kResult, kAlpha, U::kNone, "/ K", &M::Editalpha, &M::Labelalpha},
    {"Editkappa", "Isothermal Compression Coef.", "kappa =", "Isothermal Compression Coeffcient: kappa", 18,
     "kappa", F::kResult, kKappa, U::kInversePressure, nullptr, &M::Editkappa, &M::Labelkappa},
    {"EditVisc", "Viscosity", "etha =", "Viscosity: etha", 19, "viscosity", F::kSecondary, kEtha, U::kViscosity,
     nullptr, &M::EditVisc, &M::LabelVisc},
    {"EditTherc", "Thermal Conductivity", "lambda =", "Thermal Conductivity: lambda", 20, "thermal_conductivity",
     F::kSecondary, kLambda, U::kConductivity, nullptr, &M::EditTherc, &M::LabelTherc},
    {"EditDth", "Thermal Diffusivity", "Dth =", "Thermal Diffusivity: Dth", 21, "thermal_diffusivity",
     F::kSecondary, kDth, U::kNone, "m2 / s", &M::EditDth, &M::LabelDth},
    {"EditEps", "Relative Dielectric Const", "eps =", "Relative Dielectric Constant: eps", 22,
     "dielectric_constant", F::kSecondary, kEps, U::kNone, nullptr, &M::EditEps, nullptr},
    {"EditKw", "Ion Product", "pKw =", "Ion Product: Kw", 23, "pKw", F::kSecondary, kPKw, U::kNone, nullptr, &M::EditKw,
     nullptr},
    {"Editn", "Refractive Index", "n(l)=", "Refractive Index: n(l)", 24, "refractive_index", F::kSecondary, kN,
     U::kNone, nullptr, &M::Editn, nullptr},
    // Last, so that the fields before it keep their order in every output.
    {"Editx", nullptr, nullptr, nullptr, -1, "x", F::kQuality, 0, U::kNone, nullptr, &M::Editx, nullptr},
};
// clang-format on

// One row per unit kind. The energies and entropies are rewritten by an amount change
// whatever they show (an empty field or a message becomes "0"), as that change has
// always done; the fields of the other kinds rescale numbers only and keep messages.
// clang-format off
constexpr UnitKindRow kKinds[] = {
    // kind, selector, power, second label, density mode, always rewritten, prefix, SI mass, SI molar
    {U::kNone,                   US::kNone,          1, false, false, false, "",     "",         ""},
    {U::kTemperature,            US::kTemperature,   1, false, false, false, "",     "K",        "K"},
    {U::kPressure,               US::kPressure,      1, false, false, false, "",     "Pa",       "Pa"},
    {U::kDensity,                US::kDensity,       1, false, true,  false, "",     "kg/m3",    "mol/m3"},
    {U::kEnergy,                 US::kAmount,        1, false, false, true,  "",     "J/kg",     "J/mol"},
    {U::kEntropy,                US::kAmount,        1, true,  false, true,  "",     "J/(kg K)", "J/(mol K)"},
    {U::kTemperaturePerPressure, US::kPressure,     -1, false, false, false, "K / ", "K/Pa",     "K/Pa"},
    {U::kInversePressure,        US::kPressure,     -1, false, false, false, "/ ",   "1/Pa",     "1/Pa"},
    {U::kInverseDensity,         US::kDensity,      -1, true,  false, false, "",     "m3/kg",    "m3/mol"},
    {U::kViscosity,              US::kViscosity,     1, false, false, false, "",     "Pa s",     "Pa s"},
    {U::kConductivity,           US::kConductivity,  1, false, false, false, "",     "W/(m K)",  "W/(m K)"},
};
// clang-format on

// A melting or saturation number as the field shows it: in the display unit, or the
// number's own text where it is not finite.
std::string CarriedText(double v, double shown, bool precise) {
    return std::isfinite(v) && v != 0 ? FormatResult(shown, precise) : FormatFile(v);
}

}  // namespace

const std::vector<FieldRow>& FieldRows() { return kRows; }

const UnitKindRow& UnitKindOf(UnitKind k) {
    for (const UnitKindRow& row : kKinds)
        if (row.kind == k) return row;
    return kKinds[0];
}

int DisplayUnits::Index(UnitSelector s) const {
    switch (s) {
        case UnitSelector::kTemperature: return unitT;
        case UnitSelector::kPressure: return unitP;
        case UnitSelector::kDensity: return unitRho;
        case UnitSelector::kAmount: return unitAmount;
        case UnitSelector::kViscosity: return unitVisc;
        case UnitSelector::kConductivity: return unitTherc;
        case UnitSelector::kNone: break;
    }
    return 0;
}

double ToDisplay(UnitKind k, double v, const DisplayUnits& u) {
    const UnitKindRow& kind = UnitKindOf(k);
    const FluidConstants& c = *u.constants;
    if (kind.selector == UnitSelector::kNone) return v;
    if (kind.selector == UnitSelector::kTemperature) return TemperatureFromK(c, u.unitT, v);
    if (kind.densityMode) return DensityToDisplay(c, v, u.unitRho, u.densityMode);
    const double f = UnitFactor(kind.selector, c, u.Index(kind.selector));
    return kind.power > 0 ? v / f : v * f;
}

std::string UnitLabel(UnitKind k, const DisplayUnits& u) {
    const UnitKindRow& kind = UnitKindOf(k);
    if (kind.selector == UnitSelector::kNone) return "";
    const UnitRow& unit = UnitAt(kind.selector, u.Index(kind.selector));
    const bool second = kind.secondLabel || (kind.densityMode && !u.densityMode);
    return kind.prefix + std::string(second ? unit.label2 : unit.label);
}

std::string UnitLabel(const FieldRow& row, const DisplayUnits& u) {
    if (row.unit == UnitKind::kNone) return row.fixedUnit ? row.fixedUnit : "";
    return UnitLabel(row.unit, u);
}

std::string SiUnit(const FieldRow& row, bool molar) {
    const UnitKindRow& kind = UnitKindOf(row.unit);
    if (row.unit != UnitKind::kNone) return molar ? kind.siMolar : kind.siMass;
    std::string si;
    for (const char* p = row.fixedUnit ? row.fixedUnit : ""; *p; ++p)
        if (*p != ' ') si.push_back(*p);
    return si.empty() || si[0] != '/' ? si : "1" + si;
}

const FieldRow* FieldRowNamed(std::string_view control) {
    for (const FieldRow& r : kRows)
        if (control == r.control) return &r;
    return nullptr;
}

const FieldRow* TableRow(int q) {
    for (const FieldRow& r : kRows)
        if (r.tableIndex == q && q >= 0) return &r;
    return nullptr;
}

const FieldRow* FieldRowOfTsvName(std::string_view name) {
    for (const FieldRow& r : kRows)
        if (name == std::string_view(r.control).substr(4)) return &r;
    return nullptr;
}

int TablePropertyCount() {
    int n = 0;
    for (const FieldRow& r : kRows) n += r.tableIndex >= 0;
    return n;
}

FieldConversionError::FieldConversionError(std::string field, const std::string& text)
    : ConversionError(text), field_(std::move(field)), message_(field_ + ": " + ConversionError::what()) {}

double ParseField(const std::string& field, std::string_view text) {
    try {
        return ParseStrict(text);
    } catch (const ConversionError& e) {
        throw FieldConversionError(field, e.Text());
    }
}

std::string FormatResult(double x, bool precise) { return precise ? FormatFile(x) : FormatDisplay(x); }

std::string FieldText(const FieldRow& row, const PointResult& r, const DisplayUnits& u) {
    // Every number in the display unit of the row's kind.
    auto shown = [&](double v) { return ToDisplay(row.unit, v, u); };
    const SaturationState& sat = r.saturation;
    switch (row.source) {
        case F::kTemperature:
            // Given with P or rho: as typed in the display format; found from h or s:
            // as a result, once there is a state.
            if (r.state.inputVar >= 2) return r.state.T > 0 ? FormatResult(shown(r.state.T), u.precise) : std::string();
            return FormatDisplay(shown(r.state.T));
        case F::kPressure: return r.hasP ? FormatResult(shown(r.state.P), u.precise) : std::string();
        case F::kDensity: return r.hasRho ? FormatResult(shown(r.state.rho), u.precise) : std::string();
        case F::kMessage: return MessageLine(r);
        case F::kMelting:
            if (!r.melt.HasValue()) return StatusText(r.melt);
            return CarriedText(r.melt.value, shown(r.melt.value), u.precise);
        case F::kSaturationPressure:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.P, shown(sat.P), u.precise);
        case F::kSaturationVapour:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.rhov, shown(sat.rhov), u.precise);
        case F::kSaturationLiquid:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.rhol, shown(sat.rhol), u.precise);
        case F::kResult: {
            if (!r.hasProperties) return "";
            if (!r.ResultAvailable(row.index) || !r.properties.Defined(row.index))
                return StatusText(Quantity::With(Status::kNotAvailable));
            return FormatResult(shown(r.properties.values[row.index]), u.precise);
        }
        case F::kSecondary: {
            if (!r.hasProperties) return "";
            Quantity q = r.properties.secondary[row.index];
            // A number, or the background value of "N/A (...)", in the display unit.
            q.value = shown(q.value);
            return StatusText(q);
        }
        case F::kQuality: return r.quality.HasValue() ? FormatResult(r.quality.value, u.precise) : std::string();
    }
    return "";
}

}  // namespace kelvane
