// The main window's behaviour without a windowing toolkit: every named control with
// its state, the point calculation behind "Calculate", the unit handlers, "Set CP",
// the input selector and the density/specific-volume switch. The Qt window binds
// real widgets to an instance of this class; tests and the command-line tool drive
// it directly.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calculate.h"
#include "forms/controls.h"
#include "forms/fields.h"

namespace kelvane {

// The main window's record of the selected fluid and the last state point: the fluid's
// constants, the state as the last "Calculate" left it, and the saturation and melting
// values at its temperature (0 where the calculation gave a message).
struct CalculatorState {
    double M = 0, R = 0, Tc = 0, Pc = 0, rhoc = 0, Tred = 0, rhored = 0, Pred = 0;
    double T = 0, P = 0, rho = 0, tau = 0, delta = 0, pi = 0;
    double satuP = 0, satuRhov = 0, satuRhol = 0, meltP = 0;
    int inputVar = 0;  // 0: pressure given, 1: density given, 2: P and h given, 3: P and s given
    int fluid = -1;    // index of the selected fluid
};

// Whether a field of source s is a saturation or result field, cleared and greyed with
// the results (not an input, the message line or the vapour fraction).
bool IsResultSource(FieldSource s);

class MainForm {
public:
    // Creates the controls with their initial texts, sets every unit to its first
    // entry and selects water.
    MainForm();

    static constexpr const char* kCaption = "Kelvane 0.2w / Equations of State for H2O, MeOH, CO2";
    static constexpr const char* kTwoPhaseWarning = "rho may be in the co-existence region (meta-stable?);";
    // A given pressure or density of exactly zero has no real-gas state to compute.
    static constexpr const char* kZeroStateMessage = "Not applied to zero pressure or density.";
    static constexpr const char* kNoPressureMessage = "No pressure of the equation of state gives this density.";

    // Actions. Each may throw ConversionError when a typed number is malformed.
    void ButtonCalcClick();        // "Calculate"
    void RadioGroupMatterClick();  // selects the fluid of RadioGroupMatter.index
    void RadioGroupVarClick();     // input selector: swaps the editable field
    void ButtonSetCpClick();       // "Set CP"
    void ButtonXRhoVClick();       // "rho<->V"
    void ComboBoxTChange();        // the selector's index holds the new unit
    void ComboBoxPChange();
    void ComboBoxRhoChange();
    void ComboBoxUnitChange();
    void ComboBoxViscChange();     // viscosity unit
    void ComboBoxThercChange();    // thermal-conductivity unit
    void Button1Click();           // "Make Tables"
    void ButtonAboutClick();       // "About..."
    void ButtonPhaseClick();       // "Phase Diagram"
    void ButtonCopyClick();        // "Copy": ClipboardText() to copyText
    void ButtonSaturationClick();  // "Saturation Tables"
    void RadioGroupPairClick();    // input pair: T with P or rho, P with h, P with s

    // The fluid, the state and every result as lines of caption TAB value TAB unit,
    // ready to paste into a spreadsheet.
    std::string ClipboardText() const;

    // Hooks for the windows around this one.
    std::function<void()> showTableWindow;
    std::function<void()> showAboutWindow;
    std::function<void()> showPhaseWindow;
    std::function<void()> showSaturationWindow;
    std::function<void(const std::string&)> copyText;
    // Called when the density/specific-volume mode changes (true: density shown), so
    // that the table window can rename its items.
    std::function<void(bool)> densityModeChanged;

    // The input of "Calculate" as the fields give it: the state in SI molar units and
    // the wavelength. Throws ConversionError for a malformed number.
    PointInput ReadInput() const;
    // The wavelength field as a number in nm (its leading number; 0 when it has none).
    double Wavelength() const;
    // Fills the fields from a result of the engine for the current fluid and units, and
    // records it as the last state point.
    void ShowResult(const PointResult& r);
    // The same for a result computed for `fluid`, the fluid selector's item
    // `fluidItem` (a table started before the selector changed): its values in the
    // current units with that fluid's constants, shown greyed with the note of results
    // of another fluid when that is no longer the selected one.
    void ShowResult(const PointResult& r, const Fluid& fluid, int fluidItem);

    // The selected fluid, and the units in which the fields' texts are expressed.
    const Fluid& SelectedFluid() const;
    DisplayUnits Units() const;

    // The main window's record of the selected fluid and the last state point.
    CalculatorState calc;
    // When set, the fluid of every calculation of this form and of its tables in place
    // of the fluid table's entry (with the constants of that entry); null normally.
    // Lets a test or a tool put a fluid with known answers behind the form.
    const Fluid* fluidOverride = nullptr;

    // Display state: the units in which the fields' texts are currently expressed.
    int unitT = 0, unitP = 0, unitRho = 0, unitAmount = 0;
    int unitVisc = 0, unitTherc = 0;
    bool densityMode = true;
    // Calculated results with 15 significant digits instead of 8 (the command-line
    // tool's --precise).
    bool preciseResults = false;
    // Runs of "Calculate" so far, so that views of the state point can follow them.
    int calculations = 0;
    // The fluid the shown results were computed for (-1: none shown), and the message
    // line of that calculation. After a change of fluid the results stay, greyed, with
    // a note in the message line until the next "Calculate".
    int resultFluid = -1;
    std::string resultMessage;
    bool ResultsStale() const { return resultFluid >= 0 && resultFluid != RadioGroupMatter.index; }
    // The message line's note on results of another fluid.
    static std::string StaleNote(const std::string& computedFor, const std::string& selected);

