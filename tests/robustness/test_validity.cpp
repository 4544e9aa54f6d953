// States whose numbers would have no meaning: a density of zero, subnormal or beyond
// the range of numbers, spurious pressure roots of water's region equations, states
// where (dP/drho)T is not positive, and wavelengths outside the refractive index's
// formulation. Each gets a message and no number that could be mistaken for a result.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "core/calculate.h"
#include "core/format.h"
#include "core/solvers.h"
#include "fluids/registry.h"
#include "forms/fields.h"
#include "forms/main_form.h"
#include "forms/texts.h"

using namespace kelvane;

namespace {

PointResult ByDensity(int fluid, double T, double rhoKgPerM3, double wavelength = 589) {
    const Fluid& f = FluidAt(fluid);
    PointInput in;
    in.inputVar = 1;
    in.T = T;
    in.rho = rhoKgPerM3 * 1000 / f.constants.M;
    in.wavelength = wavelength;
    return Calculate(f, in);
}

std::string Shown(const char* control, const PointResult& r, int fluid) {
    DisplayUnits u;
    u.constants = &FluidAt(fluid).constants;
    return FieldText(*FieldRowNamed(control), r, u);
}

TEST(Validity, ZeroSubnormalAndInfiniteDensitiesAreNoState) {
    for (int fluid = 0; fluid < kFluidCount; ++fluid) {
        const double T = fluid == 0 ? 700 : 400;
        for (double rho : {0.0, -0.0, 5e-324, DBL_MIN / 2, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
            const Fluid& f = FluidAt(fluid);
            PointInput in;
            in.inputVar = 1;
            in.T = T;
            in.rho = rho;
            const PointResult r = Calculate(f, in);
            EXPECT_TRUE(r.HasMessage(MessageId::kZeroState)) << f.constants.name << " rho=" << rho;
            EXPECT_FALSE(r.hasProperties) << f.constants.name << " rho=" << rho;
            EXPECT_FALSE(r.hasP);
        }
        // A subnormal given pressure likewise.
        PointInput in;
        in.T = T;
        in.P = 5e-324;
        const PointResult r = Calculate(FluidAt(fluid), in);
        EXPECT_TRUE(r.HasMessage(MessageId::kZeroState));
        EXPECT_FALSE(r.hasProperties);
    }
}

TEST(Validity, SpecificVolumeZeroThroughTheWindow) {
    MainForm form;
    form.EditRho.text = "1";
    form.ButtonXRhoVClick();  // specific volume
    form.RadioGroupVar.index = 1;
    form.RadioGroupVarClick();
    form.EditT.text = "700";
    for (const char* v : {"0", "1e-320", "1e-310"}) {
        form.EditRho.text = v;
        form.ButtonCalcClick();
        EXPECT_EQ(form.EditMes.text, MainForm::kZeroStateMessage) << v;
        EXPECT_EQ(form.EditP.text, "") << v;
        EXPECT_EQ(form.EditVisc.text, "") << v;
        EXPECT_EQ(form.EditKw.text, "") << v;
    }
    // A small but normal volume is an ordinary (very dense) state: refused by the range.
    form.EditRho.text = "1e-5";
    form.ButtonCalcClick();
    EXPECT_NE(form.EditMes.text, MainForm::kZeroStateMessage);
}

TEST(Validity, WaterPressureRootsNearTheCriticalTemperatureAreVerified) {
    const PointResult r = ByDensity(0, 647, 1050);
    EXPECT_TRUE(r.HasMessage(MessageId::kNoPressure));
    EXPECT_FALSE(r.hasProperties);
    // Over the whole area where wrong roots were found, every accepted pressure gives
    // the density back through the equation of its region, and the state is stable.
    const Fluid& water = FluidAt(0);
    int accepted = 0;
    for (double T = 645; T <= 648.001; T += 0.25) {
        for (double rho = 990; rho <= 1050.001; rho += 5) {
            const PointResult p = ByDensity(0, T, rho);
            if (!p.hasProperties) {
                EXPECT_TRUE(p.messageCount > 0) << T << " K " << rho;
                continue;
            }
            ++accepted;
            const int region =
                water.ops.Region(p.state.rho, 1 / T, 0, p.state.satuP, p.state.satuRhov, p.state.satuRhol);
            if (region != 3) {
                const double back = DensityFromPressure(water, p.state, T, p.state.P);
                EXPECT_NEAR(back, p.state.rho, 1e-6 * p.state.rho) << T << " K " << rho;
                EXPECT_NE(water.ops.Region(0, 1 / T, p.state.P, p.state.satuP, 0, 0), 3) << T << " K " << rho;
            }
            EXPECT_FALSE(p.HasMessage(MessageId::kUnstable)) << T << " K " << rho;
            EXPECT_GT(p.properties.values[kKappa], 0) << T << " K " << rho;
            EXPECT_GT(p.properties.values[kW], 0) << T << " K " << rho;
        }
    }
    std::cout << accepted << " of the near-critical dense water states accepted\n";
}

TEST(Validity, UnstableStatesShowNotAvailableWithTheMessage) {
    struct Case {
        int fluid;
        double T, rho;
    };
    for (const Case& c : {Case{0, 647.096, 322}, Case{1, 512.7, 275.56}, Case{2, 304, 500}}) {
        const PointResult r = ByDensity(c.fluid, c.T, c.rho);
        ASSERT_TRUE(r.hasProperties) << c.fluid;
        EXPECT_TRUE(r.HasMessage(MessageId::kUnstable)) << c.fluid;
        for (const char* field : {"EditCp", "EditW", "EditJT", "Editalpha", "Editkappa"})
            EXPECT_EQ(Shown(field, r, c.fluid), "N/A") << field << " fluid " << c.fluid;
        for (const char* field : {"EditF", "EditU", "EditH", "EditG", "EditS", "EditCv", "EditZ", "EditC2"})
            EXPECT_NE(Shown(field, r, c.fluid), "N/A") << field << " fluid " << c.fluid;
        EXPECT_NE(MessageLine(r).find("Unstable state: (dP/drho)T <= 0 here;"), std::string::npos);
    }
    // A stable state nearby has no such message.
    const PointResult stable = ByDensity(0, 700, 322);
    EXPECT_FALSE(stable.HasMessage(MessageId::kUnstable));
    EXPECT_TRUE(stable.properties.Defined(kCp));
}

// Water as a dilute gas, in region 2 (300 K, 700 K) and region 5 (1500 K): down to the
// smallest densities the results are those of the ideal-gas limit, reached smoothly;
// none is marked unstable or missing. (1/P^2 of the Gibbs function leaves the range of
// numbers from a specific volume of about 1e154 m3/kg on.)
TEST(Validity, DiluteWaterReachesTheIdealGasLimit) {
    const double R = FluidAt(0).constants.R;
    for (double T : {300.0, 700.0, 1500.0}) {
        const PointResult limit = ByDensity(0, T, 1e-100);
        ASSERT_TRUE(limit.hasProperties && limit.messageCount == 0) << T << ": " << MessageLine(limit);
        const auto& l = limit.properties.values;
        EXPECT_NEAR(l[kCp] - l[kCv], R, 1e-12 * R) << T;
        for (double volume : {1e150, 1e154, 1e155, 1e158, 1e160, 1e200, 1e300, 1e307}) {
            const PointResult r = ByDensity(0, T, 1 / volume);
            const std::string at = "T=" + std::to_string(T) + " V=" + std::to_string(volume);
            ASSERT_TRUE(r.hasProperties) << at;
            EXPECT_FALSE(r.HasMessage(MessageId::kUnstable)) << at;
            EXPECT_TRUE(std::isfinite(r.state.P) && r.state.P > 0) << at;
            const auto& v = r.properties.values;
            EXPECT_NEAR(r.state.P / (r.state.rho * R * T), 1, 1e-14) << at;
            for (int i : {kCv, kCp, kW, kJT, kAlpha}) {
                EXPECT_TRUE(r.properties.Defined(i)) << at << " result " << i;
                EXPECT_NEAR(v[i], l[i], 1e-12 * std::fabs(l[i])) << at << " result " << i;
            }
            EXPECT_DOUBLE_EQ(v[kZ], 1) << at;
            if (volume <= 1e300) {
                EXPECT_EQ(r.messageCount, 0) << at << ": " << MessageLine(r);
                EXPECT_NEAR(v[kKappa] * r.state.P, 1, 1e-14) << at;
            }
        }
    }
    // At the smallest normal densities kappa, some 1e302 per pascal, has no finite value
    // per MPa: not available, but no sign of instability.
    MainForm form;
    form.EditT.text = "700";
    form.RadioGroupVar.index = 1;
    form.RadioGroupVarClick();
    form.EditRho.text = "2.3e-308";
    form.ButtonCalcClick();
    EXPECT_EQ(form.EditMes.text, MessageText(MessageId::kNotDefined));
    EXPECT_EQ(form.Editkappa.text, "N/A");
    EXPECT_EQ(form.EditCv.text, "29.179318");
    EXPECT_EQ(form.EditCp.text, "37.493828");
    EXPECT_EQ(ParseStrict(form.EditZ.text), 1);
}

// The instability test reads the sign of the compressibility: zero or negative means
// (dP/drho)T <= 0; an infinite or NaN compressibility (an overflow, a failed
// evaluation) is only not defined. A stand-in for water returns the kappa under test.
double injectedKappa = 0;

TEST(Validity, OnlyANonPositiveCompressibilityMarksAStateUnstable) {
    Fluid fluid = FluidAt(0);
    fluid.ops.Properties = [](const PointContext& s, double wavelength) {
        PropertyResults r = FluidAt(0).ops.Properties(s, wavelength);
        r.values[kKappa] = injectedKappa;
        return r;
    };
    PointInput in;
    in.inputVar = 1;
    in.T = 700;
    in.rho = 1000;
    in.wavelength = 589;
    struct Case {
        double kappa;
        bool unstable;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Case& c : {Case{-1e-9, true}, Case{0, true}, Case{-inf, true}, Case{inf, false},
                          Case{std::numeric_limits<double>::quiet_NaN(), false}, Case{1e-7, false}}) {
        injectedKappa = c.kappa;
        const PointResult r = Calculate(fluid, in);
        ASSERT_TRUE(r.hasProperties);
        EXPECT_EQ(r.HasMessage(MessageId::kUnstable), c.unstable) << c.kappa;
        EXPECT_EQ(r.properties.Defined(kCp), !c.unstable) << c.kappa;
        EXPECT_EQ(r.properties.Defined(kKappa), std::isfinite(c.kappa) && c.kappa > 0) << c.kappa;
        EXPECT_EQ(r.HasMessage(MessageId::kNotDefined), !c.unstable && !std::isfinite(c.kappa)) << c.kappa;
    }
}

TEST(Validity, TheOpeningStateOfTheWindowIsMarkedUnstable) {
    MainForm form;
    form.ButtonCalcClick();
    EXPECT_EQ(form.EditCp.text, "N/A");
    EXPECT_EQ(form.Editkappa.text, "N/A");
    EXPECT_EQ(form.EditMes.text, MessageText(MessageId::kUnstable));
    EXPECT_NE(form.EditCv.text, "N/A");
    EXPECT_NE(form.EditP.text, "");
}

TEST(Validity, WavelengthOutsideTheFormulationGivesNoRefractiveIndex) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double w : {0.0, -589.0, nan}) {
        const PointResult r = ByDensity(0, 300, 1000, w);
        EXPECT_EQ(Shown("Editn", r, 0), "N/A") << w;
        EXPECT_TRUE(r.HasMessage(MessageId::kWavelengthNotPositive)) << w;
        EXPECT_NE(Shown("EditVisc", r, 0), "N/A");
    }
    for (double w : {199.0, 1101.0, 1e9}) {
        const PointResult r = ByDensity(0, 300, 1000, w);
        EXPECT_EQ(Shown("Editn", r, 0), "N/A") << w;
        EXPECT_TRUE(r.HasMessage(MessageId::kWavelengthOutOfRange)) << w;
    }
    for (double w : {200.0, 589.0, 1100.0}) {
        const PointResult r = ByDensity(0, 300, 1000, w);
        EXPECT_EQ(r.messageCount, 0) << w;
        const double n = std::stod(Shown("Editn", r, 0));
        EXPECT_GT(n, 1.3);
        EXPECT_LT(n, 1.45);
    }
    // Fluids without a refractive index say nothing about the wavelength.
    const PointResult methanol = ByDensity(1, 300, 800, 0);
    EXPECT_TRUE(methanol.hasProperties);
    EXPECT_FALSE(methanol.HasMessage(MessageId::kWavelengthNotPositive));

    MainForm form;
    form.EditT.text = "300";
    form.RadioGroupVar.index = 0;
    form.RadioGroupVarClick();
    form.EditP.text = "1";
    for (const char* text : {"abc", "", "0", "-1", "-589 nm"}) {
        form.Editnlambda.text = text;
        form.ButtonCalcClick();
        EXPECT_EQ(form.Editn.text, "N/A") << text;
        EXPECT_EQ(form.EditMes.text, MessageText(MessageId::kWavelengthNotPositive)) << text;
        EXPECT_NE(form.EditCp.text, "") << text;
    }
}

}  // namespace
