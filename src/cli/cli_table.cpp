// "kelvane-cli table": the headless "Make Tables" window driven from the command line.
// The arguments fill the table window's controls (and the main window's units), then
// the window's own "Make Tables" action runs with "Show Calculation Process" off, so
// the file is the one the window writes for the same settings.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_options.h"
#include "core/format.h"
#include "forms/main_form.h"
#include "tables/table_form.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

using cli::Printable;
using cli::UsageError;

struct AxisOption {
    int variable;
    std::optional<std::string> list;    // VAR=LIST
    std::optional<std::string> series;  // VAR=x,y,z
};

struct TableOptions {
    cli::FormOptions form;
    int type = 0;  // 0 TYPE I, 1 TYPE II, 2 TYPE III (list)
    bool csv = false, noTitle = false;
    AxisOption row{kVarT, {}, {}}, column{kVarP, {}, {}};
    std::optional<std::string> columns, file, skip, property, output;
    int jobs = 0;               // 0: one per core
    bool listFromFile = false;  // --type list with --file
    bool help = false;
};

int VariableIndex(const std::string& name, const std::string& option) {
    if (name == "T") return kVarT;
    if (name == "P") return kVarP;
    if (name == "rho" || name == "V") return kVarRho;
    if (name == "h") return kVarH;
    if (name == "s") return kVarS;
    throw UsageError{"unknown variable for " + option + ": \"" + Printable(name) + "\" (T, P, rho, h or s)"};
}

// "VAR=VALUES" of --row, --col and their series forms.
void ParseAxis(const std::string& option, const std::string& value, AxisOption& axis, bool series) {
    const size_t eq = value.find('=');
    if (eq == std::string::npos) throw UsageError{option + " takes VAR=" + (series ? "x,y,z" : "LIST")};
    if (axis.list || axis.series) throw UsageError{"the " + option.substr(2, 3) + " axis is given twice"};
    axis.variable = VariableIndex(value.substr(0, eq), option);
    (series ? axis.series : axis.list) = value.substr(eq + 1);
}

TableOptions ParseTableOptions(const std::vector<std::string>& args) {
    TableOptions o;
    bool typeOne = false, typeTwo = false;  // options only one table type takes
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (cli::ParseFormOption(args, i, o.form)) continue;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--type") {
            const std::string& v = cli::OptionValue(args, i);
            if (v == "I" || v == "1")
                o.type = 0;
            else if (v == "II" || v == "2")
                o.type = 1;
            else if (v == "list")
                o.type = 2;
            else
                throw UsageError{"unknown table type: " + Printable(v) + " (I, II or list)"};
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--no-title") {
            o.noTitle = true;
        } else if (a == "--row" || a == "--row-series") {
            ParseAxis(a, cli::OptionValue(args, i), o.row, a == "--row-series");
            typeOne = true;
        } else if (a == "--col" || a == "--col-series") {
            ParseAxis(a, cli::OptionValue(args, i), o.column, a == "--col-series");
            typeOne = true;
        } else if (a == "--columns") {
            o.columns = cli::OptionValue(args, i);
            typeTwo = true;
        } else if (a == "--file") {
            o.file = cli::OptionValue(args, i);
            typeTwo = true;
        } else if (a == "--skip") {
            o.skip = cli::OptionValue(args, i);
            typeTwo = true;
        } else if (a == "--property") {
            o.property = cli::OptionValue(args, i);
        } else if (a == "--out") {
            o.output = cli::OptionValue(args, i);
        } else if (a == "--jobs" || a == "-j") {
            const std::string& v = cli::OptionValue(args, i);
            if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos || std::stoi(v) < 1)
                throw UsageError{"--jobs takes a number of threads from 1 to 9999"};
            o.jobs = std::stoi(v);
        } else {
            throw UsageError{"unknown option: " + Printable(a)};
        }
    }
    if (o.help) return o;
    if (o.type != 2 && (o.csv || o.noTitle)) throw UsageError{"--csv and --no-title belong to --type list"};
    if (o.type == 2) {
        // A list table takes its points from the lists or from a file.
        if (typeOne && typeTwo) throw UsageError{"--type list takes --row and --col, or --file, not both"};
        if (typeTwo) o.listFromFile = true;
    }
    if (o.type == 0 && typeTwo) throw UsageError{"--columns, --file and --skip belong to --type II"};
    if (o.type == 1 && typeOne) throw UsageError{"--row, --col and their series belong to --type I"};
    if (o.type == 1 || o.listFromFile) {
        if (!o.file) throw UsageError{"--type II needs --file"};
        if (o.columns) {
            const size_t comma = o.columns->find(',');
            if (comma == std::string::npos) throw UsageError{"--columns takes VAR,VAR"};
            o.row.variable = VariableIndex(o.columns->substr(0, comma), "--columns");
            o.column.variable = VariableIndex(o.columns->substr(comma + 1), "--columns");
        }
    }
    if (!o.output) throw UsageError{"missing --out FILE (- for standard output)"};
    if (o.output->empty()) throw UsageError{"--out needs a file name"};
    return o;
}

