// List tables (TYPE III) over water: every cell against the main window's own
// calculation of that state point, the order of the points, the headings with their
// units, the message column, CSV, pairs from a file, validation, stop and threads;
// the grid of the table view; and the table window's TYPE III, its series typed but
// not made, and "Copy".
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/format.h"
#include "forms/main_form.h"
#include "tables/list_table.h"
#include "tables/saturation_table.h"
#include "tables/table_form.h"
#include "tables/table_grid.h"
#include "tables/table_writer.h"

using namespace kelvane;

namespace {

class CountingOutput : public StringTableOutput {
public:
    bool Choose() override { return ++chosen, true; }
    bool CellDone(int done, int) override { return done != stopAfter; }
    int stopAfter = -1, chosen = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

// The text field `control` shows after "Calculate" of (T, P) typed in the form's units.
std::string Shown(MainForm& f, const std::string& T, const std::string& P, const char* control) {
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = T;
    f.EditP.text = P;
    f.ButtonCalcClick();
    return f.FieldByName(control)->text;
}

class ListTable : public ::testing::Test {
protected:
    ListTableSettings Settings(std::string rows, std::string columns, std::vector<int> properties) {
        ListTableSettings s;
        s.points.rowList = std::move(rows);
        s.points.columnList = std::move(columns);
        s.properties = std::move(properties);
        return s;
    }
    MainForm main;
    CountingOutput out;
};

constexpr int kQCp = 11, kQW = 14, kQVisc = 19, kQS = 25, kQPressure = 0, kQDensity = 1;

}  // namespace

TEST_F(ListTable, OneLinePerPointRowValuesFastestCellsAsTheWindowShowsThem) {
    const TableResult r = MakeListTable(main, Settings("300,400,500", "0.1,1", {kQCp, kQS, kQW}), out);
    ASSERT_EQ(r.status, TableResult::Status::Written) << r.message;
    EXPECT_EQ(r.message, std::string(kTableDone) + "\n0 of 18 cells hold a message or are empty.");
    EXPECT_EQ(r.rowsWritten, 6);
    const std::vector<std::string> lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "List of properties of Water");
    EXPECT_EQ(lines[1],
              "T (K)\tP (MPa)\tIsobaric Specific Heat: Cp (J / (mol K))\tEntropy: S (J / (mol K))\t"
              "Sound Velocity: W (m / s)\tMessage");
    EXPECT_NE(out.Text().back(), '\n');  // like the other tables, no final line break

    MainForm check;
    const char* T[] = {"300", "400", "500", "300", "400", "500"};
    const char* P[] = {"0.1", "0.1", "0.1", "1", "1", "1"};
    for (int k = 0; k < 6; ++k) {
        const std::string expected = std::string(T[k]) + "\t" + P[k] + "\t" + Shown(check, T[k], P[k], "EditCp") +
                                     "\t" + check.EditS.text + "\t" + check.EditW.text + "\t" + check.EditMes.text;
        EXPECT_EQ(lines[2 + k], expected) << k;
    }
    // 400 K at 0.1 MPa is steam, at 1 MPa liquid water.
    EXPECT_LT(ParseStrict(SplitFields(lines[3], false)[4]), 600);
    EXPECT_GT(ParseStrict(SplitFields(lines[6], false)[4]), 1400);

    // The main window shows the last point and has the pressure as input.
    EXPECT_EQ(main.RadioGroupVar.index, 0);
    EXPECT_EQ(main.EditT.text, "500");
    EXPECT_EQ(main.EditP.text, "1");
    EXPECT_EQ(main.EditCp.text, Shown(check, "500", "1", "EditCp"));
}

TEST_F(ListTable, MessagesGoToTheLastColumnAndRejectedPointsHaveEmptyCells) {
    ASSERT_EQ(MakeListTable(main, Settings("250,300", "1", {kQCp}), out).status, TableResult::Status::Written);
    const std::vector<std::string> lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "250\t1\t\tNot applied to the range less than 273.15 K.");
    EXPECT_EQ(SplitFields(lines[3], false).size(), 4u);
    EXPECT_EQ(SplitFields(lines[3], false)[3], "");
}

