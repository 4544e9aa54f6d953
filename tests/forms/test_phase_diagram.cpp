// The phase diagram of every fluid: saturation curves from the lowest accepted
// temperature to the critical point that agree with the fluid's own Saturation,
// melting and sublimation curves where the fluid gives them, the untouched calculator
// state, and the diagram following the main form's fluid, units and calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/calculate.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "forms/phase_diagram.h"

using namespace kelvane;

namespace {

class PhaseCurvesTest : public ::testing::TestWithParam<int> {};

void ExpectAscending(const std::vector<PhasePoint>& points, const char* what) {
    for (size_t i = 1; i < points.size(); ++i) {
        EXPECT_GT(points[i].T, points[i - 1].T) << what << " at " << i;
        EXPECT_GT(points[i].P, points[i - 1].P) << what << " at " << i;
    }
}

// Saturation pressure of the fluid straight from its operation.
double DirectSaturation(int fluid, double T) {
    const Fluid& f = FluidAt(fluid);
    const SaturationState s = f.ops.Saturation(f.constants.Tred / T, T);
    EXPECT_EQ(s.status, Status::kValue) << fluid << " " << T;
    return s.P;
}

// Temperature on a curve at pressure P, linear in ln P.
double TemperatureAt(const std::vector<PhasePoint>& curve, double P) {
    for (size_t i = 1; i < curve.size(); ++i)
        if (curve[i].P >= P) {
            const PhasePoint &a = curve[i - 1], &b = curve[i];
            return a.T + (b.T - a.T) * std::log(P / a.P) / std::log(b.P / a.P);
        }
    return NAN;
}

}  // namespace

