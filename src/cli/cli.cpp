#include "cli/cli.h"

#include "cli/cli_options.h"

#include <optional>
#include <ostream>

#include "core/format.h"
#include "core/saturation.h"
#include "forms/main_form.h"
#include "forms/units.h"
#include "kelvane_version.h"

namespace kelvane {

namespace {

using cli::UsageError;

struct PointOptions {
    cli::FormOptions form;
    std::optional<std::string> T, P, rho, x, h, s;
    bool tsv = false, precise = false, help = false, version = false;
};

PointOptions ParseOptions(const std::vector<std::string>& args) {
    PointOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (cli::ParseFormOption(args, i, o.form)) continue;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--T") {
            o.T = cli::OptionValue(args, i);
        } else if (a == "--P") {
            if (o.rho) throw UsageError{"--P and --rho exclude each other"};
            o.P = cli::OptionValue(args, i);
        } else if (a == "--rho") {
            if (o.P) throw UsageError{"--P and --rho exclude each other"};
            o.rho = cli::OptionValue(args, i);
        } else if (a == "--h") {
            o.h = cli::OptionValue(args, i);
        } else if (a == "--s") {
            o.s = cli::OptionValue(args, i);
        } else if (a == "--x") {
            o.x = cli::OptionValue(args, i);
        } else if (a == "--tsv") {
            o.tsv = true;
        } else if (a == "--precise") {
            o.precise = true;
        } else {
            throw UsageError{"unknown option: " + cli::Printable(a)};
        }
    }
    if (o.h && o.s) throw UsageError{"--h and --s exclude each other"};
    if (o.h || o.s) {
        const char* given = o.h ? "--h" : "--s";
        if (o.T) throw UsageError{std::string("--T and ") + given + " exclude each other"};
        if (o.rho) throw UsageError{std::string("--rho and ") + given + " exclude each other"};
        if (o.x) throw UsageError{std::string("--x and ") + given + " exclude each other"};
        if (!o.P) throw UsageError{std::string(given) + " needs --P"};
    }
    if (o.x && o.rho) throw UsageError{"--x takes --T or --P, not --rho"};
    if (o.x && !o.T && !o.P) throw UsageError{"--x needs --T or --P"};
    if (o.x && o.T && o.P) throw UsageError{"--x takes either --T or --P"};
    return o;
}

// The two-phase state of vapour fraction x at the form's temperature (or at its
// pressure when byPressure), shown in the form's fields as "Calculate" shows a state.
void ShowWetState(MainForm& f, bool byPressure, double x) {
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    const PointInput in = f.ReadInput();
    const Fluid& fluid = f.SelectedFluid();
    const SaturationPoint sat = byPressure ? SaturationByPressure(fluid, in.P, in.wavelength)
                                           : SaturationByTemperature(fluid, in.T, in.wavelength);
    const PointResult r = TwoPhaseState(fluid, sat, x);
    f.EditRho.text.clear();
    f.ShowResult(r);
    const DisplayUnits units = f.Units();
    // The variable that was not given is shown as found, as a result (15 digits with
    // --precise), and empty without a state.
    if (byPressure)
        f.EditT.text = sat.HasValue()
                           ? FormatResult(TemperatureFromK(*units.constants, units.unitT, r.state.T), units.precise)
                           : std::string();
    else
        f.EditP.text = FieldText(*FieldRowNamed("EditP"), r, units);
}

// Caption and unit label of each output field as the window shows them.
struct FieldView {
    std::string caption;
    std::string unit;
};

FieldView ViewOf(MainForm& f, const std::string& name) {
    if (name == "EditT") return {"T =", f.temperatureLabels[f.unitT]};
    if (name == "EditP") return {f.RadioGroupVar.items[0], f.pressureLabels[f.unitP]};
    if (name == "EditRho") return {f.RadioGroupVar.items[1], f.DensityUnitLabel()};
    if (name == "EditMes") return {"Message:", ""};
    if (name == "EditmeltP") return {f.Label40.text, f.LabelmeltP.text};
    if (name == "EditsatuP") return {f.Label24.text, f.LabelsatuP.text};
    if (name == "EditsatuRhov") return {f.LabelsatuRhovt.text, f.LabelsatuRhov.text};
    if (name == "EditsatuRhol") return {f.LabelsatuRholt.text, f.LabelsatuRhol.text};
    if (name == "Editx") return {"x =", ""};
    const FieldRow* row = FieldRowNamed(name);
    if (row && row->caption) return {std::string(row->caption) + "  " + row->symbol, f.UnitText(*row)};
    return {name, ""};
}

}  // namespace

