// The headless main window: the engineering units (deg F, kPa, psi, kJ, uPa s, cP,
// mW/(m K)) and how they convert shown values, entropy in the property list, results
// of a previous fluid, conversion errors that name their field, and the tooltips of
// properties a fluid does not have.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/fields.h"
#include "forms/main_form.h"
#include "forms/units.h"
#include "tables/table_writer.h"

using namespace kelvane;

namespace {

// Relative agreement of two shown numbers.
void ExpectSameNumber(const std::string& a, const std::string& b, double tolerance = 2e-8) {
    const double x = ParseStrict(a), y = ParseStrict(b);
    EXPECT_NEAR(x, y, tolerance * std::abs(y)) << a << " vs " << b;
}

// Water at 300 K and 10 MPa, pressure given, in the units selected on `f`.
void CalculateWater(MainForm& f, const char* T = "300", const char* P = "10") {
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = T;
    f.EditP.text = P;
    f.ButtonCalcClick();
}

void Choose(MainForm& f, ComboBox MainForm::*box, void (MainForm::*change)(), int index) {
    (f.*box).Select(index);
    (f.*change)();
}

}  // namespace

TEST(EngineeringUnits, FactorsAndLabelsFollowTheOriginalEntries) {
    const FluidConstants& w = FluidAt(0).constants;
    EXPECT_NEAR(TemperatureToK(w, 3, 32), 273.15, 1e-12);
    EXPECT_NEAR(TemperatureToK(w, 3, 212), 373.15, 1e-12);
    EXPECT_NEAR(TemperatureFromK(w, 3, 300), 80.33, 1e-12);
    EXPECT_NEAR(TemperatureFromK(w, 3, TemperatureToK(w, 3, -40)), -40, 1e-12);
    EXPECT_EQ(PressureFactor(w, 5), 1e3);
    EXPECT_NEAR(PressureFactor(w, 6), 6894.757293168361, 1e-9);
    EXPECT_EQ(AmountFactor(w, 3), 1000);
    EXPECT_DOUBLE_EQ(AmountFactor(w, 4), w.M);  // 1 kJ/kg = M J/mol
    EXPECT_EQ(ViscosityFactor(1), 1e-6);
    EXPECT_EQ(ViscosityFactor(2), 1e-3);
    EXPECT_EQ(ConductivityFactor(1), 1e-3);

    MainForm f;
    EXPECT_EQ(f.ComboBoxT.items, (std::vector<std::string>{"K", "deg C", "Tr", "deg F"}));
    EXPECT_EQ(f.temperatureLabels, (std::vector<std::string>{"K", "degC", "Tr", "degF"}));
    EXPECT_EQ(f.ComboBoxP.items, (std::vector<std::string>{"MPa", "Pa", "bar", "atm", "Pr", "kPa", "psi"}));
    EXPECT_EQ(f.ComboBoxUnit.items, (std::vector<std::string>{"mol", "kg", "molec", "kJ/mol", "kJ/kg"}));
    EXPECT_EQ(f.ComboBoxVisc.items, (std::vector<std::string>{"Pa s", "uPa s", "cP"}));
    EXPECT_EQ(f.ComboBoxTherc.items, (std::vector<std::string>{"W/(m K)", "mW/(m K)"}));
    // The initial selection and labels are those of the first entries.
    EXPECT_EQ(f.ComboBoxT.text, "K");
    EXPECT_EQ(f.LabelVisc.text, "Pa s");
    EXPECT_EQ(f.LabelTherc.text, "W / (m K)");
}

TEST(EngineeringUnits, ChangesConvertShownValuesAsANewCalculationShowsThem) {
    MainForm converted;
    CalculateWater(converted);
    Choose(converted, &MainForm::ComboBoxT, &MainForm::ComboBoxTChange, 3);
    EXPECT_EQ(converted.EditT.text, "80.33");
    Choose(converted, &MainForm::ComboBoxP, &MainForm::ComboBoxPChange, 6);
    EXPECT_EQ(converted.LabelJT.text, "K / psi");
    EXPECT_EQ(converted.Labelkappa.text, "/ psi");
    EXPECT_EQ(converted.LabelsatuP.text, "psi");
    Choose(converted, &MainForm::ComboBoxUnit, &MainForm::ComboBoxUnitChange, 4);
    EXPECT_EQ(converted.LabelH.text, "kJ / kg");
    EXPECT_EQ(converted.LabelS.text, "kJ / (kg K)");
    Choose(converted, &MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange, 1);
    EXPECT_EQ(converted.LabelVisc.text, "uPa s");
    Choose(converted, &MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange, 1);
    EXPECT_EQ(converted.LabelTherc.text, "mW / (m K)");

    // The same state typed in the new units and calculated there.
    MainForm fresh;
    Choose(fresh, &MainForm::ComboBoxT, &MainForm::ComboBoxTChange, 3);
    Choose(fresh, &MainForm::ComboBoxP, &MainForm::ComboBoxPChange, 6);
    Choose(fresh, &MainForm::ComboBoxUnit, &MainForm::ComboBoxUnitChange, 4);
    Choose(fresh, &MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange, 1);
    Choose(fresh, &MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange, 1);
    CalculateWater(fresh, "80.33", converted.EditP.text.c_str());
    ExpectSameNumber(converted.EditP.text, "1450.3774");
    for (const char* name :
         {"EditU", "EditH", "EditS", "EditCp", "EditJT", "Editkappa", "EditsatuP", "EditVisc", "EditTherc", "EditW"})
        ExpectSameNumber(converted.FieldByName(name)->text, fresh.FieldByName(name)->text, 1e-7);
    // Water's viscosity at 300 K is near 850 uPa s, its conductivity near 610 mW/(m K).
    EXPECT_NEAR(ParseStrict(fresh.EditVisc.text), 855, 10);
    EXPECT_NEAR(ParseStrict(fresh.EditTherc.text), 611, 10);
    // kJ/kg is J/mol divided by the molar mass.
    MainForm molar;
    CalculateWater(molar);
    ExpectSameNumber(fresh.EditH.text, FormatDisplay(ParseStrict(molar.EditH.text) / FluidAt(0).constants.M), 1e-7);

    // Back to the first entries gives the first texts again.
    for (auto [box, change] : {std::pair{&MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange},
                               std::pair{&MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange}})
        Choose(converted, box, change, 0);
    ExpectSameNumber(converted.EditVisc.text, molar.EditVisc.text);
    ExpectSameNumber(converted.EditTherc.text, molar.EditTherc.text);
    EXPECT_EQ(converted.LabelVisc.text, "Pa s");
}