TEST_P(PhaseCurvesTest, SaturationRunsFromTheLowestTemperatureToTheCriticalPoint) {
    const int fluid = GetParam();
    const PhaseCurves c = ComputePhaseCurves(fluid);
    const Fluid& fluidOps = FluidAt(fluid);
    const FluidConstants& f = fluidOps.constants;
    const double lowest[] = {273.15, 175.61, 216};
    EXPECT_EQ(c.fluid, fluid);
    EXPECT_NEAR(c.lowestT, lowest[fluid], 1e-9);
    EXPECT_EQ(LowestAcceptedTemperature(fluidOps), c.lowestT);
    EXPECT_EQ(fluidOps.ops.CheckTemperature(c.lowestT), MessageId::kNone);
    EXPECT_NE(fluidOps.ops.CheckTemperature(c.lowestT - 1e-6), MessageId::kNone);

    ASSERT_GT(c.saturation.size(), 100u);
    EXPECT_LE(c.saturation.size(), static_cast<size_t>(kSaturationSamples + 1));
    ExpectAscending(c.saturation, "saturation");
    EXPECT_EQ(c.saturation.front().T, c.lowestT);
    EXPECT_EQ(c.saturation.back().T, f.Tc);
    EXPECT_EQ(c.saturation.back().P, f.Pc);
    EXPECT_EQ(c.critical.T, f.Tc);
    // The last calculated point lies close below the critical point.
    const PhasePoint& near = c.saturation[c.saturation.size() - 2];
    EXPECT_LT(f.Tc - near.T, 0.1);
    EXPECT_LT((f.Pc - near.P) / f.Pc, 5e-3);

    // Between the samples the curve agrees with the fluid's own Saturation.
    for (double u : {0.05, 0.37, 0.71, 0.93}) {
        const double T = c.lowestT + u * (f.Tc - c.lowestT) + 0.0123;
        const double direct = DirectSaturation(fluid, T);
        const std::optional<double> curve = InterpolateSaturation(c, T);
        ASSERT_TRUE(curve.has_value());
        EXPECT_NEAR(*curve / direct, 1, 2e-4) << "T = " << T;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFluid, PhaseCurvesTest, ::testing::Values(0, 1, 2));

TEST(PhaseCurves, SaturationPressuresInPascal) {
    // Water: IAPWS-IF97 saturation-pressure verification values; carbon dioxide:
    // saturation pressures of the Span-Wagner equation.
    const PhaseCurves water = ComputePhaseCurves(0);
    EXPECT_NEAR(*InterpolateSaturation(water, 300) / 3536.58941, 1, 1e-4);
    EXPECT_NEAR(*InterpolateSaturation(water, 500) / 2.63889776e6, 1, 1e-4);
    const PhaseCurves co2 = ComputePhaseCurves(2);
    EXPECT_NEAR(*InterpolateSaturation(co2, 250) / 1.7850e6, 1, 1e-3);
    EXPECT_NEAR(*InterpolateSaturation(co2, 300) / 6.7131e6, 1, 1e-3);
    EXPECT_FALSE(InterpolateSaturation(co2, 200).has_value());
}

TEST(PhaseCurves, MeltingAndSublimationWhereTheFluidGivesThem) {
    const PhaseCurves water = ComputePhaseCurves(0);
    EXPECT_TRUE(water.melting.empty());  // "Not treat."
    EXPECT_TRUE(water.sublimation.empty());

    // Methanol: from its triple point up to the 250 MPa the melting equation serves.
    const PhaseCurves methanol = ComputePhaseCurves(1);
    ASSERT_GT(methanol.melting.size(), 50u);
    ExpectAscending(methanol.melting, "methanol melting");
    EXPECT_DOUBLE_EQ(methanol.melting.front().T, 175.61);
    EXPECT_NEAR(methanol.melting.front().P, 0.187, 1e-9);
    EXPECT_NEAR(methanol.melting.back().P, 2.5e8, 2.5e8 * 1e-6);
    EXPECT_TRUE(methanol.sublimation.empty());

    // Carbon dioxide: sublimation below the triple point (216.592 K, 0.51795 MPa),
    // extended below 216 K; dry ice sublimes at 194.7 K under one atmosphere.
    const PhaseCurves co2 = ComputePhaseCurves(2);
    ASSERT_GT(co2.melting.size(), 50u);
    ASSERT_GT(co2.sublimation.size(), 10u);
    ExpectAscending(co2.melting, "co2 melting");
    ExpectAscending(co2.sublimation, "co2 sublimation");
    EXPECT_NEAR(co2.melting.front().T, 216.592, 0.05);
    EXPECT_NEAR(co2.melting.front().P / 517950, 1, 2e-3);
    EXPECT_EQ(co2.sublimation.back().T, co2.melting.front().T);
    EXPECT_LT(co2.sublimation.front().T, 200);
    EXPECT_NEAR(TemperatureAt(co2.sublimation, 101325), 194.7, 0.2);
    EXPECT_NEAR(co2.melting.back().P, 8e8, 8e8 * 1e-6);
}

TEST(PhaseCurves, TheCalculatorStateIsLeftAsItWas) {
    MainForm f;
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.ButtonCalcClick();
    const CalculatorState before = f.calc;
    const std::string shown = f.ClipboardText();
    ComputePhaseCurves(2);
    EXPECT_EQ(f.calc.fluid, 0);
    EXPECT_EQ(f.calc.T, before.T);
    EXPECT_EQ(f.calc.P, before.P);
    EXPECT_EQ(f.calc.rho, before.rho);
    EXPECT_EQ(f.calc.satuP, before.satuP);
    EXPECT_EQ(f.calc.Tc, before.Tc);
    EXPECT_EQ(f.ClipboardText(), shown);
    // The next calculation of the form is the same as before the curves.
    f.ButtonCalcClick();
    EXPECT_EQ(f.ClipboardText(), shown);
}

TEST(PhaseDiagramView, FollowsFluidUnitsAndCalculations) {
    MainForm f;
    PhaseDiagram d(f);
    EXPECT_TRUE(d.Follow());
    EXPECT_FALSE(d.Follow());  // nothing new
    EXPECT_EQ(d.Curves().fluid, 0);
    EXPECT_FALSE(d.StatePoint());

    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.ButtonCalcClick();
    EXPECT_TRUE(d.Follow());
    ASSERT_TRUE(d.StatePoint());
    EXPECT_EQ(d.StatePoint()->T, 300);
    EXPECT_EQ(d.StatePoint()->P, 1e7);

    // Pressures in bar, temperatures in degrees Celsius.
    f.ComboBoxP.Select(2);
    f.ComboBoxPChange();
    f.ComboBoxT.Select(1);
    f.ComboBoxTChange();
    EXPECT_TRUE(d.Follow());
    ChartData chart = d.Chart();
    EXPECT_EQ(chart.title, "Phase diagram of Water");
    EXPECT_EQ(chart.xTitle, "T (degC)");
    EXPECT_EQ(chart.yTitle, "P (bar)");
    EXPECT_TRUE(chart.logY);
    ASSERT_EQ(chart.curves.size(), 3u);  // saturation, critical point, state point
    EXPECT_EQ(chart.curves[0].name, "Saturation curve");
    EXPECT_NEAR(chart.curves[0].segments[0].back().y, 220.64, 1e-9);
    EXPECT_EQ(chart.curves[2].name, "State point");
    EXPECT_NEAR(chart.curves[2].segments[0][0].x, 26.85, 1e-9);
    EXPECT_NEAR(chart.curves[2].segments[0][0].y, 100, 1e-9);

    // A calculation that stops at a message leaves no state point.
    f.EditT.text = "3000";
    f.ButtonCalcClick();
    EXPECT_FALSE(f.EditMes.text.empty());
    EXPECT_TRUE(d.Follow());
    EXPECT_FALSE(d.StatePoint());

    // Another fluid: its own curves, and the old state point is gone.
    f.EditT.text = "26.85";
    f.ButtonCalcClick();
    d.Follow();
    ASSERT_TRUE(d.StatePoint());
    f.RadioGroupMatter.index = 2;
    f.RadioGroupMatterClick();
    EXPECT_TRUE(d.Follow());
    EXPECT_EQ(d.Curves().fluid, 2);
    EXPECT_FALSE(d.StatePoint());
    chart = d.Chart();
    EXPECT_EQ(chart.title, "Phase diagram of CO2");
    EXPECT_EQ(chart.curves.size(), 4u);  // saturation, melting, sublimation, critical point
}

TEST(PhaseDiagramView, AHiddenDiagramStillDropsTheStateOfAnotherFluid) {
    MainForm f;
    PhaseDiagram d(f);
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "300";
    f.EditP.text = "10";
    f.ButtonCalcClick();
    EXPECT_TRUE(d.Follow(false));
    EXPECT_EQ(d.Curves().fluid, -1);  // nothing computed yet
    f.RadioGroupMatter.index = 1;     // the results of water stay on show
    f.RadioGroupMatterClick();
    d.Follow(false);
    d.Follow(true);
    EXPECT_EQ(d.Curves().fluid, 1);
    EXPECT_FALSE(d.StatePoint());
    for (const ChartCurve& c : d.Chart().curves) EXPECT_NE(c.name, "State point");
}