    // Inputs and commands.
    RadioGroup RadioGroupMatter{"Select Fluid", {"Water", "Methanol", "CO2"}, 0};
    Button ButtonCalc{"Calculate"};
    Button Button1{"Make Tables"};
    Button ButtonAbout{"About..."};
    Button ButtonPhase{"Phase Diagram"};
    Button ButtonCopy{"Copy"};
    Button ButtonSaturation{"Saturation Tables"};
    Button ButtonSetCp{"Set CP"};
    Button ButtonXRhoV{"rho<->V"};
    Label Label1{"T ="};
    EditField EditT{"647.096"};
    ComboBox ComboBoxT;
    RadioGroup RadioGroupVar{"Select the input parameter", {"P =", "rho="}, 1};
    EditField EditP{"22.064", true, true, ColorRole::ButtonFace};
    ComboBox ComboBoxP;
    EditField EditRho{"322"};
    ComboBox ComboBoxRho;
    Label Label2{"Unit of Amount"};
    ComboBox ComboBoxUnit;
    EditField EditMes{"", true};
    // The input pair: item 0 the temperature with the pressure or density of
    // RadioGroupVar; items 1 and 2 the pressure with the enthalpy Edith or the entropy
    // Edits (in the energy unit of the amount unit), the temperature then a result.
    RadioGroup RadioGroupPair{"Input pair", {"T with P or rho", "P with h", "P with s"}, 0};
    Label Labelhgiven{"h ="}, Labelsgiven{"s ="};
    EditField Edith{"", true, true, ColorRole::ButtonFace}, Edits{"", true, true, ColorRole::ButtonFace};
    Label Labelhunit, Labelsunit;  // the units of h and s, set from the amount unit

    // Saturation group.
    Label Label27{"Saturation Properties for T"};
    Label Label40{"P-melt ="}, Label24{"P-satu ="}, LabelsatuRhovt{"rho-gas ="}, LabelsatuRholt{"rho-liq ="};
    EditField EditmeltP{"", true}, EditsatuP{"", true}, EditsatuRhov{"", true}, EditsatuRhol{"", true};
    // Unit labels of the field rows, set from their unit kinds (forms/fields.cpp).
    Label LabelmeltP, LabelsatuP, LabelsatuRhov, LabelsatuRhol;

    // Results.
    EditField EditU{"", true}, EditH{"", true}, EditF{"", true}, EditG{"", true}, EditS{"", true}, EditCv{"", true},
        EditCp{"", true}, EditZ{"", true}, EditFP{"", true}, EditW{"", true}, EditJT{"", true}, EditC2{"", true},
        Editalpha{"", true}, Editkappa{"", true}, EditVisc{"", true}, EditTherc{"", true}, EditDth{"", true},
        EditEps{"", true}, EditKw{"", true}, Editn{"", true};
    // Unit labels of the field rows, set from their unit kinds (forms/fields.cpp).
    Label LabelU, LabelH, LabelF, LabelG, LabelS, LabelCv, LabelCp, LabelW, LabelJT, LabelC2, Labelalpha, Labelkappa,
        LabelVisc, LabelTherc, LabelDth;
    Label Labeln1{"at"}, Labeln2{"nm"};
    EditField Editnlambda{"589"};
    // The vapour fraction of a two-phase state of given quality (the command-line
    // output's last field, empty for a single-phase state); the window shows it beside
    // the input pair.
    EditField Editx{"", true};
    // Unit selectors of the viscosity and the thermal conductivity; their labels are
    // LabelVisc and LabelTherc.
    ComboBox ComboBoxVisc, ComboBoxTherc;
    Label Labelx{"x ="};

    // The four label lists used by the unit handlers and the table headings.
    std::vector<std::string> temperatureLabels, pressureLabels, densityLabels, volumeLabels;

    // The edit fields by control name (e.g. "EditT", "EditsatuP", "Editnlambda"); null
    // if unknown.
    EditField* FieldByName(std::string_view name);
    const EditField* FieldByName(std::string_view name) const;
    // Names of the fields in the order of the command-line tool's output.
    static const std::vector<std::string>& OutputFieldNames();
    // The unit text shown beside the field of `row` (empty where none).
    std::string UnitText(const FieldRow& row) const;

    // Label of the density field's unit in the current mode.
    const std::string& DensityUnitLabel() const;

    // The saturation and result fields (the rows of IsResultSource: not the inputs, the
    // message line or the vapour fraction).
    std::vector<EditField*> ResultFields();

private:
    // After the unit of selector s changed from `previous` to the one now stored: every
    // result field whose unit kind follows s rescaled as its kind says, and its label.
    void FollowUnit(UnitSelector s, int previous);
    // The constants of the fluid the shown results were computed for (the selected
    // fluid's when none are shown).
    const FluidConstants& ResultConstants() const;
    void ClearResults();
    void SetResultsEnabled(bool enabled);
    // Name of the variable field in errors: "T", "P", "rho" (or "V" for a volume).
    std::string DensityName() const { return densityMode ? "rho" : "V"; }
    std::string Result(double x) const { return FormatResult(x, preciseResults); }
};

}  // namespace kelvane
