#include "tables/table_writer.h"

#include <memory>

#include <optional>

#include "core/format.h"
#include "tables/table_cells.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

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
    std::vector<std::string> items(TablePropertyCount());
    for (int q = 0; q < static_cast<int>(items.size()); ++q) items[q] = TableRow(q)->tableItem;
    if (!densityMode) items[kVarRho - 1] = "Specific Volume: V";
    return items;
}

std::string PropertyUnit(const MainForm& main, int q) { return main.UnitText(*TableRow(q)); }

bool IsTemperatureOnlyProperty(int q) { return (q >= 2 && q <= 5) || q == 16; }

const char* VariableName(int v) {
    static const char* const names[kVariableCount] = {"T", "P", "rho", "h", "s"};
    return names[v];
}

std::string VariableUnit(const MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.temperatureLabels[main.unitT];
        case kVarP: return main.pressureLabels[main.unitP];
        case kVarH: return main.Labelhunit.text;
        case kVarS: return main.Labelsunit.text;
        default: return main.DensityUnitLabel();
    }
}

EditField& VariableField(MainForm& main, int v) {
    switch (v) {
        case kVarT: return main.EditT;
        case kVarP: return main.EditP;
        case kVarH: return main.Edith;
        case kVarS: return main.Edits;
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
    // Isobars in h or s pair P with one of them; every other table pairs T with P or rho.
    const bool isobar = ValidVariable(r) && ValidVariable(c) && (r >= kVarH || c >= kVarH);
    if (isobar) {
        if (!((r == kVarP && c >= kVarH) || (c == kVarP && r >= kVarH)))
            return Finished(Status::Invalid, kNeedPressureWithEnergy);
    } else {
        if (!ValidVariable(r) || !ValidVariable(c) || r * c != 0)
            return Finished(Status::Invalid, kNeedTemperatureAndOther);
        if (r == c) return Finished(Status::Invalid, kNeedTemperatureOnce);
    }
    if (q < 0 || q >= TablePropertyCount()) return Finished(Status::Invalid, kNeedProperty);
    auto isProperty = [q](int v) {
        return (v >= kVarP && v <= kVarRho && v - 1 == q) || (v == kVarH && TableRow(q)->field == &MainForm::EditH);
    };
    if (isProperty(r) || isProperty(c)) return Finished(Status::Invalid, kPropertyIsVariable);

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
        if (IsTemperatureOnlyProperty(q) && !isobar) {
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

    // The main window's input pair: P with h or s for an isobar, else T with P or rho.
    const int pair = !isobar ? 0 : (r == kVarH || c == kVarH) ? 1 : 2;
    if (main.RadioGroupPair.index != pair) {
        main.RadioGroupPair.index = pair;
        main.RadioGroupPairClick();
    }
    const int selector = isobar ? 0 : r + c - 1;  // 0: pressure given, 1: density given
    if (main.RadioGroupVar.index != selector) {
        main.RadioGroupVar.index = selector;
        main.RadioGroupVarClick();
    }
    main.EditMes.text.clear();

    std::string error;
    if (!output.Open(error)) return Finished(Status::OutputFailed, error);
    CloseGuard guard(output);

    // Everything the cells need is taken from the main window now: a change of fluid,
    // unit or input there while the table is made does not reach this table.
    CellRecipe recipe;
    recipe.fluid = &main.SelectedFluid();
    recipe.units = main.Units();
    recipe.units.precise = false;  // cells hold the window's display texts
    recipe.rowVariable = r;
    recipe.columnVariable = c;
    recipe.property = TableRow(q);
    recipe.wavelength = ParseLeading(main.Editnlambda.text);

    const std::string item = PropertyItems(main.densityMode)[q];
    const std::string unit = PropertyUnit(main, q);
    output.Write(item + " (" + unit + ") of " + recipe.fluid->constants.name + "\n");

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

    const bool pairs = settings.type == 1;
    const int total = pairs ? nR : nR * nC;
    int done = 0, rows = 0;
    bool stopped = false;
    std::string row;
    // The last cell handed over, so that the main window can show it at the end.
    std::optional<std::pair<double, double>> lastValues;
    Cell last;
    output.Started(total);

    auto columnsOf = [&](int) { return pairs ? 1 : nC; };
    auto valueOf = [&](int i, int j) { return std::make_pair(x[i], pairs ? y[i] : y[j]); };
    auto take = [&](int i, int j, const Cell& cell) {
        const int n = columnsOf(i);
        if (j == 0) row = "\n" + FormatFile(x[i]) + (pairs ? "\t" + FormatFile(y[i]) : std::string());
        row += "\t" + cell.text;
        lastValues = valueOf(i, j);
        last = cell;
        const bool go = output.CellFinished(++done, total, cell.input, cell.result);
        if (j + 1 == n) {
            output.Write(row);
            ++rows;
        }
        if (!go) {
            stopped = true;  // an incomplete row is not written
            return false;
        }
        return true;
    };

    // The main window shows the inputs and results of the last cell computed, as if
    // it had been calculated there.
    auto showLast = [&] {
        if (!lastValues) return;
        VariableField(main, r).text = FormatDisplay(lastValues->first);
        VariableField(main, c).text = FormatDisplay(lastValues->second);
        if (last.result.state.inputVar == 1) {
            main.EditP.text.clear();
        } else {
            main.EditRho.text.clear();
            if (last.result.state.inputVar >= 2) main.EditT.text.clear();
        }
        ++main.calculations;
        main.ShowResult(last.result);
    };
    try {
        ComputeCells(recipe, nR, columnsOf, valueOf, settings.jobs, take);
    } catch (const ConversionError&) {
        showLast();
        throw;
    }
    showLast();

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