TEST_F(ListTable, HeadingsCarryTheSelectedUnitsAndDensityIsAllowedBesidesPressure) {
    main.ComboBoxT.Select(3);
    main.ComboBoxTChange();
    main.ComboBoxP.Select(6);
    main.ComboBoxPChange();
    main.ComboBoxUnit.Select(4);
    main.ComboBoxUnitChange();
    main.ComboBoxVisc.Select(1);
    main.ComboBoxViscChange();
    ASSERT_EQ(MakeListTable(main, Settings("80.33", "14.7", {kQS, kQVisc, kQDensity, 12}), out).status,
              TableResult::Status::Written);
    const std::vector<std::string> lines = Lines(out.Text());
    EXPECT_EQ(lines[1],
              "T (degF)\tP (psi)\tEntropy: S (kJ / (kg K))\tViscosity: etha (uPa s)\tDensity: rho (kg / m3)\t"
              "Compressibity Factor: Z\tMessage");
    const std::vector<std::string> cells = SplitFields(lines[2], false);
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_NEAR(ParseStrict(cells[2]), 0.393, 0.002);  // liquid water near 300 K, kJ/(kg K)
    EXPECT_NEAR(ParseStrict(cells[3]), 853, 10);       // uPa s
    EXPECT_NEAR(ParseStrict(cells[4]), 996.5, 0.5);    // kg/m3
}

TEST_F(ListTable, CsvQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(JoinFields({"a", "b,c", "say \"x\"", ""}, true), "a,\"b,c\",\"say \"\"x\"\"\",");
    EXPECT_EQ(JoinFields({"a", "b,c"}, false), "a\tb,c");
    for (const std::vector<std::string>& fields :
         {std::vector<std::string>{"a", "b,c", "say \"x\"", ""}, std::vector<std::string>{""},
          std::vector<std::string>{"1", "2;3", "\"", ",,"}}) {
        EXPECT_EQ(SplitFields(JoinFields(fields, true), true), fields);
        EXPECT_EQ(SplitFields(JoinFields(fields, false), false), fields);
    }

    ListTableSettings s = Settings("300", "0.1,1", {kQCp});
    s.csv = true;
    s.title = false;
    ASSERT_EQ(MakeListTable(main, s, out).status, TableResult::Status::Written);
    const std::vector<std::string> lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "T (K),P (MPa),Isobaric Specific Heat: Cp (J / (mol K)),Message");
    MainForm check;
    EXPECT_EQ(lines[2], "300,1," + Shown(check, "300", "1", "EditCp") + ",");
}

TEST_F(ListTable, PairsFromATwoColumnFileAndDensityAsInput) {
    ListTableSettings s;
    s.points.type = 1;
    s.points.rowVariable = kVarRho;
    s.points.columnVariable = kVarT;
    s.points.columnsFile = ::testing::TempDir() + "kelvane_list_pairs.txt";
    std::ofstream(s.points.columnsFile) << "rho\tT\n996.5\t300\n1\t500\n";
    s.properties = {kQPressure, kQCp};
    ASSERT_EQ(MakeListTable(main, s, out).status, TableResult::Status::Written);
    const std::vector<std::string> lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "rho (kg / m3)\tT (K)\tPressure: P (MPa)\tIsobaric Specific Heat: Cp (J / (mol K))\tMessage");
    EXPECT_EQ(main.RadioGroupVar.index, 1);
    MainForm check;
    check.RadioGroupVar.index = 1;
    check.RadioGroupVarClick();
    check.EditT.text = "500";
    check.EditRho.text = "1";
    check.ButtonCalcClick();
    EXPECT_EQ(lines[3], "1\t500\t" + check.EditP.text + "\t" + check.EditCp.text + "\t" + check.EditMes.text);

    s.points.skipLines = "0";  // the heading is then read as numbers
    EXPECT_THROW(MakeListTable(main, s, out), ConversionError);
    s.points.columnsFile += ".missing";
    EXPECT_EQ(MakeListTable(main, s, out).status, TableResult::Status::OutputFailed);
}

