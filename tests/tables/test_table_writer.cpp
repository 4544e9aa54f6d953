// The table writer driving a headless main window over the test fluid: the file text
// byte for byte, the validation messages and their order, and the ways a table ends.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/format.h"
#include "forms/main_form.h"
#include "tables/list_table.h"
#include "tables/table_writer.h"
#include "tables/value_lists.h"
#include "test_fluid.h"

using namespace kelvane;

namespace {

// Collects the text and records how the writer used it.
class SpyOutput : public StringTableOutput {
public:
    bool Choose() override { return ++chosen, !cancel; }
    bool Open(std::string& error) override { return ++opened, StringTableOutput::Open(error); }
    bool Close(std::string&) override { return ++closed, true; }
    void Abandon() override { ++abandoned; }
    bool CellDone(int done, int) override { return done != stopAfter; }
    bool cancel = false;
    int stopAfter = -1, chosen = 0, opened = 0, closed = 0, abandoned = 0;
};

class TableWriter : public ::testing::Test {
protected:
    void SetUp() override {
        main = std::make_unique<MainForm>();
        testfluid::UseTestFluid(*main);
    }
    TableResult Make(int r, int c, int q, std::string rows, std::string columns, TableOutput* to = nullptr) {
        TableSettings s;
        s.rowVariable = r;
        s.columnVariable = c;
        s.property = q;
        s.rowList = std::move(rows);
        s.columnList = std::move(columns);
        return MakeTable(*main, s, to ? *to : out);
    }
    TableResult Pairs(int r, int c, int q, const std::string& text, const std::string& skip = "1") {
        TableSettings s;
        s.type = 1;
        s.rowVariable = r;
        s.columnVariable = c;
        s.property = q;
        s.skipLines = skip;
        // One file per test: ctest runs the tests of this program in parallel.
        s.columnsFile = ::testing::TempDir() + "kelvane_pairs_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::ofstream(s.columnsFile) << text;
        return MakeTable(*main, s, out);
    }
    std::unique_ptr<MainForm> main;
    SpyOutput out;
};

constexpr int kQPressure = 0, kQDensity = 1, kQSatuP = 3, kQCp = 11, kQZ = 12, kQC2 = 16;
const std::string kCpTitle = "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n";

}  // namespace

TEST_F(TableWriter, MatrixOfCpByteForByte) {
    const TableResult r = Make(kVarT, kVarP, kQCp, "300,400", "1,2");
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(r.message, "The table has been made successfully.\n0 of 4 cells hold a message or are empty.");
    // Cp = R (3.5 + T/1000) + P/MPa of the test fluid; no line break after the last row.
    EXPECT_EQ(out.Text(), kCpTitle +
                              "T (K) / P (MPa)\t1\t2\n"
                              "300\t32.595138\t33.595138\n"
                              "400\t33.426589\t34.426589");
    EXPECT_EQ(out.closed, 1);
    EXPECT_EQ(out.abandoned, 0);
    // Pressure became the given input; the main window keeps the last cell.
    EXPECT_EQ(main->RadioGroupVar.index, 0);
    EXPECT_FALSE(main->EditP.readOnly);
    EXPECT_EQ(main->EditCp.text, "34.426589");
}

TEST_F(TableWriter, SwappedAxesOtherUnitsAndFifteenDigitValues) {
    main->ComboBoxP.Select(2);  // bar
    main->ComboBoxPChange();
    main->ComboBoxT.Select(1);  // deg C
    main->ComboBoxTChange();
    Make(kVarP, kVarT, kQCp, "10", "26.85,126.85123456789");
    EXPECT_EQ(out.Text(), kCpTitle +
                              "P (bar) / T (degC)\t26.85\t126.85123456789\n"
                              "10\t32.595138\t33.426599");
    EXPECT_EQ(main->EditT.text, "126.85123");  // the calculation sees 8 digits
}

