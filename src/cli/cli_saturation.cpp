// "kelvane-cli saturation": saturation tables by temperature or by pressure on the
// command line, with the columns and units of the "Saturation Tables" window.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "core/format.h"
#include "forms/main_form.h"
#include "tables/saturation_table.h"
#include "tables/table_writer.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

using cli::Printable;
using cli::UsageError;

struct SaturationOptions {
    cli::FormOptions form;
    bool byPressure = false;
    std::optional<std::string> list, series, columns, output;
    bool precise = false, csv = false, help = false;
};

SaturationOptions ParseSaturationOptions(const std::vector<std::string>& args) {
    SaturationOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (cli::ParseFormOption(args, i, o.form)) continue;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--T" || a == "--P" || a == "--T-series" || a == "--P-series") {
            if (o.list || o.series) throw UsageError{"give one of --T, --T-series, --P and --P-series"};
            o.byPressure = a[2] == 'P';
            (a.size() > 3 ? o.series : o.list) = cli::OptionValue(args, i);
        } else if (a == "--columns") {
            o.columns = cli::OptionValue(args, i);
        } else if (a == "--precise") {
            o.precise = true;
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--out") {
            o.output = cli::OptionValue(args, i);
            if (o.output->empty()) throw UsageError{"--out needs a file name (- for standard output)"};
        } else {
            throw UsageError{"unknown option: " + Printable(a)};
        }
    }
    if (!o.help && !o.list && !o.series) throw UsageError{"missing --T, --T-series, --P or --P-series"};
    return o;
}

std::vector<const SaturationColumn*> ParseColumns(const std::string& text) {
    std::vector<const SaturationColumn*> columns;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const SaturationColumn* c = SaturationColumnNamed(name);
        if (!c)
            throw UsageError{"unknown column: \"" + Printable(name) + "\"; the columns are:\n  " +
                             SaturationColumnNames()};
        columns.push_back(c);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return columns;
}

// Every field of a list must be a number (ConversionError otherwise).
std::vector<double> StrictList(const std::string& text) {
    std::vector<double> values;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        values.push_back(ParseStrict(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values;
}

std::string ShortUsage() { return SaturationUsage().substr(0, SaturationUsage().find("\n\n")); }

}  // namespace

std::string SaturationUsage() {
    return "usage: kelvane-cli saturation [--fluid water|methanol|co2]\n"
           "                              (--T LIST | --T-series x,y,z | --P LIST | --P-series x,y,z)\n"
           "                              [--T-unit U] [--P-unit U] [--rho-unit U] [--amount mol|kg|molec]\n"
           "                              [--volume] [--columns NAME,NAME,...] [--precise] [--csv]\n"
           "                              [--out FILE|-]\n"
           "\n"
           "Tabulates both saturated phases at the given temperatures or saturation pressures,\n"
           "in the selected units (defaults K, MPa, kg/m3, mol). Line 1 holds the column names,\n"
           "line 2 their units, then one row per given value; a value outside the saturation\n"
           "range gives a row whose other cells hold the message.\n"
           "  --T-series, --P-series  x,y,z makes the values x, x+y, ..., x+(z-1)y\n"
           "  --columns  T, P, dH (H_vap - H_liq), dS (S_vap - S_liq) and every field of the\n"
           "             point output with _liq or _vap, e.g. Rho_liq,H_vap,Cp_liq,Visc_vap\n"
           "  --precise  numbers with 15 significant digits instead of 8\n"
           "  --csv      commas instead of tabs (cells holding a comma are quoted)\n"
           "  --out      the file (written whole or not at all); - or none: standard output\n"
           "Exit codes: 0 made; 1 a message (series refused, file not written); 2 bad usage\n"
           "or a value that is not a number.\n";
}

int RunSaturationCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SaturationOptions o;
    std::vector<const SaturationColumn*> columns;
    try {
        o = ParseSaturationOptions(args);
        if (o.columns) columns = ParseColumns(*o.columns);
    } catch (const UsageError& e) {
        err << "kelvane-cli saturation: " << e.what << "\n" << ShortUsage() << "\n";
        return 2;
    }
    if (o.help) {
        out << SaturationUsage();
        return 0;
    }

    MainForm form;
    form.preciseResults = o.precise;
    SaturationTable table;
    table.byPressure = o.byPressure;
    try {
        cli::ApplyFormOptions(form, o.form);
        std::string list = o.list ? *o.list : std::string();
        if (o.series) {
            const SeriesResult series = MakeSeries(*o.series);
            if (series.text == kSeriesFormatMessage || series.text == kSeriesCountMessage) {
                err << "kelvane-cli saturation: " << series.text << "\n";
                return 1;
            }
            list = series.text;
        }
        table.given = StrictList(list);
    } catch (const ConversionError& e) {
        err << "kelvane-cli: \"" << Printable(e.Text()) << "\" is not a valid number.\n";
        return 2;
    }

    SaturationSettings settings = SettingsOf(form);
    settings.units.precise = o.precise;
    table.columns = o.columns ? columns : DefaultSaturationColumns(*settings.fluid);
    for (const SaturationColumn* c : table.columns) table.units.push_back(SaturationColumnUnit(*c, form));
    for (double v : table.given) {
        table.points.push_back(SaturationOfGiven(settings, o.byPressure, v));
        table.cells.push_back(SaturationRow(settings, table.columns, o.byPressure, v, table.points.back()));
    }
    const std::string text = SaturationTableText(table, o.csv);
    if (!o.output || *o.output == "-") {
        out << text;
        out.flush();
        if (out.fail()) {
            err << "kelvane-cli saturation: the table could not be written to standard output.\n";
            return 1;
        }
        return 0;
    }
    // The writer of the table files: a temporary file beside the target replaces it
    // only once the whole table is stored; a device or a pipe is written directly.
    FileTableOutput file(*o.output);
    std::string error;
    if (!file.Open(error) || !file.Write(text, error) || !file.Close(error)) {
        file.Abandon();
        err << "kelvane-cli saturation: " << Printable(error) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kelvane
