// Unit handlers, "Set CP", the input selector and the density/specific-volume switch
// of the headless main window. They work on the shown texts only, so no fluid
// operations are needed; the constants come from the fluid table.
#include <gtest/gtest.h>

#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"

using namespace kelvane;

namespace {

class MainFormUnits : public ::testing::Test {
protected:
    MainForm f;
};

}  // namespace

TEST_F(MainFormUnits, InitialStateIsWaterAtItsCriticalPointWithDensityGiven) {
    EXPECT_EQ(f.calc.fluid, 0);
    EXPECT_EQ(&f.SelectedFluid(), &FluidAt(0));
    EXPECT_DOUBLE_EQ(f.calc.rhoc, 322 / 18.015257 * 1000);
    EXPECT_EQ(f.EditT.text, "647.096");
    EXPECT_EQ(f.EditP.text, "22.064");
    EXPECT_EQ(f.EditRho.text, "322");
    EXPECT_EQ(f.RadioGroupVar.index, 1);
    EXPECT_TRUE(f.EditP.readOnly);
    EXPECT_EQ(f.EditP.color, ColorRole::ButtonFace);
    EXPECT_FALSE(f.EditRho.readOnly);
    EXPECT_EQ(f.ComboBoxT.text, "K");
    EXPECT_EQ(f.ComboBoxRho.text, "kg/m3");
    EXPECT_EQ(f.LabelJT.text, "K / MPa");
    EXPECT_EQ(f.LabelC2.text, "m3 / kg");
    EXPECT_EQ(f.Editnlambda.text, "589");
}

TEST_F(MainFormUnits, PressureUnitRescalesPressuresAndPerPressureResults) {
    f.EditmeltP.text = "Not treat.";
    f.EditsatuP.text = "3.5";
    f.EditJT.text = "0.5";
    f.Editkappa.text = "2";
    f.ComboBoxP.Select(2);  // bar
    f.ComboBoxPChange();
    EXPECT_EQ(f.EditP.text, "220.64");
    EXPECT_EQ(f.EditmeltP.text, "Not treat.");
    EXPECT_EQ(f.EditsatuP.text, "35");
    EXPECT_EQ(f.EditJT.text, "0.05");
    EXPECT_EQ(f.Editkappa.text, "0.2");
    EXPECT_EQ(f.LabelJT.text, "K / bar");
    EXPECT_EQ(f.Labelkappa.text, "/ bar");
    EXPECT_EQ(f.LabelmeltP.text, "bar");
    EXPECT_EQ(f.LabelsatuP.text, "bar");
    EXPECT_EQ(f.unitP, 2);
    // Reselecting the stored unit changes nothing.
    f.EditP.text = "not parsed";
    EXPECT_NO_THROW(f.ComboBoxPChange());
    EXPECT_EQ(f.EditP.text, "not parsed");
}

TEST_F(MainFormUnits, FailingStrictParseKeepsTheStoredUnit) {
    f.EditP.text = "";
    f.ComboBoxP.Select(1);
    EXPECT_THROW(f.ComboBoxPChange(), ConversionError);
    EXPECT_EQ(f.unitP, 0);
    EXPECT_EQ(f.LabelJT.text, "K / MPa");
    // A later change converts from the stored unit (MPa), not from the shown entry.
    f.EditP.text = "1";
    f.ComboBoxP.Select(2);
    f.ComboBoxPChange();
    EXPECT_EQ(f.EditP.text, "10");

    f.EditT.text = "warm";
    f.ComboBoxT.Select(1);
    EXPECT_THROW(f.ComboBoxTChange(), ConversionError);
    EXPECT_EQ(f.unitT, 0);
}

TEST_F(MainFormUnits, TemperatureUnitsIncludingReduced) {
    f.ComboBoxT.Select(1);
    f.ComboBoxTChange();
    EXPECT_EQ(f.EditT.text, "373.946");
    f.ComboBoxT.Select(2);
    f.ComboBoxTChange();
    EXPECT_EQ(f.EditT.text, "1");
    f.ComboBoxT.Select(0);
    f.ComboBoxTChange();
    EXPECT_EQ(f.EditT.text, "647.096");
}

