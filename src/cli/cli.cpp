#include "cli/cli.h"

#include <map>
#include <optional>
#include <ostream>

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/main_form.h"
#include "core/units.h"
#include "fluids/registry.h"

namespace kelvane {

namespace {

struct UsageError {
    std::string what;
};

struct PointOptions {
    int fluid = 0;
    std::optional<std::string> T, P, rho, wavelength;
    int unitT = 0, unitP = 0, unitRho = 0, unitAmount = 0;
    bool volume = false, tsv = false, precise = false, help = false;
};

// Index of `name` in a unit list, accepting the window's item texts and labels with
// or without blanks.
int UnitIndex(const std::string& name, std::initializer_list<std::initializer_list<const char*>> names,
              const char* option) {
    auto squeeze = [](std::string s) {
        std::string r;
        for (char c : s)
            if (c != ' ') r.push_back(c);
        return r;
    };
    const std::string wanted = squeeze(name);
    int index = 0;
    for (const auto& alternatives : names) {
        for (const char* n : alternatives)
            if (wanted == squeeze(n)) return index;
        ++index;
    }
    throw UsageError{std::string("unknown unit for ") + option + ": " + name};
}

PointOptions ParseOptions(const std::vector<std::string>& args) {
    PointOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{"missing value after " + a};
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--fluid") {
            const std::string& v = value();
            if (v == "water" || v == "Water") o.fluid = 0;
            else if (v == "methanol" || v == "Methanol") o.fluid = 1;
            else if (v == "co2" || v == "CO2") o.fluid = 2;
            else throw UsageError{"unknown fluid: " + v};
        } else if (a == "--T") {
            o.T = value();
        } else if (a == "--T-unit") {
            o.unitT = UnitIndex(value(), {{"K"}, {"deg C", "degC"}, {"Tr"}}, "--T-unit");
        } else if (a == "--P") {
            if (o.rho) throw UsageError{"--P and --rho exclude each other"};
            o.P = value();
        } else if (a == "--P-unit") {
            o.unitP = UnitIndex(value(), {{"MPa"}, {"Pa"}, {"bar"}, {"atm"}, {"Pr"}}, "--P-unit");
        } else if (a == "--rho") {
            if (o.P) throw UsageError{"--P and --rho exclude each other"};
            o.rho = value();
        } else if (a == "--rho-unit") {
            o.unitRho = UnitIndex(value(),
                                  {{"kg/m3", "m3/kg"}, {"g/cm3", "cm3/g"}, {"mol/l", "l/mol"},
                                   {"molec/A3", "A3/molec"}, {"rho-r", "Vr"}},
                                  "--rho-unit");
        } else if (a == "--amount") {
            o.unitAmount = UnitIndex(value(), {{"mol"}, {"kg"}, {"molec"}}, "--amount");
        } else if (a == "--wavelength") {
            o.wavelength = value();
        } else if (a == "--volume") {
            o.volume = true;
        } else if (a == "--tsv") {
            o.tsv = true;
        } else if (a == "--precise") {
            o.precise = true;
        } else {
            throw UsageError{"unknown option: " + a};
        }
    }
    return o;
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
    for (const MainForm::ResultRow& row : MainForm::ResultRows()) {
        if (&(f.*row.field) != f.FieldByName(name)) continue;
        std::string unit = row.unit ? (f.*row.unit).text : "";
        if (name == "Editn") unit = f.Labeln1.text + " " + f.Editnlambda.text + " " + f.Labeln2.text;
        return {std::string(row.name) + "  " + row.symbol, unit};
    }
    return {name, ""};
}

}  // namespace

std::string CliUsage() {
    return "usage: kelvane-cli [--fluid water|methanol|co2] [--T VALUE] [--T-unit K|degC|Tr]\n"
           "                   (--P VALUE [--P-unit MPa|Pa|bar|atm|Pr] |\n"
           "                    --rho VALUE [--rho-unit kg/m3|g/cm3|mol/l|molec/A3|rho-r] [--volume])\n"
           "                   [--amount mol|kg|molec] [--wavelength NM] [--tsv] [--precise]\n"
           "\n"
           "Computes one state point as the main window's \"Calculate\" does and prints every field.\n"
           "Without --P or --rho the density of the window's initial state (322 kg/m3) is given;\n"
           "the defaults are water, 647.096 K, K, MPa, kg/m3, mol and 589 nm.\n"
           "  --volume   specific volume instead of density (--rho is then a specific volume,\n"
           "             in the reciprocal of the --rho-unit: m3/kg, cm3/g, l/mol, A3/molec, Vr)\n"
           "  --tsv      one line per field: name, text, unit label, separated by tabs\n"
           "  --precise  numbers with 15 significant digits instead of 8\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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

    RegisterAllFluids();
    MainForm f;
    const bool previousPrecise = PreciseResults();
    SetPreciseResults(o.precise);
    struct Restore {
        bool value;
        ~Restore() { SetPreciseResults(value); }
    } restore{previousPrecise};

    try {
        f.RadioGroupMatter.index = o.fluid;
        f.RadioGroupMatterClick();
        f.ComboBoxT.Select(o.unitT);
        f.ComboBoxTChange();
        f.ComboBoxP.Select(o.unitP);
        f.ComboBoxPChange();
        f.ComboBoxRho.Select(o.unitRho);
        f.ComboBoxRhoChange();
        f.ComboBoxUnit.Select(o.unitAmount);
        f.ComboBoxUnitChange();
        if (o.volume) f.ButtonXRhoVClick();
        if (o.T) f.EditT.text = *o.T;
        if (o.wavelength) f.Editnlambda.text = *o.wavelength;
        if (o.P) {
            f.RadioGroupVar.index = 0;
            f.EditP.text = *o.P;
        } else {
            f.RadioGroupVar.index = 1;
            if (o.rho) f.EditRho.text = *o.rho;
        }
        f.RadioGroupVarClick();
        f.ButtonCalcClick();
    } catch (const ConversionError& e) {
        err << "kelvane-cli: " << e.what() << "\n";
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