// Index of the property: its position 0..25, its exact item text in the current
// density/volume mode, or its short name (the --tsv name of its field: Cp, S, W, ...).
int PropertyListIndex(const std::string& text, const std::vector<std::string>& items) {
    if (!text.empty() && text.size() <= 3 && text.find_first_not_of("0123456789") == std::string::npos) {
        const int q = std::stoi(text);
        if (q < static_cast<int>(items.size())) return q;
    }
    for (size_t q = 0; q < items.size(); ++q)
        if (items[q] == text) return static_cast<int>(q);
    if (const FieldRow* row = FieldRowOfTsvName(text); row && row->tableIndex >= 0) return row->tableIndex;
    std::string known;
    for (size_t q = 0; q < items.size(); ++q)
        known += "\n  " + std::to_string(q) + "  " + items[q] + "  (" + TableRow(static_cast<int>(q))->TsvName() + ")";
    throw UsageError{"unknown property: \"" + Printable(text) + "\"; the properties are:" + known};
}

// The properties of a list table: a comma-separated list of the names above.
std::vector<int> PropertyListIndices(const std::string& text, const std::vector<std::string>& items) {
    std::vector<int> chosen;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        chosen.push_back(PropertyListIndex(name, items));
        if (comma == std::string::npos) return chosen;
        start = comma + 1;
    }
}