TEST_F(ListTable, ValidationInTheOrderOfTheOtherTables) {
    auto message = [&](ListTableSettings s) { return MakeListTable(main, s, out).message; };
    ListTableSettings s = Settings("300", "1", {kQCp});
    s.points.rowVariable = kVarP;
    EXPECT_EQ(message(s), kNeedTemperatureAndOther);
    s.points.rowVariable = kVarT;
    s.points.columnVariable = kVarT;
    EXPECT_EQ(message(s), kNeedTemperatureOnce);
    s.points.columnVariable = kVarP;
    s.properties.clear();
    EXPECT_EQ(message(s), kNeedProperty);
    s.properties = {kQCp, 26};
    EXPECT_EQ(message(s), kNeedProperty);
    s.properties = {kQCp, kQPressure};
    EXPECT_EQ(message(s), kPropertyIsVariable);
    s.properties = {kQCp};
    s.points.columnList.clear();
    EXPECT_EQ(message(s), kNoValues);
    EXPECT_EQ(out.chosen, 0);  // nothing asked for, nothing written
    EXPECT_EQ(out.Text(), "");
}

TEST_F(ListTable, StopKeepsTheLinesWrittenAndThreadsWriteTheSameText) {
    out.stopAfter = 3;
    const TableResult stopped = MakeListTable(main, Settings("300,310,320,330", "1,2", {kQCp}), out);
    EXPECT_EQ(stopped.status, TableResult::Status::Stopped);
    EXPECT_EQ(stopped.rowsWritten, 3);
    EXPECT_EQ(Lines(out.Text()).size(), 5u);
    EXPECT_NE(stopped.message.find("3 of 8"), std::string::npos);

    ListTableSettings s = Settings("280,300,320,340,360,380,400,420,440,460", "0.1,1,10,25", {kQCp, kQS, kQVisc});
    CountingOutput one, three;
    s.points.jobs = 1;
    ASSERT_EQ(MakeListTable(main, s, one).status, TableResult::Status::Written);
    s.points.jobs = 3;
    ASSERT_EQ(MakeListTable(main, s, three).status, TableResult::Status::Written);
    EXPECT_EQ(one.Text(), three.Text());
    EXPECT_EQ(Lines(one.Text()).size(), 42u);
}

TEST_F(ListTable, MatrixTablesKeepTheirLayoutAndTakeEntropy) {
    TableSettings s;
    s.rowList = "300,400";
    s.columnList = "1,2";
    s.property = kQS;
    const TableResult r = MakeTable(main, s, out);
    ASSERT_EQ(r.status, TableResult::Status::Written) << r.message;
    const std::vector<std::string> lines = Lines(out.Text());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Entropy: S (J / (mol K)) of Water");
    EXPECT_EQ(lines[1], "T (K) / P (MPa)\t1\t2");
    MainForm check;
    EXPECT_EQ(lines[2], "300\t" + Shown(check, "300", "1", "EditS") + "\t" + Shown(check, "300", "2", "EditS"));
}

