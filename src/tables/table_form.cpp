#include "tables/table_form.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/format.h"
#include "forms/units.h"
#include "tables/value_lists.h"

namespace kelvane {

namespace {

void Enable(EditField& f, bool enabled) {
    f.enabled = enabled;
    f.color = enabled ? ColorRole::Window : ColorRole::ButtonFace;
}

}  // namespace

WindowPosition CentredPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    return {std::max(0, screenWidth / 2 - windowWidth / 2), std::max(0, screenHeight / 2 - windowHeight / 2)};
}

TableForm::TableForm(MainForm& main, TableFileDialogs& dialogs) : main_(main), dialogs_(dialogs) {
    ComboBoxR.items = {"T", "P", "rho", "h", "s"};
    ComboBoxC.items = ComboBoxR.items;
    ComboBoxR.Select(kVarT);
    ComboBoxC.Select(kVarP);
    ComboBoxQ.items = PropertyItems(true);
    ComboBoxQ.index = -1;
    ComboBoxQ.text = kNoPropertyText;
    ListQ.items = ComboBoxQ.items;
    RadioGroupTableTypeClick();
    SetDensityMode(main_.densityMode);
    main_.densityModeChanged = [this](bool densityMode) { SetDensityMode(densityMode); };
}

TableForm::~TableForm() { main_.densityModeChanged = nullptr; }

bool TableForm::UsesLists() const {
    const int type = RadioGroupTableType.index;
    return type != 1 && !(type == 2 && CheckListFile.checked);
}

void TableForm::RadioGroupTableTypeClick() {
    const bool list = RadioGroupTableType.index == 2;
    const bool matrix = UsesLists();
    CheckListFile.enabled = list;
    ListQ.enabled = LabelList.enabled = list;
    ComboBoxQ.enabled = LabelQ.enabled = !list;
    LabelR.text = matrix ? "ROW" : "1st COLUMN";
    LabelC.text = matrix ? "COLUMN" : "2nd COLUMN";
    LabelRs.enabled = ButtonRs.enabled = LabelCs.enabled = ButtonCs.enabled = matrix;
    for (EditField* f : {&EditR, &EditRs, &EditC, &EditCs}) Enable(*f, matrix);
    for (EditField* f : {&Editopen, &Editskipline}) Enable(*f, !matrix);
    Labelopen.enabled = Labelskipline.enabled = ButtonRef.enabled = !matrix;
}

void TableForm::SetDensityMode(bool densityMode) {
    const char* name = densityMode ? "rho" : "V";
    for (ComboBox* box : {&ComboBoxR, &ComboBoxC}) {
        box->items[kVarRho] = name;
        if (box->index == kVarRho) box->text = name;
    }
    ComboBoxQ.items = PropertyItems(densityMode);
    if (ComboBoxQ.index == 1) ComboBoxQ.text = ComboBoxQ.items[1];
    ListQ.items = ComboBoxQ.items;
}

void TableForm::CheckListFileClick() { RadioGroupTableTypeClick(); }

TableSettings TableForm::Settings() const {
    TableSettings s;
    s.type = RadioGroupTableType.index == 1 || (RadioGroupTableType.index == 2 && CheckListFile.checked) ? 1 : 0;
    s.rowVariable = ComboBoxR.index;
    s.columnVariable = ComboBoxC.index;
    s.property = ComboBoxQ.index;
    s.rowList = EditR.text;
    s.columnList = EditC.text;
    s.columnsFile = Editopen.text;
    s.skipLines = Editskipline.text;
    s.jobs = jobs;
    return s;
}

ListTableSettings TableForm::ListSettings() const {
    ListTableSettings s;
    s.points = Settings();
    s.properties = ListQ.Chosen();
    s.title = CheckBoxTitle.checked;
    return s;
}

