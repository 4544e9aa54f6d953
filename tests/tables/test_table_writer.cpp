// The table writer driving a headless main window over the test fluid: the file text
// byte for byte, the validation messages and their order, and the ways a table ends.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/format.h"
#include "core/main_form.h"
#include "tables/table_writer.h"
#include "tables/value_lists.h"
#include "test_fluid.h"

using namespace kelvane;

namespace {

// Collects the text and records how the writer used it.
class SpyOutput : public StringTableOutput {
public:
    bool Choose() override {
        ++chosen;
        return !cancel;
    }
    bool Open(std::string& error) override {
        ++opened;
        return StringTableOutput::Open(error);
    }
    bool Close(std::string&) override {
        ++closed;
        return true;
    }
    void Started(int total) override { startedWith = total; }
    bool CellDone(int done, int total) override {
        lastDone = done;
        EXPECT_EQ(total, startedWith);
        return done != stopAfter;
    }
    bool cancel = false;
    int stopAfter = -1;
    int chosen = 0, opened = 0, closed = 0, startedWith = -1, lastDone = 0;
};

class TableWriter : public ::testing::Test {
protected:
    void SetUp() override {
        testfluid::UseTestFluid();
        main = std::make_unique<MainForm>();
    }
    TableSettings Matrix(int r, int c, int q, std::string rows, std::string columns) {
        TableSettings s;
        s.rowVariable = r;
        s.columnVariable = c;
        s.property = q;
        s.rowList = std::move(rows);
        s.columnList = std::move(columns);
        return s;
    }
    std::string WriteColumnsFile(const std::string& text) {
        const std::string name = ::testing::TempDir() + "kelvane_pairs.txt";
        std::ofstream(name) << text;
        return name;
    }
    std::unique_ptr<MainForm> main;
    SpyOutput out;
};

constexpr int kQPressure = 0, kQDensity = 1, kQSatuP = 3, kQCp = 11, kQZ = 12, kQC2 = 16, kQn = 24;

}  // namespace

TEST_F(TableWriter, MatrixOfCpByteForByte) {
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,400", "1,2"), out);
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(r.message, "The table has been made successfully.");
    EXPECT_EQ(r.rowsWritten, 2);
    // Cp = R (3.5 + T/1000) + P/MPa of the test fluid; no line break after the last row.
    EXPECT_EQ(out.Text(),
              "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n"
              "T (K) / P (MPa)\t1\t2\n"
              "300\t32.595138\t33.595138\n"
              "400\t33.426589\t34.426589");
    EXPECT_EQ(out.opened, 1);
    EXPECT_EQ(out.closed, 1);
    EXPECT_EQ(out.startedWith, 4);
    EXPECT_EQ(out.lastDone, 4);
    // The main window keeps the last cell; pressure became the given input.
    EXPECT_EQ(main->RadioGroupVar.index, 0);
    EXPECT_FALSE(main->EditP.readOnly);
    EXPECT_EQ(main->EditT.text, "400");
    EXPECT_EQ(main->EditP.text, "2");
    EXPECT_EQ(main->EditCp.text, "34.426589");
}

TEST_F(TableWriter, PressureInRowsTemperatureInColumnsAndOtherUnits) {
    main->ComboBoxP.Select(2);  // bar
    main->ComboBoxPChange();
    main->ComboBoxT.Select(1);  // deg C
    main->ComboBoxTChange();
    const TableResult r = MakeTable(*main, Matrix(kVarP, kVarT, kQCp, "10", "26.85,126.85"), out);
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(out.Text(),
              "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n"
              "P (bar) / T (degC)\t26.85\t126.85\n"
              "10\t32.595138\t33.426589");
}

TEST_F(TableWriter, FileValuesCarryFifteenDigitsCellsTheDisplayedText) {
    MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300.123456789012", "0.1"), out);
    // The row value keeps 15 digits in the file; the calculation saw 300.12346.
    EXPECT_NE(out.Text().find("\n300.123456789012\t"), std::string::npos);
    EXPECT_EQ(main->EditT.text, "300.12346");
}

