#include "ui/application.h"

#include <exception>

#include "core/main_form.h"
#include "fluids/registry.h"
#include "tables/table_form.h"
#include "ui/about_window.h"
#include "ui/binding.h"
#include "ui/main_window.h"
#include "ui/table_window.h"

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

int Run(int argc, char** argv) {
    Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);  // the main window alone ends the program
    RegisterAllFluids();

    MainForm mainForm;
    QtTableDialogs dialogs;
    TableForm tableForm(mainForm, dialogs);

    MainWindow mainWindow(mainForm);
    TableWindow tableWindow(tableForm);
    AboutWindow aboutWindow({&mainWindow, &tableWindow});
    dialogs.SetParent(&tableWindow);

    mainForm.showTableWindow = [&] {
        tableWindow.show();
        tableWindow.raise();
        tableWindow.activateWindow();
    };
    mainForm.showAboutWindow = [&] {
        aboutWindow.show();
        aboutWindow.raise();
        aboutWindow.activateWindow();
    };
    mainWindow.afterAction = [&] { tableWindow.Refresh(); };
    tableWindow.cellShown = [&] { mainWindow.Refresh(); };
    tableWindow.running = [&](bool on, bool processEvents) {
        // Without the calculation process shown the main window takes no input while
        // the table is made; it shows the last state point afterwards.
        if (on && !processEvents) mainWindow.setEnabled(false);
        if (!on) {
            mainWindow.setEnabled(!aboutWindow.isVisible());
            mainWindow.Refresh();
        }
    };
    mainWindow.closed = [&] {
        tableForm.ButtonStopClick();
        aboutWindow.hide();
        tableWindow.hide();
        QCoreApplication::quit();
    };

    mainWindow.show();
    return app.exec();
}

}  // namespace kelvane::ui