std::string CliUsage() {
    // The unit names come from the unit rows (forms/units.cpp).
    using cli::UnitChoices;
    using S = UnitSelector;
    std::string u;
    u +=
        "usage: kelvane-cli [--fluid water|methanol|co2] [--T VALUE] [--T-unit " + UnitChoices(S::kTemperature) + "]\n";
    u += "                   (--P VALUE [--P-unit " + UnitChoices(S::kPressure) + "] |\n";
    u += "                    --rho VALUE [--rho-unit " + UnitChoices(S::kDensity) + "] [--volume])\n";
    u += "                   [--amount " + UnitChoices(S::kAmount) + "] [--visc-unit " + UnitChoices(S::kViscosity) +
         "]\n";
    u += "                   [--therc-unit " + UnitChoices(S::kConductivity) +
         "] [--wavelength NM] [--tsv] [--precise]\n";
    u += "       kelvane-cli (--T VALUE | --P VALUE) --x X [options as above]\n"
         "       kelvane-cli --P VALUE (--h VALUE | --s VALUE) [options as above without --T]\n"
         "       kelvane-cli table ...   (tables as \"Make Tables\" writes them; see table --help)\n"
         "       kelvane-cli saturation ...   (saturation tables; see saturation --help)\n"
         "       kelvane-cli verify ...  (every published check value, computed; see verify --help)\n"
         "\n"
         "Computes one state point as the main window's \"Calculate\" does and prints every field.\n"
         "Without --P or --rho the density of the window's initial state (322 kg/m3) is given;\n"
         "the defaults are water, 647.096 K, K, MPa, kg/m3, mol and 589 nm.\n"
         "  --volume   specific volume instead of density (--rho is then a specific volume,\n";
    u += "             in the reciprocal of the --rho-unit: " + cli::VolumeUnitNames() + ")\n";
    u += "  --tsv      one line per field: name, text, unit label, separated by tabs\n"
         "  --precise  numbers with 15 significant digits instead of 8\n"
         "  --x        the two-phase state of vapour fraction X (0 liquid .. 1 vapour) at the\n"
         "             saturation temperature T or the saturation pressure P; its last field x\n"
         "             is the fraction (empty for a single-phase state)\n"
         "  --h, --s   the state of pressure P and molar enthalpy h or entropy s, in the unit of\n"
         "             the H or S field for the --amount unit (J/mol, J/kg, kB/molec; per K for s);\n"
         "             T is then the temperature found, and x the vapour fraction of a wet state\n"
         "  --version  print the program's version and exit\n";
    return u;
}

std::string CliVersion() { return std::string("kelvane-cli ") + kVersion; }

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args[0] == "table") return RunTableCli({args.begin() + 1, args.end()}, out, err);
    if (!args.empty() && args[0] == "saturation") return RunSaturationCli({args.begin() + 1, args.end()}, out, err);
    if (!args.empty() && args[0] == "verify") return RunVerifyCli({args.begin() + 1, args.end()}, out, err);
    PointOptions o;
    try {
        o = ParseOptions(args);
    } catch (const UsageError& e) {
        err << "kelvane-cli: " << e.what << "\n" << CliUsage().substr(0, CliUsage().find("\n\n")) << "\n";
        return 2;
    }
    if (o.help) {
        out << CliUsage();
        return 0;
    }
    if (o.version) {
        out << CliVersion() << "\n";
        return 0;
    }

    MainForm f;
    f.preciseResults = o.precise;

    try {
        cli::ApplyFormOptions(f, o.form);
        if (o.T) f.EditT.text = *o.T;
        if (o.h || o.s) {
            f.RadioGroupPair.index = o.h ? 1 : 2;
            f.RadioGroupPairClick();
            (o.h ? f.Edith : f.Edits).text = o.h ? *o.h : *o.s;
        }
        if (o.P) {
            f.RadioGroupVar.index = 0;
            f.EditP.text = *o.P;
        } else {
            f.RadioGroupVar.index = 1;
            if (o.rho) f.EditRho.text = *o.rho;
        }
        f.RadioGroupVarClick();
        if (o.x)
            ShowWetState(f, o.P.has_value(), ParseStrict(*o.x));
        else
            f.ButtonCalcClick();
    } catch (const ConversionError& e) {
        err << "kelvane-cli: \"" << cli::Printable(e.Text()) << "\" is not a valid number.\n";
        return 2;
    }

    for (const std::string& name : MainForm::OutputFieldNames()) {
        const EditField* field = f.FieldByName(name);
        const FieldView view = ViewOf(f, name);
        if (o.tsv) {
            out << name.substr(4) << '\t' << field->text << '\t' << view.unit << '\n';
        } else {
            std::string caption = view.caption;
            if (caption.size() < 40) caption.append(40 - caption.size(), ' ');
            out << caption << ' ' << field->text;
            if (!view.unit.empty()) out << ' ' << view.unit;
            out << '\n';
        }
    }
    return 0;
}

}  // namespace kelvane
