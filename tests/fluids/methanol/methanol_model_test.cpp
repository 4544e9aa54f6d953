#include "fluids/methanol/methanol_model.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/format.h"
#include "fluids/registry.h"
#include "forms/main_form.h"
#include "forms/texts.h"
#include "verify/check_values.h"

namespace kelvane {
namespace {

constexpr const FluidConstants& kC = kMethanolConstants;

class Methanol : public ::testing::Test {
protected:
    const FluidOperations& ops = MethanolOperations();
    EqualAreaResult Sat(double T) { return MethanolSaturationState(kC.Tred / T); }
    // Properties at (T, rho in mol/m3) with the state given as the point calculation
    // gives it (also inside the coexistence range, where the calculation stops).
    std::array<double, kPropertyCount> Props(double T, double rho) {
        PointContext s;
        s.inputVar = 1;
        s.T = T;
        s.tau = kC.Tred / T;
        s.rho = rho;
        s.delta = rho / kC.rhored;
        s.P = P(T, s.delta);
        s.pi = s.P / kC.Pred;
        return ops.Properties(s, 589).values;
    }
    double P(double T, double d) { return ops.Pressure(d, kC.Tred / T, 0, PointContext{}) * d * kC.rhored * kC.R * T; }
};

TEST_F(Methanol, MeltingLineAndRangeChecks) {
    const Quantity tripleMelt = ops.MeltingPressure(kC.Tred / 175.61);
    ASSERT_TRUE(tripleMelt.HasValue());
    EXPECT_NEAR(tripleMelt.value, 0.187, 1e-12);
    const Quantity m207 = ops.MeltingPressure(kC.Tred / 207);
    ASSERT_TRUE(m207.HasValue());
    EXPECT_TRUE(m207.value > 2.4e8 && m207.value < 2.5e8) << m207.value;
    EXPECT_EQ(ops.MeltingPressure(kC.Tred / 208).status, Status::kAbove250MPa);
    EXPECT_EQ(StatusText(ops.MeltingPressure(kC.Tred / 208)), ">250MPa");
    EXPECT_EQ(ops.Pressure(0, 1.7, 5e6, PointContext{}), 1);  // ideal gas at zero density

    auto text = [](MessageId m) { return std::string(MessageText(m)); };
    EXPECT_EQ(ops.CheckTemperature(175.61), MessageId::kNone);
    EXPECT_EQ(ops.CheckTemperature(620), MessageId::kNone);
    EXPECT_EQ(text(ops.CheckTemperature(175.6)), "Not applied to the range less than Tt (175.61 K).");
    EXPECT_EQ(text(ops.CheckTemperature(620.01)), "Not applied to the range more than 620 K.");
    EXPECT_EQ(text(ops.CheckState(1.5e8, 350, 1e8)), "Suppose to freeze.");
    EXPECT_EQ(text(ops.CheckState(9e8, 350, 1e8)), "Suppose to freeze.");  // tested before the limits
    EXPECT_EQ(text(ops.CheckState(-1, 350, 0)), "This density is not adequate.");
    EXPECT_EQ(text(ops.CheckState(8.1e8, 350, 0)), "Not applied to the range more than 800 MPa.");
    EXPECT_EQ(text(ops.CheckState(3e8, 250, 0)), "Not applied to the range more than 250 MPa in 207 K < T < 300 K.");
    EXPECT_EQ(ops.CheckState(3e8, 300, 0), MessageId::kNone);
    EXPECT_EQ(ops.CheckState(3e5, 570, 0), MessageId::kNone);
    EXPECT_EQ(text(ops.CheckState(3e5, 571, 0)), "Not applied to the range more than 0.2 MPa in 570 K < T <= 620 K.");
    EXPECT_EQ(FluidAt(1).limits.Tmin, 175.61);
    EXPECT_EQ(FluidAt(1).limits.Tmax, 620);
}

// Xiang, Laesecke and Huber, J. Phys. Chem. Ref. Data 35 (2006) 1597, Table 5, evaluate
// this equation at saturation (K, MPa, kg/m3). Everywhere the phases have equal Gibbs
// energy and fugacity to the density resolution of the searches (1e-6 relative, which in
// the liquid the reduced bulk modulus 1/(rho R T kappa) magnifies).
TEST_F(Methanol, SaturationIsThePhaseEquilibriumOfTheEquation) {
    std::vector<std::array<double, 4>> table;  // the shared table's rows: T, p_s, rho'', rho'
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kMethanol)) {
        if (c.road != verify::Road::kSaturation) continue;
        if (table.empty() || table.back()[0] != c.T) table.push_back({c.T, 0, 0, 0});
        const int column = c.quantity == verify::Quantity::kSatP ? 1 : c.quantity == verify::Quantity::kSatRhoV ? 2 : 3;
        table.back()[column] = verify::PublishedValue(c);
    }
    ASSERT_EQ(table.size(), 4u);
    for (const auto& r : table) {
        ASSERT_TRUE(r[1] > 0 && r[2] > 0 && r[3] > r[2]) << r[0];
        const EqualAreaResult s = Sat(r[0]);
        EXPECT_NEAR(s.pressure / 1e6, r[1], 6e-5 * r[1]);
        EXPECT_NEAR(s.dV * kC.rhored * kC.M / 1000, r[2], 6e-5 * r[2]);
        EXPECT_NEAR(s.dL * kC.rhored * kC.M / 1000, r[3], 2e-5 * r[3]);
    }
    for (double T : {175.61, 176.13, 250.0, 337.6, 450.0, 499.9, 500.1, 505.0, 510.0, 512.5}) {
        const EqualAreaResult s = Sat(T);
        EXPECT_TRUE(s.converged && s.passes <= 4) << T << " passes " << s.passes;
        const auto v = Props(T, s.dV * kC.rhored), l = Props(T, s.dL * kC.rhored);
        const double bulk = 1 / (l[kKappa] * s.dL * kC.rhored * kC.R * T);
        EXPECT_NEAR(l[kG], v[kG], 4e-6 * (1 + bulk) * kC.R * T) << T;
        EXPECT_NEAR(std::log(l[kFugacity] * P(T, s.dL) / (v[kFugacity] * P(T, s.dV))), 0, 4e-6 * (1 + bulk));
        EXPECT_NEAR(P(T, s.dV), s.pressure, 4e-6 * s.pressure) << T;
    }
}