TEST_F(TableWriter, TemperatureOnlyPropertyHasOneCriticalPressureColumn) {
    main->ComboBoxP.Select(4);  // Pr
    main->ComboBoxPChange();
    // The COLUMN variable and list are replaced by the critical pressure.
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarRho, kQSatuP, "300,400", "5,6,7"), out);
    ASSERT_EQ(r.status, TableResult::Status::Written);
    const std::string p300 = FormatDisplay(testfluid::TestSaturationPressure(300) / 22.064e6);
    const std::string p400 = FormatDisplay(testfluid::TestSaturationPressure(400) / 22.064e6);
    EXPECT_EQ(out.Text(),
              "Saturation Pressure: P-satu (Pr) of Water\n"
              "T (K) / P (Pr)\t1\n"
              "300\t" + p300 + "\n"
              "400\t" + p400);
    EXPECT_EQ(main->RadioGroupVar.index, 0);
}

TEST_F(TableWriter, ExactlyTheTemperatureOnlyPropertiesReplaceTheOtherAxis) {
    for (int q = 2; q < kTablePropertyCount; ++q) {
        SCOPED_TRACE(q);
        SpyOutput spy;
        MakeTable(*main, Matrix(kVarT, kVarP, q, "300", "1,2"), spy);
        const std::string heading = spy.Text().substr(spy.Text().find('\n') + 1);
        const bool single = q == 2 || q == 3 || q == 4 || q == 5 || q == 16;
        EXPECT_EQ(heading.substr(0, heading.find('\n')), single ? "T (K) / P (MPa)\t22.064" : "T (K) / P (MPa)\t1\t2");
    }
}

TEST_F(TableWriter, TemperatureOnlyPropertyWithTemperatureInTheColumns) {
    main->ButtonXRhoVClick();  // C2 is shown on the specific-volume scale in either mode
    const TableResult r = MakeTable(*main, Matrix(kVarRho, kVarT, kQC2, "", "300"), out);
    ASSERT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(out.Text(),
              "Second Virial Coefficient: C2 (m3 / kg) of Water\n"
              "P (MPa) / T (K)\t300\n"
              "22.064\t0");
}

TEST_F(TableWriter, TemperatureOnlyPropertyChangesTheMainWindowEvenWithoutValues) {
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQSatuP, "", "1"), out);
    EXPECT_EQ(r.message, kNoValues);
    EXPECT_EQ(main->RadioGroupVar.index, 0);
    EXPECT_EQ(main->EditT.text, "647.096");  // "Set CP" ran
    EXPECT_EQ(main->EditP.text, "22.064");
    EXPECT_EQ(out.chosen, 0);
}

TEST_F(TableWriter, DimensionlessPropertyHasAnEmptyUnit) {
    MakeTable(*main, Matrix(kVarT, kVarP, kQZ, "300", "1"), out);
    EXPECT_EQ(out.Text(), "Compressibity Factor: Z () of Water\nT (K) / P (MPa)\t1\n300\t1");
}

TEST_F(TableWriter, RefractiveIndexUnitCarriesTheWavelength) {
    main->Editnlambda.text = "633";
    MakeTable(*main, Matrix(kVarT, kVarP, kQn, "300", "1"), out);
    EXPECT_EQ(out.Text(), "Refractive Index: n(l) (at 633 nm) of Water\nT (K) / P (MPa)\t1\n300\t1.0003");
}

TEST_F(TableWriter, SpecificVolumeModeKeepsTheNameRhoWithTheVolumeUnit) {
    main->ButtonXRhoVClick();
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarRho, kQPressure, "300", "0.5,2"), out);
    ASSERT_EQ(r.status, TableResult::Status::Written);
    // Density given: P = rho R T with rho = (1000/M mol/kg) / v.
    const double M = 18.015257, R = 8.31451;
    auto p = [&](double v) { return FormatDisplay(1000 / M / v * R * 300 / 1e6); };
    EXPECT_EQ(out.Text(),
              "Pressure: P (MPa) of Water\n"
              "T (K) / rho (m3 / kg)\t0.5\t2\n"
              "300\t" + p(0.5) + "\t" + p(2));
    EXPECT_EQ(main->RadioGroupVar.index, 1);
    EXPECT_TRUE(main->EditP.readOnly);
    EXPECT_EQ(PropertyItems(false)[kQDensity], "Specific Volume: V");
    EXPECT_EQ(PropertyItems(true)[kQDensity], "Density: rho");
}

