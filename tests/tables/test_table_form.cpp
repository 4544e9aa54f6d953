// The headless table window: the type switch, the density-mode item texts, and "Make
// Tables" with its progress, stop and re-entry guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "forms/main_form.h"
#include "tables/table_form.h"
#include "test_fluid.h"

using namespace kelvane;

namespace {

// A save dialog that answers with a fixed name; the tables are kept in memory.
class ScriptedDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        ++asked;
        name = "table.txt";
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override {
        auto out = std::make_unique<Captured>(texts, writeDelay);
        out->abandoned = &abandoned;
        out->failWrites = failWrites;
        return out;
    }

    // Keeps each table's text; each write may take `delay`, longer than the 30 ms
    // between the window's catch-ups, so that the window catches up at every row.
    struct Captured : StringTableOutput {
        Captured(std::vector<std::string>& t, std::chrono::milliseconds d) : texts(t), delay(d) {}
        bool Write(std::string_view text, std::string& error) override {
            std::this_thread::sleep_for(delay);
            if (failWrites && text.find('\n') == 0) {
                error = "The disk is full.";
                return false;
            }
            return StringTableOutput::Write(text, error);
        }
        bool Close(std::string&) override {
            texts.push_back(Text());
            return true;
        }
        void Abandon() override { ++*abandoned; }
        std::vector<std::string>& texts;
        std::chrono::milliseconds delay;
        int* abandoned = nullptr;
        bool failWrites = false;
    };
    std::chrono::milliseconds writeDelay{0};
    int asked = 0, abandoned = 0;
    bool failWrites = false;
    std::vector<std::string> texts;
};

class TableWindow : public ::testing::Test {
protected:
    void SetUp() override {
        main = std::make_unique<MainForm>();
        testfluid::UseTestFluid(*main);
        form = std::make_unique<TableForm>(*main, dialogs);
    }
    void Matrix(const std::string& rows, const std::string& columns) {
        form->EditR.text = rows;
        form->EditC.text = columns;
        form->ComboBoxQ.Select(11);
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<MainForm> main;
    std::unique_ptr<TableForm> form;
};

}  // namespace

TEST_F(TableWindow, DensityModeRenamesTheSelectedItems) {
    form->ComboBoxR.Select(kVarRho);
    form->ComboBoxQ.Select(1);
    main->ButtonXRhoVClick();
    EXPECT_EQ(form->ComboBoxR.text, "V");
    EXPECT_EQ(form->ComboBoxQ.text, "Specific Volume: V");
    form.reset();  // the hook must not outlive the window
    EXPECT_FALSE(main->densityModeChanged);
}

TEST_F(TableWindow, MakeReportsProgressAndWritesWhatTheSharedWriterWrites) {
    Matrix("300,400", "1,2");
    std::vector<int> seen;
    form->catchUp = [&](bool processEvents) {
        EXPECT_TRUE(processEvents);  // "Show Calculation Process" is ticked initially
        EXPECT_TRUE(form->ButtonStop.enabled);
        EXPECT_FALSE(form->ButtonMake.enabled);
        EXPECT_EQ(form->cellsTotal, 4);
        seen.push_back(form->cellsDone);
    };
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.\n0 of 4 cells hold a message or are empty.");
    // At display rate: at least at the last cell, in order, never twice for one cell.
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 4);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) &&
                std::adjacent_find(seen.begin(), seen.end()) == seen.end());
    EXPECT_TRUE(form->ButtonMake.enabled);
    EXPECT_FALSE(form->ButtonStop.enabled);

    // A table slower than the display rate (each row written in 35 ms) is followed
    // cell by cell.
    seen.clear();
    dialogs.writeDelay = std::chrono::milliseconds(35);
    Matrix("300,400,500,600", "1");
    form->ButtonMakeClick();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    dialogs.texts.pop_back();
    dialogs.writeDelay = std::chrono::milliseconds(0);
    Matrix("300,400", "1,2");

    MainForm other;
    testfluid::UseTestFluid(other);
    StringTableOutput direct;
    MakeTable(other, form->Settings(), direct);
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(dialogs.texts[0], direct.Text());
}

TEST_F(TableWindow, SecondClickDuringATableDoesNotNest) {
    Matrix("300,400", "1,2");
    form->catchUp = [&](bool) { form->ButtonMakeClick(); };  // the user clicks again
    form->ButtonMakeClick();
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.\n0 of 4 cells hold a message or are empty.");
}

TEST_F(TableWindow, StopEndsOnlyTheRunningTable) {
    dialogs.writeDelay = std::chrono::milliseconds(35);  // a catch-up at every row
    Matrix("300,400,500", "1");
    form->catchUp = [&](bool) {
        if (form->cellsDone == 2) form->ButtonStopClick();
    };
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table was stopped after 2 of 3 rows; those rows are in the file.");
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(std::count(dialogs.texts[0].begin(), dialogs.texts[0].end(), '\n'), 3);

    form->ButtonStopClick();  // no table running: the next one is not affected
    form->catchUp = nullptr;
    dialogs.writeDelay = std::chrono::milliseconds(0);
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.\n0 of 3 cells hold a message or are empty.");
}

TEST_F(TableWindow, ErrorLeavesTheWindowReady) {
    Matrix("300,1e999", "1");  // the infinite value reaches "Calculate" as INF
    EXPECT_ANY_THROW(form->ButtonMakeClick());
    EXPECT_FALSE(form->Busy());
    EXPECT_TRUE(form->ButtonMake.enabled);
    // The value is refused before the save dialog: no file is opened, so none changes.
    EXPECT_EQ(dialogs.asked, 0);
    EXPECT_EQ(dialogs.texts.size(), 0u);
    EXPECT_EQ(dialogs.abandoned, 0);

    // A row that cannot be stored: the window's output passes the abandon on (nothing
    // partial is kept), says why, and is ready again.
    dialogs.failWrites = true;
    Matrix("300,400", "1");
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The disk is full.");
    EXPECT_EQ(form->LastResult().status, TableResult::Status::OutputFailed);
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(dialogs.texts.size(), 0u);
    EXPECT_EQ(dialogs.abandoned, 1);
    EXPECT_TRUE(form->LastTable().empty());
    EXPECT_FALSE(form->Busy());
    EXPECT_TRUE(form->ButtonMake.enabled);
}

TEST_F(TableWindow, SeriesButtonsFillTheirListOrSayWhy) {
    form->EditRs.text = "0,1,1e9";  // a billion values would not fit a list
    form->ButtonRsClick();
    EXPECT_EQ(std::count(form->EditR.text.begin(), form->EditR.text.end(), ','), 2047);
    EXPECT_EQ(form->EditMes.text, "The ROW series was cut to 2048 values, the size of a list.");
    form->EditCs.text = "300,50";
    form->ButtonCsClick();
    EXPECT_EQ(form->EditC.text, "The series format should be \"x,y,z\".");
    EXPECT_EQ(form->EditR.text.substr(0, 6), "0,1,2,");  // the other list is untouched
}
