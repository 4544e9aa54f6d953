// The "Make Tables" window without a windowing toolkit: its controls, the table-type
// switch, the series generators, the file chooser and "Make Tables" with progress and
// stop. The Qt window binds real widgets to an instance of this class.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "forms/chart_data.h"
#include "forms/controls.h"
#include "forms/main_form.h"
#include "tables/list_table.h"
#include "tables/table_grid.h"
#include "tables/table_writer.h"

namespace kelvane {

// File names from the user, and the creation of the table file.
class TableFileDialogs {
public:
    virtual ~TableFileDialogs() = default;
    // Save dialog (default extension kDefaultExtension, filter kFileFilter); false when
    // the user cancels.
    virtual bool SaveFileName(std::string& name) = 0;
    // Open dialog for the two-column file, same extension and filter.
    virtual bool OpenFileName(std::string& name) = 0;
    // Save dialog of a list table (filter kListFileFilter), which may be written as
    // comma-separated text: `csv` true when the user chose the CSV type. By default
    // SaveFileName, with CSV for a name ending in ".csv".
    virtual bool SaveListFileName(std::string& name, bool& csv) {
        if (!SaveFileName(name)) return false;
        csv = name.size() >= 4 && name.compare(name.size() - 4, 4, ".csv") == 0;
        return true;
    }
    // The destination of a table named by SaveFileName; a file by default.
    virtual std::unique_ptr<TableOutput> CreateOutput(const std::string& name) {
        return std::make_unique<FileTableOutput>(name);
    }

    static constexpr const char* kDefaultExtension = "txt";
    static constexpr const char* kFileFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
    static constexpr const char* kListFileFilter =
        "Text files (*.txt)|*.txt|CSV files (*.csv)|*.csv|All files (*.*)|*.*";
};

// Position that centres a window on the screen (integer halves); never left of or
// above the screen's origin.
struct WindowPosition {
    int left, top;
};
WindowPosition CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

class TableForm {
public:
    TableForm(MainForm& main, TableFileDialogs& dialogs);
    ~TableForm();
    TableForm(const TableForm&) = delete;
    TableForm& operator=(const TableForm&) = delete;

    static constexpr const char* kCaption = "Make Tables";
    static constexpr const char* kSeriesCaption = "<= make x, x+y, ..., x+(z-1)y";

    // Actions. ButtonMakeClick may throw ConversionError (a bad number in the column
    // file or its skip count).
    void RadioGroupTableTypeClick();
    void ButtonMakeClick();
    void ButtonRsClick();
    void ButtonCsClick();
    void ButtonRefClick();
    void ButtonStopClick();       // ends a running table after its current cell
    void ButtonPlotClick();       // "Plot": shows the chart of the last table made
    void CheckListFileClick();    // TYPE III: points from the file or from the lists
    void ButtonCopyTableClick();  // "Copy": the table view's selection as tab-separated text

    // The text of the last table written completely (as written) and its type (0
    // TYPE I, 1 TYPE II, 2 TYPE III); empty when the last "Make Tables" wrote none.
    const std::string& LastTable() const { return lastTable_; }
    int LastTableType() const { return lastTableType_; }
    // The chart of LastTable().
    ChartData PlotChart() const;

    // The table view: the last table made (also one stopped part way), and how many
    // tables it has shown so far, so that a view can tell when to reload.
    const TableGrid& Grid() const { return grid_; }
    int tablesShown = 0;
    // The cells the view has selected (rows and columns inclusive; -1 for none): "Copy"
    // copies them, or the whole table when none are selected.
    int selectionTop = -1, selectionLeft = -1, selectionBottom = -1, selectionRight = -1;
    // The text "Copy" puts on the clipboard.
    std::string TableCopyText() const;
    std::function<void(const std::string&)> copyText;

    // Item texts that follow the main window's density/specific-volume mode.
    void SetDensityMode(bool densityMode);