TEST_F(Methanol, SaturationLimits) {
    // Triple point: the melting equation's 0.187 Pa; to the resolution of the density
    // searches, the phase equilibrium of this equation in an independent implementation
    // (CoolProp, dev/fluids/Methanol.json, states "sat_min_liquid" and "sat_min_vapor").
    const EqualAreaResult t = Sat(175.61);
    EXPECT_NEAR(t.pressure, 0.18635025970147673, 3e-6 * 0.18635);
    EXPECT_NEAR(t.dV * kC.rhored, 1.2764161035396795e-4, 3e-6 * 1.2764e-4);
    EXPECT_NEAR(t.dL * kC.rhored, 28230.396621671433, 3e-6 * 28230.4);
    const double hvap = Props(175.61, t.dV * kC.rhored)[kH] - Props(175.61, t.dL * kC.rhored)[kH];
    EXPECT_NEAR(hvap, 29679.349808905507 + 12439.574773037111, 3e-6 * 42118.9);
    // Normal boiling point: 337.632 K for this equation as property libraries list it
    // (64.7 C = 337.85 K in handbook tables, Engineering ToolBox); the Maxwell pressure
    // crosses 101325 Pa between 337.6 and 337.7 K.
    EXPECT_LT(ops.Saturation(kC.Tred / 337.6, 337.6).P, 101325);
    EXPECT_GT(ops.Saturation(kC.Tred / 337.7, 337.7).P, 101325);
    // Towards Tc the coexisting densities close in around rhoc and the pressure nears Pc
    // (the equation's own critical point, its reducing point 513.38 K, lies beyond the
    // 512.6 K where saturation stops, so the gap narrows without closing).
    double gap = 1e300;
    for (double T : {480.0, 500.0, 505.0, 510.0, 512.0, 512.5, 512.59}) {
        const EqualAreaResult s = Sat(T);
        EXPECT_TRUE(s.dV * kC.rhored < kC.rhoc && s.dL * kC.rhored > kC.rhoc) << T;
        EXPECT_LT((s.dL - s.dV) * kC.rhored, gap) << T;
        gap = (s.dL - s.dV) * kC.rhored;
    }
    EXPECT_NEAR(Sat(512.59).pressure, kC.Pc, 2e-4 * kC.Pc);
    // Saturation pressure at 512.5 K of the same independent implementation ("critical").
    EXPECT_NEAR(Sat(512.5).pressure, 8089818.709840331, 1e-7 * 8089818.7);
    for (double T : {512.6, 513.0, 620.0}) {
        const SaturationState s = ops.Saturation(kC.Tred / T, T);
        EXPECT_EQ(s.status, Status::kOverTc) << T;
        EXPECT_EQ(StatusText(Quantity::With(s.status)), "over Tc");
    }
}