TEST(TableGridView, ListsMatricesAndCsvAsRowsOfCells) {
    const TableGrid list("List of properties of Water\nT (K)\tP (MPa)\tZ\tMessage\n300\t1\t0.5\t\n400\t1\t\tNo.", false,
                         true);
    EXPECT_EQ(list.Title(), "List of properties of Water");
    EXPECT_EQ(list.Rows(), 3);
    EXPECT_EQ(list.Columns(), 4);
    EXPECT_EQ(list.Cell(0, 2), "Z");
    EXPECT_EQ(list.Cell(2, 3), "No.");
    EXPECT_EQ(list.Cell(1, 0), "300");
    EXPECT_EQ(list.Cell(2, 9), "");
    EXPECT_EQ(list.Cell(7, 0), "");
    EXPECT_EQ(list.Tsv(1, 1, 2, 2), "1\t0.5\n1\t\n");
    EXPECT_EQ(list.Tsv(), "List of properties of Water\nT (K)\tP (MPa)\tZ\tMessage\n300\t1\t0.5\t\n400\t1\t\tNo.\n");

    const TableGrid csv("T (K),Message\n300,\"a, b\"\n310,\"say \"\"hi\"\"\"", true, false);
    EXPECT_EQ(csv.Title(), "");
    EXPECT_EQ(csv.Rows(), 3);
    EXPECT_EQ(csv.Columns(), 2);
    EXPECT_EQ(csv.Cell(1, 1), "a, b");
    EXPECT_EQ(csv.Cell(2, 1), "say \"hi\"");
    EXPECT_EQ(csv.Tsv(1, 0, 1, 1), "300\ta, b\n");

    const TableGrid matrix("Cp (J / (mol K)) of Water\nT (K) / P (MPa)\t1\t2\n300\t75\t74", false, true);
    EXPECT_EQ(matrix.Columns(), 3);
    EXPECT_EQ(matrix.Cell(1, 2), "74");
    EXPECT_TRUE(TableGrid().Empty());
    EXPECT_TRUE(TableGrid("only a title", false, true).Empty());
}

namespace {

// A save dialog that answers with a fixed name; the tables are kept in memory.
class MemoryDialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& n) override {
        ++asked;
        n = name;
        return true;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override {
        return std::make_unique<StringTableOutput>();
    }
    std::string name = "table.txt";
    int asked = 0;
};

class ListWindow : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TableForm>(main, dialogs); }
    MainForm main;
    MemoryDialogs dialogs;
    std::unique_ptr<TableForm> form;
};

}  // namespace

TEST_F(ListWindow, TypeThreeFollowsTheTwoOthersAndSwitchesItsControls) {
    EXPECT_EQ(form->RadioGroupTableType.items, (std::vector<std::string>{"TYPE I", "TYPE II", "TYPE III"}));
    EXPECT_FALSE(form->ListQ.enabled);
    EXPECT_FALSE(form->CheckListFile.enabled);
    EXPECT_EQ(form->ListQ.items.size(), 26u);
    form->RadioGroupTableType.index = 2;
    form->RadioGroupTableTypeClick();
    EXPECT_TRUE(form->ListQ.enabled);
    EXPECT_FALSE(form->ComboBoxQ.enabled);
    EXPECT_TRUE(form->EditR.enabled);
    EXPECT_FALSE(form->Editopen.enabled);
    EXPECT_EQ(form->LabelR.text, "ROW");
    form->CheckListFile.checked = true;
    form->CheckListFileClick();
    EXPECT_FALSE(form->EditR.enabled);
    EXPECT_TRUE(form->Editopen.enabled);
    EXPECT_EQ(form->LabelR.text, "1st COLUMN");
    EXPECT_EQ(form->Settings().type, 1);
    form->RadioGroupTableType.index = 0;
    form->RadioGroupTableTypeClick();
    EXPECT_TRUE(form->ComboBoxQ.enabled);
    EXPECT_FALSE(form->ListQ.enabled);
    EXPECT_EQ(form->Settings().type, 0);  // the check box belongs to TYPE III
    // The volume mode renames the list's item too.
    main.ButtonXRhoVClick();
    EXPECT_EQ(form->ListQ.items[1], "Specific Volume: V");
}

