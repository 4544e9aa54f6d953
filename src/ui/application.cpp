#include "ui/application.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>

#include <exception>

#include "kelvane_version.h"
#include "ui/binding.h"

namespace kelvane::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportError(nullptr, QString::fromStdString(e.what()));
    }
    return false;
}

Program::Program(TableFileDialogs* dialogs)
    : tableForm(mainForm, dialogs ? *dialogs : static_cast<TableFileDialogs&>(qtDialogs)),
      mainWindow(mainForm),
      tableWindow(tableForm),
      aboutWindow({&mainWindow, &tableWindow}),
      phaseWindow(mainForm),
      saturationWindow(mainForm) {
    qtDialogs.SetParent(&tableWindow);

    mainForm.showTableWindow = [this] {
        tableWindow.show();
        tableWindow.raise();
        tableWindow.activateWindow();
    };
    mainForm.showAboutWindow = [this] {
        aboutWindow.show();
        aboutWindow.raise();
        aboutWindow.activateWindow();
    };
    mainForm.showPhaseWindow = [this] {
        phaseWindow.show();
        phaseWindow.raise();
        phaseWindow.activateWindow();
    };
    mainForm.showSaturationWindow = [this] {
        saturationWindow.show();
        saturationWindow.raise();
        saturationWindow.activateWindow();
    };
    mainForm.copyText = [](const std::string& text) { QGuiApplication::clipboard()->setText(ToQt(text)); };
    tableForm.showPlot = [this] {
        plotWindow.SetChart(tableForm.PlotChart());
        plotWindow.show();
        plotWindow.raise();
        plotWindow.activateWindow();
    };
    mainWindow.afterAction = [this] {
        tableWindow.Refresh();
        phaseWindow.Follow();
        saturationWindow.FollowMainWindow();
    };
    tableWindow.cellShown = [this] { mainWindow.Refresh(); };
    tableWindow.running = [this](bool on, bool processEvents) {
        // Without the calculation process shown the main window takes no input while
        // the table is made; it shows the last state point afterwards.
        if (on && !processEvents) mainWindow.setEnabled(false);
        if (!on) {
            mainWindow.setEnabled(!aboutWindow.isVisible());
            mainWindow.Refresh();
            phaseWindow.Follow();  // the state point of the table's last cell
            // An open plot shows the new table.
            if (plotWindow.isVisible() && tableForm.ButtonPlot.enabled) plotWindow.SetChart(tableForm.PlotChart());
        }
    };
    mainWindow.closed = [this] {
        tableForm.ButtonStopClick();
        aboutWindow.hide();
        tableWindow.hide();
        plotWindow.hide();
        phaseWindow.hide();
        saturationWindow.close();
        saturationWindow.Plot()->hide();
        QCoreApplication::quit();
    };
}

int Run(int argc, char** argv) {
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // the main window alone ends the program
    // The installed desktop entry and icon (share/applications, share/icons/hicolor) carry
    // this id; the window manager and the task bar find them through it.
    QGuiApplication::setDesktopFileName(QLatin1String(kAppId));
    app.setWindowIcon(QIcon::fromTheme(QLatin1String(kAppId)));
    Program program;
    program.mainWindow.show();
    return app.exec();
}

}  // namespace kelvane::ui