// An equal-area iteration that cannot settle (here a residual energy that is not a
// number, while the isotherm itself is the ideal gas) stops at the pass limit and says so.
TEST(MethanolSaturation, IterationThatCannotSettleIsBounded) {
    auto noEnergy = [](int nDelta, double, int, double) { return nDelta == 0 ? std::nan("") : 0.0; };
    const EqualAreaResult r =
        EqualAreaSaturation(noEnergy, 1.0, 300, 8.3, 1000, 1e5, 0.04, 0.04, [](double d) { return d / 1.95; });
    EXPECT_FALSE(r.converged);
    EXPECT_EQ(r.passes, kMaxEqualAreaPasses);
}

TEST(MethanolWindow, CalculationsAsAUserRunsThem) {
    MainForm f;
    f.RadioGroupMatter.index = 1;
    f.RadioGroupMatterClick();
    f.RadioGroupVar.index = 0;
    f.RadioGroupVarClick();
    f.EditT.text = "298.15";
    f.EditP.text = "0.1";
    f.ButtonCalcClick();
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_EQ(f.EditmeltP.text, ">250MPa");
    // Liquid at 25 C: 786.3 kg/m3, Cp 2.53 and Cv 2.12 kJ/(kg K) (Engineering Toolbox
    // tables); 1103 m/s (Kaye & Laby: 1121 m/s at 20 C, -3.5 m/s per K).
    EXPECT_NEAR(ParseStrict(f.EditRho.text), 786.3, 0.001 * 786.3);
    EXPECT_NEAR(ParseStrict(f.EditW.text), 1103, 0.005 * 1103);
    EXPECT_NEAR(ParseStrict(f.EditCp.text), 2.53 * 32.04216, 0.01 * 2.53 * 32.04216);
    EXPECT_NEAR(ParseStrict(f.EditCv.text), 2.12 * 32.04216, 0.01 * 2.12 * 32.04216);
    EXPECT_NEAR(ParseStrict(f.EditsatuP.text), 0.01698, 1e-4);  // MPa
    for (auto* e : {&f.EditEps, &f.EditKw, &f.Editn}) EXPECT_EQ(e->text, "");
    // Transport of the liquid at 25 C: about 0.544 mPa s, 0.200 W/(m K), and the
    // diffusivity lambda / (rho cp) about 1.0e-7 m2/s.
    EXPECT_NEAR(ParseStrict(f.EditVisc.text), 0.544e-3, 0.01 * 0.544e-3);
    EXPECT_NEAR(ParseStrict(f.EditTherc.text), 0.200, 0.01 * 0.200);
    EXPECT_NEAR(ParseStrict(f.EditDth.text), 1.0e-7, 0.05e-7);

    // Single-phase densities of this equation, Xiang et al. (2006) Table 6 (K, MPa, kg/m3).
    int points = 0;
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kMethanol, verify::Quantity::kRho)) {
        f.EditT.text = FormatDisplay(c.T);
        f.EditP.text = FormatDisplay(c.x);
        f.ButtonCalcClick();
        EXPECT_EQ(f.EditMes.text, "") << c.T;
        EXPECT_NEAR(ParseStrict(f.EditRho.text), verify::PublishedValue(c), 1e-5 * verify::PublishedValue(c)) << c.T;
        ++points;
    }
    EXPECT_EQ(points, 7);
}

}  // namespace
}  // namespace kelvane
