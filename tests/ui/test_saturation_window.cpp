// The "Saturation Tables" window on the offscreen platform: a table by pressure made in
// the background, "Stop", copying the selection and the whole table, saving as TSV and
// CSV, and the plot of a column.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

#include "forms/main_form.h"
#include "ui/chart_view.h"
#include "ui/plot_window.h"
#include "ui/saturation_window.h"

using namespace kelvane;

class SaturationWindowTest : public QObject {
    Q_OBJECT

    template <typename T>
    T* Find(QWidget* w, const char* name) {
        T* child = w->findChild<T*>(name);
        if (!child) qFatal("no widget %s", name);
        return child;
    }

private slots:
    void tableByPressureCopyAndSave() {
        MainForm form;
        ui::SaturationWindow window(form);
        window.show();
        Find<QRadioButton>(&window, "RadioByP")->click();
        Find<QLineEdit>(&window, "EditSeries")->setText("0.1,0.4,3");
        Find<QPushButton>(&window, "ButtonSeries")->click();
        QCOMPARE(Find<QLineEdit>(&window, "EditValues")->text(), QString("0.1,0.5,0.9"));
        Find<QLineEdit>(&window, "EditValues")->setText("0.1,0.5,0.9,25");
        Find<QPushButton>(&window, "ButtonMake")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), 10000);
        auto* view = Find<QTableView>(&window, "TableView");
        QCOMPARE(view->model()->rowCount(), 4);
        QCOMPARE(Find<QProgressBar>(&window, "ProgressBar")->value(), 4);
        QCOMPARE(view->model()->columnCount(), 17);  // the default columns of water
        QVERIFY2(view->model()->index(0, 0).data().toString().startsWith("372.75"),
                 qPrintable(view->model()->index(0, 0).data().toString()));
        QCOMPARE(view->model()->index(0, 1).data().toString(), QString("0.1"));
        QCOMPARE(view->model()->index(3, 2).data().toString(), QString("over Pc"));

        view->clearSelection();
        // Copy with nothing selected: the whole table with names and units.
        QApplication::clipboard()->clear();
        Find<QPushButton>(&window, "ButtonCopy")->click();
        const QString all = window.CopyText();
        QCOMPARE(QApplication::clipboard()->text(), all);
        QVERIFY2(all.startsWith("T\tP\tRho_liq\t"), qPrintable(all.left(80)));
        QCOMPARE(all.count('\n'), 6);
        // Copy of a selection: those cells only.
        view->selectionModel()->select(QItemSelection(view->model()->index(1, 0), view->model()->index(2, 1)),
                                       QItemSelectionModel::Select);
        Find<QPushButton>(&window, "ButtonCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), window.CopyText());
        const QStringList lines = window.CopyText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1].split('\t').size(), 2);
        QCOMPARE(lines[1].split('\t')[1], QString("0.9"));
        // "Copy All" takes the whole table whatever is selected.
        Find<QPushButton>(&window, "ButtonCopyAll")->click();
        QCOMPARE(QApplication::clipboard()->text(), all);

        // Save as TSV and as CSV through the dialog hook.
        QTemporaryDir dir;
        const QString tsv = dir.filePath("sat.tsv"), csv = dir.filePath("sat.csv");
        window.askSaveName = [&](bool& asCsv) {
            asCsv = false;
            return tsv;
        };
        Find<QPushButton>(&window, "ButtonSave")->click();
        window.askSaveName = [&](bool& asCsv) {
            asCsv = true;
            return csv;
        };
        Find<QPushButton>(&window, "ButtonSave")->click();
        auto read = [](const QString& name) {
            std::ifstream in(name.toStdString());
            std::stringstream s;
            s << in.rdbuf();
            return QString::fromStdString(s.str());
        };
        QCOMPARE(read(tsv), all);
        const QString csvText = read(csv);
        QVERIFY(csvText.startsWith("T,P,Rho_liq,"));
        QCOMPARE(csvText.count('\n'), 6);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no temporary left

        // Plot of H_vap against P: three points, the row over Pc a gap.
        Find<QComboBox>(&window, "ComboPlotColumn")->setCurrentIndex(5);
        Find<QComboBox>(&window, "ComboPlotAgainst")->setCurrentIndex(1);
        Find<QPushButton>(&window, "ButtonPlot")->click();
        QVERIFY(window.Plot()->isVisible());
        const ChartData chart = SaturationPlot(window.Table(), SettingsOf(form), 5, true);
        QCOMPARE(chart.curves.size(), size_t(1));
        QCOMPARE(chart.curves[0].segments.size(), size_t(1));
        QCOMPARE(chart.curves[0].segments[0].size(), size_t(3));
        QCOMPARE(chart.curves[0].segments[0][2].x, 0.9);
        window.Plot()->close();
    }

    void chosenColumnsMakeTheTable() {
        MainForm form;
        ui::SaturationWindow window(form);
        window.show();
        auto* list = Find<QListWidget>(&window, "ListColumns");
        // Only T, P and the vapour's entropy, ticked out of the list's order.
        for (int i = 0; i < list->count(); ++i) {
            const QString name = list->item(i)->text();
            const bool on = name == "S_vap" || name == "T" || name == "P";
            list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
        Find<QLineEdit>(&window, "EditValues")->setText("300,400");
        Find<QPushButton>(&window, "ButtonMake")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), 10000);
        const QStringList lines = window.CopyText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QString("T\tP\tS_vap"));
        QCOMPARE(lines[2].split('\t').size(), 3);
        QCOMPARE(lines[2].split('\t')[0], QString("300"));
        // Nothing ticked: nothing to make, and the window says so.
        for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
        Find<QLabel>(&window, "LabelMessage")->clear();
        Find<QPushButton>(&window, "ButtonMake")->click();
        QVERIFY(!window.Running());
        QVERIFY(!Find<QLabel>(&window, "LabelMessage")->text().isEmpty());
        QCOMPARE(window.CopyText().split('\n', Qt::SkipEmptyParts).size(), 4);
    }

    void stopEndsALongTable() {
        MainForm form;
        ui::SaturationWindow window(form);
        window.show();
        Find<QLineEdit>(&window, "EditSeries")->setText("280,0.1,2000");
        Find<QPushButton>(&window, "ButtonSeries")->click();
        Find<QPushButton>(&window, "ButtonMake")->click();
        QVERIFY(window.Running());
        Find<QPushButton>(&window, "ButtonStop")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), 10000);
        const int rows = Find<QTableView>(&window, "TableView")->model()->rowCount();
        QVERIFY(rows < 2000);
        QVERIFY(Find<QPushButton>(&window, "ButtonMake")->isEnabled());
    }
};

QTEST_MAIN(SaturationWindowTest)
#include "test_saturation_window.moc"