TEST(EngineeringUnits, MessagesSurviveAndBackgroundValuesConvert) {
    MainForm f;
    f.EditVisc.text = "N/A (0.00125)";
    f.EditTherc.text = "over Tc";
    Choose(f, &MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange, 2);
    Choose(f, &MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange, 1);
    EXPECT_EQ(f.EditVisc.text, "N/A (1.25)");
    EXPECT_EQ(f.EditTherc.text, "over Tc");
    f.EditVisc.text.clear();
    Choose(f, &MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange, 0);
    EXPECT_EQ(f.EditVisc.text, "");  // an empty field stays empty
    EXPECT_EQ(f.unitVisc, 0);
}

TEST(EngineeringUnits, FieldTextOfTransportPropertiesFollowsTheirUnits) {
    const PointResult r = Calculate(FluidAt(0), PointInput{0, 300, 10e6, 0, 589});
    DisplayUnits u;
    u.constants = &FluidAt(0).constants;
    const FieldRow& visc = *FieldRowNamed("EditVisc");
    const FieldRow& therc = *FieldRowNamed("EditTherc");
    const double etha = ParseStrict(FieldText(visc, r, u)), lambda = ParseStrict(FieldText(therc, r, u));
    u.unitVisc = 2;
    u.unitTherc = 1;
    EXPECT_NEAR(ParseStrict(FieldText(visc, r, u)), etha * 1e3, etha * 1e3 * 1e-7);
    EXPECT_NEAR(ParseStrict(FieldText(therc, r, u)), lambda * 1e3, lambda * 1e3 * 1e-7);
    EXPECT_EQ(visc.unit, UnitKind::kViscosity);
    EXPECT_EQ(FieldRowNamed("EditDth")->unit, UnitKind::kNone);  // diffusivity keeps m2/s
}

TEST(EntropyProperty, IsTheTwentySixthItemAfterTheUnchangedOnes) {
    EXPECT_EQ(TablePropertyCount(), 26);
    EXPECT_EQ(kTablePropertyCount, TablePropertyCount());
    const std::vector<std::string> items = PropertyItems(true);
    ASSERT_EQ(items.size(), 26u);
    EXPECT_EQ(items[0], "Pressure: P");
    EXPECT_EQ(items[11], "Isobaric Specific Heat: Cp");
    EXPECT_EQ(items[24], "Refractive Index: n(l)");
    EXPECT_EQ(items[25], "Entropy: S");
    EXPECT_EQ(TableRow(25)->control, std::string("EditS"));
    EXPECT_FALSE(IsTemperatureOnlyProperty(25));
    MainForm f;
    EXPECT_EQ(PropertyUnit(f, 25), "J / (mol K)");
    ASSERT_NE(FieldRowOfTsvName("Cp"), nullptr);
    EXPECT_EQ(FieldRowOfTsvName("Cp")->tableIndex, 11);
    EXPECT_EQ(FieldRowOfTsvName("S")->tableIndex, 25);
    EXPECT_EQ(FieldRowOfTsvName("Nope"), nullptr);
}

