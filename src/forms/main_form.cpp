#include "forms/main_form.h"

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/units.h"

namespace kelvane {

namespace {

void SetEditable(EditField& f, bool editable) {
    f.readOnly = !editable;
    f.color = editable ? ColorRole::Window : ColorRole::ButtonFace;
}

// Rewrites a shown number by `f` unless the field holds a message or nothing.
template <typename F>
void RescaleIfNumber(EditField& field, F f, bool precise) {
    const double v = ParseLeading(field.text);
    if (v != 0) field.text = FormatResult(f(v), precise);
}

// Rewrites a shown number, or the background value inside "N/A (x)", by `f`; in the
// display format, as the secondary results are shown.
template <typename F>
void RescaleSecondary(EditField& field, F f) {
    static const std::string kOpen = "N/A (";
    if (field.text.rfind(kOpen, 0) == 0 && field.text.back() == ')') {
        const double v = ParseLeading(field.text.substr(kOpen.size()));
        if (v != 0) field.text = kOpen + FormatDisplay(f(v)) + ")";
        return;
    }
    const double v = ParseLeading(field.text);
    if (v != 0) field.text = FormatDisplay(f(v));
}

// The typed inputs, which the unit handlers convert themselves.
bool IsInputSource(FieldSource s) {
    return s == FieldSource::kTemperature || s == FieldSource::kPressure || s == FieldSource::kDensity;
}

}  // namespace

bool IsResultSource(FieldSource s) {
    return !IsInputSource(s) && s != FieldSource::kMessage && s != FieldSource::kQuality;
}

const FluidConstants& MainForm::ResultConstants() const {
    if (fluidOverride || resultFluid < 0 || resultFluid >= kFluidCount) return SelectedFluid().constants;
    return FluidAt(resultFluid).constants;
}

void MainForm::FollowUnit(UnitSelector s, int previous) {
    const DisplayUnits u = Units();
    const int next = u.Index(s);
    // The results shown may be those of another fluid than the selected one (greyed
    // until the next "Calculate"): its critical constants and molar mass convert them.
    const FluidConstants& c = ResultConstants();
    const bool temperature = s == UnitSelector::kTemperature;
    const double ratio = temperature ? 1 : UnitFactor(s, c, previous) / UnitFactor(s, c, next);
    for (const FieldRow& row : FieldRows()) {
        const UnitKindRow& kind = UnitKindOf(row.unit);
        if (kind.selector != s || IsInputSource(row.source)) continue;
        EditField& field = this->*(row.field);
        // A quantity in the unit is multiplied by the ratio, one per unit divided; a
        // density by the mode (a specific volume is per unit).
        const bool multiply = kind.densityMode ? densityMode : kind.power > 0;
        auto rescale = [&](double x) { return multiply ? x * ratio : x / ratio; };
        if (temperature) {
            // Not a factor: a shown number is converted through kelvin (a 0 too, which
            // is a temperature in deg C or deg F); a message stays.
            try {
                const double T = TemperatureToK(c, previous, ParseStrict(field.text));
                field.text = Result(TemperatureFromK(c, next, T));
            } catch (const ConversionError&) {
            }
        } else if (row.source == FieldSource::kSecondary) {
            RescaleSecondary(field, rescale);
        } else if (kind.alwaysRewritten) {
            field.text = Result(rescale(ParseLeading(field.text)));
        } else {
            RescaleIfNumber(field, rescale, preciseResults);
        }
        if (row.label) (this->*(row.label)).text = UnitLabel(row, u);
    }
}

MainForm::MainForm() {
    using S = UnitSelector;
    temperatureLabels = UnitLabels(S::kTemperature);
    pressureLabels = UnitLabels(S::kPressure);
    densityLabels = UnitLabels(S::kDensity);
    volumeLabels = UnitLabels2(S::kDensity);

    ComboBoxT.items = UnitItems(S::kTemperature);
    ComboBoxP.items = UnitItems(S::kPressure);
    ComboBoxRho.items = UnitItems(S::kDensity);
    ComboBoxUnit.items = UnitItems(S::kAmount);
    ComboBoxVisc.items = UnitItems(S::kViscosity);
    ComboBoxTherc.items = UnitItems(S::kConductivity);
    ComboBoxVisc.Select(0);
    ComboBoxTherc.Select(0);
    ComboBoxT.Select(0);
    ComboBoxP.Select(0);
    ComboBoxRho.Select(0);
    ComboBoxUnit.Select(0);

    densityMode = true;
    unitAmount = unitRho = unitP = unitT = 0;
    // Every unit label from the kind of its field, in the first units.
    const DisplayUnits units = Units();
    for (const FieldRow& row : FieldRows())
        if (row.label) (this->*(row.label)).text = UnitLabel(row, units);
    Labelhunit.text = UnitLabel(UnitKind::kEnergy, units);
    Labelsunit.text = UnitLabel(UnitKind::kEntropy, units);
    RadioGroupMatterClick();
}

const std::vector<std::string>& MainForm::OutputFieldNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const FieldRow& r : FieldRows()) n.emplace_back(r.control);
        return n;
    }();
    return names;
}

