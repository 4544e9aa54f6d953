// Renders the list table in the table window's view and the main window in
// engineering units into PNG files: ui_screenshots_lists <directory>. Run it under
// Xvfb or the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

#include "ui/application.h"

using namespace kelvane;

namespace {

// Tables are kept in memory instead of asking for a file name.
class MemoryDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        name = "list.txt";
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override {
        return std::make_unique<StringTableOutput>();
    }
};

bool Save(QWidget& w, const QString& file) {
    w.show();
    QApplication::processEvents();
    const bool ok = w.grab().save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    MemoryDialogs dialogs;
    ui::Program program(&dialogs);
    MainForm& f = program.mainForm;

    // Water at 80.33 deg F and 145 psi in kJ/kg, uPa s and mW/(m K).
    auto choose = [&f](ComboBox MainForm::*box, void (MainForm::*change)(), int index) {
        (f.*box).Select(index);
        (f.*change)();
    };
    choose(&MainForm::ComboBoxT, &MainForm::ComboBoxTChange, 3);
    choose(&MainForm::ComboBoxP, &MainForm::ComboBoxPChange, 6);
    choose(&MainForm::ComboBoxUnit, &MainForm::ComboBoxUnitChange, 4);
    choose(&MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange, 1);
    choose(&MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange, 1);
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "80.33";
    f.EditP.text = "145";
    f.ButtonCalcClick();
    program.mainWindow.Refresh();
    bool ok = Save(program.mainWindow, dir + "/main_window_engineering_units.png");

    // Isobars of water in a list table: Cp, S, W and the viscosity.
    TableForm& t = program.tableForm;
    t.RadioGroupTableType.index = 2;
    t.RadioGroupTableTypeClick();
    t.EditRs.text = "40,40,8";
    t.EditC.text = "14.7,145";
    for (int q : {11, 25, 14, 19}) t.ListQ.Check(q, true);
    t.CheckProcess.checked = false;
    t.ButtonMakeClick();
    program.tableWindow.Refresh();
    program.tableWindow.resize(program.tableWindow.width(), program.tableWindow.height() + 120);
    ok = Save(program.tableWindow, dir + "/list_table_view.png") && ok;
    return ok ? 0 : 1;
}
