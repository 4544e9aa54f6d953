// Tables of water along isobars in enthalpy or entropy: the layout of TYPE I and
// TYPE II files with the h or s heading and unit, cells equal to the point
// calculation, the validation of the variable pairs and the main window afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "tables/table_form.h"
#include "tables/table_writer.h"

using namespace kelvane;

namespace {

std::vector<std::vector<std::string>> Cells(const std::string& text) {
    std::vector<std::vector<std::string>> cells;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        cells.emplace_back();
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');) cells.back().push_back(f);
    }
    return cells;
}

// The text the main window shows in `field` for P (MPa) with h (J/mol) or s.
std::string PointText(const char* field, double P, const char* option, double value) {
    MainForm f;
    f.RadioGroupPair.index = option[0] == 'h' ? 1 : 2;
    f.RadioGroupPairClick();
    f.EditP.text = FormatDisplay(P);
    (option[0] == 'h' ? f.Edith : f.Edits).text = FormatDisplay(value);
    f.ButtonCalcClick();
    return f.FieldByName(field)->text;
}

}  // namespace

TEST(WaterIsobarTable, TemperatureOverPressureRowsAndEnthalpyColumns) {
    MainForm main;
    TableSettings s;
    s.rowVariable = kVarP;
    s.columnVariable = kVarH;
    s.property = 11;  // Cp
    s.rowList = "1,10";
    s.columnList = "10000,40000,60000";
    StringTableOutput out;
    ASSERT_EQ(MakeTable(main, s, out).status, TableResult::Status::Written);
    const auto cells = Cells(out.Text());
    ASSERT_EQ(cells.size(), 4u) << out.Text();
    EXPECT_EQ(cells[0][0], "Isobaric Specific Heat: Cp (J / (mol K)) of Water");
    EXPECT_EQ(cells[1], (std::vector<std::string>{"P (MPa) / h (J / mol)", "10000", "40000", "60000"}));
    EXPECT_NE(out.Text().back(), '\n');
    ASSERT_EQ(cells[2].size(), 4u);
    EXPECT_EQ(cells[2][0], "1");
    // 40000 J/mol at 1 MPa is wet steam: no heat capacity.
    EXPECT_EQ(cells[2][2], "N/A");
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(cells[2 + i][1 + j], PointText("EditCp", i == 0 ? 1 : 10, "h", ParseStrict(cells[1][1 + j])));
    // The main window holds the last cell: P with h selected, T found.
    EXPECT_EQ(main.RadioGroupPair.index, 1);
    EXPECT_EQ(main.EditP.text, "10");
    EXPECT_EQ(main.Edith.text, "60000");
    EXPECT_EQ(main.EditT.text, PointText("EditT", 10, "h", 60000));
    EXPECT_FALSE(main.EditT.text.empty());
}

TEST(WaterIsobarTable, EntropyRowsPerKgAndTheReverseOrder) {
    MainForm main;
    main.ComboBoxUnit.Select(1);  // per kg
    main.ComboBoxUnitChange();
    TableSettings s;
    s.rowVariable = kVarS;
    s.columnVariable = kVarP;
    s.property = 7;  // H
    s.rowList = "500,7500";
    s.columnList = "3,0.1";
    StringTableOutput out;
    ASSERT_EQ(MakeTable(main, s, out).status, TableResult::Status::Written);
    const auto cells = Cells(out.Text());
    ASSERT_EQ(cells.size(), 4u) << out.Text();
    EXPECT_EQ(cells[0][0], "Enthalpy: H (J / kg) of Water");
    EXPECT_EQ(cells[1], (std::vector<std::string>{"s (J / (kg K)) / P (MPa)", "3", "0.1"}));
    // 0.5 kJ/(kg K) at 3 MPa: IF97 region 1 at 307.84 K, where h is near 148 kJ/kg.
    const double h = ParseStrict(cells[2][1]);
    EXPECT_GT(h, 1.4e5);
    EXPECT_LT(h, 1.6e5);
    // The last cell, 7.5 kJ/(kg K) at 0.1 MPa, is the IF97 region-2 check state at
    // 399.517097 K; the main window shows it per kg.
    EXPECT_EQ(main.RadioGroupPair.index, 2);
    EXPECT_EQ(main.Edits.text, "7500");
    EXPECT_NEAR(ParseStrict(main.EditT.text), 399.517097, 25e-3);
    EXPECT_EQ(main.Labelsunit.text, "J / (kg K)");
}

