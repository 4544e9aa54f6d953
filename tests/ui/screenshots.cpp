// Renders the three windows after a calculation (water at 300 K and 10 MPa) into PNG
// files: ui_screenshots <directory>. Run it under Xvfb or the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

#include "fluids/registry.h"
#include "ui/application.h"

using namespace kelvane;

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    RegisterAllFluids();
    ui::Program program;
    MainForm& f = program.mainForm;
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.ButtonCalcClick();
    program.mainWindow.Refresh();
    program.mainWindow.show();

    TableForm& t = program.tableForm;
    t.EditR.text = "300,350,400";
    t.EditRs.text = "300,50,3";
    t.EditC.text = "0.1,1,10";
    t.ComboBoxQ.Select(11);
    t.EditMes.text = "The table has been made successfully.";
    program.tableWindow.Refresh();
    program.tableWindow.show();
    app.processEvents();

    bool ok = program.mainWindow.grab().save(dir + "/main_window.png");
    ok = program.tableWindow.grab().save(dir + "/table_window.png") && ok;
    program.aboutWindow.show();
    app.processEvents();
    ok = program.aboutWindow.grab().save(dir + "/about_window.png") && ok;
    std::printf("main %dx%d, table %dx%d, about %dx%d\n", program.mainWindow.width(), program.mainWindow.height(),
                program.tableWindow.width(), program.tableWindow.height(), program.aboutWindow.width(),
                program.aboutWindow.height());
    return ok ? 0 : 1;
}
