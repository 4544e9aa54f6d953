// The headless main window with the pressure and the enthalpy or entropy given: the
// input pair's editable fields, the amount and temperature units on the new fields,
// results equal to the (T, P) calculation, refusals and malformed input.
#include <gtest/gtest.h>

#include <cmath>

#include "core/format.h"
#include "forms/main_form.h"

using namespace kelvane;

namespace {

void SelectPair(MainForm& f, int pair) {
    f.RadioGroupPair.index = pair;
    f.RadioGroupPairClick();
}

}  // namespace

TEST(MainFormIsobar, PairSelectorSwapsTheEditableFields) {
    MainForm f;
    EXPECT_EQ(f.RadioGroupPair.index, 0);
    EXPECT_EQ(f.RadioGroupVar.items, (std::vector<std::string>{"P =", "rho="}));
    EXPECT_TRUE(f.Edith.readOnly);
    EXPECT_TRUE(f.Edits.readOnly);
    SelectPair(f, 2);
    EXPECT_TRUE(f.EditT.readOnly);
    EXPECT_FALSE(f.EditP.readOnly);
    EXPECT_TRUE(f.EditRho.readOnly);
    EXPECT_TRUE(f.Edith.readOnly);
    EXPECT_FALSE(f.Edits.readOnly);
    EXPECT_EQ(f.Edits.color, ColorRole::Window);
    // The P/rho selector waits until T is given again.
    f.RadioGroupVar.index = 1;
    f.RadioGroupVarClick();
    EXPECT_FALSE(f.EditP.readOnly);
    SelectPair(f, 0);
    EXPECT_FALSE(f.EditT.readOnly);
    EXPECT_TRUE(f.EditP.readOnly);  // rho given, as selected meanwhile
    EXPECT_FALSE(f.EditRho.readOnly);
    EXPECT_TRUE(f.Edits.readOnly);
    EXPECT_EQ(f.Edits.color, ColorRole::ButtonFace);
}

TEST(MainFormIsobar, ResultsAreThoseOfTheTemperatureFound) {
    MainForm tp;
    tp.RadioGroupVar.index = 0;
    tp.RadioGroupVarClick();
    tp.preciseResults = true;
    tp.EditT.text = "500";
    tp.EditP.text = "20";
    tp.ButtonCalcClick();
    MainForm f;
    f.preciseResults = true;
    SelectPair(f, 1);
    f.EditP.text = "20";
    f.Edith.text = tp.EditH.text;
    f.EditT.text = "left from before";
    f.ButtonCalcClick();
    EXPECT_NEAR(ParseStrict(f.EditT.text), 500, 1e-9);
    EXPECT_EQ(f.EditP.text, "20");
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_EQ(f.Editx.text, "");
    EXPECT_NEAR(ParseStrict(f.EditRho.text) / ParseStrict(tp.EditRho.text), 1, 1e-12);
    EXPECT_NEAR(ParseStrict(f.EditCp.text) / ParseStrict(tp.EditCp.text), 1, 1e-9);
    EXPECT_EQ(f.calc.inputVar, 2);
    EXPECT_NEAR(f.calc.T, 500, 1e-9);
}

TEST(MainFormIsobar, UnitChangesConvertTheGivenValues) {
    MainForm f;
    SelectPair(f, 1);
    f.EditP.text = "1";
    f.Edith.text = "40000";
    f.Edits.text = "100";
    f.ComboBoxUnit.Select(1);  // per kg
    f.ComboBoxUnitChange();
    EXPECT_EQ(f.Edith.text, FormatDisplay(40000 / 18.015257e-3));
    EXPECT_EQ(f.Edits.text, FormatDisplay(100 / 18.015257e-3));
    EXPECT_EQ(f.Labelhunit.text, "J / kg");
    EXPECT_EQ(f.Labelsunit.text, "J / (kg K)");
    f.ButtonCalcClick();
    const std::string x = f.Editx.text;
    ASSERT_FALSE(x.empty());  // 40 kJ/mol at 1 MPa is wet steam
    const std::string T = f.EditT.text;
    // The temperature field is a result here: the unit switch rewrites it.
    f.ComboBoxT.Select(1);  // deg C
    f.ComboBoxTChange();
    EXPECT_NEAR(ParseStrict(f.EditT.text), ParseStrict(T) - 273.15, 1e-5);
    f.ComboBoxUnit.Select(0);
    f.ComboBoxUnitChange();
    f.ButtonCalcClick();
    EXPECT_NEAR(ParseStrict(f.Editx.text), ParseStrict(x), 1e-7);
    // A malformed given value stays as typed through a unit change.
    f.Edith.text = "12a";
    f.ComboBoxUnit.Select(2);
    f.ComboBoxUnitChange();
    EXPECT_EQ(f.Edith.text, "12a");
    EXPECT_THROW(f.ButtonCalcClick(), ConversionError);
    EXPECT_EQ(f.EditMes.text, "");
}

TEST(MainFormIsobar, RefusalsLeaveTheTemperatureEmpty) {
    MainForm f;
    SelectPair(f, 2);
    f.EditP.text = "0";
    f.Edits.text = "50";
    f.EditT.text = "300";
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, MainForm::kZeroStateMessage);
    EXPECT_EQ(f.EditT.text, "");
    EXPECT_EQ(f.EditCp.text, "");
    f.EditP.text = "150";  // above 100 MPa for water
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, "Not applied to the range more than 100 MPa.");
    EXPECT_EQ(f.EditT.text, "");
    f.EditP.text = "";
    EXPECT_THROW(f.ButtonCalcClick(), ConversionError);
}
