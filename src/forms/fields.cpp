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

// The rows in output order. Table indices follow the property list of "Make Tables".
const std::vector<FieldRow> kRows = {
    {"EditT", nullptr, nullptr, nullptr, -1, "T", F::kTemperature, 0, U::kTemperature, &M::EditT, nullptr},
    {"EditP", nullptr, nullptr, "Pressure: P", 0, "P", F::kPressure, 0, U::kPressure, &M::EditP, nullptr},
    {"EditRho", nullptr, nullptr, "Density: rho", 1, "rho", F::kDensity, 0, U::kDensity, &M::EditRho, nullptr},
    {"EditMes", nullptr, nullptr, nullptr, -1, "messages", F::kMessage, 0, U::kNone, &M::EditMes, nullptr},
    {"EditmeltP", nullptr, nullptr, "Melting Pressure: P-melt", 2, "melting_pressure", F::kMelting, 0,
     U::kPressure, &M::EditmeltP, &M::LabelmeltP},
    {"EditsatuP", nullptr, nullptr, "Saturation Pressure: P-satu", 3, "saturation_pressure",
     F::kSaturationPressure, 0, U::kPressure, &M::EditsatuP, &M::LabelsatuP},
    {"EditsatuRhov", nullptr, nullptr, "Saturation vapor density: rho-gas", 4, "saturated_vapour_density",
     F::kSaturationVapour, 0, U::kDensity, &M::EditsatuRhov, &M::LabelsatuRhov},
    {"EditsatuRhol", nullptr, nullptr, "Saturation liquid density: rho-liq", 5, "saturated_liquid_density",
     F::kSaturationLiquid, 0, U::kDensity, &M::EditsatuRhol, &M::LabelsatuRhol},
    {"EditU", "Internal Energy", "U =", "Internal Energy: U", 6, "u", F::kResult, kU, U::kAmount, &M::EditU,
     &M::LabelU},
    {"EditH", "Enthalpy", "H =", "Enthalpy: H", 7, "h", F::kResult, kH, U::kAmount, &M::EditH, &M::LabelH},
    {"EditF", "Helmhortz Energy", "F =", "Helmhortz Energy: F", 8, "a", F::kResult, kF, U::kAmount, &M::EditF,
     &M::LabelF},
    {"EditG", "Gibbs Energy", "G =", "Gibbs Energy: G", 9, "g", F::kResult, kG, U::kAmount, &M::EditG, &M::LabelG},
    {"EditS", "Entropy", "S =", "Entropy: S", 25, "s", F::kResult, kS, U::kAmount, &M::EditS, &M::LabelS},
    {"EditCv", "Isochoric Spec. Heat", "Cv =", "Isochoric Specific Heat: Cv", 10, "cv", F::kResult, kCv,
     U::kAmount, &M::EditCv, &M::LabelCv},
    {"EditCp", "Isobaric Spec. Heat", "Cp =", "Isobaric Specific Heat: Cp", 11, "cp", F::kResult, kCp,
     U::kAmount, &M::EditCp, &M::LabelCp},
    {"EditZ", "Compression Factor", "Z =", "Compressibity Factor: Z", 12, "Z", F::kResult, kZ, U::kNone,
     &M::EditZ, nullptr},
    {"EditFP", "Fugacity Coefficient", "F/P =", "Fugacity Coefficient: F/P", 13, "fugacity_coefficient",
     F::kResult, kFugacity, U::kNone, &M::EditFP, nullptr},
    {"EditW", "Sound Velocity", "W =", "Sound Velocity: W", 14, "w", F::kResult, kW, U::kNone, &M::EditW,
     &M::LabelW},
    {"EditJT", "Joule-Thomson Coef.", "m =", "Joule-Thomson Coefficient: m", 15, "joule_thomson", F::kResult,
     kJT, U::kPerPressure, &M::EditJT, &M::LabelJT},
    {"EditC2", "Second Virial Coef.", "C2(T) =", "Second Virial Coefficient: C2", 16, "second_virial",
     F::kResult, kC2, U::kVolumePerAmount, &M::EditC2, &M::LabelC2},
    {"Editalpha", "Isobaric Expansion Coef.", "alpha =", "Isobaric Expansion Coefficient: alpha", 17, "alpha",
     F::kResult, kAlpha, U::kNone, &M::Editalpha, &M::Labelalpha},
    {"Editkappa", "Isothermal Compression Coef.", "kappa =", "Isothermal Compression Coeffcient: kappa", 18,
     "kappa", F::kResult, kKappa, U::kPerPressure, &M::Editkappa, &M::Labelkappa},
    {"EditVisc", "Viscosity", "etha =", "Viscosity: etha", 19, "viscosity", F::kSecondary, kEtha, U::kViscosity,
     &M::EditVisc, &M::LabelVisc},
    {"EditTherc", "Thermal Conductivity", "lambda =", "Thermal Conductivity: lambda", 20, "thermal_conductivity",
     F::kSecondary, kLambda, U::kConductivity, &M::EditTherc, &M::LabelTherc},
    {"EditDth", "Thermal Diffusivity", "Dth =", "Thermal Diffusivity: Dth", 21, "thermal_diffusivity",
     F::kSecondary, kDth, U::kNone, &M::EditDth, &M::LabelDth},
    {"EditEps", "Relative Dielectric Const", "eps =", "Relative Dielectric Constant: eps", 22,
     "dielectric_constant", F::kSecondary, kEps, U::kNone, &M::EditEps, nullptr},
    {"EditKw", "Ion Product", "pKw =", "Ion Product: Kw", 23, "pKw", F::kSecondary, kPKw, U::kNone, &M::EditKw,
     nullptr},
    {"Editn", "Refractive Index", "n(l)=", "Refractive Index: n(l)", 24, "refractive_index", F::kSecondary, kN,
     U::kNone, &M::Editn, nullptr},
    // Last, so that the fields before it keep their order in every output.
    {"Editx", nullptr, nullptr, nullptr, -1, "x", F::kQuality, 0, U::kNone, &M::Editx, nullptr},
};

