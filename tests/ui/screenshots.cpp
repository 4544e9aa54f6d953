// Renders the windows into PNG files: ui_screenshots <directory>. The main window after
// a calculation (water at 300 K and 10 MPa), the table window after a table of the
// isobaric heat capacity, the chart of that table and of a table with gaps, the About
// window, and the phase diagram of each fluid with a calculated state point. Run it
// under Xvfb or the offscreen platform; QT_SCALE_FACTOR=2 shows the windows at 200 %
// scaling.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

#include "fluids/registry.h"
#include "ui/application.h"
#include "ui/verification_window.h"

using namespace kelvane;

namespace {

// The table goes to a file in a temporary folder instead of asking for a name.
class TemporaryTableFile : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        name = dir_.filePath("table.txt").toStdString();
        return dir_.isValid();
    }
    bool OpenFileName(std::string&) override { return false; }

private:
    QTemporaryDir dir_;
};

void Calculate(MainForm& f, int fluid, const char* T, const char* P) {
    f.RadioGroupMatter.index = fluid;
    f.RadioGroupMatterClick();
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = T;
    f.EditP.text = P;
    f.ButtonCalcClick();
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    TemporaryTableFile tableFile;
    ui::Program program(&tableFile);
    MainForm& f = program.mainForm;
    bool ok = true;

    // A table of water's Cp over temperature at four pressures, and its chart.
    TableForm& t = program.tableForm;
    t.EditRs.text = "300,10,51";
    t.ButtonRsClick();
    t.EditC.text = "5,10,25,40";
    t.ComboBoxQ.Select(11);
    t.ButtonMakeClick();
    program.tableWindow.Refresh();
    program.tableWindow.show();
    t.ButtonPlotClick();
    app.processEvents();
    ok = program.tableWindow.grab().save(dir + "/table_window.png") && ok;
    ok = program.plotWindow.grab().save(dir + "/table_plot.png") && ok;

    // Carbon dioxide's pressure over temperature at given densities: the cells inside
    // the two-phase region hold no number and leave gaps.
    f.RadioGroupMatter.index = 2;
    f.RadioGroupMatterClick();
    t.EditRs.text = "220,5,21";
    t.ButtonRsClick();
    t.EditC.text = "100,300,500,700";
    t.ComboBoxR.Select(0);
    t.ComboBoxC.Select(2);
    t.ComboBoxQ.Select(0);
    t.ButtonMakeClick();
    t.ButtonPlotClick();
    app.processEvents();
    ok = program.plotWindow.grab().save(dir + "/table_plot_gaps.png") && ok;
    t.ComboBoxC.Select(1);
    t.ComboBoxQ.Select(11);

    Calculate(f, 0, "300", "10");
    program.mainWindow.Refresh();
    program.mainWindow.show();
    app.processEvents();
    ok = program.mainWindow.grab().save(dir + "/main_window.png") && ok;

    // The phase diagram of each fluid with a liquid state point.
    struct Shot {
        int fluid;
        const char *T, *P, *file;
    };
    const Shot shots[] = {
        {0, "300", "10", "phase_water.png"}, {1, "300", "10", "phase_methanol.png"}, {2, "280", "10", "phase_co2.png"}};
    program.phaseWindow.show();
    for (const Shot& s : shots) {
        Calculate(f, s.fluid, s.T, s.P);
        program.mainWindow.Refresh();
        program.phaseWindow.Follow();
        app.processEvents();
        ok = program.phaseWindow.grab().save(dir + "/" + s.file) && ok;
    }
    program.phaseWindow.hide();

    program.aboutWindow.show();
    app.processEvents();
    ok = program.aboutWindow.grab().save(dir + "/about_window.png") && ok;

    // The verification report opened from the About window.
    QMetaObject::invokeMethod(program.aboutWindow.findChild<QWidget*>("ButtonVerification"), "click");
    if (ui::VerificationWindow* v = program.aboutWindow.Verification()) {
        v->resize(1500, 700);
        app.processEvents();
        ok = v->grab().save(dir + "/verification_window.png") && ok;
    } else {
        ok = false;
    }
    std::printf("main %dx%d, table %dx%d, plot %dx%d, phase %dx%d, about %dx%d\n", program.mainWindow.width(),
                program.mainWindow.height(), program.tableWindow.width(), program.tableWindow.height(),
                program.plotWindow.width(), program.plotWindow.height(), program.phaseWindow.width(),
                program.phaseWindow.height(), program.aboutWindow.width(), program.aboutWindow.height());
    std::printf("table: %s\n", t.EditMes.text.c_str());
    return ok ? 0 : 1;
}
