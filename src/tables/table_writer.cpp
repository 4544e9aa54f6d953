#include "tables/table_writer.h"

#include <memory>

#include "core/fluid_model.h"
#include "core/format.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

struct PropertyRow {
    const char* item;
    EditField MainForm::*source;
    Label MainForm::*unit;  // null where the unit text is computed or empty
};

// Items 0, 1 and 24 take their unit texts from the unit state (see PropertyUnit); Z,
// f/P, eps and Kw are dimensionless.
const PropertyRow kProperties[kTablePropertyCount] = {
    {"Pressure: P", &MainForm::EditP, nullptr},
    {"Density: rho", &MainForm::EditRho, nullptr},
    {"Melting Pressure: P-melt", &MainForm::EditmeltP, &MainForm::LabelmeltP},
    {"Saturation Pressure: P-satu", &MainForm::EditsatuP, &MainForm::LabelsatuP},
    {"Saturation vapor density: rho-gas", &MainForm::EditsatuRhov, &MainForm::LabelsatuRhov},
    {"Saturation liquid density: rho-liq", &MainForm::EditsatuRhol, &MainForm::LabelsatuRhol},
    {"Internal Energy: U", &MainForm::EditU, &MainForm::LabelU},
    {"Enthalpy: H", &MainForm::EditH, &MainForm::LabelH},
    {"Helmhortz Energy: F", &MainForm::EditF, &MainForm::LabelF},
    {"Gibbs Energy: G", &MainForm::EditG, &MainForm::LabelG},
    {"Isochoric Specific Heat: Cv", &MainForm::EditCv, &MainForm::LabelCv},
    {"Isobaric Specific Heat: Cp", &MainForm::EditCp, &MainForm::LabelCp},
    {"Compressibity Factor: Z", &MainForm::EditZ, nullptr},
    {"Fugacity Coefficient: F/P", &MainForm::EditFP, nullptr},
    {"Sound Velocity: W", &MainForm::EditW, &MainForm::LabelW},
    {"Joule-Thomson Coefficient: m", &MainForm::EditJT, &MainForm::LabelJT},
    {"Second Virial Coefficient: C2", &MainForm::EditC2, &MainForm::LabelC2},
    {"Isobaric Expansion Coefficient: alpha", &MainForm::Editalpha, &MainForm::Labelalpha},
    {"Isothermal Compression Coeffcient: kappa", &MainForm::Editkappa, &MainForm::Labelkappa},
    {"Viscosity: etha", &MainForm::EditVisc, &MainForm::LabelVisc},
    {"Thermal Conductivity: lambda", &MainForm::EditTherc, &MainForm::LabelTherc},
    {"Thermal Diffusivity: Dth", &MainForm::EditDth, &MainForm::LabelDth},
    {"Relative Dielectric Constant: eps", &MainForm::EditEps, nullptr},
    {"Ion Product: Kw", &MainForm::EditKw, nullptr},
    {"Refractive Index: n(l)", &MainForm::Editn, nullptr},
};

constexpr int kRefractiveIndex = 24;

bool ValidVariable(int v) { return v >= 0 && v < kVariableCount; }

TableResult Finished(TableResult::Status status, std::string message, int rows = 0) {
    TableResult r;
    r.status = status;
    r.message = std::move(message);
    r.rowsWritten = rows;
    return r;
}

// Closes the output on every way out of the writing loop.
class CloseGuard {
public:
    explicit CloseGuard(TableOutput& out) : out_(&out) {}
    ~CloseGuard() {
        if (out_) {
            std::string ignored;
            out_->Close(ignored);
        }
    }
    bool Close(std::string& error) {
        TableOutput* out = out_;
        out_ = nullptr;
        return out->Close(error);
    }
    CloseGuard(const CloseGuard&) = delete;
    CloseGuard& operator=(const CloseGuard&) = delete;

private:
    TableOutput* out_;
};

}  // namespace

std::vector<std::string> PropertyItems(bool densityMode) {
    std::vector<std::string> items;
    for (const PropertyRow& p : kProperties) items.emplace_back(p.item);
    if (!densityMode) items[kVarRho - 1] = "Specific Volume: V";
    return items;
}

const EditField& PropertySource(const MainForm& main, int q) { return main.*(kProperties[q].source); }

std::string PropertyUnit(const MainForm& main, int q) {
    if (q == 0) return main.pressureLabels[main.unitP];
    if (q == 1) return main.DensityUnitLabel();
    if (q == kRefractiveIndex) return main.Labeln1.text + " " + main.Editnlambda.text + " " + main.Labeln2.text;
    const Label MainForm::*unit = kProperties[q].unit;
    return unit ? (main.*unit).text : std::string();
}

bool IsTemperatureOnlyProperty(int q) { return (q >= 2 && q <= 5) || q == 16; }

const char* VariableName(int v) {
    static const char* const names[kVariableCount] = {"T", "P", "rho"};
    return names[v];
}

std::string VariableUnit(const MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.temperatureLabels[main.unitT];
        case kVarP: return main.pressureLabels[main.unitP];
        default: return main.DensityUnitLabel();
    }
}

EditField& VariableField(MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.EditT;
        case kVarP: return main.EditP;
        default: return main.EditRho;
    }
}

bool FileTableOutput::Open(std::string& error) {
    file_.open(fileName_, std::ios::out | std::ios::trunc);
    if (!file_.is_open()) {
        error = "The table file \"" + fileName_ + "\" cannot be created.";
        return false;
    }
    return true;
}

void FileTableOutput::Write(std::string_view text) { file_.write(text.data(), static_cast<std::streamsize>(text.size())); }

bool FileTableOutput::Close(std::string& error) {
    file_.close();
    if (file_.fail()) {
        file_.clear();
        error = "The table file \"" + fileName_ + "\" could not be written completely.";
        return false;
    }
    return true;
}