// A melting or saturation number as the field shows it: in the display unit, or the
// number's own text where it is not finite.
std::string CarriedText(double v, double shown, bool precise) {
    return std::isfinite(v) && v != 0 ? FormatResult(shown, precise) : FormatFile(v);
}

}  // namespace

const std::vector<FieldRow>& FieldRows() { return kRows; }

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
    const FluidConstants& c = *u.constants;
    const double fP = PressureFactor(c, u.unitP);
    auto density = [&](double rho) { return DensityToDisplay(c, rho, u.unitRho, u.densityMode); };
    const SaturationState& sat = r.saturation;
    switch (row.source) {
        case F::kTemperature:
            // Given with P or rho: as typed in the display format; found from h or s:
            // as a result, once there is a state.
            if (r.state.inputVar >= 2)
                return r.state.T > 0 ? FormatResult(TemperatureFromK(c, u.unitT, r.state.T), u.precise) : std::string();
            return FormatDisplay(TemperatureFromK(c, u.unitT, r.state.T));
        case F::kPressure: return r.hasP ? FormatResult(r.state.P / fP, u.precise) : std::string();
        case F::kDensity: return r.hasRho ? FormatResult(density(r.state.rho), u.precise) : std::string();
        case F::kMessage: return MessageLine(r);
        case F::kMelting:
            if (!r.melt.HasValue()) return StatusText(r.melt);
            return CarriedText(r.melt.value, r.melt.value / fP, u.precise);
        case F::kSaturationPressure:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.P, sat.P / fP, u.precise);
        case F::kSaturationVapour:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.rhov, density(sat.rhov), u.precise);
        case F::kSaturationLiquid:
            if (sat.status != Status::kValue) return StatusText(Quantity::With(sat.status));
            return CarriedText(sat.rhol, density(sat.rhol), u.precise);
        case F::kResult: {
            if (!r.hasProperties) return "";
            if (!r.ResultAvailable(row.index)) return StatusText(Quantity::With(Status::kNotAvailable));
            const double v = r.properties.values[row.index];
            switch (row.unit) {
                case U::kAmount: return FormatResult(v / AmountFactor(c, u.unitAmount), u.precise);
                case U::kPerPressure: return FormatResult(v * fP, u.precise);
                case U::kVolumePerAmount: return FormatResult(v * DensityFactor(c, u.unitRho), u.precise);
                default: return FormatResult(v, u.precise);
            }
        }
        case F::kSecondary: {
            if (!r.hasProperties) return "";
            Quantity q = r.properties.secondary[row.index];
            // A number, or the background value of "N/A (...)", in the display unit.
            if (row.unit == U::kViscosity) q.value /= ViscosityFactor(u.unitVisc);
            if (row.unit == U::kConductivity) q.value /= ConductivityFactor(u.unitTherc);
            return StatusText(q);
        }
        case F::kQuality: return r.quality.HasValue() ? FormatResult(r.quality.value, u.precise) : std::string();
    }
    return "";
}

}  // namespace kelvane
