// Start-up of the desktop program.
#pragma once

#include <QApplication>

#include "forms/main_form.h"
#include "tables/table_form.h"
#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/phase_window.h"
#include "ui/plot_window.h"
#include "ui/saturation_window.h"
#include "ui/table_window.h"

namespace kelvane::ui {

// Reports an exception that escapes any event handler and lets the loop go on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The three windows over their forms, created in this order: main window, table
// window, About window; wired as the program runs them. The fluids must be
// registered before.
class Program {
public:
    // `dialogs` replaces the Qt file dialogs (tests); null uses them.
    explicit Program(TableFileDialogs* dialogs = nullptr);

    MainForm mainForm;
    QtTableDialogs qtDialogs;
    TableForm tableForm;
    MainWindow mainWindow;
    TableWindow tableWindow;
    AboutWindow aboutWindow;
    PlotWindow plotWindow;              // the chart of the last table
    PhaseWindow phaseWindow;            // the phase diagram of the selected fluid
    SaturationWindow saturationWindow;  // "Saturation Tables"
};

// Initialises the application, shows the main window and runs the event loop until
// the main window is closed.
int Run(int argc, char** argv);

}  // namespace kelvane::ui