// The window reads a list field that is not a plain number by its leading number (0
// when it has none); say so, since on the command line it is usually a typing slip.
void NoteLooseValues(const std::string& list, const char* axis, std::ostream& err) {
    int notes = 0;
    size_t start = 0;
    while (notes < 5) {
        const size_t comma = list.find(',', start);
        const std::string field = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const bool counts = comma == std::string::npos || !field.empty();  // as ParseList counts fields
        if (counts) {
            try {
                ParseStrict(field);
            } catch (const ConversionError&) {
                err << "kelvane-cli: note: " << axis << " value \"" << Printable(field)
                    << "\" is not a plain number; the table uses " << FormatDisplay(ParseLeading(field)) << "\n";
                ++notes;
            }
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

// The table written to a stream (--out -).
class StreamTableOutput : public TableOutput {
public:
    explicit StreamTableOutput(std::ostream& out) : out_(out) {}
    bool Open(std::string&) override { return true; }
    bool Write(std::string_view text, std::string& error) override {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (out_.fail()) {
            error = "The table could not be written to standard output.";
            return false;
        }
        return true;
    }
    bool Close(std::string& error) override {
        out_.flush();
        if (out_.fail()) {
            error = "The table could not be written to standard output.";
            return false;
        }
        return true;
    }

private:
    std::ostream& out_;
};

// SIGINT and SIGTERM while a table is made end it as "Stop" does: after the current
// cell, with the complete rows in the file. A second signal ends the program at once,
// by that signal, after removing the table's temporary file: the earlier file stays as
// it was and nothing of the table is left.
volatile std::sig_atomic_t interruptedBy = 0;

// The temporary file of the table being written, for the signal handler: a fixed
// buffer, valid while temporaryKnown is 1.
char temporaryPath[4096];
volatile std::sig_atomic_t temporaryKnown = 0;

void RecordTemporary(const std::string& name) {
    temporaryKnown = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (name.empty() || name.size() >= sizeof temporaryPath) return;
    std::memcpy(temporaryPath, name.c_str(), name.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temporaryKnown = 1;
}

void ForgetTemporary() { temporaryKnown = 0; }

extern "C" void OnTableSignal(int signal) {
    if (interruptedBy == 0) {
        interruptedBy = signal;
        return;
    }
    // Only async-signal-safe calls from here on.
    if (temporaryKnown) ::unlink(temporaryPath);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);  // delivered when the handler returns
}

class SignalStop {
public:
    SignalStop() {
        interruptedBy = 0;
        ForgetTemporary();
        struct sigaction action {};
        action.sa_handler = OnTableSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~SignalStop() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
        ForgetTemporary();
    }
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

private:
    struct sigaction oldInt_ {
    }, oldTerm_{};
};

// The table file, with its temporary file made known to the signal handler while it
// exists. The name is forgotten only after the temporary file is renamed or removed: a
// second signal in between finds no file to remove, which is harmless.
class SignalAwareFileOutput : public FileTableOutput {
public:
    using FileTableOutput::FileTableOutput;
    ~SignalAwareFileOutput() override { Abandon(); }
    SignalAwareFileOutput(const SignalAwareFileOutput&) = delete;
    SignalAwareFileOutput& operator=(const SignalAwareFileOutput&) = delete;
    bool Open(std::string& error) override {
        ForgetTemporary();
        if (!FileTableOutput::Open(error)) return false;
        RecordTemporary(TemporaryName());
        return true;
    }
    bool Close(std::string& error) override {
        const bool ok = FileTableOutput::Close(error);
        ForgetTemporary();
        return ok;
    }
    void Abandon() override {
        FileTableOutput::Abandon();
        ForgetTemporary();
    }
};

// The save dialog answers with the --out name; "-" is standard output.
class CommandLineDialogs : public TableFileDialogs {
public:
    CommandLineDialogs(std::string name, std::ostream& out) : name_(std::move(name)), out_(out) {}
    bool SaveFileName(std::string& name) override {
        name = name_;
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    bool SaveListFileName(std::string& name, bool& csv) override {
        name = name_;
        csv = csv_;
        return true;
    }
    bool csv_ = false;
    std::unique_ptr<TableOutput> CreateOutput(const std::string& name) override {
        if (name == "-") return std::make_unique<StreamTableOutput>(out_);
        return std::make_unique<SignalAwareFileOutput>(name);
    }

private:
    std::string name_;
    std::ostream& out_;
};

std::string ShortUsage() { return TableUsage().substr(0, TableUsage().find("\n\n")); }

// Fills one TYPE I axis: the list itself, or the series generated by the window's
// series button. Returns the series message when the "x,y,z" text is refused.
std::optional<std::string> FillAxis(TableForm& table, const AxisOption& axis, bool row, std::ostream& err) {
    EditField& list = row ? table.EditR : table.EditC;
    const char* name = row ? "ROW" : "COLUMN";
    if (axis.list) {
        list.text = *axis.list;
        NoteLooseValues(list.text, name, err);
    } else if (axis.series) {
        (row ? table.EditRs : table.EditCs).text = *axis.series;
        table.EditMes.text.clear();
        if (row)
            table.ButtonRsClick();
        else
            table.ButtonCsClick();
        if (list.text == kSeriesFormatMessage || list.text == kSeriesCountMessage ||
            list.text == kSeriesNotFiniteMessage)
            return list.text;
        if (!table.EditMes.text.empty()) err << "kelvane-cli: note: " << table.EditMes.text << "\n";
    }
    return std::nullopt;
}

}  // namespace

std::string TableUsage() {
    return "usage: kelvane-cli table [--fluid water|methanol|co2] [--T-unit U] [--P-unit U] [--rho-unit U]\n"
           "                         [--amount U] [--wavelength NM] [--volume]\n"
           "                         [--type I] --row VAR=LIST|--row-series VAR=x,y,z\n"
           "                                    --col VAR=LIST|--col-series VAR=x,y,z\n"
           "                       | --type II [--columns VAR,VAR] --file PAIRS [--skip N]\n"
           "                       | --type list (the axes of I or the file of II) [--csv] [--no-title]\n"
           "                         --property N|NAME|\"ITEM TEXT\" --out FILE|- [--jobs N]\n"
           "\n"
           "Writes the table that the \"Make Tables\" window writes for the same settings, with\n"
           "\"Show Calculation Process\" off. VAR is T, P or rho (one of the two must be T); values\n"
           "are in the selected units (defaults K, MPa, kg/m3, mol). Units as for a point.\n"
           "VAR may also be h or s (enthalpy or entropy in the --amount unit) with P as the\n"
           "other variable, for isobars in enthalpy or entropy.\n"
           "  --row, --col     comma-separated values of the ROW and the COLUMN (TYPE I)\n"
           "  --row-series, --col-series\n"
           "                   x,y,z makes the list x, x+y, ..., x+(z-1)y\n"
           "  --columns        variables of the 1st and 2nd column of the file (TYPE II; default T,P)\n"
           "  --file, --skip   the two-column, tab-separated file and its leading lines to skip\n"
           "                   (default 1)\n"
           "  --property       0..25, the short name (Cp, S, W, ... as --tsv names them) or the\n"
           "                   exact item text, e.g. \"Isobaric Specific Heat: Cp\"; for a list\n"
           "                   table several, comma-separated: --property Cp,S,W\n"
           "  --type list      one line per state point (every ROW value with every COLUMN\n"
           "                   value, or the pairs of --file) and one column per property,\n"
           "                   with the messages in the last column \"Message\"\n"
           "  --csv            the list table comma-separated instead of tab-separated\n"
           "  --no-title       the list table without its title line\n"
           "  --out            the table file; - writes the table to standard output\n"
           "  --jobs, -j       threads computing the cells (default: one per core); the file\n"
           "                   is the same for any number\n"
           "Exit codes: 0 made (the success message goes to standard output, or to standard\n"
           "error with --out -); 1 the window's message on standard error (an existing file\n"
           "is left as it was unless the table was stopped); 2 bad usage or a value that is\n"
           "not a number; 130 or 143 stopped by SIGINT or SIGTERM (the complete rows are in\n"
           "the file).\n";
}

int RunTableCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TableOptions o;
    try {
        o = ParseTableOptions(args);
    } catch (const UsageError& e) {
        err << "kelvane-cli table: " << e.what << "\n" << ShortUsage() << "\n";
        return 2;
    }
    if (o.help) {
        out << TableUsage();
        return 0;
    }

    SignalStop signals;
    MainForm main;
    CommandLineDialogs dialogs(*o.output, out);
    TableForm table(main, dialogs);
    const bool toStandardOutput = *o.output == "-";
    try {
        cli::ApplyFormOptions(main, o.form);
        table.RadioGroupTableType.index = o.type;
        table.RadioGroupTableTypeClick();
        table.ComboBoxR.Select(o.row.variable);
        table.ComboBoxC.Select(o.column.variable);
        table.CheckProcess.checked = false;
        if (o.jobs > 0) table.jobs = o.jobs;
        table.stopPolled = [] { return interruptedBy != 0; };
        if (o.property) {
            try {
                if (o.type == 2) {
                    for (int q : PropertyListIndices(*o.property, table.ListQ.items)) table.ListQ.Check(q, true);
                } else {
                    table.ComboBoxQ.Select(PropertyListIndex(*o.property, table.ComboBoxQ.items));
                }
            } catch (const UsageError& e) {
                err << "kelvane-cli table: " << e.what << "\n";
                return 2;
            }
        }
        dialogs.csv_ = o.csv;
        table.CheckBoxTitle.checked = !o.noTitle;
        table.CheckListFile.checked = o.listFromFile;
        table.CheckListFileClick();
        if (o.type == 0 || (o.type == 2 && !o.listFromFile)) {
            for (bool row : {true, false}) {
                if (auto refused = FillAxis(table, row ? o.row : o.column, row, err)) {
                    err << "kelvane-cli: " << (row ? "--row-series: " : "--col-series: ") << *refused << "\n";
                    return 1;
                }
            }
        } else {
            table.Editopen.text = *o.file;
            if (o.skip) table.Editskipline.text = *o.skip;
        }
        table.ButtonMakeClick();
    } catch (const ConversionError& e) {
        err << "kelvane-cli: \"" << Printable(e.Text()) << "\" is not a valid number.\n";
        return 2;
    }

    const std::string& message = table.EditMes.text;
    const TableResult& result = table.LastResult();
    if (result.status == TableResult::Status::Stopped && interruptedBy != 0) {
        err << "kelvane-cli: " << (interruptedBy == SIGINT ? "interrupted" : "terminated")
            << ": the table was stopped after " << result.rowsWritten << " of " << result.rowsTotal
            << " rows; those rows are in the file.\n";
        return 128 + interruptedBy;
    }
    if (result.status == TableResult::Status::Written && message.rfind(kTableDone, 0) == 0) {
        (toStandardOutput ? err : out) << message << "\n";
        return 0;
    }
    err << "kelvane-cli: " << Printable(message) << "\n";
    return 1;
}

}  // namespace kelvane