TEST_F(TableWriter, TemperatureOnlyPropertiesHaveOneCriticalPressureColumn) {
    for (int q = 2; q < kTablePropertyCount; ++q) {
        SpyOutput spy;
        Make(kVarT, kVarRho, q, "300", "1,2", &spy);
        const std::string heading = spy.Text().substr(spy.Text().find('\n') + 1);
        const bool single = q == 2 || q == 3 || q == 4 || q == 5 || q == 16;
        EXPECT_EQ(heading.substr(0, heading.find('\n')),
                  single ? "T (K) / P (MPa)\t22.064" : "T (K) / rho (kg / m3)\t1\t2")
            << q;
    }
    main->ComboBoxP.Select(4);  // Pr
    main->ComboBoxPChange();
    Make(kVarT, kVarRho, kQSatuP, "300", "5", &out);
    EXPECT_EQ(out.Text(), "Saturation Pressure: P-satu (Pr) of Water\nT (K) / P (Pr)\t1\n300\t" +
                              FormatDisplay(testfluid::TestSaturationPressure(300) / 22.064e6));

    // With T in the columns the rows become the pressure; "Set CP" changes the main
    // window even when the table is not written.
    main->EditT.text = "300";
    main->RadioGroupVar.index = 1;
    main->RadioGroupVarClick();
    SpyOutput empty;
    EXPECT_EQ(Make(kVarRho, kVarT, kQC2, "", "", &empty).message, kNoValues);
    EXPECT_EQ(main->EditT.text, "647.096");
    EXPECT_EQ(main->RadioGroupVar.index, 0);
    EXPECT_EQ(empty.chosen, 0);
    SpyOutput rows;
    Make(kVarRho, kVarT, kQC2, "", "300", &rows);
    EXPECT_EQ(rows.Text(), "Second Virial Coefficient: C2 (m3 / kg) of Water\nP (Pr) / T (K)\t300\n1\t0");
}

TEST_F(TableWriter, DimensionlessPropertyHasAnEmptyUnit) {
    Make(kVarT, kVarP, kQZ, "300", "1");
    EXPECT_EQ(out.Text(), "Compressibity Factor: Z () of Water\nT (K) / P (MPa)\t1\n300\t1");
}

TEST_F(TableWriter, SpecificVolumeModeKeepsTheNameRhoWithTheVolumeUnit) {
    main->ButtonXRhoVClick();
    Make(kVarT, kVarRho, kQPressure, "300", "0.5,2");
    // Density given: P = rho R T with rho = (1000/M mol/kg) / v.
    auto p = [](double v) { return FormatDisplay(1000 / 18.015257 / v * 8.31451 * 300 / 1e6); };
    EXPECT_EQ(out.Text(), "Pressure: P (MPa) of Water\nT (K) / rho (m3 / kg)\t0.5\t2\n300\t" + p(0.5) + "\t" + p(2));
    EXPECT_EQ(main->RadioGroupVar.index, 1);
    SpyOutput v;
    Make(kVarT, kVarP, kQDensity, "300", "1", &v);
    EXPECT_EQ(v.Text().substr(0, v.Text().find('\n')), "Specific Volume: V (m3 / kg) of Water");
}

TEST_F(TableWriter, ValidationMessagesInTheirOrder) {
    struct Case {
        int r, c, q;
        const char* rows;
        const char* message;
    } cases[] = {
        {kVarP, kVarRho, kQCp, "300", kNeedTemperatureAndOther},
        {kVarP, kVarP, -1, "300", kNeedTemperatureAndOther},  // before r = c and q
        {-1, kVarT, kQCp, "300", kNeedTemperatureAndOther},   // an axis holding typed text
        {kVarT, -1, kQCp, "300", kNeedTemperatureAndOther},
        {kVarT, kVarT, -1, "300", kNeedTemperatureOnce},  // before q
        {kVarT, kVarP, -1, "", kNeedProperty},            // before the values
        {kVarT, kVarP, kQPressure, "300", kPropertyIsVariable},
        {kVarRho, kVarT, kQDensity, "300", kPropertyIsVariable},
        {kVarT, kVarP, kQCp, "", kNoValues},
    };
    for (const Case& k : cases) {
        SpyOutput spy;
        const TableResult r = Make(k.r, k.c, k.q, k.rows, "1", &spy);
        EXPECT_EQ(r.message, k.message) << k.r << "," << k.c << "," << k.q;
        EXPECT_EQ(spy.chosen, 0);
    }
    SpyOutput spy;  // pressure tabulated against density is a valid table
    EXPECT_EQ(Make(kVarT, kVarRho, kQPressure, "300", "1", &spy).status, TableResult::Status::Written);
}