void TableForm::ButtonMakeClick() {
    if (busy_) return;  // a table is being made; events run between its cells

    // Connects the writer to the save dialog, the file and the progress display.
    class FormOutput : public TableOutput {
    public:
        explicit FormOutput(TableForm& form, bool list) : form_(form), list_(list) {}
        bool Choose() override {
            std::string name;
            if (list_ ? !form_.dialogs_.SaveListFileName(name, csv) : !form_.dialogs_.SaveFileName(name)) return false;
            inner_ = form_.dialogs_.CreateOutput(name);
            return inner_ != nullptr;
        }
        bool csv = false;
        bool Open(std::string& error) override { return inner_->Open(error); }
        bool Write(std::string_view text, std::string& error) override {
            if (!inner_->Write(text, error)) return false;
            form_.lastTable_.append(text);
            return true;
        }
        bool Close(std::string& error) override { return inner_->Close(error); }
        void Abandon() override { inner_->Abandon(); }
        bool IsFile(const std::string& path) const override { return inner_->IsFile(path); }
        void Started(int total) override {
            form_.cellsDone = 0;
            form_.cellsTotal = total;
            // The writer has just taken the fluid from the main window; the points shown
            // while the table is made are that fluid's, whatever is selected later.
            form_.tableFluid_ = &form_.main_.SelectedFluid();
            form_.tableFluidItem_ = form_.main_.RadioGroupMatter.index;
        }
        // The windows catch up at display rate, not after every cell: with "Show
        // Calculation Process" the main window then shows the state point of the
        // current cell and every window takes events; otherwise only the table window
        // repaints and takes a click on "Stop".
        bool CellFinished(int done, int total, const PointInput& input, const PointResult& result) override {
            form_.cellsDone = done;
            form_.cellsTotal = total;
            const auto now = std::chrono::steady_clock::now();
            if (now - lastCatchUp_ >= std::chrono::milliseconds(30) || done == total) {
                lastCatchUp_ = now;
                if (form_.CheckProcess.checked) form_.ShowPoint(input, result);
                if (form_.catchUp) form_.catchUp(form_.CheckProcess.checked);
            }
            if (form_.stopPolled && form_.stopPolled()) form_.stopRequested_ = true;
            return !form_.stopRequested_;
        }

    private:
        TableForm& form_;
        bool list_;
        std::unique_ptr<TableOutput> inner_;
        std::chrono::steady_clock::time_point lastCatchUp_ = std::chrono::steady_clock::now();
    };

    // Marks the form busy for the duration of the table, whatever way it ends.
    struct Running {
        TableForm& f;
        explicit Running(TableForm& form) : f(form) {
            f.busy_ = true;
            f.stopRequested_ = false;
            f.ButtonMake.enabled = false;
            f.ButtonStop.enabled = true;
            if (f.runningChanged) f.runningChanged(true);
        }
        ~Running() {
            f.busy_ = false;
            f.ButtonMake.enabled = true;
            f.ButtonStop.enabled = false;
            if (f.runningChanged) f.runningChanged(false);
        }
    };

    EditMes.text.clear();
    cellsDone = cellsTotal = 0;
    lastTable_.clear();
    lastResult_ = TableResult{};
    ButtonPlot.enabled = false;
    std::string note;
    if (!ApplyTypedSeries(note)) return;
    const bool list = RadioGroupTableType.index == 2;
    const TableSettings settings = Settings();
    ListTableSettings listSettings = ListSettings();
    Running running(*this);
    FormOutput output(*this, list);
    TableResult result;
    if (list) {
        // The type of file is known once the save dialog has answered.
        class CsvChoice : public TableOutput {
        public:
            CsvChoice(FormOutput& inner, ListTableSettings& s) : inner_(inner), s_(s) {}
            bool Choose() override {
                const bool chosen = inner_.Choose();
                s_.csv = inner_.csv;
                return chosen;
            }
            bool Open(std::string& e) override { return inner_.Open(e); }
            bool Write(std::string_view t, std::string& e) override { return inner_.Write(t, e); }
            bool Close(std::string& e) override { return inner_.Close(e); }
            void Abandon() override { inner_.Abandon(); }
            bool IsFile(const std::string& path) const override { return inner_.IsFile(path); }
            void Started(int total) override { inner_.Started(total); }
            bool CellFinished(int d, int t, const PointInput& in, const PointResult& r) override {
                return inner_.CellFinished(d, t, in, r);
            }

        private:
            FormOutput& inner_;
            ListTableSettings& s_;
        } choice(output, listSettings);
        result = MakeListTable(main_, listSettings, choice);
    } else {
        result = MakeTable(main_, settings, output);
    }
    EditMes.text = result.message;
    if (!note.empty()) {
        // The note joins the first line of the message; a count of the cells follows it.
        const size_t end = std::min(EditMes.text.find('\n'), EditMes.text.size());
        EditMes.text.insert(end, (end == 0 ? "" : " ") + note);
    }
    lastResult_ = result;
    using Status = TableResult::Status;
    if (result.status == Status::Written || result.status == Status::Stopped) {
        // The view shows what the file holds, also the rows of a stopped table.
        grid_ = TableGrid(lastTable_, list && listSettings.csv, !list || listSettings.title);
        ++tablesShown;
        LabelView.text = grid_.Title().empty() ? std::string("Last table") : "Last table: " + grid_.Title();
        selectionTop = selectionLeft = selectionBottom = selectionRight = -1;
        ButtonCopyTable.enabled = !grid_.Empty();
    }
    if (result.status == Status::Written) {
        // The chart draws the matrix and the three columns, not a list.
        lastTableType_ = list ? 2 : settings.type;
        ButtonPlot.enabled = !list;
    } else {
        lastTable_.clear();
    }
}

