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
    RadioGroupTableTypeClick();
    SetDensityMode(main_.densityMode);
    main_.densityModeChanged = [this](bool densityMode) { SetDensityMode(densityMode); };
}

TableForm::~TableForm() { main_.densityModeChanged = nullptr; }

void TableForm::RadioGroupTableTypeClick() {
    const bool matrix = RadioGroupTableType.index != 1;
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
}

TableSettings TableForm::Settings() const {
    TableSettings s;
    s.type = RadioGroupTableType.index == 1 ? 1 : 0;
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

void TableForm::ButtonMakeClick() {
    if (busy_) return;  // a table is being made; events run between its cells

    // Connects the writer to the save dialog, the file and the progress display.
    class FormOutput : public TableOutput {
    public:
        explicit FormOutput(TableForm& form) : form_(form) {}
        bool Choose() override {
            std::string name;
            if (!form_.dialogs_.SaveFileName(name)) return false;
            inner_ = form_.dialogs_.CreateOutput(name);
            return inner_ != nullptr;
        }
        bool Open(std::string& error) override { return inner_->Open(error); }
        void Write(std::string_view text) override {
            inner_->Write(text);
            form_.lastTable_.append(text);
        }
        bool Close(std::string& error) override { return inner_->Close(error); }
        void Started(int total) override {
            form_.cellsDone = 0;
            form_.cellsTotal = total;
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
            return !form_.stopRequested_;
        }

    private:
        TableForm& form_;
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
    ButtonPlot.enabled = false;
    const TableSettings settings = Settings();
    Running running(*this);
    FormOutput output(*this);
    const TableResult result = MakeTable(main_, settings, output);
    EditMes.text = result.message;
    if (result.status == TableResult::Status::Written) {
        lastTableType_ = settings.type;
        ButtonPlot.enabled = true;
    } else {
        lastTable_.clear();
    }
}

void TableForm::ShowPoint(const PointInput& input, const PointResult& result) {
    // The inputs as the main window would show them typed, in its current units.
    const DisplayUnits units = main_.Units();
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
        main_.ShowResult(result);
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
    main_.ShowResult(result);
}

void TableForm::ButtonStopClick() {
    if (busy_) stopRequested_ = true;
}

void TableForm::GenerateSeries(const EditField& input, EditField& list, const char* axis) {
    const SeriesResult series = kelvane::MakeSeries(input.text);
    list.text = series.text;
    if (series.capped)
        EditMes.text = std::string("The ") + axis + " series was cut to " + std::to_string(kMaxValues) +
                       " values, the size of a list.";
}

void TableForm::ButtonRsClick() { GenerateSeries(EditRs, EditR, "ROW"); }
void TableForm::ButtonCsClick() { GenerateSeries(EditCs, EditC, "COLUMN"); }

void TableForm::ButtonRefClick() {
    std::string name;
    if (dialogs_.OpenFileName(name)) Editopen.text = name;
}

}  // namespace kelvane