TEST(WaterIsobarTable, PairsFromAFile) {
    const std::string name = ::testing::TempDir() + "kelvane_isobar_pairs.txt";
    {
        FILE* f = std::fopen(name.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("P\th\n3\t9007.8\n80\t27024\n", f);
        std::fclose(f);
    }
    MainForm main;
    TableSettings s;
    s.type = 1;
    s.rowVariable = kVarP;
    s.columnVariable = kVarH;
    s.property = 1;  // density
    s.columnsFile = name;
    s.skipLines = "1";
    StringTableOutput out;
    ASSERT_EQ(MakeTable(main, s, out).status, TableResult::Status::Written);
    const auto cells = Cells(out.Text());
    ASSERT_EQ(cells.size(), 4u) << out.Text();
    EXPECT_EQ(cells[1], (std::vector<std::string>{"P (MPa)", "h (J / mol)", "Density: rho (kg / m3)"}));
    EXPECT_EQ(cells[2][2], PointText("EditRho", 3, "h", 9007.8));
    EXPECT_EQ(cells[3][2], PointText("EditRho", 80, "h", 27024));
    std::remove(name.c_str());
}

TEST(WaterIsobarTable, VariablePairsAreValidated) {
    struct Case {
        int r, c, q;
        const char* message;
    };
    const Case cases[] = {
        {kVarT, kVarH, 11, kNeedPressureWithEnergy},  {kVarS, kVarRho, 11, kNeedPressureWithEnergy},
        {kVarH, kVarS, 11, kNeedPressureWithEnergy},  {kVarH, kVarH, 11, kNeedPressureWithEnergy},
        {kVarP, kVarH, -1, kNeedProperty},            {kVarP, kVarH, 0, kPropertyIsVariable},
        {kVarH, kVarP, 7, kPropertyIsVariable},
    };
    for (const Case& k : cases) {
        MainForm main;
        TableSettings s;
        s.rowVariable = k.r;
        s.columnVariable = k.c;
        s.property = k.q;
        s.rowList = "1";
        s.columnList = "1000";
        StringTableOutput out;
        const TableResult r = MakeTable(main, s, out);
        EXPECT_EQ(r.status, TableResult::Status::Invalid) << k.r << " " << k.c << " " << k.q;
        EXPECT_EQ(r.message, k.message) << k.r << " " << k.c << " " << k.q;
        EXPECT_TRUE(out.Text().empty());
    }
}

TEST(WaterIsobarTable, TemperatureTableAfterAnIsobarRestoresTheInputPair) {
    MainForm main;
    main.RadioGroupPair.index = 1;
    main.RadioGroupPairClick();
    TableSettings s;
    s.property = 11;
    s.rowList = "300";
    s.columnList = "1";
    StringTableOutput out;
    ASSERT_EQ(MakeTable(main, s, out).status, TableResult::Status::Written);
    EXPECT_EQ(main.RadioGroupPair.index, 0);
    EXPECT_FALSE(main.EditT.readOnly);
    EXPECT_EQ(main.EditT.text, "300");
    EXPECT_EQ(Cells(out.Text())[1], (std::vector<std::string>{"T (K) / P (MPa)", "1"}));
}

TEST(WaterIsobarTable, WindowOffersHAndSAfterTheExistingVariables) {
    struct NoDialogs : TableFileDialogs {
        bool SaveFileName(std::string&) override { return false; }
        bool OpenFileName(std::string&) override { return false; }
    } dialogs;
    MainForm main;
    TableForm form(main, dialogs);
    EXPECT_EQ(form.ComboBoxR.items, (std::vector<std::string>{"T", "P", "rho", "h", "s"}));
    EXPECT_EQ(form.ComboBoxC.items, form.ComboBoxR.items);
    main.ButtonXRhoVClick();
    EXPECT_EQ(form.ComboBoxR.items, (std::vector<std::string>{"T", "P", "V", "h", "s"}));
}
