// Carbon dioxide fluid operations: range checks, melting and sublimation lines, and the
// saturation state against Span and Wagner, J. Phys. Chem. Ref. Data 25, 1509 (1996),
// Table 34.
#include <gtest/gtest.h>

#include <cmath>

#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/co2/co2_model.h"
#include "verify/check_values.h"
#include "fluids/registry.h"

namespace kelvane {
namespace {

class Co2Model : public testing::Test {
protected:
    void SetUp() override {
        RegisterAllFluids();
        SelectFluid(2);
        calc.meltP = 0;
    }
    static double SetTemperature(double T) {
        calc.T = T;
        return calc.tau = calc.Tred / T;
    }
    static double Melting(double T) { return ParseLeading(co2::MeltingPressure(SetTemperature(T))); }
};

TEST_F(Co2Model, RangeChecksAndTheirMessages) {
    EXPECT_EQ(co2::CheckTemperature(216), "");
    EXPECT_EQ(co2::CheckTemperature(1100), "");
    EXPECT_EQ(co2::CheckTemperature(std::nextafter(216.0, 0.0)), "Not applied to the range less than 216 K.");
    EXPECT_EQ(co2::CheckTemperature(std::nextafter(1100.0, 2e3)), "Not applied to the range more than 1100 K.");
    calc.meltP = 3e8;
    EXPECT_EQ(co2::CheckState(3e8, 250), "");
    EXPECT_EQ(co2::CheckState(std::nextafter(3e8, 1e9), 250), "Suppose to freeze.");
    EXPECT_EQ(co2::CheckState(-1, 250), "This density is not inadequate.");
    calc.meltP = 0;  // ">800MPa": only the range limit applies
    EXPECT_EQ(co2::CheckState(8e8, 400), "");
    EXPECT_EQ(co2::CheckState(8.0000001e8, 400), "Not applied to the range more than 800 MPa.");
}

TEST_F(Co2Model, MeltingAndSublimationLines) {
    EXPECT_NEAR(Melting(216.592), 517950, 0.01);
    const double sub = Melting(216.5), melt = Melting(216.7);
    EXPECT_LT(sub, 517950);
    EXPECT_GT(sub, 510000);
    EXPECT_GT(melt, 517950);
    EXPECT_LT(melt, 1.5e6);  // the melting line is steep, about 1 MPa per 0.1 K
    // The sublimation line passes the normal sublimation point, 194.686 K at 0.101325 MPa.
    EXPECT_NEAR(Melting(194.686), 101325, 150);
    // It reaches 800 MPa near 327.673 K (the melting temperature at 800 MPa in Table 35).
    EXPECT_GT(Melting(327.6), 7.9e8);
    EXPECT_LT(Melting(327.6), 8e8);
    EXPECT_EQ(co2::MeltingPressure(SetTemperature(327.75)), ">800MPa");
}

TEST_F(Co2Model, SaturationBandsNearTheCriticalTemperature) {
    SetTemperature(calc.Tc);
    const SaturationResult atTc = co2::Saturation(1.0);
    EXPECT_EQ(atTc.pressure, "over Tc");
    EXPECT_EQ(atTc.vapourDensity, "over Tc");
    EXPECT_EQ(atTc.liquidDensity, "over Tc");
    EXPECT_EQ(co2::Saturation(SetTemperature(500)).liquidDensity, "over Tc");
    const SaturationResult band = co2::Saturation(SetTemperature(304.126));
    EXPECT_EQ(band.pressure, "N/A");
    EXPECT_EQ(band.vapourDensity, "N/A");
    EXPECT_EQ(band.liquidDensity, "N/A");
    // The equal-area iteration converges from the auxiliary start values at every
    // temperature with a saturation state; its pass limit would report "N/A".
    for (double T = 216; T < 304.124; T += 0.25) {
        EXPECT_NE(co2::Saturation(SetTemperature(T)).pressure, "N/A") << T;
    }
    SetTemperature(304.124);
    const SaturationResult edge = co2::Saturation(calc.Tc / 304.124);
    EXPECT_GT(ParseLeading(edge.pressure), 7.36e6);
    EXPECT_LT(ParseLeading(edge.pressure), calc.Pc);
    EXPECT_LT(ParseLeading(edge.vapourDensity), calc.rhoc);
    EXPECT_GT(ParseLeading(edge.liquidDensity), calc.rhoc);
}

TEST_F(Co2Model, SaturationReproducesTable34) {
    // T/K, ps/MPa, rho'/(kg/m3), rho''/(kg/m3) from the shared table, each within half a
    // unit of its last digit plus 1e-5 relative for the iteration tolerance.
    int checked = 0;
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kSpanWagnerSaturation)) {
        if (c.road != verify::Road::kSaturation) continue;
        SCOPED_TRACE(c.T);
        const SaturationResult s = co2::Saturation(SetTemperature(c.T));
        const double kgPerMol = calc.M / 1000;
        const double published = verify::PublishedValue(c);
        const double tolerance = 0.5 * verify::LastDigitUnit(c) + 1e-5 * std::fabs(published);
        EXPECT_NEAR(verify::Tolerance(c), tolerance, 1e-6 * tolerance);
        switch (c.quantity) {
            case verify::Quantity::kSatP:
                EXPECT_NEAR(ParseLeading(s.pressure) / 1e6, published, tolerance);
                break;
            case verify::Quantity::kSatRhoL:
                EXPECT_NEAR(ParseLeading(s.liquidDensity) * kgPerMol, published, tolerance);
                break;
            case verify::Quantity::kSatRhoV:
                EXPECT_NEAR(ParseLeading(s.vapourDensity) * kgPerMol, published, tolerance);
                break;
            default:
                FAIL() << c.published;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 18);
}

}  // namespace
}  // namespace kelvane
