// The headless table window: initial state, the type switch, series buttons, the file
// chooser, the density-mode item texts, and "Make Tables" with its progress, stop and
// re-entry guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "tables/table_form.h"
#include "tables/value_lists.h"
#include "test_fluid.h"

using namespace kelvane;

namespace {

// Dialogs that answer from a script and keep the tables in memory.
class ScriptedDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        ++saveAsked;
        if (saveAnswer.empty()) return false;
        name = saveAnswer;
        return true;
    }
    bool OpenFileName(std::string& name) override {
        if (openAnswer.empty()) return false;
        name = openAnswer;
        return true;
    }
    std::unique_ptr<TableOutput> CreateOutput(const std::string& name) override {
        names.push_back(name);
        auto out = std::make_unique<Captured>(*this);
        return out;
    }
    class Captured : public StringTableOutput {
    public:
        explicit Captured(ScriptedDialogs& d) : d_(d) {}
        bool Close(std::string&) override {
            d_.texts.push_back(Text());
            return true;
        }

    private:
        ScriptedDialogs& d_;
    };
    std::string saveAnswer = "table.txt", openAnswer;
    int saveAsked = 0;
    std::vector<std::string> names, texts;
};

class TableWindow : public ::testing::Test {
protected:
    void SetUp() override {
        testfluid::UseTestFluid();
        main = std::make_unique<MainForm>();
        form = std::make_unique<TableForm>(*main, dialogs);
    }
    void Matrix(const std::string& rows, const std::string& columns, int q) {
        form->EditR.text = rows;
        form->EditC.text = columns;
        form->ComboBoxQ.Select(q);
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<MainForm> main;
    std::unique_ptr<TableForm> form;
};

}  // namespace

TEST_F(TableWindow, InitialStateAndTypeSwitch) {
    EXPECT_EQ(form->ComboBoxR.index, kVarT);
    EXPECT_EQ(form->ComboBoxC.index, kVarP);
    EXPECT_EQ(form->ComboBoxQ.index, -1);
    EXPECT_EQ(form->ComboBoxQ.text, "Select the thermodynamic property you want.");
    ASSERT_EQ(form->ComboBoxQ.items.size(), 25u);
    EXPECT_EQ(form->ComboBoxQ.items[11], "Isobaric Specific Heat: Cp");
    EXPECT_TRUE(form->CheckProcess.checked);
    EXPECT_TRUE(form->CheckBoxTitle.checked);
    EXPECT_EQ(form->Editskipline.text, "1");
    EXPECT_EQ(form->LabelR.text, "ROW");
    EXPECT_FALSE(form->Editopen.enabled);
    EXPECT_EQ(form->Editopen.color, ColorRole::ButtonFace);
    EXPECT_FALSE(form->ButtonRef.enabled);
    EXPECT_TRUE(form->EditR.enabled);
    EXPECT_EQ(form->EditR.color, ColorRole::Window);
    EXPECT_FALSE(form->ButtonStop.enabled);

    form->RadioGroupTableType.index = 1;
    form->RadioGroupTableTypeClick();
    EXPECT_EQ(form->LabelR.text, "1st COLUMN");
    EXPECT_EQ(form->LabelC.text, "2nd COLUMN");
    for (const EditField* f : {&form->EditR, &form->EditRs, &form->EditC, &form->EditCs}) {
        EXPECT_FALSE(f->enabled);
        EXPECT_EQ(f->color, ColorRole::ButtonFace);
    }
    EXPECT_FALSE(form->ButtonRs.enabled);
    EXPECT_FALSE(form->LabelCs.enabled);
    EXPECT_TRUE(form->Editopen.enabled);
    EXPECT_EQ(form->Editskipline.color, ColorRole::Window);
    EXPECT_TRUE(form->ButtonRef.enabled);
    EXPECT_TRUE(form->Labelskipline.enabled);

    form->RadioGroupTableType.index = 0;
    form->RadioGroupTableTypeClick();
    EXPECT_EQ(form->LabelC.text, "COLUMN");
    EXPECT_FALSE(form->Labelopen.enabled);
}

TEST_F(TableWindow, DensityModeRenamesItems) {
    form->ComboBoxR.Select(kVarRho);
    form->ComboBoxQ.Select(1);
    main->ButtonXRhoVClick();
    EXPECT_EQ(form->ComboBoxR.items[2], "V");
    EXPECT_EQ(form->ComboBoxC.items[2], "V");
    EXPECT_EQ(form->ComboBoxR.text, "V");
    EXPECT_EQ(form->ComboBoxQ.items[1], "Specific Volume: V");
    EXPECT_EQ(form->ComboBoxQ.text, "Specific Volume: V");
    main->ButtonXRhoVClick();
    EXPECT_EQ(form->ComboBoxC.items[2], "rho");
    EXPECT_EQ(form->ComboBoxQ.text, "Density: rho");

    form.reset();  // the hook must not outlive the window
    EXPECT_FALSE(main->densityModeChanged);
    main->ButtonXRhoVClick();
}

