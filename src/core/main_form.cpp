#include "core/main_form.h"

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/solvers.h"
#include "core/units.h"

namespace kelvane {

namespace {

void SetEditable(EditField& f, bool editable) {
    f.readOnly = !editable;
    f.color = editable ? ColorRole::Window : ColorRole::ButtonFace;
}

// Rewrites a shown number by `f` unless the field holds a message or nothing.
template <typename F>
void RescaleIfNumber(EditField& field, F f) {
    const double v = ParseLeading(field.text);
    if (v != 0) field.text = FormatResult(f(v));
}

}  // namespace

MainForm::MainForm() {
    temperatureLabels.assign(kTemperatureLabels.begin(), kTemperatureLabels.end());
    pressureLabels.assign(kPressureLabels.begin(), kPressureLabels.end());
    densityLabels.assign(kDensityLabels.begin(), kDensityLabels.end());
    volumeLabels.assign(kVolumeLabels.begin(), kVolumeLabels.end());

    ComboBoxT.items.assign(kTemperatureItems.begin(), kTemperatureItems.end());
    ComboBoxP.items.assign(kPressureLabels.begin(), kPressureLabels.end());
    ComboBoxRho.items.assign(kDensityItems.begin(), kDensityItems.end());
    ComboBoxUnit.items.assign(kAmountItems.begin(), kAmountItems.end());
    ComboBoxT.Select(0);
    ComboBoxP.Select(0);
    ComboBoxRho.Select(0);
    ComboBoxUnit.Select(0);

    densityMode = true;
    unitAmount = unitRho = unitP = unitT = 0;
    RadioGroupMatterClick();
}

const std::vector<MainForm::ResultRow>& MainForm::ResultRows() {
    static const std::vector<ResultRow> rows = {
        {"Internal Energy", "U =", &MainForm::EditU, &MainForm::LabelU},
        {"Enthalpy", "H =", &MainForm::EditH, &MainForm::LabelH},
        {"Helmhortz Energy", "F =", &MainForm::EditF, &MainForm::LabelF},
        {"Gibbs Energy", "G =", &MainForm::EditG, &MainForm::LabelG},
        {"Entropy", "S =", &MainForm::EditS, &MainForm::LabelS},
        {"Isochoric Spec. Heat", "Cv =", &MainForm::EditCv, &MainForm::LabelCv},
        {"Isobaric Spec. Heat", "Cp =", &MainForm::EditCp, &MainForm::LabelCp},
        {"Compression Factor", "Z =", &MainForm::EditZ, nullptr},
        {"Fugacity Coefficient", "F/P =", &MainForm::EditFP, nullptr},
        {"Sound Velocity", "W =", &MainForm::EditW, &MainForm::LabelW},
        {"Joule-Thomson Coef.", "m =", &MainForm::EditJT, &MainForm::LabelJT},
        {"Second Virial Coef.", "C2(T) =", &MainForm::EditC2, &MainForm::LabelC2},
        {"Isobaric Expansion Coef.", "alpha =", &MainForm::Editalpha, &MainForm::Labelalpha},
        {"Isothermal Compression Coef.", "kappa =", &MainForm::Editkappa, &MainForm::Labelkappa},
        {"Viscosity", "etha =", &MainForm::EditVisc, &MainForm::LabelVisc},
        {"Thermal Conductivity", "lambda =", &MainForm::EditTherc, &MainForm::LabelTherc},
        {"Thermal Diffusivity", "Dth =", &MainForm::EditDth, &MainForm::LabelDth},
        {"Relative Dielectric Const", "eps =", &MainForm::EditEps, nullptr},
        {"Ion Product", "pKw =", &MainForm::EditKw, nullptr},
        {"Refractive Index", "n(l)=", &MainForm::Editn, &MainForm::Labeln1},
    };
    return rows;
}

const std::vector<std::string>& MainForm::OutputFieldNames() {
    static const std::vector<std::string> names = {
        "EditT", "EditP", "EditRho", "EditMes", "EditmeltP", "EditsatuP", "EditsatuRhov",
        "EditsatuRhol", "EditU", "EditH", "EditF", "EditG", "EditS", "EditCv", "EditCp",
        "EditZ", "EditFP", "EditW", "EditJT", "EditC2", "Editalpha", "Editkappa",
        "EditVisc", "EditTherc", "EditDth", "EditEps", "EditKw", "Editn"};
    return names;
}

EditField* MainForm::FieldByName(std::string_view name) {
    struct Entry {
        const char* name;
        EditField MainForm::*field;
    };
    static const Entry entries[] = {
        {"EditT", &MainForm::EditT}, {"EditP", &MainForm::EditP}, {"EditRho", &MainForm::EditRho},
        {"EditMes", &MainForm::EditMes}, {"EditmeltP", &MainForm::EditmeltP},
        {"EditsatuP", &MainForm::EditsatuP}, {"EditsatuRhov", &MainForm::EditsatuRhov},
        {"EditsatuRhol", &MainForm::EditsatuRhol}, {"EditU", &MainForm::EditU},
        {"EditH", &MainForm::EditH}, {"EditF", &MainForm::EditF}, {"EditG", &MainForm::EditG},
        {"EditS", &MainForm::EditS}, {"EditCv", &MainForm::EditCv}, {"EditCp", &MainForm::EditCp},
        {"EditZ", &MainForm::EditZ}, {"EditFP", &MainForm::EditFP}, {"EditW", &MainForm::EditW},
        {"EditJT", &MainForm::EditJT}, {"EditC2", &MainForm::EditC2},
        {"Editalpha", &MainForm::Editalpha}, {"Editkappa", &MainForm::Editkappa},
        {"EditVisc", &MainForm::EditVisc}, {"EditTherc", &MainForm::EditTherc},
        {"EditDth", &MainForm::EditDth}, {"EditEps", &MainForm::EditEps},
        {"EditKw", &MainForm::EditKw}, {"Editn", &MainForm::Editn},
        {"Editnlambda", &MainForm::Editnlambda},
    };
    for (const Entry& e : entries)
        if (name == e.name) return &(this->*e.field);
    return nullptr;
}

const std::string& MainForm::DensityUnitLabel() const {
    return densityMode ? densityLabels[unitRho] : volumeLabels[unitRho];
}

std::string MainForm::PressureText(double pa) const { return FormatResult(pa / PressureFactor(unitP)); }

std::string MainForm::DensityText(double rho) const {
    return FormatResult(DensityToDisplay(rho, unitRho, densityMode));
}

void MainForm::ClearResults() {
    EditField* fields[] = {&EditMes, &EditF, &EditU, &EditH, &EditG, &EditS, &EditCv, &EditCp,
                           &EditZ, &EditFP, &EditW, &EditJT, &EditC2, &EditEps, &EditVisc,
                           &EditTherc, &EditDth, &EditKw, &Editn, &Editalpha, &Editkappa,
                           &EditmeltP, &EditsatuP, &EditsatuRhov, &EditsatuRhol};
    for (EditField* f : fields) f->text.clear();
}

void MainForm::ButtonCalcClick() {
    ++calculations;
    ClearResults();
    std::string messages;
    // The message line receives the accumulated messages on every path that is not
    // abandoned by a conversion error.
    struct Finish {
        EditField& mes;
        std::string& text;
        bool armed = false;
        ~Finish() {
            if (armed) mes.text = text;
        }
    } finish{EditMes, messages};

    calc.inputVar = RadioGroupVar.index == 1 ? 1 : 0;
    calc.T = TemperatureToK(unitT, ParseStrict(EditT.text));
    if (calc.inputVar == 0) {
        calc.P = ParseStrict(EditP.text) * PressureFactor(unitP);
        calc.rho = 0;
        EditRho.text.clear();
    } else {
        calc.rho = DensityFromDisplay(ParseStrict(EditRho.text), unitRho, densityMode);
        calc.P = 0;
        EditP.text.clear();
    }
    finish.armed = true;
    calc.tau = calc.Tred / calc.T;

    const FluidOperations& ops = calc.ops;
    if (!ops.CheckTemperature) {
        messages = "The model of this fluid is not available.";
        return;
    }

    std::string text = ops.CheckTemperature(calc.T);
    messages += text;
    if (!text.empty()) return;

    text = ops.MeltingPressure(calc.tau);
    calc.meltP = ParseLeading(text);
    EditmeltP.text = calc.meltP == 0 ? text : PressureText(calc.meltP);

    const SaturationResult sat = CurrentSaturation(calc.tau);
    calc.satuP = ParseLeading(sat.pressure);
    calc.satuRhov = ParseLeading(sat.vapourDensity);
    calc.satuRhol = ParseLeading(sat.liquidDensity);
    EditsatuP.text = calc.satuP == 0 ? sat.pressure : PressureText(calc.satuP);
    EditsatuRhov.text = calc.satuRhov == 0 ? sat.vapourDensity : DensityText(calc.satuRhov);
    EditsatuRhol.text = calc.satuRhol == 0 ? sat.liquidDensity : DensityText(calc.satuRhol);

    if (calc.inputVar == 0) {
        text = ops.CheckState(calc.P, calc.T);
        messages += text;
        if (!text.empty()) return;
        if (calc.P == 0) {
            messages += kZeroStateMessage;
            return;
        }
        calc.pi = calc.P / calc.Pred;
        calc.rho = SolveDensity(calc.T, calc.P, calc.satuP, calc.satuRhov, calc.satuRhol);
        EditRho.text = DensityText(calc.rho);
    }

    calc.delta = calc.rho / calc.rhored;

    if (calc.satuP != 0 && calc.satuRhov <= calc.rho && calc.rho <= calc.satuRhol) {
        messages += kTwoPhaseWarning;
        if (1.05 * calc.satuRhov <= calc.rho && calc.rho <= 0.9 * calc.satuRhol) return;
    }

    if (calc.inputVar == 1) {
        if (calc.rho == 0) {
            messages += kZeroStateMessage;
            return;
        }
        bool found = true;
        calc.P = SolvePressure(calc.T, calc.rho, calc.satuP, calc.satuRhov, calc.satuRhol, &found);
        calc.pi = calc.P / calc.Pred;
        EditP.text = PressureText(calc.P);
        text = ops.CheckState(calc.P, calc.T);
        messages += text;
        if (!text.empty()) return;
        if (!found) {
            // The search ended at a pressure whose density is not the given one (water:
            // a density that no pressure of the region's equation reaches at this
            // temperature); properties there would belong to another state.
            EditP.text.clear();
            messages += kNoPressureMessage;
            return;
        }
    }

    const PropertyResults r = ops.Properties(calc.delta, calc.tau, calc.pi, Editnlambda.text);
    const double gA = AmountFactor(unitAmount);
    const double fP = PressureFactor(unitP);
    const double fR = DensityFactor(unitRho);
    const auto& v = r.values;
    EditF.text = FormatResult(v[kF] / gA);
    EditU.text = FormatResult(v[kU] / gA);
    EditH.text = FormatResult(v[kH] / gA);
    EditG.text = FormatResult(v[kG] / gA);
    EditS.text = FormatResult(v[kS] / gA);
    EditCv.text = FormatResult(v[kCv] / gA);
    EditCp.text = FormatResult(v[kCp] / gA);
    EditZ.text = FormatResult(v[kZ]);
    EditFP.text = FormatResult(v[kFugacity]);
    EditW.text = FormatResult(v[kW]);
    EditJT.text = FormatResult(v[kJT] * fP);
    EditC2.text = FormatResult(v[kC2] * fR);
    Editalpha.text = FormatResult(v[kAlpha]);
    Editkappa.text = FormatResult(v[kKappa] * fP);

    const SecondaryResults& s = r.secondary;
    if (s.eps) EditEps.text = *s.eps;
    if (s.etha) EditVisc.text = *s.etha;
    if (s.lambda) EditTherc.text = *s.lambda;
    if (s.Dth) EditDth.text = *s.Dth;
    if (s.pKw) EditKw.text = *s.pKw;
    if (s.n) Editn.text = *s.n;
}

void MainForm::RadioGroupMatterClick() { SelectFluid(RadioGroupMatter.index); }

void MainForm::RadioGroupVarClick() {
    const bool pressureGiven = RadioGroupVar.index == 0;
    SetEditable(EditP, pressureGiven);
    SetEditable(EditRho, !pressureGiven);
}

void MainForm::ButtonSetCpClick() {
    EditT.text = FormatDisplay(TemperatureFromK(unitT, calc.Tc));
    EditP.text = FormatDisplay(calc.Pc / PressureFactor(unitP));
    EditRho.text = FormatDisplay(DensityToDisplay(calc.rhoc, unitRho, densityMode));
}

void MainForm::ButtonXRhoVClick() {
    densityMode = !densityMode;
    const std::vector<std::string>& labels = densityMode ? densityLabels : volumeLabels;
    RadioGroupVar.items[1] = densityMode ? "rho=" : "V=";
    ComboBoxRho.items = labels;
    ComboBoxRho.Select(unitRho);
    LabelsatuRhov.text = labels[unitRho];
    LabelsatuRhol.text = labels[unitRho];
    LabelsatuRhovt.text = densityMode ? "rho-gas =" : "V-gas =";
    LabelsatuRholt.text = densityMode ? "rho-liq =" : "V-liq =";
    if (densityModeChanged) densityModeChanged(densityMode);

    EditRho.text = FormatDisplay(1 / ParseStrict(EditRho.text));
    RescaleIfNumber(EditsatuRhov, [](double x) { return 1 / x; });
    RescaleIfNumber(EditsatuRhol, [](double x) { return 1 / x; });
}

void MainForm::ComboBoxTChange() {
    const int next = ComboBoxT.index;
    if (next < 0 || next == unitT) return;
    const double T = TemperatureToK(unitT, ParseStrict(EditT.text));
    unitT = next;
    EditT.text = FormatDisplay(TemperatureFromK(unitT, T));
}

void MainForm::ComboBoxPChange() {
    const int next = ComboBoxP.index;
    if (next < 0 || next == unitP) return;
    const double ratio = PressureFactor(unitP) / PressureFactor(next);
    EditP.text = FormatDisplay(ParseStrict(EditP.text) * ratio);
    RescaleIfNumber(EditmeltP, [ratio](double x) { return x * ratio; });
    RescaleIfNumber(EditsatuP, [ratio](double x) { return x * ratio; });
    RescaleIfNumber(EditJT, [ratio](double x) { return x / ratio; });
    RescaleIfNumber(Editkappa, [ratio](double x) { return x / ratio; });
    LabelmeltP.text = pressureLabels[next];
    LabelsatuP.text = pressureLabels[next];
    LabelJT.text = "K / " + pressureLabels[next];
    Labelkappa.text = "/ " + pressureLabels[next];
    unitP = next;
}

void MainForm::ComboBoxRhoChange() {
    const int next = ComboBoxRho.index;
    if (next < 0 || next == unitRho) return;
    const double ratio = DensityFactor(unitRho) / DensityFactor(next);
    const bool dm = densityMode;
    auto rescale = [ratio, dm](double x) { return dm ? x * ratio : x / ratio; };
    EditRho.text = FormatDisplay(rescale(ParseLeading(EditRho.text)));
    RescaleIfNumber(EditsatuRhov, rescale);
    RescaleIfNumber(EditsatuRhol, rescale);
    const std::string& label = densityMode ? densityLabels[next] : volumeLabels[next];
    LabelsatuRhov.text = label;
    LabelsatuRhol.text = label;
    RescaleIfNumber(EditC2, [ratio](double x) { return x / ratio; });
    LabelC2.text = volumeLabels[next];
    unitRho = next;
}

void MainForm::ComboBoxUnitChange() {
    const int next = ComboBoxUnit.index;
    if (next < 0 || next == unitAmount) return;
    const double ratio = AmountFactor(unitAmount) / AmountFactor(next);
    for (EditField* f : {&EditU, &EditH, &EditF, &EditG, &EditS, &EditCv, &EditCp})
        f->text = FormatResult(ParseLeading(f->text) * ratio);
    for (Label* l : {&LabelU, &LabelH, &LabelF, &LabelG}) l->text = kEnergyLabels[next];
    for (Label* l : {&LabelS, &LabelCv, &LabelCp}) l->text = kEntropyLabels[next];
    unitAmount = next;
}

void MainForm::Button1Click() {
    if (showTableWindow) showTableWindow();
}

void MainForm::ButtonAboutClick() {
    if (showAboutWindow) showAboutWindow();
}

}  // namespace kelvane
