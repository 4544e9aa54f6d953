#include "tables/list_table.h"

#include <memory>
#include <optional>

#include "core/format.h"
#include "forms/texts.h"
#include "tables/table_cells.h"
#include "tables/table_support.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

using table_support::Finished;
using table_support::NotFiniteText;
using table_support::ValidVariable;
using ClosingOutput = table_support::CloseGuard;

bool IsNumberText(const std::string& text) { return table_support::NumberText(text); }

// A heading with its unit in parentheses; none for a dimensionless quantity.
std::string WithUnit(const std::string& name, const std::string& unit) {
    return unit.empty() ? name : name + " (" + unit + ")";
}

}  // namespace

std::string ListTableTitle(const std::string& fluidName) { return "List of properties of " + fluidName; }

std::string JoinFields(const std::vector<std::string>& fields, bool csv) {
    std::string line;
    for (size_t k = 0; k < fields.size(); ++k) {
        if (k) line += csv ? ',' : '\t';
        const std::string& f = fields[k];
        if (csv && f.find_first_of(",\"\r\n") != std::string::npos) {
            line += '"';
            for (char ch : f) {
                if (ch == '"') line += '"';
                line += ch;
            }
            line += '"';
        } else {
            line += f;
        }
    }
    return line;
}

std::vector<std::string> SplitFields(std::string_view line, bool csv) {
    std::vector<std::string> fields(1);
    const char separator = csv ? ',' : '\t';
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        const char ch = line[k];
        if (csv && quoted) {
            if (ch != '"') {
                fields.back() += ch;
            } else if (k + 1 < line.size() && line[k + 1] == '"') {
                fields.back() += '"';
                ++k;
            } else {
                quoted = false;
            }
        } else if (csv && ch == '"' && fields.back().empty()) {
            quoted = true;
        } else if (ch == separator) {
            fields.emplace_back();
        } else {
            fields.back() += ch;
        }
    }
    return fields;
}