    bool Busy() const { return busy_; }
    // The settings of the controls as the table writer takes them.
    TableSettings Settings() const;
    ListTableSettings ListSettings() const;

    // Called at display rate while a table is made; the argument is the state of
    // CheckProcess (true: let all pending window events run, false: only repaint the
    // table window).
    std::function<void(bool processEvents)> catchUp;
    // Called when a table starts and when it ends (the Qt window shows the change).
    std::function<void(bool running)> runningChanged;
    // Opens the chart of the last table.
    std::function<void()> showPlot;
    // Asked after every cell: true ends the table after that cell, as "Stop" does (the
    // command-line tool answers true once it was interrupted by a signal).
    std::function<bool()> stopPolled;
    // How the last "Make Tables" ended.
    const TableResult& LastResult() const { return lastResult_; }

    // Progress of the running (or last) table.
    int cellsDone = 0, cellsTotal = 0;
    // Threads that compute the cells of a table.
    int jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));

    RadioGroup RadioGroupTableType{"TABLE TYPE", {"TYPE I", "TYPE II", "TYPE III"}, 0};
    Label LabelInfo{"Select Fluid and All Units in the previous form. "};
    Label LabelType1{"TYPE I: Tabulate zij = f(xi, yj) as a Matrix. "};
    Label LabelType2a{"TYPE II: Tabulate zi = f(xi, yi) at the 3rd column"};
    Label LabelType2b{"from 2 columns in the file."};
    Label LabelType3{"TYPE III: Tabulate several properties, one line per state point, as a List."};
    Label LabelR{"ROW"}, LabelC{"COLUMN"};
    ComboBox ComboBoxR, ComboBoxC;
    EditField EditR, EditC;
    Label LabelRs{"ROW series x,y,z="}, LabelCs{"COL. series x,y,z="};
    EditField EditRs, EditCs;
    Button ButtonRs{kSeriesCaption}, ButtonCs{kSeriesCaption};
    Label Labelopen{"FILE for reading columns"};
    EditField Editopen;
    Button ButtonRef{"ref."};
    Label Labelskipline{"Skip lines"};
    EditField Editskipline{"1"};
    Label LabelQ{"Property"};
    ComboBox ComboBoxQ;
    CheckBox CheckProcess{"Show Calculation Process", true};
    CheckBox CheckBoxTitle{"Add the title at the 1st line", true};
    Button ButtonMake{"Make Tables"};
    Button ButtonStop{"Stop", false};
    Button ButtonPlot{"Plot", false};
    EditField EditMes{"", true};
    // TYPE III: the properties of the list (several may be checked), and whether its
    // state points come from the FILE instead of the ROW and COLUMN lists.
    Label LabelList{"Properties of the list (TYPE III)"};
    CheckList ListQ;
    CheckBox CheckListFile{"TYPE III: state points from the FILE", false, false};
    // The table view below the window's controls.
    Label LabelView{"Last table"};
    Button ButtonCopyTable{"Copy", false};

    static constexpr const char* kNoPropertyText = "Select the thermodynamic property you want.";

private:
    // Shows a cell's state point and results in the main window.
    void ShowPoint(const PointInput& input, const PointResult& result);
    // Returns false when the series text was refused (the message is in the list).
    bool GenerateSeries(const EditField& input, EditField& list, const char* axis);
    // A series typed but not made into its list is made now; false with a message in
    // EditMes when it is refused, else `note` tells what was done.
    bool ApplyTypedSeries(std::string& note);
    bool UsesLists() const;

    std::string seriesMadeR_, seriesMadeC_;  // the series texts that made the lists
    TableGrid grid_;
    MainForm& main_;
    TableFileDialogs& dialogs_;
    bool busy_ = false;
    // The fluid of the table being made, and its item in the main window's selector.
    const Fluid* tableFluid_ = nullptr;
    int tableFluidItem_ = 0;
    bool stopRequested_ = false;
    std::string lastTable_;
    int lastTableType_ = 0;
    TableResult lastResult_;
};

}  // namespace kelvane