bool TableForm::ApplyTypedSeries(std::string& note) {
    if (!UsesLists()) return true;
    struct Axis {
        EditField& series;
        EditField& list;
        std::string& made;
        const char* name;
    };
    for (Axis a : {Axis{EditRs, EditR, seriesMadeR_, "ROW"}, Axis{EditCs, EditC, seriesMadeC_, "COLUMN"}}) {
        const std::string& text = a.series.text;
        if (text.find_first_not_of(" \t") == std::string::npos || text == a.made) continue;
        const std::string before = EditMes.text;
        if (!GenerateSeries(a.series, a.list, a.name)) {
            EditMes.text =
                std::string("The ") + a.name + " series \"" + text + "\" was not made into a list: " + a.list.text;
            return false;
        }
        std::string cut = EditMes.text != before ? " " + EditMes.text : std::string();
        EditMes.text = before;
        note += std::string(note.empty() ? "" : " ") + "The " + a.name + " list was made from the series \"" + text +
                "\"." + cut;
    }
    return true;
}

std::string TableForm::TableCopyText() const {
    if (selectionTop < 0 || selectionLeft < 0) return grid_.Tsv();
    return grid_.Tsv(selectionTop, selectionLeft, selectionBottom, selectionRight);
}

void TableForm::ButtonCopyTableClick() {
    if (!grid_.Empty() && copyText) copyText(TableCopyText());
}

void TableForm::ShowPoint(const PointInput& input, const PointResult& result) {
    // The inputs as the main window would show them typed, in its current units.
    const Fluid& fluid = tableFluid_ ? *tableFluid_ : main_.SelectedFluid();
    const int fluidItem = tableFluid_ ? tableFluidItem_ : main_.RadioGroupMatter.index;
    DisplayUnits units = main_.Units();
    units.constants = &fluid.constants;
    PointResult shown = result;
    shown.state.T = input.T;
    if (input.inputVar >= 2) {
        // P with h or s: the given values as typed, the temperature found as a result.
        shown.hasP = true;
        main_.EditP.text = FieldText(*FieldRowNamed("EditP"), shown, units);
        const double perAmount = AmountFactor(*units.constants, units.unitAmount);
        (input.inputVar == 2 ? main_.Edith : main_.Edits).text =
            FormatDisplay((input.inputVar == 2 ? input.h : input.s) / perAmount);
        main_.EditRho.text.clear();
        main_.ShowResult(result, fluid, fluidItem);
        return;
    }
    main_.EditT.text = FieldText(*FieldRowNamed("EditT"), shown, units);
    if (input.inputVar == 0) {
        shown.hasP = true;
        main_.EditP.text = FieldText(*FieldRowNamed("EditP"), shown, units);
        main_.EditRho.text.clear();
    } else {
        shown.hasRho = true;
        main_.EditRho.text = FieldText(*FieldRowNamed("EditRho"), shown, units);
        main_.EditP.text.clear();
    }
    main_.ShowResult(result, fluid, fluidItem);
}

void TableForm::ButtonStopClick() {
    if (busy_) stopRequested_ = true;
}

bool TableForm::GenerateSeries(const EditField& input, EditField& list, const char* axis) {
    const SeriesResult series = kelvane::MakeSeries(input.text);
    list.text = series.text;
    if (series.text == kSeriesFormatMessage || series.text == kSeriesCountMessage) return false;
    (&list == &EditR ? seriesMadeR_ : seriesMadeC_) = input.text;
    if (series.capped)
        EditMes.text = std::string("The ") + axis + " series was cut to " + std::to_string(kMaxValues) +
                       " values, the size of a list.";
    return true;
}

void TableForm::ButtonRsClick() { GenerateSeries(EditRs, EditR, "ROW"); }
void TableForm::ButtonCsClick() { GenerateSeries(EditCs, EditC, "COLUMN"); }

void TableForm::ButtonRefClick() {
    std::string name;
    if (dialogs_.OpenFileName(name)) Editopen.text = name;
}

}  // namespace kelvane
