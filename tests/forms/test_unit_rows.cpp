// The unit rows of each selector and the unit kinds of the fields: every row complete
// and consistent, and every field that a selector's kind reaches follows a change of
// that selector exactly as a new calculation in the new unit would show it. A new unit
// or a new field declared incompletely fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/fields.h"
#include "forms/main_form.h"
#include "forms/units.h"

using namespace kelvane;

namespace {

using S = UnitSelector;

const std::vector<S>& Selectors() {
    static const std::vector<S> s = {S::kTemperature, S::kPressure,  S::kDensity,
                                     S::kAmount,      S::kViscosity, S::kConductivity};
    return s;
}

std::string Squeezed(const std::string& s) {
    std::string r;
    for (char c : s)
        if (c != ' ') r += c;
    return r;
}

// The selector of the main window for s, with its change action.
struct Box {
    ComboBox MainForm::*box;
    void (MainForm::*change)();
};

Box BoxOf(S s) {
    switch (s) {
        case S::kTemperature: return {&MainForm::ComboBoxT, &MainForm::ComboBoxTChange};
        case S::kPressure: return {&MainForm::ComboBoxP, &MainForm::ComboBoxPChange};
        case S::kDensity: return {&MainForm::ComboBoxRho, &MainForm::ComboBoxRhoChange};
        case S::kAmount: return {&MainForm::ComboBoxUnit, &MainForm::ComboBoxUnitChange};
        case S::kViscosity: return {&MainForm::ComboBoxVisc, &MainForm::ComboBoxViscChange};
        default: return {&MainForm::ComboBoxTherc, &MainForm::ComboBoxThercChange};
    }
}

bool IsNumber(const std::string& text, double& v) {
    try {
        v = ParseStrict(text);
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

}  // namespace

TEST(UnitRows, EveryUnitHasItsTextsAndItsConversion) {
    const FluidConstants& co2 = FluidAt(2).constants;
    for (S s : Selectors()) {
        const std::vector<UnitRow>& units = UnitRows(s);
        ASSERT_GE(units.size(), 2u);
        std::set<std::string> names;
        for (const UnitRow& u : units) {
            ASSERT_TRUE(u.item && u.label && u.cli && u.fullName) << int(s);
            EXPECT_TRUE(names.insert(Squeezed(u.cli)).second) << "two units named " << u.cli;
            // The density's units have their specific volumes, the amount's their
            // entropy labels; no other selector has second texts.
            EXPECT_EQ(u.label2 != nullptr, s == S::kDensity || s == S::kAmount) << u.item;
            EXPECT_EQ(u.cli2 != nullptr, s == S::kDensity) << u.item;
            EXPECT_EQ(u.fullName2 != nullptr, s == S::kDensity) << u.item;
            if (u.cli2) {
                EXPECT_TRUE(names.insert(Squeezed(u.cli2)).second) << "two units named " << u.cli2;
            }
            if (s == S::kTemperature) {
                ASSERT_TRUE(u.toK && u.fromK && !u.factor) << u.item;
                for (double x : {-40.0, 0.0, 1.0, 300.0}) EXPECT_NEAR(u.fromK(co2, u.toK(co2, x)), x, 1e-12) << u.item;
            } else {
                ASSERT_TRUE(u.factor && !u.toK && !u.fromK) << u.item;
                EXPECT_GT(u.factor(co2), 0) << u.item;
            }
        }
        // The first unit stands for an index out of range.
        EXPECT_EQ(&UnitAt(s, -1), &units.front());
        EXPECT_EQ(&UnitAt(s, static_cast<int>(units.size())), &units.front());
        // The tooltip: a heading, then one line per unit.
        const std::string tip = UnitTip(s);
        EXPECT_EQ(std::count(tip.begin(), tip.end(), '\n'), static_cast<long>(units.size()));
    }
    EXPECT_TRUE(UnitRows(S::kNone).empty());
    EXPECT_EQ(UnitTip(S::kDensity, false).substr(0, 21), "Specific volume unit\n");
    // The reduced units use the fluid's critical constants.
    EXPECT_EQ(PressureFactor(co2, 4), co2.Pc);
    EXPECT_EQ(DensityFactor(co2, 4), co2.rhoc);
    EXPECT_EQ(TemperatureToK(co2, 2, 1), co2.Tc);
}

TEST(UnitRows, EveryFieldLabelComesFromItsKind) {
    for (UnitKind k :
         {UnitKind::kNone, UnitKind::kTemperature, UnitKind::kPressure, UnitKind::kDensity, UnitKind::kEnergy,
          UnitKind::kEntropy, UnitKind::kTemperaturePerPressure, UnitKind::kInversePressure, UnitKind::kInverseDensity,
          UnitKind::kViscosity, UnitKind::kConductivity})
        EXPECT_EQ(UnitKindOf(k).kind, k) << "no row for unit kind " << int(k);

    MainForm f;
    const DisplayUnits u = f.Units();
    for (const FieldRow& row : FieldRows()) {
        const UnitKindRow& kind = UnitKindOf(row.unit);
        // A fixed unit only where the field follows no selector.
        if (row.fixedUnit) {
            EXPECT_EQ(row.unit, UnitKind::kNone) << row.control;
        }
        if (row.label) {
            EXPECT_EQ((f.*(row.label)).text, UnitLabel(row, u)) << row.control;
            EXPECT_FALSE(UnitLabel(row, u).empty()) << row.control << ": a unit label with no unit";
        } else if (kind.selector != S::kNone) {
            // Only the inputs carry their unit in the selector beside them.
            EXPECT_TRUE(row.source == FieldSource::kTemperature || row.source == FieldSource::kPressure ||
                        row.source == FieldSource::kDensity)
                << row.control << " follows a unit but has no label";
        }
        EXPECT_EQ(f.UnitText(row), row.field == &MainForm::Editn ? "at 589 nm" : UnitLabel(row, u)) << row.control;
    }
    EXPECT_EQ(f.Labelhunit.text, "J / mol");
    EXPECT_EQ(f.Labelsunit.text, "J / (mol K)");
    EXPECT_EQ(SiUnit(*FieldRowNamed("Editalpha"), false), "1/K");
    EXPECT_EQ(SiUnit(*FieldRowNamed("EditW"), true), "m/s");
    EXPECT_EQ(SiUnit(*FieldRowNamed("EditZ"), true), "");
}

// After a change of any selector to any unit, in density and in specific-volume mode,
// every shown result is what the calculation shows in the new units, and every label
// is its kind's label there.
TEST(UnitRows, EveryFieldFollowsEveryUnitChangeOfItsSelector) {
    for (bool volume : {false, true}) {
        for (S s : Selectors()) {
            const Box b = BoxOf(s);
            const int n = static_cast<int>(UnitRows(s).size());
            for (int i = 0; i < n; ++i) {
                MainForm f;
                f.preciseResults = true;
                if (volume) f.ButtonXRhoVClick();
                f.RadioGroupMatter.index = 2;  // CO2, whose reduced units are not 1
                f.RadioGroupMatterClick();
                f.RadioGroupVar.index = 0;
                f.RadioGroupVarClick();
                f.EditT.text = "290";
                f.EditP.text = "10";
                const PointResult r = Calculate(f.SelectedFluid(), f.ReadInput());
                f.ButtonCalcClick();
                (f.*b.box).Select(i);
                (f.*b.change)();
                const DisplayUnits u = f.Units();
                ASSERT_EQ(u.Index(s), i);
                for (const FieldRow& row : FieldRows()) {
                    if (row.source == FieldSource::kMessage) continue;
                    const std::string& shown = (f.*(row.field)).text;
                    const std::string expected = FieldText(row, r, u);
                    // The inputs and the secondary results are shown with 8 digits, the
                    // other results here with 15.
                    const bool eight = row.source == FieldSource::kTemperature ||
                                       row.source == FieldSource::kPressure || row.source == FieldSource::kDensity ||
                                       row.source == FieldSource::kSecondary;
                    double a, e;
                    if (IsNumber(shown, a) && IsNumber(expected, e))
                        EXPECT_NEAR(a, e, (eight ? 1e-7 : 1e-12) * std::abs(e)) << row.control << " after unit " << i;
                    else
                        EXPECT_EQ(shown, expected) << row.control << " after unit " << i;
                    if (row.label) {
                        EXPECT_EQ((f.*(row.label)).text, UnitLabel(row, u)) << row.control;
                    }
                }
            }
        }
    }
}

// Results of another fluid than the selected one (greyed until the next "Calculate")
// follow a unit change with the constants of their own fluid: back on that fluid they
// are what a calculation in the new units shows, not converted with the critical
// pressure, critical density or molar mass of the fluid selected meanwhile.
TEST(UnitRows, ResultsOfAnotherFluidConvertWithTheirOwnConstants) {
    for (S s : {S::kPressure, S::kDensity, S::kAmount}) {
        const Box b = BoxOf(s);
        const int reduced = s == S::kAmount ? 1 : 4;  // Pr, rho-r; per kilogram
        MainForm f;
        f.RadioGroupVar.index = 0;
        f.RadioGroupVarClick();
        f.EditT.text = "300";
        f.EditP.text = "10";
        f.ButtonCalcClick();
        f.RadioGroupMatter.index = 2;
        f.RadioGroupMatterClick();
        ASSERT_TRUE(f.ResultsStale());
        (f.*b.box).Select(reduced);
        (f.*b.change)();
        f.RadioGroupMatter.index = 0;
        f.RadioGroupMatterClick();
        ASSERT_FALSE(f.ResultsStale());

        MainForm fresh;
        (fresh.*b.box).Select(reduced);
        (fresh.*b.change)();
        const PointResult r = Calculate(FluidAt(0), PointInput{0, 300, 10e6, 0, 589});
        const DisplayUnits u = fresh.Units();
        for (const char* name : {"EditsatuP", "Editkappa", "EditsatuRhol", "EditC2", "EditH", "EditCp"}) {
            const FieldRow& row = *FieldRowNamed(name);
            if (UnitKindOf(row.unit).selector != s) continue;
            double a, e;
            ASSERT_TRUE(IsNumber((f.*(row.field)).text, a) && IsNumber(FieldText(row, r, u), e)) << name;
            EXPECT_NEAR(a, e, 1e-7 * std::abs(e)) << name << " after unit " << reduced;
        }
    }
}

// The same for the temperature found from the pressure and the enthalpy.
TEST(UnitRows, FoundTemperatureOfAnotherFluidConvertsWithItsOwnCriticalTemperature) {
    MainForm f;
    f.EditP.text = "10";
    f.RadioGroupPair.index = 1;
    f.RadioGroupPairClick();
    f.Edith.text = "50000";
    f.ButtonCalcClick();
    const double T = ParseStrict(f.EditT.text);
    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    f.ComboBoxT.Select(2);  // Tr
    f.ComboBoxTChange();
    EXPECT_NEAR(ParseStrict(f.EditT.text), T / FluidAt(0).constants.Tc, 1e-7 * T / FluidAt(0).constants.Tc);
}
