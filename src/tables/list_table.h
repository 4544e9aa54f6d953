// List tables (TYPE III): one line per state point and one column per chosen property,
// several properties at once. The state points are every ROW value with every COLUMN
// value (the ROW values running fastest, so that a list of temperatures and a few
// pressures gives one isobar after the other), or the pairs of a two-column file as
// in TYPE II. The first columns hold the two state variables, then the properties,
// each with its unit in the heading, and last the calculation's messages. Cells are
// the texts the main window would show, computed by the engine on `jobs` threads; the
// lines are written in order, so the file is the same for any number of threads.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tables/table_writer.h"

namespace kelvane {

struct ListTableSettings {
    // type 0: ROW list x COLUMN list; type 1: pairs from points.columnsFile. The
    // variables, lists, file, skip count and jobs as for the other tables.
    TableSettings points;
    std::vector<int> properties;  // property-list indices, in column order
    bool csv = false;             // comma-separated instead of tab-separated
    bool title = true;            // a title line before the heading
};

inline constexpr const char* kMessageHeading = "Message";

// The title line of a list table (without its line break).
std::string ListTableTitle(const std::string& fluidName);

// One line of fields: separated by tabs, or by commas with a field that holds a
// comma, a quotation mark or a line break enclosed in quotation marks (inner marks
// doubled).
std::string JoinFields(const std::vector<std::string>& fields, bool csv);
// The fields of one line written by JoinFields.
std::vector<std::string> SplitFields(std::string_view line, bool csv);

// Makes one list table. Validation messages as for the other tables: the variables
// first, then "Select the properties you want." for no property, "the selected
// quantities are same." for a property that is one of the two variables, then the
// number of values. A malformed number in the two-column file or its skip count
// raises ConversionError. Sets the main window's input selector and leaves the
// inputs and results of the last state point there.
TableResult MakeListTable(MainForm& main, const ListTableSettings& settings, TableOutput& output);

}  // namespace kelvane