TEST_F(ListWindow, ColumnsInTheOrderTheyWereCheckedAndTheViewShowsTheTable) {
    form->RadioGroupTableType.index = 2;
    form->RadioGroupTableTypeClick();
    form->EditR.text = "300,350";
    form->EditC.text = "1";
    form->ListQ.Check(kQW, true);
    form->ListQ.Check(kQCp, true);
    form->ListQ.Check(kQS, true);
    form->ListQ.Check(kQS, false);
    form->ListQ.Check(kQS, false);  // unchecking twice changes nothing
    EXPECT_EQ(form->ListQ.Chosen(), (std::vector<int>{kQW, kQCp}));
    dialogs.name = "list.csv";
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, std::string(kTableDone) + "\n0 of 4 cells hold a message or are empty.");
    const TableGrid& g = form->Grid();
    EXPECT_EQ(form->tablesShown, 1);
    EXPECT_EQ(g.Title(), "List of properties of Water");
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.Cell(0, 2), "Sound Velocity: W (m / s)");
    EXPECT_EQ(g.Cell(0, 3), "Isobaric Specific Heat: Cp (J / (mol K))");
    EXPECT_EQ(g.Cell(2, 0), "350");
    EXPECT_NE(form->LastTable().find("T (K),P (MPa),"), std::string::npos);  // CSV chosen by the name
    EXPECT_FALSE(form->ButtonPlot.enabled);                                  // the chart draws TYPE I and II only
    EXPECT_TRUE(form->ButtonCopyTable.enabled);
    EXPECT_EQ(form->LabelView.text, "Last table: List of properties of Water");

    std::string copied;
    form->copyText = [&](const std::string& t) { copied = t; };
    form->ButtonCopyTableClick();
    EXPECT_EQ(copied, g.Tsv());
    EXPECT_EQ(copied.substr(0, copied.find('\n')), "List of properties of Water");
    form->selectionTop = form->selectionBottom = 1;
    form->selectionLeft = 0;
    form->selectionRight = 1;
    form->ButtonCopyTableClick();
    EXPECT_EQ(copied, "300\t1\n");

    // A matrix table is shown as well, its heading line as row 0.
    form->RadioGroupTableType.index = 0;
    form->RadioGroupTableTypeClick();
    form->ComboBoxQ.Select(kQCp);
    form->EditC.text = "1,2";
    dialogs.name = "matrix.txt";
    form->ButtonMakeClick();
    EXPECT_EQ(form->tablesShown, 2);
    EXPECT_EQ(form->Grid().Cell(0, 0), "T (K) / P (MPa)");
    EXPECT_EQ(form->Grid().Columns(), 3);
    EXPECT_TRUE(form->ButtonPlot.enabled);
    EXPECT_EQ(form->selectionTop, -1);  // a new table drops the old selection
}

TEST_F(ListWindow, ASeriesTypedButNotMadeIsMadeAndSaidSo) {
    form->EditRs.text = "300,50,3";
    form->EditC.text = "1";
    form->ComboBoxQ.Select(kQCp);
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditR.text, "300,350,400");
    EXPECT_EQ(form->EditMes.text, std::string(kTableDone) + " The ROW list was made from the series \"300,50,3\".\n" +
                                      "0 of 3 cells hold a message or are empty.");
    EXPECT_EQ(form->Grid().Rows(), 4);

    // Made once: a list edited by hand afterwards is used as it stands.
    form->EditR.text = "500";
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text, std::string(kTableDone) + "\n0 of 1 cell holds a message or is empty.");
    EXPECT_EQ(form->Grid().Rows(), 2);

    // A changed series is made again, for the COLUMN too; one made with its button
    // is not mentioned.
    form->EditRs.text = "300,10,2";
    form->EditCs.text = "1,1,2";
    form->ButtonCsClick();
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditR.text, "300,310");
    EXPECT_EQ(form->EditMes.text, std::string(kTableDone) +
                                      " The ROW list was made from the series \"300,10,2\".\n"
                                      "0 of 4 cells hold a message or are empty.");

    // A refused series stops "Make Tables" before the save dialog.
    const int asked = dialogs.asked;
    form->EditRs.text = "300,50";
    form->ButtonMakeClick();
    EXPECT_EQ(dialogs.asked, asked);
    EXPECT_EQ(form->EditMes.text,
              "The ROW series \"300,50\" was not made into a list: The series format should be \"x,y,z\".");
    // TYPE II has no series.
    form->RadioGroupTableType.index = 1;
    form->RadioGroupTableTypeClick();
    form->ButtonMakeClick();
    EXPECT_EQ(form->EditMes.text.find("series"), std::string::npos);
}

