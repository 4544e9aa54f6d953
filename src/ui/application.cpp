#include "ui/application.h"

#include <exception>

#include "fluids/registry.h"
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
      aboutWindow({&mainWindow, &tableWindow}) {
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
    mainWindow.afterAction = [this] { tableWindow.Refresh(); };
    tableWindow.cellShown = [this] { mainWindow.Refresh(); };
    tableWindow.running = [this](bool on, bool processEvents) {
        // Without the calculation process shown the main window takes no input while
        // the table is made; it shows the last state point afterwards.
        if (on && !processEvents) mainWindow.setEnabled(false);
        if (!on) {
            mainWindow.setEnabled(!aboutWindow.isVisible());
            mainWindow.Refresh();
        }
    };
    mainWindow.closed = [this] {
        tableForm.ButtonStopClick();
        aboutWindow.hide();
        tableWindow.hide();
        QCoreApplication::quit();
    };
}

int Run(int argc, char** argv) {
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // the main window alone ends the program
    RegisterAllFluids();
    Program program;
    program.mainWindow.show();
    return app.exec();
}

}  // namespace kelvane::ui