TEST_F(TableWriter, CancelledChoiceLeavesTheMainWindowSelector) {
    out.cancel = true;
    const TableResult r = Make(kVarT, kVarP, kQCp, "300", "1");
    EXPECT_EQ(r.status, TableResult::Status::Cancelled);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(out.opened, 0);
    EXPECT_EQ(main->RadioGroupVar.index, 1);  // still density given
}

TEST_F(TableWriter, PairsFromAFileByteForByte) {
    ASSERT_EQ(Pairs(kVarT, kVarP, kQCp, "T (K)\tP (MPa)\n300\t1\n400\t2\textra\n").status,
              TableResult::Status::Written);
    EXPECT_EQ(out.Text(), kCpTitle +
                              "T (K)\tP (MPa)\tIsobaric Specific Heat: Cp (J / (mol K))\n"
                              "300\t1\t32.595138\n"
                              "400\t2\t34.426589");
}

TEST_F(TableWriter, ColumnFileFailures) {
    TableSettings s;
    s.type = 1;
    s.property = kQCp;
    s.columnsFile = ::testing::TempDir() + "kelvane_no_such_dir/none.txt";
    const TableResult r = MakeTable(*main, s, out);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_EQ(r.message, "The file for reading columns \"" + s.columnsFile + "\" cannot be opened (" +
                             std::strerror(ENOENT) + ").");
    EXPECT_THROW(Pairs(kVarT, kVarP, kQCp, "header\n300\t1\n", "one"), ConversionError);
    EXPECT_EQ(Pairs(kVarT, kVarP, kQCp, "only a header\n").message,
              std::string(kNoValues) + " The file for reading columns \"" + ::testing::TempDir() +
                  "kelvane_pairs_ColumnFileFailures.txt\" holds no line with two tab-separated values.");
    EXPECT_EQ(out.chosen, 0);
}

TEST_F(TableWriter, ErrorInACellClosesTheOutput) {
    // An infinite ROW value reaches "Calculate" as the text INF.
    // It is refused before the output is chosen: nothing is opened or written, so an
    // earlier file of that name stays as it was.
    EXPECT_THROW(Make(kVarT, kVarP, kQCp, "300,1e999", "1"), ConversionError);
    EXPECT_EQ(out.chosen, 0);
    EXPECT_EQ(out.opened, 0);
    EXPECT_EQ(out.closed, 0);
    EXPECT_EQ(out.Text(), "");

    // A row that cannot be stored ends the table there: the output is abandoned, not
    // closed, so nothing partial becomes the file.
    struct FailingRow : SpyOutput {
        bool Write(std::string_view text, std::string& error) override {
            if (text.find("\n400\t") == std::string::npos) return SpyOutput::Write(text, error);
            error = "disk full";
            return false;
        }
    } failing;
    const TableResult r = Make(kVarT, kVarP, kQCp, "300,400,500", "1", &failing);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_EQ(r.message, "disk full");
    EXPECT_EQ(r.rowsWritten, 0);
    EXPECT_EQ(failing.opened, 1);
    EXPECT_EQ(failing.closed, 0);
    EXPECT_EQ(failing.abandoned, 1);
}

TEST_F(TableWriter, StopKeepsTheCompleteRows) {
    out.stopAfter = 3;  // the first cell of the second row
    const TableResult r = Make(kVarT, kVarP, kQCp, "300,400,500", "1,2");
    EXPECT_EQ(r.status, TableResult::Status::Stopped);
    EXPECT_EQ(r.message, "The table was stopped after 1 of 3 rows; those rows are in the file.");
    EXPECT_EQ(out.Text(), kCpTitle + "T (K) / P (MPa)\t1\t2\n300\t32.595138\t33.595138");
    SpyOutput atRowEnd;
    atRowEnd.stopAfter = 4;  // the last cell of the second row
    EXPECT_EQ(Make(kVarT, kVarP, kQCp, "300,400,500", "1,2", &atRowEnd).rowsWritten, 2);
}

