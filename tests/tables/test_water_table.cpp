// A Cp table of water through the real IAPWS-IF97 model, checked against the
// release's verification values (IAPWS-IF97 Tables 5 and 15), in J/(kg K).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "tables/table_writer.h"

using namespace kelvane;

TEST(WaterTable, IsobaricHeatCapacityMatchesTheIf97CheckValues) {
    MainForm main;
    main.ComboBoxUnit.Select(1);  // per kg
    main.ComboBoxUnitChange();
    TableSettings s;
    s.property = 11;
    s.rowList = "300,500,700";
    s.columnList = "0.0035,3";
    StringTableOutput out;
    ASSERT_EQ(MakeTable(main, s, out).status, TableResult::Status::Written);

    std::vector<std::vector<std::string>> cells;
    std::istringstream text(out.Text());
    for (std::string line; std::getline(text, line);) {
        cells.emplace_back();
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');) cells.back().push_back(f);
    }
    ASSERT_EQ(cells.size(), 5u) << out.Text();
    EXPECT_EQ(cells[0][0], "Isobaric Specific Heat: Cp (J / (kg K)) of Water");
    EXPECT_EQ(cells[1], (std::vector<std::string>{"T (K) / P (MPa)", "0.0035", "3"}));
    EXPECT_NE(out.Text().back(), '\n');

    // Per-kg values divide the molar ones by the fluid table's molar mass; its
    // R/M = 461.526028 J/(kg K) differs from IF97's 461.526 by 6e-8, hence 1e-7.
    auto cp = [&](int row, int column) { return ParseStrict(cells.at(row).at(column)); };
    EXPECT_NEAR(cp(2, 1), 1913.00162, 1913.0 * 1e-7);  // region 2, 300 K, 0.0035 MPa
    EXPECT_NEAR(cp(2, 2), 4173.01218, 4173.0 * 1e-7);  // region 1, 300 K, 3 MPa
    EXPECT_NEAR(cp(3, 2), 4655.80682, 4655.8 * 1e-7);  // region 1, 500 K, 3 MPa
    EXPECT_NEAR(cp(4, 1), 2081.41274, 2081.4 * 1e-7);  // region 2, 700 K, 0.0035 MPa
}