TEST_F(MainFormUnits, ReducedUnitsUseTheSelectedFluid) {
    f.ComboBoxRho.Select(4);  // rho-r with water: 1 rho-r = 322 kg/m3
    f.ComboBoxRhoChange();
    EXPECT_EQ(f.EditRho.text, "1");
    f.RadioGroupMatter.index = 2;
    f.RadioGroupMatterClick();
    f.EditP.text = "7.3773";
    f.ComboBoxP.Select(4);  // Pr with CO2: 1 Pr = 7.3773 MPa
    f.ComboBoxPChange();
    EXPECT_EQ(f.EditP.text, "1");
    EXPECT_DOUBLE_EQ(f.calc.rhored, f.calc.rhoc);
    EXPECT_DOUBLE_EQ(f.calc.rhoc, 467.6 / 44.0098 * 1000);
    EXPECT_DOUBLE_EQ(f.calc.Tred, 304.1282);
    EXPECT_EQ(f.Units().constants, &FluidAt(2).constants);
    // Selecting a fluid reinterprets nothing that is shown.
    EXPECT_EQ(f.EditRho.text, "1");
}

TEST_F(MainFormUnits, DensityUnitAlwaysRewritesTheInputAndRescalesC2) {
    f.EditRho.text = "";
    f.EditsatuRhov.text = "over Tc";
    f.EditC2.text = "-0.001";
    f.ComboBoxRho.Select(1);  // g/cm3
    f.ComboBoxRhoChange();
    EXPECT_EQ(f.EditRho.text, "0");
    EXPECT_EQ(f.EditsatuRhov.text, "over Tc");
    EXPECT_EQ(f.EditC2.text, "-1");  // m3/kg -> cm3/g
    EXPECT_EQ(f.LabelC2.text, "cm3 / g");
    EXPECT_EQ(f.LabelsatuRhov.text, "g / cm3");
    EXPECT_EQ(f.unitRho, 1);
}

TEST_F(MainFormUnits, AmountUnitOnEmptyFieldsWritesZeros) {
    f.ComboBoxUnit.Select(1);
    f.ComboBoxUnitChange();
    for (const EditField* e : {&f.EditU, &f.EditH, &f.EditF, &f.EditG, &f.EditS, &f.EditCv, &f.EditCp})
        EXPECT_EQ(e->text, "0");
    EXPECT_EQ(f.LabelU.text, "J / kg");
    EXPECT_EQ(f.LabelCp.text, "J / (kg K)");
    f.EditH.text = "18.015257";  // J/kg -> per molecule in units of kB: x * M/1000 / R
    f.ComboBoxUnit.Select(2);
    f.ComboBoxUnitChange();
    EXPECT_EQ(f.EditH.text, FormatDisplay(18.015257 * (0.001 * 18.015257 / 8.31451)));
    EXPECT_EQ(f.LabelS.text, "kB / (molec K)");
}