TEST_F(TableWriter, LongListsUseTheFirst2048Values) {
    std::string rows;
    for (int i = 0; i <= kMaxValues; ++i) rows += (i ? "," : "") + std::to_string(300 + i % 100);
    const TableResult r = Make(kVarT, kVarP, kQZ, rows, "1");
    EXPECT_EQ(r.rowsWritten, kMaxValues);
    EXPECT_EQ(r.message,
              "The table has been made successfully. Only the first 2048 values of the ROW list were used.\n"
              "0 of 2048 cells hold a message or are empty.");
}

TEST_F(TableWriter, FileOutput) {
    FileTableOutput missing(::testing::TempDir() + "kelvane_no_such_dir/table.txt");
    const TableResult r = Make(kVarT, kVarP, kQCp, "300", "1", &missing);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("cannot be created"), std::string::npos);

    // An older, longer file is replaced by exactly the table's bytes.
    const std::string name = ::testing::TempDir() + "kelvane_table.txt";
    std::ofstream(name) << std::string(500, 'x');
    FileTableOutput file(name);
    Make(kVarT, kVarP, kQCp, "300,400", "1,2", &file);
    Make(kVarT, kVarP, kQCp, "300,400", "1,2");
    std::ifstream in(name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), out.Text());
}

// A cell whose number is not finite (the test fluid's pressure overflows at a density of
// 1e306 kg/m3) makes the table fail: nothing is written, an earlier file stays as it was
// and no temporary file is left. Both the matrix and the list table.
TEST_F(TableWriter, ANumberThatIsNotFiniteLeavesTheEarlierFile) {
    const std::string folder = ::testing::TempDir() + "kelvane_not_finite_" + std::to_string(getpid()) + "/";
    mkdir(folder.c_str(), 0700);
    const std::string name = folder + "table.txt";
    const std::string old = "OLD\nearlier table\n";
    auto read = [&] {
        std::ifstream in(name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    auto entries = [&] {
        std::vector<std::string> names;
        if (DIR* d = opendir(folder.c_str())) {
            while (dirent* e = readdir(d))
                if (e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.')) names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    };
    const std::string message =
        "The table was not written: 2 of 4 cells hold a number that is not finite (NAN or INF); an earlier file is "
        "unchanged.";

    std::ofstream(name) << old;
    FileTableOutput file(name);
    TableResult r = Make(kVarT, kVarRho, kQPressure, "300,400", "1,1e306", &file);
    EXPECT_EQ(r.status, TableResult::Status::NotFinite);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(r.rowsWritten, 0);
    EXPECT_EQ(read(), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"table.txt"});
    // The cells are there: the writer abandons the output instead of closing it.
    r = Make(kVarT, kVarRho, kQPressure, "300,400", "1,1e306");
    EXPECT_NE(out.Text().find("\tINF"), std::string::npos) << out.Text();
    EXPECT_EQ(out.closed, 0);
    EXPECT_EQ(out.abandoned, 1);
    // Finite cells only: the table is written.
    EXPECT_EQ(Make(kVarT, kVarRho, kQPressure, "300,400", "1,2", &file).status, TableResult::Status::Written);
    EXPECT_NE(read(), old);

    ListTableSettings list;
    list.points.rowVariable = kVarT;
    list.points.columnVariable = kVarRho;
    list.points.rowList = "300,400";
    list.points.columnList = "1,1e306";
    list.properties = {kQPressure, kQCp};
    std::ofstream(name) << old;
    FileTableOutput listFile(name);
    r = MakeListTable(*main, list, listFile);
    EXPECT_EQ(r.status, TableResult::Status::NotFinite);
    EXPECT_EQ(r.message,
              "The table was not written: 2 of 8 cells hold a number that is not finite (NAN or INF); an earlier "
              "file is unchanged.");
    EXPECT_EQ(read(), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"table.txt"});
    unlink(name.c_str());
    rmdir(folder.c_str());
}
