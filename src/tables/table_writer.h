// Writing a table of one result of the main window over a grid of temperatures and
// pressures or densities (TYPE I, a matrix) or over pairs read from a two-column file
// (TYPE II, three columns). Every cell is computed by the engine from exactly the
// values the main window would have been typed (the display-format text of the row and
// column values) and holds the text the chosen result field would show. The settings
// of the main window (fluid, units, wavelength) are taken once when the table starts.
// Cells may be computed on several threads; rows are written in order, so the file is
// the same for any number of threads. The window and the command-line tool share the
// writer, so both write the same bytes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/calculate.h"
#include "forms/controls.h"
#include "forms/main_form.h"

namespace kelvane {

// Variables of the two axes.
// h and s (the molar enthalpy and entropy in the amount unit) go with P alone: isobars.
enum TableVariable { kVarT = 0, kVarP = 1, kVarRho = 2, kVarH = 3, kVarS = 4, kVariableCount = 5 };

constexpr int kTablePropertyCount = 26;

// The 26 items of the property list; item 1 depends on the density/volume mode.
std::vector<std::string> PropertyItems(bool densityMode);
// Unit text of property q in headings, from the main window's current labels.
std::string PropertyUnit(const MainForm& main, int q);
// Properties that depend on the temperature alone: their tables have one pressure
// column (the critical pressure).
bool IsTemperatureOnlyProperty(int q);

// Name of variable v in headings ("T", "P", "rho" in both density modes), its unit text
// and its input field in the main window.
const char* VariableName(int v);
std::string VariableUnit(const MainForm& main, int v);
EditField& VariableField(MainForm& main, int v);

struct TableSettings {
    int type = 0;             // 0 TYPE I (matrix), 1 TYPE II (pairs from a file)
    int rowVariable = kVarT;  // ROW, or the file's 1st column
    int columnVariable = kVarP;
    int property = -1;                // index into PropertyItems, -1 when none is chosen
    std::string rowList, columnList;  // TYPE I: comma-separated values
    std::string columnsFile;          // TYPE II: the two-column file
    std::string skipLines = "1";      // TYPE II: leading lines to skip
    int jobs = 1;                     // threads computing cells (1: the calling thread)
};

// Where the table goes and how the caller follows it.
class TableOutput {
public:
    virtual ~TableOutput() = default;
    // Asked once all inputs are valid; false means the user cancelled (no message).
    virtual bool Choose() { return true; }
    // Creates the destination; on failure returns false and sets `error`.
    virtual bool Open(std::string& error) = 0;
    // Stores text; false (with `error` set) as soon as it cannot be stored, after which
    // the table ends.
    virtual bool Write(std::string_view text, std::string& error) = 0;
    // Called after a successful Open when the table is complete or was stopped: makes
    // the written text the destination's content; false (with `error` set) when it
    // could not be stored completely.
    virtual bool Close(std::string& error) {
        (void)error;
        return true;
    }
    // Called after a successful Open instead of Close when the table is left by an
    // error: whatever the destination held before stays as it was.
    virtual void Abandon() {}
    // True when the destination is the existing file `path` (also through a link).
    virtual bool IsFile(const std::string& path) const {
        (void)path;
        return false;
    }
    // Before the first cell, with the number of cells of the table.
    virtual void Started(int cellsTotal) { (void)cellsTotal; }
    // After each cell, in the order of the file: lets the display catch up, reports
    // progress and returns false to stop the table after the rows already complete.
    // `input` and `result` are the cell's state point and its calculation.
    virtual bool CellDone(int cellsDone, int cellsTotal) {
        (void)cellsDone;
        (void)cellsTotal;
        return true;
    }
    virtual bool CellFinished(int cellsDone, int cellsTotal, const PointInput& input, const PointResult& result) {
        (void)input;
        (void)result;
        return CellDone(cellsDone, cellsTotal);
    }
};

// Writes the table to a named file. A regular file (or a name that does not exist
// yet) is written to a temporary file in the same folder, which replaces it only when
// the table is complete or stopped, so that a table left by an error, a full disk or
// an interruption leaves the earlier file as it was. A symbolic link is followed to
// the file it names (the name a dangling link names is created): that file is
// replaced and the link stays. An existing name that is not a regular file (a device
// such as /dev/null, a pipe, /dev/stdout on a terminal) is written directly.
class FileTableOutput : public TableOutput {
public:
    explicit FileTableOutput(std::string fileName = {}) : fileName_(std::move(fileName)) {}
    ~FileTableOutput() override;
    FileTableOutput(const FileTableOutput&) = delete;
    FileTableOutput& operator=(const FileTableOutput&) = delete;
    bool Open(std::string& error) override;
    bool Write(std::string_view text, std::string& error) override;
    bool Close(std::string& error) override;
    void Abandon() override;
    bool IsFile(const std::string& path) const override;
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    // The temporary file while the table is being written (empty when writing directly).
    const std::string& TemporaryName() const { return temporary_; }

private:
    bool Flush(std::string& error);
    std::string WriteError() const;

    std::string fileName_;
    std::string target_;  // the file the temporary file replaces: fileName_ through its links
    std::string temporary_;
    std::string buffer_;
    int fd_ = -1;
    int errno_ = 0;
};

// Collects the table in memory.
class StringTableOutput : public TableOutput {
public:
    bool Open(std::string&) override { return true; }
    bool Write(std::string_view text, std::string&) override {
        text_.append(text);
        return true;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

inline constexpr const char* kNeedTemperatureAndOther = "Select T either in ROW or COLUMN, and another(P, rho)";
inline constexpr const char* kNeedTemperatureOnce = "Select T either in ROW or COLUMN";
inline constexpr const char* kNeedPressureWithEnergy = "Select P either in ROW or COLUMN, and h or s in the other";
inline constexpr const char* kNeedProperty = "Select the properties you want.";
inline constexpr const char* kPropertyIsVariable = "the selected quantities are same.";
inline constexpr const char* kNoValues = "The number of values in either ROW or COLUMN is 0 or missed.";
inline constexpr const char* kTableDone = "The table has been made successfully.";
inline constexpr const char* kSameFile =
    "The table file is the file for reading columns; choose another name for the table.";

struct TableResult {
    enum class Status {
        Written,       // the whole table is in the file
        Invalid,       // a validation message, nothing written
        Cancelled,     // the user cancelled the choice of the output
        OutputFailed,  // the output could not be created, or the column file opened
        Stopped,       // stopped on request; the complete rows are in the file
        NotFinite,     // cells hold a number that is not finite: nothing written
    };
    Status status = Status::Invalid;
    std::string message;  // for the table window's message line
    int rowsWritten = 0;
    int rowsTotal = 0;
    int cellsTotal = 0, cellsWithoutNumber = 0;  // cells holding a message or nothing
};

// The line that follows the success message: how many cells hold no number.
std::string CellCountLine(int withoutNumber, int total);
// The message of a table whose cells hold a number that is not finite; such a table
// is not written.
std::string NotFiniteMessage(int notFinite, int total);

// Makes one table. Validation messages come back in the result; a malformed number
// in the two-column file, its skip count or a main-window field raises ConversionError
// (the output is closed first). Changes the main window's inputs and selector as the
// table needs them, also when it is not written afterwards, and leaves the inputs and
// results of the last cell in the main window.
TableResult MakeTable(MainForm& main, const TableSettings& settings, TableOutput& output);

}  // namespace kelvane