TEST_F(MainFormUnits, DensityVolumeSwitch) {
    bool hookMode = true;
    f.densityModeChanged = [&](bool mode) { hookMode = mode; };
    f.EditsatuRhov.text = "0.5";
    f.EditsatuRhol.text = "N/A";
    f.EditC2.text = "-0.002";
    f.ButtonXRhoVClick();
    EXPECT_FALSE(f.densityMode);
    EXPECT_FALSE(hookMode);
    EXPECT_EQ(f.EditRho.text, FormatDisplay(1.0 / 322));
    EXPECT_EQ(f.EditsatuRhov.text, "2");
    EXPECT_EQ(f.EditsatuRhol.text, "N/A");
    EXPECT_EQ(f.EditC2.text, "-0.002");
    EXPECT_EQ(f.RadioGroupVar.items[1], "V=");
    EXPECT_EQ(f.ComboBoxRho.items[3], "A3 / molec");
    EXPECT_EQ(f.ComboBoxRho.text, "m3 / kg");
    EXPECT_EQ(f.LabelsatuRhovt.text, "V-gas =");
    EXPECT_EQ(f.LabelsatuRholt.text, "V-liq =");
    EXPECT_EQ(f.LabelsatuRhol.text, "m3 / kg");

    // A failing conversion leaves the texts but the mode and labels are switched.
    f.EditRho.text = "x";
    EXPECT_THROW(f.ButtonXRhoVClick(), ConversionError);
    EXPECT_TRUE(f.densityMode);
    EXPECT_TRUE(hookMode);
    EXPECT_EQ(f.RadioGroupVar.items[1], "rho=");
    EXPECT_EQ(f.EditsatuRhov.text, "2");

    // Volume mode: the density unit change divides.
    f.EditRho.text = "2";
    f.ButtonXRhoVClick();
    f.ComboBoxRho.Select(1);  // m3/kg -> cm3/g
    f.ComboBoxRhoChange();
    EXPECT_EQ(f.EditRho.text, "500");
    EXPECT_EQ(f.LabelsatuRhov.text, "cm3 / g");
}

TEST_F(MainFormUnits, SetCpInReducedUnitsWritesOnes) {
    f.ComboBoxT.Select(2);
    f.ComboBoxTChange();
    f.ComboBoxP.Select(4);
    f.ComboBoxPChange();
    f.ComboBoxRho.Select(4);
    f.ComboBoxRhoChange();
    f.EditT.text = f.EditP.text = f.EditRho.text = "";
    f.ButtonSetCpClick();
    EXPECT_EQ(f.EditT.text, "1");
    EXPECT_EQ(f.EditP.text, "1");
    EXPECT_EQ(f.EditRho.text, "1");
    f.ButtonXRhoVClick();
    f.ButtonSetCpClick();
    EXPECT_EQ(f.EditRho.text, "1");
    // Default units: the critical constants of water.
    MainForm g;
    g.ButtonSetCpClick();
    EXPECT_EQ(g.EditT.text, "647.096");
    EXPECT_EQ(g.EditP.text, "22.064");
    EXPECT_EQ(g.EditRho.text, "322");
}

TEST_F(MainFormUnits, InputSelectorSwapsEditableFieldAndColours) {
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    EXPECT_FALSE(f.EditP.readOnly);
    EXPECT_EQ(f.EditP.color, ColorRole::Window);
    EXPECT_TRUE(f.EditRho.readOnly);
    EXPECT_EQ(f.EditRho.color, ColorRole::ButtonFace);
    EXPECT_EQ(f.EditP.text, "22.064");
    f.RadioGroupVar.index = 1;
    f.RadioGroupVarClick();
    EXPECT_TRUE(f.EditP.readOnly);
    EXPECT_FALSE(f.EditRho.readOnly);
}

TEST_F(MainFormUnits, SelectFluidOutsideTheTableChangesNothing) {
    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    const double tc = f.calc.Tc;
    for (int outside : {3, -1}) {
        f.RadioGroupMatter.index = outside;
        f.RadioGroupMatterClick();
    }
    EXPECT_EQ(f.calc.fluid, 1);
    EXPECT_EQ(f.calc.Tc, tc);
    EXPECT_EQ(f.calc.rhoc, 8600);
    EXPECT_EQ(f.calc.rhored, 8785.17);
    // The constants of the fluid table, with the derived critical density.
    EXPECT_DOUBLE_EQ(kWaterConstants.rhoc, 322 / 18.015257 * 1000);
    EXPECT_EQ(kMethanolConstants.rhored, 8785.17);
    EXPECT_EQ(FluidNamed("MeOH"), &FluidAt(1));
    EXPECT_EQ(FluidNamed("h2o"), &FluidAt(0));
    EXPECT_EQ(FluidNamed("co2"), &FluidAt(2));
    EXPECT_EQ(FluidNamed("ethanol"), nullptr);
}
