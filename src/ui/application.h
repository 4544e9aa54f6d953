// Start-up of the desktop program.
#pragma once

#include <QApplication>

namespace kelvane::ui {

// Reports an exception that escapes any event handler and lets the loop go on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Creates the main window, then the table window, then the About window, and runs the
// event loop until the main window is closed.
int Run(int argc, char** argv);

}  // namespace kelvane::ui