EditField* MainForm::FieldByName(std::string_view name) {
    if (name == "Editnlambda") return &Editnlambda;
    const FieldRow* row = FieldRowNamed(name);
    return row ? &(this->*(row->field)) : nullptr;
}

const EditField* MainForm::FieldByName(std::string_view name) const {
    return const_cast<MainForm*>(this)->FieldByName(name);
}

std::string MainForm::UnitText(const FieldRow& row) const {
    switch (row.source) {
        case FieldSource::kTemperature: return temperatureLabels[unitT];
        case FieldSource::kPressure: return pressureLabels[unitP];
        case FieldSource::kDensity: return DensityUnitLabel();
        default: break;
    }
    if (row.field == &MainForm::Editn) return Labeln1.text + " " + Editnlambda.text + " " + Labeln2.text;
    return row.label ? (this->*(row.label)).text : std::string();
}

const Fluid& MainForm::SelectedFluid() const {
    if (fluidOverride) return *fluidOverride;
    const int i = RadioGroupMatter.index;
    return FluidAt(i >= 0 && i < kFluidCount ? i : 0);
}

DisplayUnits MainForm::Units() const {
    DisplayUnits u;
    u.constants = &SelectedFluid().constants;
    u.unitT = unitT;
    u.unitP = unitP;
    u.unitRho = unitRho;
    u.unitAmount = unitAmount;
    u.unitVisc = unitVisc;
    u.unitTherc = unitTherc;
    u.densityMode = densityMode;
    u.precise = preciseResults;
    return u;
}

const std::string& MainForm::DensityUnitLabel() const {
    return densityMode ? densityLabels[unitRho] : volumeLabels[unitRho];
}

std::vector<EditField*> MainForm::ResultFields() {
    std::vector<EditField*> fields;
    for (const FieldRow& row : FieldRows())
        if (IsResultSource(row.source)) fields.push_back(&(this->*(row.field)));
    return fields;
}

void MainForm::SetResultsEnabled(bool enabled) {
    for (EditField* f : ResultFields()) f->enabled = enabled;
}

std::string MainForm::StaleNote(const std::string& computedFor, const std::string& selected) {
    return "The results shown were computed for " + computedFor + "; press \"Calculate\" for " + selected + ".";
}

void MainForm::ClearResults() {
    EditMes.text.clear();
    Editx.text.clear();
    for (EditField* f : ResultFields()) {
        f->text.clear();
        f->hint.clear();
    }
    SetResultsEnabled(true);
    resultFluid = -1;
    resultMessage.clear();
}

PointInput MainForm::ReadInput() const {
    const FluidConstants& c = SelectedFluid().constants;
    PointInput in;
    in.wavelength = ParseLeading(Editnlambda.text);
    if (RadioGroupPair.index == 1 || RadioGroupPair.index == 2) {
        // The pressure with the enthalpy or the entropy; the temperature is found.
        in.inputVar = RadioGroupPair.index + 1;
        in.P = ParseField("P", EditP.text) * PressureFactor(c, unitP);
        if (in.inputVar == 2)
            in.h = ParseField("h", Edith.text) * AmountFactor(c, unitAmount);
        else
            in.s = ParseField("s", Edits.text) * AmountFactor(c, unitAmount);
        return in;
    }
    in.inputVar = RadioGroupVar.index == 1 ? 1 : 0;
    in.T = TemperatureToK(c, unitT, ParseField("T", EditT.text));
    if (in.inputVar == 0)
        in.P = ParseField("P", EditP.text) * PressureFactor(c, unitP);
    else
        in.rho = DensityFromDisplay(c, ParseField(DensityName(), EditRho.text), unitRho, densityMode);
    in.wavelength = Wavelength();
    return in;
}

double MainForm::Wavelength() const {
    // Read up to its first non-number ("589 nm" is 589); a text without a number gives
    // 0, which the calculation answers with its message instead of n.
    return ParseLeading(Editnlambda.text);
}

void MainForm::ButtonCalcClick() {
    ++calculations;
    ClearResults();
    // A malformed number leaves the message line empty and the results cleared.
    const PointInput in = ReadInput();
    if (in.inputVar == 1) {
        EditP.text.clear();
    } else {
        EditRho.text.clear();
        if (in.inputVar >= 2) EditT.text.clear();
    }
    ShowResult(Calculate(SelectedFluid(), in));
}

