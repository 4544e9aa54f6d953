// The table window's "Make Tables" and "Stop" on real widgets and real files: a stopped
// table keeps its complete rows, a write that fails leaves the earlier file as it was,
// and the message line says which happened.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QtTest>

#include <fstream>
#include <sstream>
#include <string>

#include "forms/main_form.h"
#include "tables/table_form.h"
#include "ui/table_window.h"

using namespace kelvane;

namespace {

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Answers the save dialog with a fixed name; optionally the file fails its n-th write.
class FixedDialogs : public TableFileDialogs {
public:
    std::string name;
    int failAt = 0;
    bool SaveFileName(std::string& n) override {
        n = name;
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string& n) override {
        if (failAt == 0) return std::make_unique<FileTableOutput>(n);
        class Failing : public FileTableOutput {
        public:
            Failing(const std::string& file, int at) : FileTableOutput(file), at_(at) {}
            bool Write(std::string_view text, std::string& error) override {
                if (++writes_ >= at_) {
                    error = "The disk is full.";
                    return false;
                }
                return FileTableOutput::Write(text, error);
            }

        private:
            int at_, writes_ = 0;
        };
        return std::make_unique<Failing>(n, failAt);
    }
};

}  // namespace

class TableWindowFiles : public QObject {
    Q_OBJECT

private slots:
    void stopKeepsTheCompleteRows() {
        MainForm main;
        FixedDialogs dialogs;
        dialogs.name = (QDir::tempPath() + "/kelvane_ui_stop.txt").toStdString();
        std::ofstream(dialogs.name) << "OLD";
        TableForm form(main, dialogs);
        form.jobs = 1;
        ui::TableWindow window(form);
        window.show();
        form.EditR.text = "300";
        for (int i = 1; i < 2000; ++i) form.EditR.text += "," + std::to_string(300 + i * 0.1);
        form.EditC.text = "0.1";
        for (int i = 1; i < 100; ++i) form.EditC.text += "," + std::to_string(0.1 + i * 0.5);
        form.ComboBoxQ.Select(11);
        form.CheckProcess.checked = true;
        window.Refresh();
        auto* stop = window.findChild<QPushButton*>("ButtonStop");
        QVERIFY(stop);
        // "Stop" is clicked at the first time the windows catch up, which comes after
        // a fixed interval of calculation and never at the last cell, however fast
        // the machine.
        bool clicked = false;
        window.cellShown = [&] {
            if (clicked) return;
            clicked = true;
            QTest::mouseClick(stop, Qt::LeftButton);
        };
        QTest::mouseClick(window.findChild<QPushButton*>("ButtonMake"), Qt::LeftButton);
        const QString message = window.findChild<QLineEdit*>("EditMes")->text();
        QVERIFY2(message.contains("stopped after"), qPrintable(message));
        const int rows = form.LastResult().rowsWritten;
        QVERIFY(rows > 0 && rows < 2000);
        const std::string text = ReadAll(dialogs.name);
        QCOMPARE(static_cast<int>(std::count(text.begin(), text.end(), '\n')), rows + 1);
        QVERIFY(text.rfind("Isobaric Specific Heat: Cp", 0) == 0);
    }

    void aFailedWriteLeavesTheOldFile() {
        MainForm main;
        FixedDialogs dialogs;
        dialogs.name = (QDir::tempPath() + "/kelvane_ui_full.txt").toStdString();
        dialogs.failAt = 3;
        std::ofstream(dialogs.name) << "OLD";
        TableForm form(main, dialogs);
        ui::TableWindow window(form);
        window.show();
        form.EditR.text = "300,400,500";
        form.EditC.text = "1,2";
        form.ComboBoxQ.Select(11);
        window.Refresh();
        QTest::mouseClick(window.findChild<QPushButton*>("ButtonMake"), Qt::LeftButton);
        QCOMPARE(window.findChild<QLineEdit*>("EditMes")->text(), QString("The disk is full."));
        QCOMPARE(ReadAll(dialogs.name), std::string("OLD"));
        QCOMPARE(form.LastResult().status, TableResult::Status::OutputFailed);

        // Without the failure the same table replaces the file and counts its cells.
        dialogs.failAt = 0;
        QTest::mouseClick(window.findChild<QPushButton*>("ButtonMake"), Qt::LeftButton);
        QVERIFY(form.EditMes.text.rfind(std::string(kTableDone) + "\n0 of 6 cells", 0) == 0);
        QVERIFY(ReadAll(dialogs.name).rfind("Isobaric Specific Heat: Cp", 0) == 0);
    }
};

QTEST_MAIN(TableWindowFiles)
#include "test_table_window_files.moc"