TEST(StaleResults, StayGreyedWithANoteUntilTheNextCalculate) {
    MainForm f;
    CalculateWater(f);
    const std::string cp = f.EditCp.text, message = f.EditMes.text;
    ASSERT_FALSE(cp.empty());
    EXPECT_FALSE(f.ResultsStale());

    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    EXPECT_TRUE(f.ResultsStale());
    EXPECT_EQ(f.EditCp.text, cp);  // the values are kept
    for (EditField* e : f.ResultFields()) EXPECT_FALSE(e->enabled);
    EXPECT_TRUE(f.EditT.enabled);
    EXPECT_EQ(f.EditMes.text, MainForm::StaleNote("Water", "Methanol"));
    EXPECT_NE(f.EditMes.text.find("computed for Water"), std::string::npos);

    // A unit change converts them as before.
    Choose(f, &MainForm::ComboBoxUnit, &MainForm::ComboBoxUnitChange, 3);
    ExpectSameNumber(f.EditCp.text, FormatDisplay(ParseStrict(cp) / 1000));

    // Back to water: as they were.
    f.RadioGroupMatter.index = 0;
    f.RadioGroupMatterClick();
    EXPECT_FALSE(f.ResultsStale());
    for (EditField* e : f.ResultFields()) EXPECT_TRUE(e->enabled);
    EXPECT_EQ(f.EditMes.text, message);

    // CO2, then "Calculate": fresh results, no note.
    f.RadioGroupMatter.index = 2;
    f.RadioGroupMatterClick();
    EXPECT_NE(f.EditMes.text.find("for CO2"), std::string::npos);
    CalculateWater(f, "300", "10");
    EXPECT_FALSE(f.ResultsStale());
    EXPECT_EQ(f.resultFluid, 2);
    EXPECT_TRUE(f.EditCp.enabled);
    EXPECT_EQ(f.EditMes.text.find("computed for"), std::string::npos);
}

TEST(StaleResults, NoNoteBeforeAnyCalculationOrAfterAFailedOne) {
    MainForm f;
    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    EXPECT_EQ(f.EditMes.text, "");
    f.EditT.text = "x";
    EXPECT_THROW(f.ButtonCalcClick(), ConversionError);
    f.RadioGroupMatter.index = 0;
    f.RadioGroupMatterClick();
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_TRUE(f.EditCp.enabled);
}

TEST(FieldErrors, NameTheFieldBeforeTheConversionText) {
    MainForm f;
    auto message = [&](auto action) -> std::string {
        try {
            action();
        } catch (const FieldConversionError& e) {
            EXPECT_FALSE(e.Field().empty());
            return e.what();
        }
        return "no error";
    };
    f.EditT.text = "abc";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "T: \"abc\" is not a valid number.");
    EXPECT_EQ(message([&] { Choose(f, &MainForm::ComboBoxT, &MainForm::ComboBoxTChange, 3); }),
              "T: \"abc\" is not a valid number.");
    EXPECT_EQ(f.unitT, 0);  // the failed change keeps the old unit
    f.EditT.text = "300";
    f.EditRho.text = "1e";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "rho: \"1e\" is not a valid number.");
    EXPECT_EQ(message([&] { f.ButtonXRhoVClick(); }), "rho: \"1e\" is not a valid number.");
    EXPECT_FALSE(f.densityMode);  // the switch happened before the conversion
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "V: \"1e\" is not a valid number.");
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditP.text = "";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "P: \"\" is not a valid number.");
    // The pressure with the enthalpy or the entropy name their fields the same way.
    f.EditP.text = "1";
    f.RadioGroupPair.index = 1;
    f.RadioGroupPairClick();
    f.Edith.text = "abc";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "h: \"abc\" is not a valid number.");
    f.RadioGroupPair.index = 2;
    f.RadioGroupPairClick();
    f.Edits.text = "1x";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "s: \"1x\" is not a valid number.");
    f.Edits.text = "1";
    f.EditP.text = "";
    EXPECT_EQ(message([&] { f.ButtonCalcClick(); }), "P: \"\" is not a valid number.");
    // Still a ConversionError with the offending text, for those that catch that.
    try {
        f.ButtonCalcClick();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.Text(), "");
    }
}

TEST(MissingProperties, TooltipsSayWhichFluidHasThemNot) {
    MainForm f;
    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    CalculateWater(f, "300", "1");
    ASSERT_FALSE(f.EditCp.text.empty());
    for (EditField* e : {&f.EditEps, &f.EditKw, &f.Editn}) {
        EXPECT_EQ(e->text, "");
        EXPECT_EQ(e->hint, "not available for methanol");
    }
    // A field that holds a value has no such tooltip, whatever the fluid.
    for (EditField* e : {&f.EditVisc, &f.EditTherc, &f.EditDth})
        EXPECT_EQ(e->hint.empty(), !e->text.empty()) << e->text;
    EXPECT_EQ(f.EditCp.hint, "");

    f.RadioGroupMatter.index = 2;
    f.RadioGroupMatterClick();
    CalculateWater(f, "300", "1");
    EXPECT_EQ(f.EditEps.hint, "not available for carbon dioxide");
    EXPECT_EQ(f.EditVisc.hint, "");

    f.RadioGroupMatter.index = 0;
    f.RadioGroupMatterClick();
    CalculateWater(f);
    for (const FieldRow& row : FieldRows()) EXPECT_EQ((f.*(row.field)).hint, "") << row.control;
    // A calculation stopped before the properties leaves no tooltip either.
    f.EditT.text = "100";
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditEps.hint, "");
}