void MainForm::ShowResult(const PointResult& r) { ShowResult(r, SelectedFluid(), RadioGroupMatter.index); }

void MainForm::ShowResult(const PointResult& r, const Fluid& fluid, int fluidItem) {
    DisplayUnits units = Units();
    units.constants = &fluid.constants;
    for (const FieldRow& row : FieldRows()) {
        // The typed inputs keep their texts; the solved one is written.
        if (row.source == FieldSource::kTemperature && r.state.inputVar < 2) continue;
        if (row.source == FieldSource::kPressure && r.state.inputVar != 1) continue;
        if (row.source == FieldSource::kDensity && r.state.inputVar == 1) continue;
        (this->*(row.field)).text = FieldText(row, r, units);
    }
    // Transport and electrical properties the fluid's formulation does not give say so
    // in their tooltip instead of standing silently empty.
    const std::string fluidWord = fluid.id == std::string_view("co2") ? "carbon dioxide" : std::string(fluid.id);
    for (const FieldRow& row : FieldRows()) {
        if (row.source != FieldSource::kSecondary) continue;
        const bool missing = r.hasProperties && r.properties.secondary[row.index].status == Status::kUnset;
        (this->*(row.field)).hint = missing ? "not available for " + fluidWord : std::string();
    }
    resultFluid = fluidItem;
    resultMessage = EditMes.text;
    if (ResultsStale() && RadioGroupMatter.index >= 0) {
        // The record stays that of the selected fluid: these results belong to another.
        SetResultsEnabled(false);
        EditMes.text = StaleNote(RadioGroupMatter.items[fluidItem], RadioGroupMatter.items[RadioGroupMatter.index]);
        return;
    }
    SetResultsEnabled(true);
    const PointContext& s = r.state;
    calc.T = s.T;
    calc.P = s.P;
    calc.rho = s.rho;
    calc.tau = s.tau;
    calc.delta = s.delta;
    calc.pi = s.pi;
    calc.satuP = s.satuP;
    calc.satuRhov = s.satuRhov;
    calc.satuRhol = s.satuRhol;
    calc.meltP = s.meltP;
    calc.inputVar = s.inputVar;
}

void MainForm::RadioGroupMatterClick() {
    const int index = RadioGroupMatter.index;
    if (index < 0 || index >= kFluidCount) return;
    const FluidConstants& c = FluidAt(index).constants;
    calc.M = c.M;
    calc.R = c.R;
    calc.Tc = c.Tc;
    calc.Pc = c.Pc;
    calc.rhoc = c.rhoc;
    calc.Tred = c.Tred;
    calc.rhored = c.rhored;
    calc.Pred = c.Pred;
    calc.fluid = index;

    // Results of another fluid stay on show, greyed and with a note, until the next
    // "Calculate"; going back to their fluid shows them as they were.
    if (resultFluid < 0) return;
    const bool stale = resultFluid != index;
    SetResultsEnabled(!stale);
    EditMes.text =
        stale ? StaleNote(RadioGroupMatter.items[resultFluid], RadioGroupMatter.items[index]) : resultMessage;
}

void MainForm::RadioGroupVarClick() {
    if (RadioGroupPair.index != 0) return;  // the pressure is given with h or s
    const bool pressureGiven = RadioGroupVar.index == 0;
    SetEditable(EditP, pressureGiven);
    SetEditable(EditRho, !pressureGiven);
}

void MainForm::RadioGroupPairClick() {
    const int pair = RadioGroupPair.index;
    if (pair == 0) {
        SetEditable(EditT, true);
        SetEditable(Edith, false);
        SetEditable(Edits, false);
        RadioGroupVarClick();
        return;
    }
    SetEditable(EditT, false);
    SetEditable(EditP, true);
    SetEditable(EditRho, false);
    SetEditable(Edith, pair == 1);
    SetEditable(Edits, pair == 2);
}

void MainForm::ButtonSetCpClick() {
    const FluidConstants& c = SelectedFluid().constants;
    EditT.text = FormatDisplay(TemperatureFromK(c, unitT, c.Tc));
    EditP.text = FormatDisplay(c.Pc / PressureFactor(c, unitP));
    EditRho.text = FormatDisplay(DensityToDisplay(c, c.rhoc, unitRho, densityMode));
}