TableResult MakeListTable(MainForm& main, const ListTableSettings& settings, TableOutput& output) {
    using Status = TableResult::Status;
    const TableSettings& s = settings.points;
    const int r = s.rowVariable, c = s.columnVariable;
    if (!ValidVariable(r) || !ValidVariable(c) || r * c != 0)
        return Finished(Status::Invalid, kNeedTemperatureAndOther);
    if (r == c) return Finished(Status::Invalid, kNeedTemperatureOnce);
    if (settings.properties.empty()) return Finished(Status::Invalid, kNeedProperty);
    for (int q : settings.properties)
        if (q < 0 || q >= TablePropertyCount()) return Finished(Status::Invalid, kNeedProperty);
    for (int q : settings.properties)
        if (r - 1 == q || c - 1 == q) return Finished(Status::Invalid, kPropertyIsVariable);

    auto values = std::make_unique<ValueArray[]>(kVariableCount);
    int nR = 0, nC = 0;
    bool rowsCut = false, columnsCut = false, pairsCut = false;
    const bool pairs = s.type == 1;
    if (pairs) {
        const ColumnsResult read = ReadColumns(s.columnsFile, s.skipLines, values[r], values[c]);
        // The same messages as a matrix or a three-column table: which failure it is.
        if (!read.opened) return Finished(Status::OutputFailed, read.problem);
        if (read.count == 0 && !read.problem.empty())
            return Finished(Status::Invalid, std::string(kNoValues) + " " + read.problem);
        nR = nC = read.count;
        pairsCut = read.truncated;
    } else {
        if (!s.rowList.empty()) {
            const ListResult list = ParseList(s.rowList, values[r]);
            nR = list.count;
            rowsCut = list.truncated;
        }
        if (!s.columnList.empty()) {
            const ListResult list = ParseList(s.columnList, values[c]);
            nC = list.count;
            columnsCut = list.truncated;
        }
    }
    if (nR * nC == 0) return Finished(Status::Invalid, kNoValues);

    // A value the main window could not take back from its field ends the table before
    // anything is written, as in the other table types.
    for (int i = 0; i < nR; ++i) ParseStrict(FormatDisplay(values[r][i]));
    for (int j = 0; j < nC; ++j) ParseStrict(FormatDisplay(values[c][j]));

    if (!output.Choose()) return Finished(Status::Cancelled, "");
    if (pairs && output.IsFile(s.columnsFile)) return Finished(Status::Invalid, kSameFile);

    const int selector = r + c - 1;  // 0: pressure given, 1: density given
    if (main.RadioGroupVar.index != selector) {
        main.RadioGroupVar.index = selector;
        main.RadioGroupVarClick();
    }
    main.EditMes.text.clear();

    std::string error;
    if (!output.Open(error)) return Finished(Status::OutputFailed, error);
    ClosingOutput guard(output);

    // The fluid, units and wavelength are taken from the main window once, now.
    CellRecipe recipe;
    recipe.fluid = &main.SelectedFluid();
    const int fluidItem = main.RadioGroupMatter.index;
    recipe.units = main.Units();
    recipe.units.precise = false;  // cells hold the window's display texts
    recipe.rowVariable = r;
    recipe.columnVariable = c;
    recipe.property = TableRow(settings.properties.front());
    recipe.wavelength = main.Wavelength();

    const std::vector<std::string> items = PropertyItems(main.densityMode);
    std::vector<const FieldRow*> rows;
    std::vector<std::string> heading = {WithUnit(VariableName(r), VariableUnit(main, r)),
                                        WithUnit(VariableName(c), VariableUnit(main, c))};
    for (int q : settings.properties) {
        rows.push_back(TableRow(q));
        heading.push_back(WithUnit(items[q], PropertyUnit(main, q)));
    }
    heading.emplace_back(kMessageHeading);
    if (settings.title && !output.Write(ListTableTitle(recipe.fluid->constants.name) + "\n", error))
        return Finished(Status::OutputFailed, error);
    if (!output.Write(JoinFields(heading, settings.csv), error)) return Finished(Status::OutputFailed, error);

    // Point k: the pair k, or ROW value k % nR with COLUMN value k / nR.
    const int total = pairs ? nR : nR * nC;
    const ValueArray& x = values[r];
    const ValueArray& y = values[c];
    auto valueOf = [&](int k, int) {
        return pairs ? std::make_pair(x[k], y[k]) : std::make_pair(x[k % nR], y[k / nR]);
    };

    int done = 0, withoutNumber = 0, notFinite = 0;
    bool stopped = false, writeFailed = false;
    std::optional<std::pair<double, double>> lastValues;
    Cell last;
    std::vector<std::string> line;
    output.Started(total);
    auto take = [&](int k, int, const Cell& cell) {
        const auto [a, b] = valueOf(k, 0);
        line.assign({FormatFile(a), FormatFile(b)});
        for (const FieldRow* row : rows) {
            line.push_back(FieldText(*row, cell.result, recipe.units));
            if (!IsNumberText(line.back())) ++withoutNumber;
            if (NotFiniteText(line.back())) ++notFinite;
        }
        line.push_back(MessageLine(cell.result));
        if (!output.Write("\n" + JoinFields(line, settings.csv), error)) {
            writeFailed = true;  // stop at the first write that fails
            return false;
        }
        lastValues = std::make_pair(a, b);
        last = cell;
        if (!output.CellFinished(++done, total, cell.input, cell.result)) {
            stopped = true;
            return false;
        }
        return true;
    };

    // The main window shows the inputs and results of the last point, as if it had
    // been calculated there.
    auto showLast = [&] {
        if (!lastValues) return;
        VariableField(main, r).text = FormatDisplay(lastValues->first);
        VariableField(main, c).text = FormatDisplay(lastValues->second);
        if (last.result.state.inputVar == 0)
            main.EditRho.text.clear();
        else
            main.EditP.text.clear();
        ++main.calculations;
        main.ShowResult(last.result, *recipe.fluid, fluidItem);
    };
    try {
        ComputeCells(
            recipe, total, [](int) { return 1; }, valueOf, s.jobs, take);
    } catch (const ConversionError&) {
        showLast();
        throw;
    }
    showLast();

    if (writeFailed) return Finished(Status::OutputFailed, error, 0);  // the guard abandons the file
    const int cells = total * static_cast<int>(rows.size());
    if (!stopped && notFinite > 0) return table_support::NotFiniteResult(notFinite, total, cells, withoutNumber);
    if (!guard.Close(error)) return Finished(Status::OutputFailed, error, 0);
    TableResult result;
    if (stopped) {
        result = Finished(Status::Stopped,
                          "The table was stopped after " + std::to_string(done) + " of " + std::to_string(total) +
                              " rows; those rows are in the file.",
                          done);
    } else {
        std::string message = kTableDone;
        if (rowsCut) message += " Only the first 2048 values of the ROW list were used.";
        if (columnsCut) message += " Only the first 2048 values of the COLUMN list were used.";
        if (pairsCut) message += " Only the first 2048 pairs of the file were used.";
        message += "\n" + CellCountLine(withoutNumber, cells);
        result = Finished(Status::Written, message, done);
    }
    result.rowsTotal = total;
    result.cellsTotal = cells;
    result.cellsWithoutNumber = withoutNumber;
    return result;
}

}  // namespace kelvane