// The list table reads its pairs and writes its file like the other table types: the
// column file's failure is named, the file is never its own table, and a stop reports
// how many of the points it kept.
TEST_F(ListTable, PairsFileFailuresSameFileAndStopAsTheOtherTables) {
    const std::string dir = ::testing::TempDir() + "kelvane_list_pairs_" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    ListTableSettings s = Settings("", "", {kQCp});
    s.points.type = 1;
    s.points.columnsFile = dir + "/none.txt";
    TableResult r = MakeListTable(main, s, out);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_EQ(r.message, "The file for reading columns \"" + s.points.columnsFile + "\" cannot be opened (" +
                             std::strerror(ENOENT) + ").");
    s.points.columnsFile = dir + "/header.txt";
    std::ofstream(s.points.columnsFile) << "only a header\n";
    r = MakeListTable(main, s, out);
    EXPECT_EQ(r.status, TableResult::Status::Invalid);
    EXPECT_EQ(r.message, std::string(kNoValues) + " The file for reading columns \"" + s.points.columnsFile +
                             "\" holds no line with two tab-separated values.");
    EXPECT_EQ(out.chosen, 0);

    // The file of pairs named as the table: refused before anything is written.
    s.points.columnsFile = dir + "/pairs.txt";
    const std::string pairs = "T\tP\n300\t1\n310\t1\n320\t1\n";
    std::ofstream(s.points.columnsFile) << pairs;
    FileTableOutput same(s.points.columnsFile);
    r = MakeListTable(main, s, same);
    EXPECT_EQ(r.status, TableResult::Status::Invalid);
    EXPECT_EQ(r.message, kSameFile);
    std::ifstream in(s.points.columnsFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), pairs);

    // Stopped after the second of three points.
    out.stopAfter = 2;
    r = MakeListTable(main, s, out);
    EXPECT_EQ(r.status, TableResult::Status::Stopped);
    EXPECT_EQ(r.rowsWritten, 2);
    EXPECT_EQ(r.rowsTotal, 3);
    EXPECT_EQ(r.message, "The table was stopped after 2 of 3 rows; those rows are in the file.");

    // Complete: the count of cells covers every property cell.
    CountingOutput whole;
    s.properties = {kQCp, kQS};
    r = MakeListTable(main, s, whole);
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(r.message, std::string(kTableDone) + "\n0 of 6 cells hold a message or are empty.");
    EXPECT_EQ(r.cellsTotal, 6);
    EXPECT_EQ(r.rowsTotal, 3);
    std::filesystem::remove_all(dir);
}

// Saturation tables as comma-separated text: a cell holding a comma, a quotation mark or
// a line break is quoted, its quotation marks doubled; tab-separated text is never quoted.
TEST(SaturationTableText, CsvQuotesOnlyTheCellsThatNeedIt) {
    SaturationTable table;
    table.columns = {SaturationColumnNamed("T"), SaturationColumnNamed("P")};
    ASSERT_NE(table.columns[0], nullptr);
    ASSERT_NE(table.columns[1], nullptr);
    table.units = {"K", "MPa"};
    table.cells = {{"300", "0.0035"}, {"200", "Outside 200-1100 nm, \"n\" is not calculated."}, {"1", "two\nlines"}};
    EXPECT_EQ(SaturationTableText(table, true),
              "T,P\nK,MPa\n300,0.0035\n200,\"Outside 200-1100 nm, \"\"n\"\" is not calculated.\"\n1,\"two\nlines\"\n");
    EXPECT_EQ(SaturationTableText(table, false),
              "T\tP\nK\tMPa\n300\t0.0035\n200\tOutside 200-1100 nm, \"n\" is not calculated.\n1\ttwo\nlines\n");
    // The clipboard range is tab-separated and unquoted.
    EXPECT_EQ(SaturationTableRange(table, 1, 1, 0, 1), "200\tOutside 200-1100 nm, \"n\" is not calculated.\n");
}