void MainForm::ButtonXRhoVClick() {
    densityMode = !densityMode;
    const std::vector<std::string>& labels = densityMode ? densityLabels : volumeLabels;
    RadioGroupVar.items[1] = densityMode ? "rho=" : "V=";
    ComboBoxRho.items = labels;
    ComboBoxRho.Select(unitRho);
    // The fields whose unit follows the mode: their labels now, their numbers after the
    // input's conversion (which may fail).
    const DisplayUnits units = Units();
    auto followsMode = [](const FieldRow& row) {
        return UnitKindOf(row.unit).densityMode && !IsInputSource(row.source);
    };
    for (const FieldRow& row : FieldRows())
        if (followsMode(row) && row.label) (this->*(row.label)).text = UnitLabel(row, units);
    LabelsatuRhovt.text = densityMode ? "rho-gas =" : "V-gas =";
    LabelsatuRholt.text = densityMode ? "rho-liq =" : "V-liq =";
    if (densityModeChanged) densityModeChanged(densityMode);

    EditRho.text = FormatDisplay(1 / ParseField(densityMode ? "V" : "rho", EditRho.text));
    for (const FieldRow& row : FieldRows())
        if (followsMode(row))
            RescaleIfNumber(
                this->*(row.field), [](double x) { return 1 / x; }, preciseResults);
}

void MainForm::ComboBoxTChange() {
    const int next = ComboBoxT.index;
    if (next < 0 || next == unitT) return;
    const FluidConstants& c = SelectedFluid().constants;
    const int previous = unitT;
    if (RadioGroupPair.index != 0) {
        // The temperature is a result here: rewritten when it holds one, with the
        // constants of the fluid it was found for.
        unitT = next;
        FollowUnit(UnitSelector::kTemperature, previous);
        if (EditT.text.empty()) return;
        const FluidConstants& rc = ResultConstants();
        const double T = TemperatureToK(rc, previous, ParseLeading(EditT.text));
        EditT.text = FormatResult(TemperatureFromK(rc, unitT, T), preciseResults);
        return;
    }
    const double T = TemperatureToK(c, unitT, ParseField("T", EditT.text));
    unitT = next;
    EditT.text = FormatDisplay(TemperatureFromK(c, unitT, T));
    FollowUnit(UnitSelector::kTemperature, previous);
}

// Each unit change converts its input field, which may fail and then changes nothing,
// then the stored unit, then every result that follows the selector (FollowUnit).
void MainForm::ComboBoxPChange() {
    const int next = ComboBoxP.index;
    if (next < 0 || next == unitP) return;
    const FluidConstants& c = SelectedFluid().constants;
    const double ratio = PressureFactor(c, unitP) / PressureFactor(c, next);
    EditP.text = FormatDisplay(ParseField("P", EditP.text) * ratio);
    const int previous = unitP;
    unitP = next;
    FollowUnit(UnitSelector::kPressure, previous);
}

void MainForm::ComboBoxRhoChange() {
    const int next = ComboBoxRho.index;
    if (next < 0 || next == unitRho) return;
    const FluidConstants& c = SelectedFluid().constants;
    const double ratio = DensityFactor(c, unitRho) / DensityFactor(c, next);
    // Always rewritten: an empty or non-numeric field becomes "0".
    const double v = ParseLeading(EditRho.text);
    EditRho.text = FormatDisplay(densityMode ? v * ratio : v / ratio);
    const int previous = unitRho;
    unitRho = next;
    FollowUnit(UnitSelector::kDensity, previous);
}

void MainForm::ComboBoxUnitChange() {
    const int next = ComboBoxUnit.index;
    if (next < 0 || next == unitAmount) return;
    const FluidConstants& c = SelectedFluid().constants;
    const double ratio = AmountFactor(c, unitAmount) / AmountFactor(c, next);
    // The given enthalpy and entropy follow the amount unit as typed numbers.
    for (EditField* f : {&Edith, &Edits}) {
        try {
            f->text = FormatDisplay(ParseStrict(f->text) * ratio);
        } catch (const ConversionError&) {
            // Not a number (or empty): left as typed, for "Calculate" to report.
        }
    }
    const int previous = unitAmount;
    unitAmount = next;
    Labelhunit.text = UnitLabel(UnitKind::kEnergy, Units());
    Labelsunit.text = UnitLabel(UnitKind::kEntropy, Units());
    FollowUnit(UnitSelector::kAmount, previous);
}

void MainForm::ComboBoxViscChange() {
    const int next = ComboBoxVisc.index;
    if (next < 0 || next == unitVisc) return;
    const int previous = unitVisc;
    unitVisc = next;
    FollowUnit(UnitSelector::kViscosity, previous);
}

void MainForm::ComboBoxThercChange() {
    const int next = ComboBoxTherc.index;
    if (next < 0 || next == unitTherc) return;
    const int previous = unitTherc;
    unitTherc = next;
    FollowUnit(UnitSelector::kConductivity, previous);
}

void MainForm::Button1Click() {
    if (showTableWindow) showTableWindow();
}

void MainForm::ButtonAboutClick() {
    if (showAboutWindow) showAboutWindow();
}

}  // namespace kelvane