TEST_F(TableWriter, SpecificVolumeTitleUsesTheRenamedItem) {
    main->ButtonXRhoVClick();
    MakeTable(*main, Matrix(kVarT, kVarP, kQDensity, "300", "1"), out);
    EXPECT_EQ(out.Text().substr(0, out.Text().find('\n')), "Specific Volume: V (m3 / kg) of Water");
}

TEST_F(TableWriter, ValidationMessagesInTheirOrder) {
    struct Case {
        int r, c, q;
        const char* message;
    } cases[] = {
        {kVarP, kVarRho, kQCp, kNeedTemperatureAndOther},
        {kVarP, kVarP, -1, kNeedTemperatureAndOther},  // checked before r = c and q
        {-1, kVarT, kQCp, kNeedTemperatureAndOther},   // an axis holding typed text
        {kVarT, -1, kQCp, kNeedTemperatureAndOther},
        {kVarT, 3, kQCp, kNeedTemperatureAndOther},
        {kVarT, kVarT, -1, kNeedTemperatureOnce},      // checked before q
        {kVarT, kVarP, -1, kNeedProperty},
        {kVarT, kVarP, kTablePropertyCount, kNeedProperty},
        {kVarT, kVarP, kQPressure, kPropertyIsVariable},
        {kVarRho, kVarT, kQDensity, kPropertyIsVariable},
        {kVarT, kVarRho, kQPressure, nullptr},  // P against rho is a valid table
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.r) + "," + std::to_string(k.c) + "," + std::to_string(k.q));
        SpyOutput spy;
        const TableResult r = MakeTable(*main, Matrix(k.r, k.c, k.q, "300", "1"), spy);
        if (k.message) {
            EXPECT_EQ(r.status, TableResult::Status::Invalid);
            EXPECT_EQ(r.message, k.message);
            EXPECT_EQ(spy.chosen, 0);
        } else {
            EXPECT_EQ(r.status, TableResult::Status::Written);
        }
    }
}

TEST_F(TableWriter, EmptyListGivesTheCountMessage) {
    for (const auto& [rows, columns] : {std::pair{"", "1"}, std::pair{"300", ""}, std::pair{"", ""}}) {
        SpyOutput spy;
        const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQCp, rows, columns), spy);
        EXPECT_EQ(r.message, "The number of values in either ROW or COLUMN is 0 or missed.");
        EXPECT_EQ(spy.chosen, 0);
    }
}

TEST_F(TableWriter, CancelledChoiceLeavesTheMainWindowSelector) {
    out.cancel = true;
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300", "1"), out);
    EXPECT_EQ(r.status, TableResult::Status::Cancelled);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(out.opened, 0);
    EXPECT_EQ(main->RadioGroupVar.index, 1);  // still density given
}

TEST_F(TableWriter, PairsFromAFileByteForByte) {
    TableSettings s = Matrix(kVarT, kVarP, kQCp, "", "");
    s.type = 1;
    s.columnsFile = WriteColumnsFile("T (K)\tP (MPa)\n300\t1\n400\t2\textra\n");
    const TableResult r = MakeTable(*main, s, out);
    ASSERT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(out.Text(),
              "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n"
              "T (K)\tP (MPa)\tIsobaric Specific Heat: Cp (J / (mol K))\n"
              "300\t1\t32.595138\n"
              "400\t2\t34.426589");
    EXPECT_EQ(out.startedWith, 2);
}

TEST_F(TableWriter, PairsWithTemperatureSecondAndTemperatureOnlyProperty) {
    // TYPE II keeps its pairs even for a property of the temperature alone.
    TableSettings s = Matrix(kVarP, kVarT, kQZ, "", "");
    s.type = 1;
    s.skipLines = "0";
    s.columnsFile = WriteColumnsFile("1\t300\n");
    MakeTable(*main, s, out);
    EXPECT_EQ(out.Text(), "Compressibity Factor: Z () of Water\nP (MPa)\tT (K)\tCompressibity Factor: Z ()\n1\t300\t1");
}

