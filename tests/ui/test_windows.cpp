// The Qt windows on the offscreen platform, driven through their widgets: the result
// fields against the headless form, the input selector's flags and colours, the error
// report, the About window's blocking, and tables made through the table window.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "kelvane_version.h"
#include "tables/table_writer.h"
#include "ui/about_text.h"
#include "ui/application.h"
#include "ui/binding.h"
#include "ui/chart_view.h"
#include "ui/verification_window.h"

using namespace kelvane;

namespace {

// A save dialog that answers with a fixed name (or cancels when it is empty).
class ScriptedDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        ++asked;
        if (answer.empty()) return false;
        name = answer;
        return true;
    }
    bool OpenFileName(std::string& name) override {
        name = openAnswer;
        return !name.empty();
    }
    std::string answer, openAnswer;
    int asked = 0;
};

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

class WindowsTest : public QObject {
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
        emit box->activated(index);  // as the user's choice does
    }

    // The next widget that Tab reaches from w.
    static QWidget* NextTab(QWidget* w) {
        for (QWidget* n = w->nextInFocusChain(); n && n != w; n = n->nextInFocusChain())
            if ((n->focusPolicy() & Qt::TabFocus) && n->isEnabled() && n->isVisible()) return n;
        return nullptr;
    }
    // A table long enough that the window catches up (every 30 ms) while it runs:
    // 2048 temperatures of liquid water by ten pressures.
    // 2048 temperatures by 100 pressures: long enough that the table window catches up
    // (every 30 ms) well before the last cell, however fast the machine.
    void LongTable(QWidget* t) {
        Type(Find<QLineEdit>(t, "EditRs"), "300,0.1,2048");
        Click(t, "ButtonRs");
        Type(Find<QLineEdit>(t, "EditCs"), "1,1,100");
        Click(t, "ButtonCs");
    }
    void CalculateWater300K10MPa() {
        Click(&program->mainWindow, "RadioGroupVar_0");
        Type(MainEdit("EditT"), "300");
        Type(MainEdit("EditP"), "10");
        Click(&program->mainWindow, "ButtonCalc");
    }
    const ChartCurve* PhaseCurve(const char* name) {
        for (const ChartCurve& c : program->phaseWindow.Chart()->Data().curves)
            if (c.name == name) return &c;
        return nullptr;
    }

    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<ui::Program> program;
    QStringList errors;
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        ui::SetErrorReporter([this](QWidget*, const QString& m) { errors << m; });
        QVERIFY(dir.isValid());
    }
    void init() {
        errors.clear();
        dialogs = std::make_unique<ScriptedDialogs>();
        program = std::make_unique<ui::Program>(dialogs.get());
        program->mainWindow.show();
    }
    void cleanup() {
        program.reset();
        dialogs.reset();
    }

    void calculateFillsTheFieldsAsTheHeadlessForm() {
        Click(&program->mainWindow, "RadioGroupVar_0");
        Type(MainEdit("EditT"), "300");
        Type(MainEdit("EditP"), "10");
        Click(&program->mainWindow, "ButtonCalc");

        MainForm expected;
        expected.RadioGroupVar.index = 0;
        expected.RadioGroupVarClick();
        expected.EditT.text = "300";
        expected.EditP.text = "10";
        expected.ButtonCalcClick();
        QVERIFY(!expected.EditCp.text.empty());  // water computes this state
        for (const std::string& name : MainForm::OutputFieldNames()) {
            QCOMPARE(MainEdit(name.c_str())->text(), ui::ToQt(expected.FieldByName(name)->text));
        }

        // Enter in an input field runs the calculation as well.
        Type(MainEdit("EditT"), "350");
        QTest::keyClick(MainEdit("EditT"), Qt::Key_Return);
        expected.EditT.text = "350";
        expected.ButtonCalcClick();
        QCOMPARE(MainEdit("EditCp")->text(), ui::ToQt(expected.EditCp.text));
        QCOMPARE(MainEdit("EditRho")->text(), ui::ToQt(expected.EditRho.text));
        QVERIFY(errors.isEmpty());
    }

    void pressureWithEnthalpyOrEntropyFindsTheTemperature() {
        QWidget* w = &program->mainWindow;
        // The existing selector keeps its items; the pair selector follows the inputs.
        QCOMPARE(Find<QRadioButton>(w, "RadioGroupVar_0")->text(), QString("P ="));
        QCOMPARE(Find<QRadioButton>(w, "RadioGroupVar_1")->text(), QString("rho="));
        QCOMPARE(Find<QRadioButton>(w, "RadioGroupPair_1")->text(), QString("P with h"));
        QVERIFY(MainEdit("Edith")->isReadOnly());
        Click(w, "RadioGroupPair_1");
        QVERIFY(MainEdit("EditT")->isReadOnly());
        QVERIFY(!MainEdit("EditP")->isReadOnly());
        QVERIFY(!MainEdit("Edith")->isReadOnly());
        QVERIFY(MainEdit("Edits")->isReadOnly());
        QVERIFY(!Find<QWidget>(w, "RadioGroupVar_0")->isEnabled());
        QVERIFY(!Find<QWidget>(w, "RadioGroupVar_1")->isEnabled());
        // Wet steam at 1 MPa, per kg: T is the saturation temperature, x shown.
        Choose(w, "ComboBoxUnit", 1);
        QCOMPARE(Find<QLabel>(w, "Labelhunit")->text(), QString("J / kg"));
        Type(MainEdit("EditP"), "1");
        Type(MainEdit("Edith"), "2000000");
        QTest::keyClick(MainEdit("Edith"), Qt::Key_Return);
        QVERIFY(errors.isEmpty());
        MainForm expected;
        expected.ComboBoxUnit.Select(1);
        expected.ComboBoxUnitChange();
        expected.RadioGroupPair.index = 1;
        expected.RadioGroupPairClick();
        expected.EditP.text = "1";
        expected.Edith.text = "2000000";
        expected.ButtonCalcClick();
        QVERIFY(!expected.Editx.text.empty());
        for (const std::string& name : MainForm::OutputFieldNames())
            QCOMPARE(MainEdit(name.c_str())->text(), ui::ToQt(expected.FieldByName(name)->text));
        QVERIFY(std::abs(ParseStrict(ui::FromQt(MainEdit("EditT")->text())) - 453.03) < 0.01);
        // The amount unit converts the given enthalpy: per mol.
        Choose(w, "ComboBoxUnit", 0);
        QCOMPARE(MainEdit("Edith")->text().toStdString(), FormatDisplay(2000000 * 18.015257e-3));
        // Entropy: a region-1 state of IF97 (0.5 kJ/(kg K) at 3 MPa, 307.84 K).
        Click(w, "RadioGroupPair_2");
        Choose(w, "ComboBoxUnit", 1);
        Type(MainEdit("EditP"), "3");
        Type(MainEdit("Edits"), "500");
        Click(w, "ButtonCalc");
        QVERIFY(std::abs(ParseStrict(ui::FromQt(MainEdit("EditT")->text())) - 307.842258) < 0.025);
        QVERIFY(MainEdit("Editx")->text().isEmpty());
        // Back to T with P: the existing behaviour.
        Click(w, "RadioGroupPair_0");
        QVERIFY(Find<QWidget>(w, "RadioGroupVar_0")->isEnabled());
        QVERIFY(!MainEdit("EditT")->isReadOnly());
        Choose(w, "ComboBoxUnit", 0);
        CalculateWater300K10MPa();
        QCOMPARE(MainEdit("EditT")->text(), QString("300"));
        QVERIFY(!MainEdit("EditCp")->text().isEmpty());
        QVERIFY(MainEdit("EditRho")->isReadOnly());
        QVERIFY(errors.isEmpty());
    }

    void inputSelectorSwapsReadOnlyAndColours() {
        const QColor window = QApplication::palette().color(QPalette::Base);
        const QColor face = QApplication::palette().color(QPalette::Button);
        QVERIFY(window != face);
        QLineEdit* p = MainEdit("EditP");
        QLineEdit* rho = MainEdit("EditRho");
        Click(&program->mainWindow, "RadioGroupVar_0");
        QVERIFY(!p->isReadOnly());
        QVERIFY(rho->isReadOnly());
        QCOMPARE(p->palette().color(QPalette::Base), window);
        QCOMPARE(rho->palette().color(QPalette::Base), face);
        QCOMPARE(p->text(), QString("22.064"));  // the texts stay
        Click(&program->mainWindow, "RadioGroupVar_1");
        QVERIFY(p->isReadOnly());
        QVERIFY(!rho->isReadOnly());
        QCOMPARE(p->palette().color(QPalette::Base), face);
        QCOMPARE(rho->palette().color(QPalette::Base), window);
    }

    void unitSelectorAndDensitySwitchReachTheWidgets() {
        Click(&program->mainWindow, "RadioGroupVar_0");
        Choose(&program->mainWindow, "ComboBoxP", 2);  // bar
        QCOMPARE(MainEdit("EditP")->text(), QString("220.64"));
        QCOMPARE(Find<QLabel>(&program->mainWindow, "LabelJT")->text(), QString("K / bar"));
        Click(&program->mainWindow, "ButtonXRhoV");
        QCOMPARE(Find<QRadioButton>(&program->mainWindow, "RadioGroupVar_1")->text(), QString("V="));
        QCOMPARE(Find<QComboBox>(&program->mainWindow, "ComboBoxRho")->currentText(), QString("m3 / kg"));
        // The table window follows the mode.
        QCOMPARE(Find<QComboBox>(&program->tableWindow, "ComboBoxR")->itemText(2), QString("V"));
        QCOMPARE(Find<QComboBox>(&program->tableWindow, "ComboBoxQ")->itemText(1), QString("Specific Volume: V"));
    }

    void errorsAreReportedAndTheWindowGoesOn() {
        Type(MainEdit("EditT"), "abc");
        Click(&program->mainWindow, "ButtonCalc");
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("abc"));
        QCOMPARE(MainEdit("EditCp")->text(), QString());
        Type(MainEdit("EditT"), "647.096");
        Click(&program->mainWindow, "ButtonCalc");
        QCOMPARE(errors.size(), 1);
        QVERIFY(!MainEdit("EditP")->text().isEmpty());  // computed from the density
    }

    void aboutWindowBlocksTheOtherTwo() {
        Click(&program->mainWindow, "Button1");
        QVERIFY(program->tableWindow.isVisible());
        Click(&program->mainWindow, "ButtonAbout");
        QVERIFY(program->aboutWindow.isVisible());
        QCOMPARE(program->aboutWindow.windowTitle(), QString("Kelvane references"));
        QVERIFY(!program->mainWindow.isEnabled());
        QVERIFY(!program->tableWindow.isEnabled());
        // Input to a blocked window does nothing.
        Type(MainEdit("EditT"), "1");
        QCOMPARE(MainEdit("EditT")->text(), QString("647.096"));
        const QStringList lines = Find<QPlainTextEdit>(&program->aboutWindow, "Memo1")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 50);
        QCOMPARE(lines[34] + lines[35], QString("V. Vesovic, W. A. Wakeham, G. A. Olchowy, J. V. Sengers, "
                                                "J. T. R. Watson and J. Millat"));
        QCOMPARE(lines[37], QString("J. Phys. Chem. Ref. Data 19, pp. 763-808 (1990)"));
        // The methanol transport correlations follow the first 38 lines.
        QCOMPARE(lines[38], QString());
        QCOMPARE(lines[39], QString("[METHANOL]"));
        QCOMPARE(lines[40], QString("<Viscosity>"));
        QCOMPARE(lines[42], QString("\"A New Reference Correlation for the Viscosity of Methanol\""));
        QCOMPARE(lines[45], QString("<Thermal Conductivity>"));
        QCOMPARE(lines[47] + lines[48], QString("\"Reference Correlation of the Thermal Conductivity of Methanol "
                                                "from the Triple Point to 660 K and up to 245 MPa\""));
        QCOMPARE(lines[49], QString("J. Phys. Chem. Ref. Data 42, 043101 (2013)"));

        program->aboutWindow.close();
        QVERIFY(!program->aboutWindow.isVisible());
        QVERIFY(program->mainWindow.isEnabled());
        QVERIFY(program->tableWindow.isEnabled());
    }

    // "Verification" in the About window: every check in the grid, the filter by fluid,
    // and the shown rows copied and saved as tab-separated text.
    void verificationWindowFromAbout() {
        Click(&program->mainWindow, "ButtonAbout");
        QVERIFY(program->aboutWindow.Verification() == nullptr);
        QAbstractButton* button = Find<QAbstractButton>(&program->aboutWindow, "ButtonVerification");
        QCOMPARE(button->text(), QString("Verification"));
        Click(&program->aboutWindow, "ButtonVerification");
        ui::VerificationWindow* v = program->aboutWindow.Verification();
        QVERIFY(v && v->isVisible());
        QCOMPARE(v->windowTitle(), QString("Verification"));
        // The report leaves the main window's calculation as it was.
        QCOMPARE(program->mainForm.RadioGroupMatter.index, 0);

        QTableWidget* grid = Find<QTableWidget>(v, "GridChecks");
        const std::vector<verify::CheckResult> all = verify::RunVerification();
        QCOMPARE(grid->rowCount(), static_cast<int>(all.size()));
        QCOMPARE(grid->columnCount(), 10);
        QCOMPARE(grid->horizontalHeaderItem(4)->text(), QString("Published"));
        QCOMPARE(grid->item(0, 0)->text(), QString("IF97 region 1"));
        QCOMPARE(grid->item(0, 8)->text(), QString("pass"));
        QCOMPARE(Find<QLabel>(v, "LabelSummary")->text(), QString("%1 checks, 0 failed").arg(all.size()));

        Choose(v, "ComboBoxFluid", 2);  // methanol
        const int methanol = grid->rowCount();
        QVERIFY(methanol > 40 && methanol < static_cast<int>(all.size()) / 4);
        for (int row = 0; row < methanol; ++row) {
            const QString f = grid->item(row, 0)->text();
            QVERIFY2(f == "Methanol (de Reuck-Craven)" || f == "Methanol viscosity (Xiang)" ||
                         f == "Methanol conductivity (Sykioti)" || f == "Consistency (methanol)",
                     qPrintable(f));
        }
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        Click(v, "ButtonCopy");
        const QStringList lines = clipboard->text().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), methanol + 1);
        QCOMPARE(lines[0],
                 QString("Formulation\tSource\tState\tQuantity\tPublished\tComputed\tDigits\tTolerance\tResult\tNote"));
        QCOMPARE(lines[1].split('\t')[2], grid->item(0, 2)->text());

        const QString name = dir.filePath("verification.txt");
        v->askSaveName = [&](QWidget*) { return name; };
        Click(v, "ButtonSave");
        QCOMPARE(QString::fromStdString(ReadAll(name.toStdString())), clipboard->text());
        // A file that cannot be written is reported, not passed over.
        QStringList reported;
        v->reportError = [&](QWidget*, const QString& m) { reported << m; };
        v->askSaveName = [&](QWidget*) { return dir.filePath("no/such/folder/v.txt"); };
        Click(v, "ButtonSave");
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported[0].startsWith("Cannot write"));
        v->askSaveName = [](QWidget*) { return QString(); };  // cancelled: nothing written, nothing said
        Click(v, "ButtonSave");
        QCOMPARE(reported.size(), 1);

        Choose(v, "ComboBoxFluid", 0);
        QCOMPARE(grid->rowCount(), static_cast<int>(all.size()));
        program->aboutWindow.close();
        QVERIFY(program->mainWindow.isEnabled());
    }

    void aboutWindowShowsTheBuildVersionAfterTheReferences() {
        Click(&program->mainWindow, "ButtonAbout");
        QWidget* about = &program->aboutWindow;
        QCOMPARE(Find<QLabel>(about, "Label1")->text(), QString("Kelvane Ver. 0.2w"));
        QCOMPARE(program->mainWindow.windowTitle(), QString("Kelvane 0.2w / Equations of State for H2O, MeOH, CO2"));
        QLabel* version = Find<QLabel>(about, "LabelVersion");
        QCOMPARE(version->text(), QString("Version ") + QString(kVersion));
        QVERIFY(version->isVisible());
        // Below the reference list: the label comes after the memo in the layout.
        QLayout* layout = about->layout();
        const int memo = layout->indexOf(Find<QPlainTextEdit>(about, "Memo1"));
        QVERIFY(memo >= 0);
        QCOMPARE(layout->indexOf(version), memo + 1);
        // Then the "Verification" button, and last the row of "Close".
        QCOMPARE(layout->indexOf(Find<QAbstractButton>(about, "ButtonVerification")), memo + 2);
        QCOMPARE(layout->count(), memo + 4);
        program->aboutWindow.close();
    }

    void typeTwoTableThroughTheWindow() {
        const std::string pairs = dir.filePath("pairs.txt").toStdString();
        std::ofstream(pairs) << "T (K)\tP (MPa)\n300\t10\n350\t5\n";
        dialogs->answer = dir.filePath("table2.txt").toStdString();
        dialogs->openAnswer = pairs;

        Click(&program->mainWindow, "Button1");
        QWidget* t = &program->tableWindow;
        Click(t, "RadioGroupTableType_1");
        QCOMPARE(Find<QLabel>(t, "LabelR")->text(), QString("1st COLUMN"));
        QVERIFY(Find<QLineEdit>(t, "Editopen")->isEnabled());
        QVERIFY(!Find<QLineEdit>(t, "EditR")->isEnabled());
        Click(t, "ButtonRef");
        QCOMPARE(Find<QLineEdit>(t, "Editopen")->text(), ui::ToQt(pairs));
        Choose(t, "ComboBoxQ", 11);
        Click(t, "ButtonMake");

        QCOMPARE(Find<QLineEdit>(t, "EditMes")->text(),
                 QString("The table has been made successfully.\n0 of 2 cells hold a message or are empty."));
        QCOMPARE(dialogs->asked, 1);
        QCOMPARE(Find<QProgressBar>(t, "ProgressTable")->value(), 2);
        QCOMPARE(Find<QProgressBar>(t, "ProgressTable")->maximum(), 2);
        const std::string written = ReadAll(dialogs->answer);

        MainForm headless;
        TableSettings s;
        s.type = 1;
        s.property = 11;
        s.columnsFile = pairs;
        StringTableOutput expected;
        QCOMPARE(static_cast<int>(MakeTable(headless, s, expected).status),
                 static_cast<int>(TableResult::Status::Written));
        QCOMPARE(ui::ToQt(written), ui::ToQt(expected.Text()));
        QVERIFY(ui::ToQt(written).contains("\nT (K)\tP (MPa)\tIsobaric Specific Heat: Cp (J / (mol K))\n300\t10\t"));
        // The main window shows the last pair.
        QCOMPARE(MainEdit("EditT")->text(), QString("350"));
        QCOMPARE(MainEdit("EditCp")->text(), ui::ToQt(headless.EditCp.text));
    }

    void closingTheTableWindowStopsARunningTable() {
        dialogs->answer = dir.filePath("stopped.txt").toStdString();
        QWidget* t = &program->tableWindow;
        program->mainForm.showTableWindow();
        LongTable(t);
        Choose(t, "ComboBoxQ", 11);
        int running = 0;
        QTimer::singleShot(0, t, [&] {
            // In the middle of the table: a second click must not start another one,
            // and closing the window ends the table cleanly.
            running = program->tableForm.Busy() ? 1 : -1;
            QVERIFY(!Find<QPushButton>(t, "ButtonMake")->isEnabled());
            QVERIFY(Find<QPushButton>(t, "ButtonStop")->isEnabled());
            program->tableForm.ButtonMakeClick();
            t->close();
        });
        Click(t, "ButtonMake");
        QCOMPARE(running, 1);
        QCOMPARE(dialogs->asked, 1);
        QVERIFY(!program->tableForm.Busy());
        QVERIFY(Find<QPushButton>(t, "ButtonMake")->isEnabled());
        const QString mes = Find<QLineEdit>(t, "EditMes")->text();
        QVERIFY2(mes.startsWith("The table was stopped after"), qPrintable(mes));
        const std::string written = ReadAll(dialogs->answer);
        const int rows = static_cast<int>(std::count(written.begin(), written.end(), '\n')) - 1;
        QVERIFY(rows >= 0 && rows < 2048);
        QVERIFY(mes.contains(QString("after %1 of 2048 rows").arg(rows)));
    }

    void plotButtonOnlyAfterASuccessfulTable() {
        dialogs->answer = dir.filePath("plotted.txt").toStdString();
        QWidget* t = &program->tableWindow;
        program->mainForm.showTableWindow();
        QPushButton* plot = Find<QPushButton>(t, "ButtonPlot");
        QVERIFY(!plot->isEnabled());
        Type(Find<QLineEdit>(t, "EditR"), "300,350,400");
        Type(Find<QLineEdit>(t, "EditC"), "1,10");
        Click(t, "ButtonMake");  // no property chosen
        QVERIFY(!plot->isEnabled());
        Choose(t, "ComboBoxQ", 11);
        Click(t, "ButtonMake");
        QVERIFY(plot->isEnabled());
        Click(t, "ButtonPlot");
        QVERIFY(program->plotWindow.isVisible());
        ui::ChartWidget* chart = program->plotWindow.Chart();
        QCOMPARE(chart->Data().curves.size(), size_t(2));
        QCOMPARE(ui::ToQt(chart->Data().curves[1].name), QString("P = 10 MPa"));
        QCOMPARE(chart->View()->chart()->series().size(), 2);
        auto* series = qobject_cast<QXYSeries*>(chart->View()->chart()->series()[1]);
        QVERIFY(series);
        QCOMPARE(series->count(), 3);

        // PNG and SVG.
        QString error;
        QVERIFY(chart->Save(dir.filePath("plot.png"), error));
        QVERIFY(chart->Save(dir.filePath("plot.svg"), error));
        QVERIFY(!QImage(dir.filePath("plot.png")).isNull());
        QVERIFY(ReadAll(dir.filePath("plot.svg").toStdString()).find("<svg") != std::string::npos);
        QVERIFY(!chart->Save(dir.filePath("missing/plot.png"), error));
        QVERIFY(error.contains("missing"));

        // The open plot follows the next table.
        Type(Find<QLineEdit>(t, "EditC"), "1,10,20");
        Click(t, "ButtonMake");
        QCOMPARE(chart->Data().curves.size(), size_t(3));
    }

    void phaseDiagramFollowsCalculateAndFluid() {
        Click(&program->mainWindow, "ButtonPhase");
        QVERIFY(program->phaseWindow.isVisible());
        QCOMPARE(ui::ToQt(program->phaseWindow.Chart()->Data().title), QString("Phase diagram of Water"));
        QVERIFY(PhaseCurve("Saturation curve"));
        QVERIFY(!PhaseCurve("State point"));

        CalculateWater300K10MPa();
        const ChartCurve* state = PhaseCurve("State point");
        QVERIFY(state);
        QCOMPARE(state->segments[0][0].x, 300.0);
        QCOMPARE(state->segments[0][0].y, 10.0);
        QChart* chart = program->phaseWindow.Chart()->View()->chart();
        QCOMPARE(chart->series().size(), 3);  // saturation, critical point, state point

        Find<QRadioButton>(&program->mainWindow, "RadioGroupMatter_2")->click();
        QCOMPARE(ui::ToQt(program->phaseWindow.Chart()->Data().title), QString("Phase diagram of CO2"));
        QVERIFY(!PhaseCurve("State point"));
        QVERIFY(PhaseCurve("Melting curve"));
        QVERIFY(PhaseCurve("Sublimation curve"));
        chart = program->phaseWindow.Chart()->View()->chart();
        QCOMPARE(chart->series().size(), 4);
    }

    void copyButtonAndCopyKey() {
        CalculateWater300K10MPa();
        const QString expected = ui::ToQt(program->mainForm.ClipboardText());
        QVERIFY(expected.contains("Isobaric Spec. Heat Cp\t"));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        Click(&program->mainWindow, "ButtonCopy");
        QCOMPARE(clipboard->text(), expected);

        // Ctrl+C in a result field: the results without a selection, the selection
        // otherwise.
        QLineEdit* cp = MainEdit("EditCp");
        QVERIFY(cp->isReadOnly());
        clipboard->clear();
        cp->deselect();
        QTest::keyClick(cp, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), expected);
        cp->selectAll();
        QCOMPARE(cp->selectedText(), cp->text());
        QTest::keyClick(cp, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), cp->text());
    }

    void tabOrderTooltipsAndSize() {
        QWidget* m = &program->mainWindow;
        QCOMPARE(NextTab(MainEdit("EditT")), Find<QWidget>(m, "ComboBoxT"));
        QCOMPARE(NextTab(MainEdit("EditP")), Find<QWidget>(m, "ComboBoxP"));
        QCOMPARE(NextTab(Find<QWidget>(m, "ComboBoxP")), static_cast<QWidget*>(MainEdit("EditRho")));
        QCOMPARE(NextTab(Find<QWidget>(m, "ComboBoxRho")), Find<QWidget>(m, "ComboBoxUnit"));
        QCOMPARE(NextTab(MainEdit("Editnlambda")), Find<QWidget>(m, "ButtonCalc"));

        QVERIFY(Find<QComboBox>(m, "ComboBoxT")->toolTip().contains("degree Celsius"));
        QVERIFY(Find<QComboBox>(m, "ComboBoxP")->toolTip().contains("standard atmosphere"));
        QVERIFY(Find<QComboBox>(m, "ComboBoxRho")->toolTip().contains("kilogram per cubic metre"));
        Click(m, "ButtonXRhoV");
        QVERIFY(Find<QComboBox>(m, "ComboBoxRho")->toolTip().contains("cubic metre per kilogram"));

        // Fits a 1280 x 800 screen.
        QVERIFY(m->frameGeometry().width() <= 1280);
        QVERIFY(m->frameGeometry().height() <= 800);
    }

    void closingTheMainWindowDuringATableEndsIt() {
        dialogs->answer = dir.filePath("quit.txt").toStdString();
        QWidget* t = &program->tableWindow;
        program->mainForm.showTableWindow();
        LongTable(t);
        Choose(t, "ComboBoxQ", 7);
        QTimer::singleShot(0, &program->mainWindow, [&] { program->mainWindow.close(); });
        Click(t, "ButtonMake");
        QVERIFY(!program->tableWindow.isVisible());
        QVERIFY(Find<QLineEdit>(t, "EditMes")->text().startsWith("The table was stopped after"));
    }

    void saturationTablesButtonOpensTheWindowForTheSelectedFluid() {
        QVERIFY(!program->saturationWindow.isVisible());
        Find<QRadioButton>(&program->mainWindow, "RadioGroupMatter_1")->click();  // methanol
        Click(&program->mainWindow, "ButtonSaturation");
        QVERIFY(program->saturationWindow.isVisible());
        // Its columns are methanol's defaults, which hold the transport properties.
        auto* list = program->saturationWindow.findChild<QListWidget*>("ListColumns");
        QVERIFY(list);
        QStringList ticked;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked) ticked << list->item(i)->text();
        QVERIFY2(ticked.contains("T") && ticked.contains("H_vap") && ticked.contains("Visc_liq"),
                 qPrintable(ticked.join(',')));
    }

    // With "Show Calculation Process" ticked the main window takes input while a table
    // runs. Another fluid chosen there in the middle of the table changes nothing of
    // the table: its title and every cell stay those of the fluid it started with.
    void fluidChangeDuringATableKeepsTheTablesFluid() {
        dialogs->answer = dir.filePath("fluid_change.txt").toStdString();
        QWidget* t = &program->tableWindow;
        program->mainForm.showTableWindow();
        QVERIFY(program->tableForm.CheckProcess.checked);
        LongTable(t);
        Choose(t, "ComboBoxQ", 11);
        // Per kilogram, so that values converted with the other fluid's molar mass show.
        Choose(&program->mainWindow, "ComboBoxUnit", 1);
        int doneAtChange = -1;
        QTimer::singleShot(0, &program->mainWindow, [&] {
            QVERIFY(program->tableForm.Busy());
            doneAtChange = program->tableForm.cellsDone;
            Find<QRadioButton>(&program->mainWindow, "RadioGroupMatter_2")->click();  // CO2
        });
        Click(t, "ButtonMake");
        // Water from 300 K to 504.7 K at 1 to 100 MPa: every cell holds a number.
        QCOMPARE(Find<QLineEdit>(t, "EditMes")->text(),
                 QString("The table has been made successfully.\n0 of 204800 cells hold a message or are empty."));
        QVERIFY2(doneAtChange > 0 && doneAtChange < program->tableForm.cellsTotal,
                 qPrintable(QString("fluid changed after %1 cells").arg(doneAtChange)));
        QCOMPARE(program->mainForm.RadioGroupMatter.index, 2);
        QVERIFY(Find<QRadioButton>(&program->mainWindow, "RadioGroupMatter_2")->isChecked());
        const std::string written = ReadAll(dialogs->answer);
        QVERIFY(ui::ToQt(written).startsWith("Isobaric Specific Heat: Cp (J / (kg K)) of Water\n"));

        // The same table of water made without a change, on one thread.
        MainForm headless;
        headless.ComboBoxUnit.Select(1);
        headless.ComboBoxUnitChange();
        TableSettings s = program->tableForm.Settings();
        s.jobs = 1;
        StringTableOutput expected;
        QCOMPARE(static_cast<int>(MakeTable(headless, s, expected).status),
                 static_cast<int>(TableResult::Status::Written));
        QCOMPARE(written.size(), expected.Text().size());
        QVERIFY(written == expected.Text());

        // The main window holds the last cell: water's values in water's units, greyed
        // as results of another fluid until the next "Calculate" for CO2.
        const MainForm& shown = program->mainForm;
        for (const char* name : {"EditT", "EditP", "EditRho", "EditCp", "EditH", "EditW", "EditsatuP"})
            QCOMPARE(ui::ToQt(shown.FieldByName(name)->text), ui::ToQt(headless.FieldByName(name)->text));
        QVERIFY(!shown.EditCp.enabled);
        QCOMPARE(ui::ToQt(shown.EditMes.text), ui::ToQt(MainForm::StaleNote("Water", "CO2")));
        QVERIFY(!Find<QLineEdit>(&program->mainWindow, "EditCp")->isEnabled());
        // Back to water, the results are current again.
        Find<QRadioButton>(&program->mainWindow, "RadioGroupMatter_0")->click();
        QVERIFY(shown.EditCp.enabled);
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"
