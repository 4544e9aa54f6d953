// The Qt windows on the offscreen platform for what a new user meets: the unit
// selectors of the transport properties and the new units, greyed results of a
// previous fluid, the conversion error naming its field, tooltips of missing
// properties, Tab passing the read-only fields, the About window's "Close" and Esc,
// and the table window's list tables, table view, "Copy" and Enter in a series field.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include <memory>

#include "forms/main_form.h"
#include "tables/table_writer.h"
#include "ui/application.h"
#include "ui/binding.h"

using namespace kelvane;

namespace {

// A save dialog that answers with a fixed name; the tables are kept in memory.
class MemoryDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& n) override {
        n = name;
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override { return std::make_unique<StringTableOutput>(); }
    std::string name = "t.txt";
};

}  // namespace

class NewUserTest : public QObject {
    Q_OBJECT

private:
    template <typename W>
    W* Find(QWidget* window, const char* name) {
        W* w = window->findChild<W*>(name);
        if (!w) qFatal("no widget %s", name);
        return w;
    }
    QLineEdit* MainEdit(const char* name) { return Find<QLineEdit>(&program->mainWindow, name); }
    void Type(QLineEdit* e, const QString& text) {
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void Click(QWidget* window, const char* name) {
        QTest::mouseClick(Find<QAbstractButton>(window, name), Qt::LeftButton);
    }
    void Choose(QWidget* window, const char* name, int index) {
        QComboBox* box = Find<QComboBox>(window, name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void CalculateWater() {
        Click(&program->mainWindow, "RadioGroupVar_0");
        Type(MainEdit("EditT"), "300");
        Type(MainEdit("EditP"), "10");
        Click(&program->mainWindow, "ButtonCalc");
    }

    std::unique_ptr<MemoryDialogs> dialogs;
    std::unique_ptr<ui::Program> program;
    QStringList errors;

private slots:
    void initTestCase() {
        ui::SetErrorReporter([this](QWidget*, const QString& m) { errors << m; });
    }
    void init() {
        errors.clear();
        dialogs = std::make_unique<MemoryDialogs>();
        program = std::make_unique<ui::Program>(dialogs.get());
        program->mainWindow.show();
    }
    void cleanup() {
        program.reset();
        dialogs.reset();
    }

    void newUnitsConvertTheShownValuesAndAreNamedInTheTooltips() {
        CalculateWater();
        const double visc = MainEdit("EditVisc")->text().toDouble();
        QVERIFY(visc > 8e-4 && visc < 9e-4);
        Choose(&program->mainWindow, "ComboBoxVisc", 1);
        QCOMPARE(MainEdit("EditVisc")->text().toDouble(), QString::number(visc * 1e6, 'g', 8).toDouble());
        QCOMPARE(program->mainForm.LabelVisc.text, std::string("uPa s"));
        Choose(&program->mainWindow, "ComboBoxTherc", 1);
        QCOMPARE(program->mainForm.LabelTherc.text, std::string("mW / (m K)"));
        Choose(&program->mainWindow, "ComboBoxT", 3);
        QCOMPARE(MainEdit("EditT")->text(), QStringLiteral("80.33"));
        Choose(&program->mainWindow, "ComboBoxP", 5);
        QCOMPARE(MainEdit("EditP")->text(), QStringLiteral("10000"));
        QCOMPARE(Find<QLabel>(&program->mainWindow, "LabelJT")->text(), QStringLiteral("K / kPa"));
        Choose(&program->mainWindow, "ComboBoxUnit", 3);
        QCOMPARE(Find<QLabel>(&program->mainWindow, "LabelH")->text(), QStringLiteral("kJ / mol"));

        QVERIFY(Find<QComboBox>(&program->mainWindow, "ComboBoxT")->toolTip().contains("deg F: degree Fahrenheit"));
        const QString p = Find<QComboBox>(&program->mainWindow, "ComboBoxP")->toolTip();
        QVERIFY(p.contains("kPa: kilopascal") && p.contains("psi: pound-force per square inch"));
        QVERIFY(Find<QComboBox>(&program->mainWindow, "ComboBoxUnit")->toolTip().contains("kJ/kg: per kilogram"));
        QVERIFY(Find<QComboBox>(&program->mainWindow, "ComboBoxVisc")->toolTip().contains("cP: centipoise"));
        QVERIFY(Find<QComboBox>(&program->mainWindow, "ComboBoxTherc")->toolTip().contains("milliwatt"));
    }

    void resultsOfThePreviousFluidAreGreyedWithANote() {
        CalculateWater();
        const QString cp = MainEdit("EditCp")->text();
        QVERIFY(MainEdit("EditCp")->isEnabled());
        Click(&program->mainWindow, "RadioGroupMatter_1");
        QCOMPARE(MainEdit("EditCp")->text(), cp);
        QVERIFY(!MainEdit("EditCp")->isEnabled());
        QVERIFY(!MainEdit("EditsatuP")->isEnabled());
        QVERIFY(MainEdit("EditT")->isEnabled());
        QVERIFY(MainEdit("EditMes")->text().contains("computed for Water"));
        Click(&program->mainWindow, "ButtonCalc");
        QVERIFY(MainEdit("EditCp")->isEnabled());
        QVERIFY(MainEdit("EditCp")->text() != cp);
        QVERIFY(!MainEdit("EditMes")->text().contains("computed for"));
        // Methanol has no dielectric constant: its field says so.
        QCOMPARE(MainEdit("EditEps")->toolTip(), QStringLiteral("not available for methanol"));
        QCOMPARE(MainEdit("EditCp")->toolTip(), QString());
    }

    void theErrorReportNamesTheField() {
        Type(MainEdit("EditT"), "abc");
        Click(&program->mainWindow, "ButtonCalc");
        QCOMPARE(errors, QStringList{QStringLiteral("T: \"abc\" is not a valid number.")});
    }

    void tabPassesTheReadOnlyFieldsBy() {
        QLineEdit* cp = MainEdit("EditCp");
        QCOMPARE(cp->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(MainEdit("EditT")->focusPolicy(), Qt::StrongFocus);
        // The pressure field becomes editable with its selector, and takes Tab then.
        QCOMPARE(MainEdit("EditP")->focusPolicy(), Qt::ClickFocus);
        Click(&program->mainWindow, "RadioGroupVar_0");
        QCOMPARE(MainEdit("EditP")->focusPolicy(), Qt::StrongFocus);
        // Every widget Tab stops at, round the window's focus chain once.
        int stops = 0;
        QWidget* start = MainEdit("EditT");
        QWidget* w = start;
        do {
            w = w->nextInFocusChain();
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(&program->mainWindow) || !w->isEnabled())
                continue;
            ++stops;
            if (auto* edit = qobject_cast<QLineEdit*>(w)) QVERIFY2(!edit->isReadOnly(), qPrintable(edit->objectName()));
        } while (w != start && stops < 200);
        QVERIFY(stops > 10);
        QVERIFY(stops < 40);  // the 24 read-only fields are not among them
    }

    void aboutWindowClosesWithItsButtonAndEsc() {
        Click(&program->mainWindow, "ButtonAbout");
        QVERIFY(program->aboutWindow.isVisible());
        QVERIFY(!program->mainWindow.isEnabled());
        Click(&program->aboutWindow, "ButtonClose");
        QVERIFY(!program->aboutWindow.isVisible());
        QVERIFY(program->mainWindow.isEnabled());
        Click(&program->mainWindow, "ButtonAbout");
        QTest::keyClick(&program->aboutWindow, Qt::Key_Escape);
        QVERIFY(!program->aboutWindow.isVisible());
        QVERIFY(program->mainWindow.isEnabled());
    }

    void listTableInTheViewAndCopied() {
        QWidget* t = &program->tableWindow;
        program->tableWindow.show();
        QCOMPARE(Find<QRadioButton>(t, "RadioGroupTableType_2")->text(), QStringLiteral("TYPE III"));
        Click(t, "RadioGroupTableType_2");
        auto* list = Find<QListWidget>(t, "ListQ");
        QVERIFY(list->isEnabled());
        QCOMPARE(list->count(), 26);
        list->item(25)->setCheckState(Qt::Checked);  // entropy
        list->item(11)->setCheckState(Qt::Checked);  // Cp
        QCOMPARE(program->tableForm.ListQ.Chosen(), (std::vector<int>{25, 11}));
        // Enter in the series field makes its list.
        QLineEdit* series = Find<QLineEdit>(t, "EditRs");
        Type(series, "300,25,4");
        QTest::keyClick(series, Qt::Key_Return);
        QCOMPARE(Find<QLineEdit>(t, "EditR")->text(), QStringLiteral("300,325,350,375"));
        Type(Find<QLineEdit>(t, "EditC"), "0.1,1");
        Find<QCheckBox>(t, "CheckProcess")->setChecked(false);
        program->tableForm.CheckProcess.checked = false;
        Click(t, "ButtonMake");
        // 8 points of entropy and Cp, all numbers.
        QCOMPARE(Find<QLineEdit>(t, "EditMes")->text(),
                 QString::fromLatin1(kTableDone) + "\n0 of 16 cells hold a message or are empty.");

        auto* view = Find<QTableView>(t, "TableView");
        QCOMPARE(view->model()->rowCount(), 8);
        QCOMPARE(view->model()->columnCount(), 5);
        QCOMPARE(view->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Entropy: S (J / (mol K))"));
        QCOMPARE(view->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Message"));
        QCOMPARE(view->model()->data(view->model()->index(7, 0)).toString(), QStringLiteral("375"));
        QCOMPARE(view->model()->data(view->model()->index(7, 1)).toString(), QStringLiteral("1"));
        QVERIFY(Find<QLabel>(t, "LabelView")->text().contains("List of properties of Water"));

        // "Copy" with a selection copies the selected cells as tab-separated text.
        view->selectionModel()->select(QItemSelection(view->model()->index(0, 0), view->model()->index(1, 1)),
                                       QItemSelectionModel::Select);
        Click(t, "ButtonCopyTable");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("300\t0.1\n325\t0.1\n"));
        view->clearSelection();
        Click(t, "ButtonCopyTable");
        const QString all = QGuiApplication::clipboard()->text();
        QVERIFY(all.startsWith("List of properties of Water\nT (K)\tP (MPa)\tEntropy: S"));
        QCOMPARE(all.count('\n'), 10);
    }

    void matrixTablesAreShownToo() {
        QWidget* t = &program->tableWindow;
        program->tableWindow.show();
        Type(Find<QLineEdit>(t, "EditR"), "300,400");
        Type(Find<QLineEdit>(t, "EditC"), "1,2,3");
        Choose(t, "ComboBoxQ", 11);
        program->tableForm.CheckProcess.checked = false;
        Click(t, "ButtonMake");
        auto* view = Find<QTableView>(t, "TableView");
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(view->model()->columnCount(), 4);
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("T (K) / P (MPa)"));
        QCOMPARE(view->model()->data(view->model()->index(1, 0)).toString(), QStringLiteral("400"));
        QVERIFY(Find<QPushButton>(t, "ButtonPlot")->isEnabled());
    }
};

QTEST_MAIN(NewUserTest)
#include "test_new_user.moc"