TableResult MakeTable(MainForm& main, const TableSettings& settings, TableOutput& output) {
    using Status = TableResult::Status;
    int r = settings.rowVariable;
    int c = settings.columnVariable;
    const int q = settings.property;

    // Validation: the first failing test wins. An axis without a selected entry asks
    // for the selection like an axis without T.
    if (!ValidVariable(r) || !ValidVariable(c) || r * c != 0) return Finished(Status::Invalid, kNeedTemperatureAndOther);
    if (r == c) return Finished(Status::Invalid, kNeedTemperatureOnce);
    if (q < 0 || q >= kTablePropertyCount) return Finished(Status::Invalid, kNeedProperty);
    if (r - 1 == q || c - 1 == q) return Finished(Status::Invalid, kPropertyIsVariable);

    // One value array per variable; the table uses those of its two variables.
    auto values = std::make_unique<ValueArray[]>(kVariableCount);
    int nR = 0, nC = 0;
    bool rowsCut = false, columnsCut = false, pairsCut = false;
    if (settings.type == 1) {
        const ColumnsResult read = ReadColumns(settings.columnsFile, settings.skipLines, values[r], values[c]);
        if (!read.opened)
            return Finished(Status::OutputFailed,
                            "The file for reading columns \"" + settings.columnsFile + "\" cannot be opened.");
        nR = nC = read.count;
        pairsCut = read.truncated;
    } else {
        if (!settings.rowList.empty()) {
            const ListResult list = ParseList(settings.rowList, values[r]);
            nR = list.count;
            rowsCut = list.truncated;
        }
        if (!settings.columnList.empty()) {
            const ListResult list = ParseList(settings.columnList, values[c]);
            nC = list.count;
            columnsCut = list.truncated;
        }
        if (IsTemperatureOnlyProperty(q)) {
            // One pressure column, the critical pressure in the selected unit.
            main.RadioGroupVar.index = 0;
            main.RadioGroupVarClick();
            main.ButtonSetCpClick();
            const double criticalPressure = ParseStrict(main.EditP.text);
            if (r == kVarT) {
                c = kVarP;
                nC = 1;
                columnsCut = false;
            } else {
                r = kVarP;
                nR = 1;
                rowsCut = false;
            }
            values[kVarP][0] = criticalPressure;
        }
    }
    if (nR * nC == 0) return Finished(Status::Invalid, kNoValues);

    if (!output.Choose()) return Finished(Status::Cancelled, "");

    const int selector = r + c - 1;  // 0: pressure given, 1: density given
    if (main.RadioGroupVar.index != selector) {
        main.RadioGroupVar.index = selector;
        main.RadioGroupVarClick();
    }
    main.EditMes.text.clear();

    std::string error;
    if (!output.Open(error)) return Finished(Status::OutputFailed, error);
    CloseGuard guard(output);

    const std::string item = PropertyItems(main.densityMode)[q];
    const std::string unit = PropertyUnit(main, q);
    const char* fluidName = calc.fluid >= 0 ? Fluid(calc.fluid).name : "";
    output.Write(item + " (" + unit + ") of " + fluidName + "\n");

    const ValueArray& x = values[r];
    const ValueArray& y = values[c];
    std::string heading = std::string(VariableName(r)) + " (" + VariableUnit(main, r) + ")";
    if (settings.type == 1) {
        heading += std::string("\t") + VariableName(c) + " (" + VariableUnit(main, c) + ")\t" + item + " (" + unit + ")";
    } else {
        heading += std::string(" / ") + VariableName(c) + " (" + VariableUnit(main, c) + ")";
        for (int j = 0; j < nC; ++j) heading += "\t" + FormatFile(y[j]);
    }
    output.Write(heading);

    const EditField& source = PropertySource(main, q);
    EditField& rowField = VariableField(main, r);
    EditField& columnField = VariableField(main, c);
    const int total = settings.type == 1 ? nR : nR * nC;
    int done = 0, rows = 0;
    bool stopped = false;
    output.Started(total);

    for (int i = 0; i < nR && !stopped; ++i) {
        std::string row;
        if (settings.type == 1) {
            rowField.text = FormatDisplay(x[i]);
            columnField.text = FormatDisplay(y[i]);
            main.ButtonCalcClick();
            stopped = !output.CellDone(++done, total);
            row = "\n" + FormatFile(x[i]) + "\t" + FormatFile(y[i]) + "\t" + source.text;
        } else {
            rowField.text = FormatDisplay(x[i]);
            row = "\n" + FormatFile(x[i]);
            for (int j = 0; j < nC; ++j) {
                columnField.text = FormatDisplay(y[j]);
                main.ButtonCalcClick();
                const bool go = output.CellDone(++done, total);
                row += "\t" + source.text;
                if (!go && j + 1 < nC) {
                    row.clear();  // an incomplete row is not written
                    stopped = true;
                    break;
                }
                stopped = !go;
            }
        }
        if (!row.empty()) {
            output.Write(row);
            ++rows;
        }
    }

    if (!guard.Close(error)) return Finished(Status::OutputFailed, error, rows);
    if (stopped)
        return Finished(Status::Stopped, "The table was stopped after " + std::to_string(rows) + " of " +
                                             std::to_string(nR) + " rows; those rows are in the file.",
                        rows);

    std::string message = kTableDone;
    if (rowsCut) message += " Only the first 2048 values of the ROW list were used.";
    if (columnsCut) message += " Only the first 2048 values of the COLUMN list were used.";
    if (pairsCut) message += " Only the first 2048 pairs of the file were used.";
    return Finished(Status::Written, message, rows);
}

}  // namespace kelvane
