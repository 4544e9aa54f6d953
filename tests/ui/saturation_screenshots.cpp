// Renders the "Saturation Tables" window and a plot of one of its columns into
// docs/screenshots (offscreen platform): saturation_window.png, saturation_plot.png.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "forms/main_form.h"
#include "ui/plot_window.h"
#include "ui/saturation_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : "docs/screenshots";
    QDir().mkpath(folder);
    kelvane::MainForm form;
    kelvane::ui::SaturationWindow window(form);
    window.resize(1100, 600);
    window.show();
    window.findChild<QRadioButton*>("RadioByP")->click();
    window.findChild<QLineEdit*>("EditSeries")->setText("0.1,0.5,12");
    window.findChild<QPushButton*>("ButtonSeries")->click();
    window.Make();
    while (window.Running()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    window.grab().save(folder + "/saturation_window.png");
    window.findChild<QComboBox*>("ComboPlotColumn")->setCurrentIndex(6);  // dH
    window.findChild<QComboBox*>("ComboPlotAgainst")->setCurrentIndex(1);
    window.findChild<QPushButton*>("ButtonPlot")->click();
    window.Plot()->resize(800, 500);
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    window.Plot()->grab().save(folder + "/saturation_plot.png");
    return 0;
}
