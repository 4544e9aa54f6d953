// Carbon dioxide fluid operations: range checks, melting and sublimation lines, and the
// saturation state against Span and Wagner, J. Phys. Chem. Ref. Data 25, 1509 (1996),
// Table 34.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/co2/co2_model.h"
#include "fluids/registry.h"
#include "forms/texts.h"
#include "verify/check_values.h"

namespace kelvane {
namespace {

constexpr const FluidConstants& kC = kCo2Constants;

class Co2Model : public testing::Test {
protected:
    static SaturationState Saturation(double T) { return co2::Saturation(kC.Tred / T, T); }
    static double Melting(double T) {
        const Quantity q = co2::MeltingPressure(kC.Tred / T);
        EXPECT_TRUE(q.HasValue()) << T;
        return q.value;
    }
};

TEST_F(Co2Model, RangeChecksAndTheirMessages) {
    auto text = [](MessageId m) { return std::string(MessageText(m)); };
    EXPECT_EQ(co2::CheckTemperature(216), MessageId::kNone);
    EXPECT_EQ(co2::CheckTemperature(1100), MessageId::kNone);
    EXPECT_EQ(text(co2::CheckTemperature(std::nextafter(216.0, 0.0))), "Not applied to the range less than 216 K.");
    EXPECT_EQ(text(co2::CheckTemperature(std::nextafter(1100.0, 2e3))), "Not applied to the range more than 1100 K.");
    // A temperature that is not a number is refused as the other fluids refuse it.
    EXPECT_EQ(co2::CheckTemperature(std::nan("")), MessageId::kCo2BelowT);
    EXPECT_EQ(co2::CheckState(3e8, 250, 3e8), MessageId::kNone);
    EXPECT_EQ(text(co2::CheckState(std::nextafter(3e8, 1e9), 250, 3e8)), "Suppose to freeze.");
    EXPECT_EQ(text(co2::CheckState(-1, 250, 3e8)), "This density is not inadequate.");
    // meltP 0 (">800MPa"): only the range limit applies
    EXPECT_EQ(co2::CheckState(8e8, 400, 0), MessageId::kNone);
    EXPECT_EQ(text(co2::CheckState(8.0000001e8, 400, 0)), "Not applied to the range more than 800 MPa.");
    EXPECT_EQ(FluidAt(2).limits.Tmin, 216);
    EXPECT_EQ(FluidAt(2).limits.Tmax, 1100);
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
    EXPECT_EQ(co2::MeltingPressure(kC.Tred / 327.75).status, Status::kAbove800MPa);
    EXPECT_EQ(StatusText(co2::MeltingPressure(kC.Tred / 327.75)), ">800MPa");
}

TEST_F(Co2Model, SaturationBandsNearTheCriticalTemperature) {
    EXPECT_EQ(co2::Saturation(1.0, kC.Tc).status, Status::kOverTc);
    EXPECT_EQ(StatusText(Quantity::With(Status::kOverTc)), "over Tc");
    EXPECT_EQ(Saturation(500).status, Status::kOverTc);
    EXPECT_EQ(StatusText(Quantity::With(Status::kNotAvailable)), "N/A");
    // Newton's method from the auxiliary densities finds the phase equilibrium at
    // every temperature below Tc, also inside the band 304.124 K < T < Tc where the
    // step-halving equal-area iteration stops with "N/A".
    for (double T = 216; T < 304.124; T += 0.25) {
        EXPECT_EQ(Saturation(T).status, Status::kValue) << T;
    }
    for (double T : {304.124001, 304.126, 304.128, kC.Tc - 1e-4}) {
        const SaturationState s = Saturation(T);
        ASSERT_EQ(s.status, Status::kValue) << T;
        EXPECT_LT(s.rhov, kC.rhoc) << T;
        EXPECT_GT(s.rhol, kC.rhoc) << T;
        EXPECT_EQ(co2::EqualAreaSaturationState(kC.Tc / T, T).status, Status::kNotAvailable) << T;
    }
    const SaturationState edge = co2::Saturation(kC.Tc / 304.124, 304.124);
    ASSERT_EQ(edge.status, Status::kValue);
    EXPECT_GT(edge.P, 7.36e6);
    EXPECT_LT(edge.P, kC.Pc);
    EXPECT_LT(edge.rhov, kC.rhoc);
    EXPECT_GT(edge.rhol, kC.rhoc);
}

TEST_F(Co2Model, SaturationReproducesTable34) {
    // T/K, ps/MPa, rho'/(kg/m3), rho''/(kg/m3) from the shared table, each within half a
    // unit of its last digit plus 1e-5 relative for the iteration tolerance.
    int checked = 0;
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kSpanWagnerSaturation)) {
        if (c.road != verify::Road::kSaturation) continue;
        SCOPED_TRACE(c.T);
        const SaturationState s = Saturation(c.T);
        ASSERT_EQ(s.status, Status::kValue);
        const double kgPerMol = kC.M / 1000;
        const double published = verify::PublishedValue(c);
        const double tolerance = 0.5 * verify::LastDigitUnit(c) + 1e-5 * std::fabs(published);
        EXPECT_NEAR(verify::Tolerance(c), tolerance, 1e-6 * tolerance);
        switch (c.quantity) {
            case verify::Quantity::kSatP: EXPECT_NEAR(s.P / 1e6, published, tolerance); break;
            case verify::Quantity::kSatRhoL: EXPECT_NEAR(s.rhol * kgPerMol, published, tolerance); break;
            case verify::Quantity::kSatRhoV: EXPECT_NEAR(s.rhov * kgPerMol, published, tolerance); break;
            default: FAIL() << c.published;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 18);
}

}  // namespace
}  // namespace kelvane