TEST_F(TableWriter, ColumnFileFailures) {
    TableSettings s = Matrix(kVarT, kVarP, kQCp, "", "");
    s.type = 1;
    s.columnsFile = ::testing::TempDir() + "kelvane_no_such_dir/none.txt";
    TableResult r = MakeTable(*main, s, out);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("cannot be opened"), std::string::npos);
    EXPECT_NE(r.message.find(s.columnsFile), std::string::npos);
    EXPECT_EQ(out.chosen, 0);

    s.columnsFile = WriteColumnsFile("header\n300\t1\n");
    s.skipLines = "one";
    EXPECT_THROW(MakeTable(*main, s, out), ConversionError);
    EXPECT_EQ(out.chosen, 0);
}

TEST_F(TableWriter, FileWithoutPairsGivesTheCountMessage) {
    TableSettings s = Matrix(kVarT, kVarP, kQCp, "", "");
    s.type = 1;
    s.columnsFile = WriteColumnsFile("only a header\n");
    EXPECT_EQ(MakeTable(*main, s, out).message, kNoValues);
}

TEST_F(TableWriter, ErrorInACellClosesTheOutput) {
    // An infinite ROW value reaches "Calculate" as the text INF.
    EXPECT_THROW(MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,1e999", "1"), out), ConversionError);
    EXPECT_EQ(out.opened, 1);
    EXPECT_EQ(out.closed, 1);
    EXPECT_EQ(out.Text(), "Isobaric Specific Heat: Cp (J / (mol K)) of Water\nT (K) / P (MPa)\t1\n300\t32.595138");
}

TEST_F(TableWriter, StopKeepsTheCompleteRows) {
    out.stopAfter = 3;  // the first cell of the second row
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,400,500", "1,2"), out);
    EXPECT_EQ(r.status, TableResult::Status::Stopped);
    EXPECT_EQ(r.rowsWritten, 1);
    EXPECT_EQ(r.message, "The table was stopped after 1 of 3 rows; those rows are in the file.");
    EXPECT_EQ(out.Text(),
              "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n"
              "T (K) / P (MPa)\t1\t2\n"
              "300\t32.595138\t33.595138");
    EXPECT_EQ(out.closed, 1);

    SpyOutput atRowEnd;
    atRowEnd.stopAfter = 4;  // the last cell of the second row
    EXPECT_EQ(MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,400,500", "1,2"), atRowEnd).rowsWritten, 2);
}

TEST_F(TableWriter, LongListsUseTheFirst2048Values) {
    std::string rows;
    for (int i = 0; i <= kMaxValues; ++i) rows += (i ? "," : "") + std::to_string(300 + i % 100);
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQZ, rows, "1"), out);
    EXPECT_EQ(r.status, TableResult::Status::Written);
    EXPECT_EQ(r.rowsWritten, kMaxValues);
    EXPECT_EQ(r.message,
              "The table has been made successfully. Only the first 2048 values of the ROW list were used.");
}

TEST_F(TableWriter, OutputFileThatCannotBeCreated) {
    FileTableOutput file(::testing::TempDir() + "kelvane_no_such_dir/table.txt");
    const TableResult r = MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300", "1"), file);
    EXPECT_EQ(r.status, TableResult::Status::OutputFailed);
    EXPECT_NE(r.message.find("cannot be created"), std::string::npos);
}

TEST_F(TableWriter, FileOutputWritesTheSameBytes) {
    const std::string name = ::testing::TempDir() + "kelvane_table.txt";
    std::ofstream(name) << "an older and longer file that must be replaced completely";
    FileTableOutput file(name);
    ASSERT_EQ(MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,400", "1,2"), file).status,
              TableResult::Status::Written);
    MakeTable(*main, Matrix(kVarT, kVarP, kQCp, "300,400", "1,2"), out);
    std::ifstream in(name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), out.Text());
}