TEST_F(TableWindow, SeriesButtonsFillTheLists) {
    form->EditRs.text = "300,50,3";
    form->ButtonRsClick();
    EXPECT_EQ(form->EditR.text, "300,350,400");
    form->EditCs.text = "1,2";
    form->ButtonCsClick();
    EXPECT_EQ(form->EditC.text, "The series format should be \"x,y,z\".");
    EXPECT_EQ(form->EditMes.text, "");

    form->EditCs.text = "0,1,1e9";
    form->ButtonCsClick();
    EXPECT_EQ(form->EditMes.text, "The COLUMN series was cut to 2048 values, the size of a list.");
    ValueArray v;
    EXPECT_EQ(ParseList(form->EditC.text, v).count, kMaxValues);
}

TEST_F(TableWindow, FileChooser) {
    form->Editopen.text = "old.txt";
    form->ButtonRefClick();  // cancelled
    EXPECT_EQ(form->Editopen.text, "old.txt");
    dialogs.openAnswer = "/data/pairs.txt";
    form->ButtonRefClick();
    EXPECT_EQ(form->Editopen.text, "/data/pairs.txt");
}

TEST_F(TableWindow, MakeWritesWhatTheSharedWriterWrites) {
    Matrix("300,400", "1,2", 11);
    std::vector<int> seen;
    form->catchUp = [&](bool processEvents) {
        EXPECT_TRUE(processEvents);
        EXPECT_TRUE(form->Busy());
        EXPECT_TRUE(form->ButtonStop.enabled);
        EXPECT_FALSE(form->ButtonMake.enabled);
        seen.push_back(form->cellsDone);
        EXPECT_EQ(form->cellsTotal, 4);
    };
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.");
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(form->Busy());
    EXPECT_TRUE(form->ButtonMake.enabled);
    EXPECT_FALSE(form->ButtonStop.enabled);
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(dialogs.names[0], "table.txt");

    MainForm other;
    StringTableOutput direct;
    MakeTable(other, form->Settings(), direct);
    EXPECT_EQ(dialogs.texts[0], direct.Text());
}

TEST_F(TableWindow, UntickedProcessAsksOnlyForARepaint) {
    Matrix("300", "1", 11);
    form->CheckProcess.checked = false;
    int calls = 0;
    form->catchUp = [&](bool processEvents) {
        EXPECT_FALSE(processEvents);
        ++calls;
    };
    form->ButtonMakeClick();
    EXPECT_EQ(calls, 1);
}

TEST_F(TableWindow, SecondClickDuringATableDoesNotNest) {
    Matrix("300,400", "1,2", 11);
    form->catchUp = [&](bool) { form->ButtonMakeClick(); };  // the user clicks again
    form->ButtonMakeClick();
    EXPECT_EQ(dialogs.saveAsked, 1);
    EXPECT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.");
}

TEST_F(TableWindow, StopDuringATable) {
    Matrix("300,400,500", "1", 11);
    form->catchUp = [&](bool) {
        if (form->cellsDone == 2) form->ButtonStopClick();
    };
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table was stopped after 2 of 3 rows; those rows are in the file.");
    ASSERT_EQ(dialogs.texts.size(), 1u);
    EXPECT_EQ(std::count(dialogs.texts[0].begin(), dialogs.texts[0].end(), '\n'), 3);

    form->ButtonStopClick();  // no table running: the next one is not affected
    form->catchUp = nullptr;
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "The table has been made successfully.");
}

TEST_F(TableWindow, MessagesAndCancel) {
    form->EditR.text = "300";
    form->EditC.text = "1";
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "Select the properties you want.");

    form->ComboBoxQ.Select(11);
    dialogs.saveAnswer.clear();  // the user cancels the save dialog
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, "");
    EXPECT_TRUE(dialogs.texts.empty());
    EXPECT_FALSE(form->Busy());
}

TEST_F(TableWindow, ErrorLeavesTheWindowReady) {
    form->RadioGroupTableType.index = 1;
    form->RadioGroupTableTypeClick();
    form->ComboBoxQ.Select(11);
    form->Editopen.text = ::testing::TempDir() + "kelvane_missing_pairs.txt";
    form->ButtonMakeClick();
    EXPECT_NE(form->EditMes.text.find("cannot be opened"), std::string::npos);

    Matrix("300,1e999", "1", 11);
    form->RadioGroupTableType.index = 0;
    form->RadioGroupTableTypeClick();
    EXPECT_ANY_THROW(form->ButtonMakeClick());
    EXPECT_FALSE(form->Busy());
    EXPECT_TRUE(form->ButtonMake.enabled);
    EXPECT_EQ(dialogs.texts.size(), 1u);  // the file was closed
}

TEST(CentredPosition, IntegerHalvesAndScreenOrigin) {
    EXPECT_EQ(CentredPosition(1280, 800, 1001, 651).left, 640 - 500);
    EXPECT_EQ(CentredPosition(1280, 800, 1001, 651).top, 400 - 325);
    EXPECT_EQ(CentredPosition(800, 600, 1000, 700).left, 0);
    EXPECT_EQ(CentredPosition(800, 600, 1000, 700).top, 0);
}
