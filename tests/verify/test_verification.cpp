// Evaluation of the check table and the identities through the adapter, the verdicts,
// and the report's written forms.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "fluids/registry.h"
#include "fluids/water/water_transport.h"
#include "verify/check_values.h"
#include "verify/point_adapter.h"
#include "verify/verification.h"

namespace kelvane::verify {
namespace {

std::vector<std::string> Split(const std::string& line, char sep = '\t') {
    std::vector<std::string> out;
    std::stringstream s(line);
    for (std::string f; std::getline(s, f, sep);) out.push_back(f);
    if (!line.empty() && line.back() == sep) out.emplace_back();
    return out;
}

TEST(Verification, EveryPublishedValueIsReproduced) {
    const std::vector<CheckResult> results = RunPublishedChecks();
    ASSERT_EQ(results.size(), CheckValues().size());
    for (const CheckResult& r : results) {
        EXPECT_TRUE(r.pass) << r.formulation << ", " << r.state << ", " << r.quantity << ": published " << r.published
                            << ", computed " << r.computed << ", tolerance " << r.tolerance << " " << r.note;
        EXPECT_TRUE(std::isfinite(r.computed));
    }
}

TEST(Verification, EveryIdentityHoldsForEveryFluid) {
    for (int fluid = 0; fluid < 3; ++fluid) {
        const std::vector<CheckResult> results = RunConsistencyChecks(fluid);
        EXPECT_GE(results.size(), 30u) << FluidName(fluid);
        std::set<std::string> identities;
        for (const CheckResult& r : results) {
            EXPECT_EQ(r.fluid, fluid);
            identities.insert(r.source);
            EXPECT_TRUE(r.pass) << r.source << " at " << r.state << ": " << r.computed << " against " << r.expected
                                << " within " << r.tolerance;
            EXPECT_GT(r.tolerance, 0);
        }
        EXPECT_EQ(identities.size(), 8u);
    }
}

// A check fails when the value is off by one unit of the last printed digit and passes
// within half a unit: the comparison is as strict as the printed digits.
TEST(Verification, OneUnitOfTheLastDigitFails) {
    const CheckValue original = ChecksOf(FormulationId::kIf97Region1, Quantity::kH)[0];  // 0.115331273e3
    const CheckResult exact = Evaluate(original);
    ASSERT_TRUE(exact.pass);
    EXPECT_GT(exact.Digits(), 8.5);
    CheckValue off = original;
    off.published = "0.115331274e3";
    EXPECT_FALSE(Evaluate(off).pass);
    off.published = "0.115331272e3";
    EXPECT_FALSE(Evaluate(off).pass);
    // Fewer printed digits widen the tolerance accordingly.
    off.published = "0.1153313e3";
    EXPECT_TRUE(Evaluate(off).pass);
}

// Without the documented shift of the Boltzmann constant the dielectric constant of
// liquid water misses the release's values by far more than their last digit.
TEST(Verification, TheDielectricShiftIsReal) {
    int missed = 0;
    for (CheckValue c : ChecksOf(FormulationId::kWaterDielectric)) {
        ASSERT_TRUE(Evaluate(c).pass) << c.published;
        c.shift = Shift::kNone;
        missed += !Evaluate(c).pass;
    }
    EXPECT_GE(missed, 6);
}

TEST(Verification, StatesTheCalculationRefusesHaveNoValue) {
    CheckValue c{FormulationId::kIf97Region1, "test", Road::kPressure, 250, 1, Quantity::kH, "1.0"};
    const CheckResult r = Evaluate(c);  // below 273.15 K
    EXPECT_FALSE(r.pass);
    EXPECT_TRUE(std::isnan(r.computed));
    EXPECT_EQ(r.note, "Not applied to the range less than 273.15 K.");
    EXPECT_EQ(r.Digits(), 0);
}

// The adapter's numbers are those of the point calculation the windows run, every digit:
// no text in between, and nothing carried from one call to the next.
TEST(VerifyPoint, IsThePointCalculationToTheLastBit) {
    PointInput in;
    in.T = 300;
    in.P = 5e6;
    const kelvane::PointResult expected = Calculate(FluidAt(0), in);
    ASSERT_TRUE(expected.hasProperties);
    const PointResult first = VerifyPoint(0, 300, 5e6, 0);
    const PointResult other = VerifyPoint(2, 250, 1e6, 0);  // another fluid in between
    ASSERT_TRUE(other.computed);
    const PointResult r = VerifyPoint(0, 300, 5e6, 0);
    ASSERT_TRUE(r.computed);
    for (int i = 0; i < kPropertyCount; ++i) {
        EXPECT_EQ(r.values[i], expected.properties.values[i]) << i;
        EXPECT_EQ(r.values[i], first.values[i]) << i;
    }
    EXPECT_EQ(r.rho, expected.state.rho);
    EXPECT_EQ(r.satP, expected.saturation.P);
    const auto& sec = expected.properties.secondary;
    EXPECT_EQ(r.eta, sec[kEtha].value);
    EXPECT_EQ(r.lambda, sec[kLambda].value);
    EXPECT_EQ(r.eps, sec[kEps].value);
    EXPECT_EQ(r.pKw, sec[kPKw].value);
    EXPECT_EQ(r.n, sec[kN].value);
    // Full precision: the viscosity is the correlation's own double at the solved
    // state, not a display text of 8 digits.
    EXPECT_EQ(r.eta, WaterViscosity(r.rho / kWaterConstants.rhored, kWaterConstants.Tred / 300));
}

TEST(VerifyPoint, GivesEveryResultInSIMolarUnits) {
    // Water at 300 K and 3 MPa: IF97's v = 0.100215168e-2 m3/kg.
    const PointResult r = VerifyPoint(0, 300, 3e6, 0);
    ASSERT_TRUE(r.computed);
    EXPECT_EQ(r.message, "");
    EXPECT_NEAR(r.rho * kWaterConstants.M / 1000, 1 / 0.100215168e-2, 1e-3);
    EXPECT_EQ(r.P, 3e6);
    EXPECT_NEAR(r.satP, 3536.7, 0.1);  // Pa
    EXPECT_LT(r.satRhoV, 2);
    EXPECT_GT(r.satRhoL, 55000);  // mol/m3
    for (double x : r.values) EXPECT_TRUE(std::isfinite(x));
    EXPECT_NEAR(r.values[kH], r.values[kU] + r.P / r.rho, 1e-6);
    EXPECT_GT(r.values[kKappa], 4e-10);  // 1/Pa: about 4.5e-10 for liquid water
    EXPECT_LT(r.values[kKappa], 5e-10);
    EXPECT_NEAR(r.eta, 8.5e-4, 0.2e-4);  // Pa s
    EXPECT_NEAR(r.lambda, 0.61, 0.01);   // W/(m K)
    EXPECT_NEAR(r.eps, 77.7, 0.5);
    EXPECT_NEAR(r.n, 1.333, 0.002);
    EXPECT_NEAR(r.pKw, 13.9, 0.1);
    // Liquid methanol: viscosity (about 0.55 mPa s) and thermal conductivity (about
    // 0.2 W/(m K)), but no electrical properties.
    const PointResult m = VerifyPoint(1, 300, 1e5, 0);
    ASSERT_TRUE(m.computed);
    EXPECT_NEAR(m.eta, 5.5e-4, 0.5e-4);
    EXPECT_NEAR(m.lambda, 0.20, 0.01);
    EXPECT_TRUE(std::isnan(m.eps) && std::isnan(m.n) && std::isnan(m.pKw));
    // Density given: the pressure comes back.
    const PointResult d = VerifyPoint(2, 400, 0, r.rho / 100);
    EXPECT_NEAR(d.rho, r.rho / 100, 1e-9 * d.rho);
    EXPECT_GT(d.P, 1e6);
}

// Carbon dioxide on its melting line (Span-Wagner Table 35, 226.679 K and 50 MPa): the
// calculation refuses the state as frozen; passing over the checks gives the published
// density.
TEST(VerifyPoint, StatesOnTheMeltingLine) {
    const PointResult refused = VerifyPoint(2, 226.679, 50e6, 0);
    EXPECT_FALSE(refused.computed);
    EXPECT_EQ(refused.message, "Suppose to freeze.");
    EXPECT_TRUE(std::isnan(refused.values[kH]));
    const PointResult r = VerifyPoint(2, 226.679, 50e6, 0, 589, true);
    ASSERT_TRUE(r.computed);
    EXPECT_NEAR(r.rho * kCo2Constants.M / 1000, 1229.78, 0.006);
    EXPECT_EQ(r.P, 50e6);
    for (double x : r.values) EXPECT_TRUE(std::isfinite(x));
    // Density given, the same state.
    const PointResult d = VerifyPoint(2, 226.679, 0, r.rho, 589, true);
    EXPECT_NEAR(d.P, 50e6, 50e6 * 1e-6);
    EXPECT_NEAR(d.values[kH], r.values[kH], 1e-6 * std::fabs(r.values[kH]));
}

TEST(Report, WrittenForms) {
    std::vector<CheckResult> results = RunVerification(1);
    ASSERT_FALSE(results.empty());
    for (const CheckResult& r : results) EXPECT_EQ(r.fluid, 1);
    results[0].computed = results[0].expected * 1.01;  // one failure, as a fault would show
    results[0].pass = false;

    std::ostringstream tsv;
    WriteTsv(results, tsv);
    std::istringstream lines(tsv.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(Split(line), ReportColumns());
    size_t n = 0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = Split(line);
        ASSERT_EQ(f.size(), ReportColumns().size()) << line;
        EXPECT_EQ(f[8], n == 0 ? "FAIL" : "pass");
        ++n;
    }
    EXPECT_EQ(n, results.size());

    std::ostringstream text;
    WriteText(results, text);
    EXPECT_NE(text.str().find("Methanol (de Reuck-Craven)      19 checks, 1 failed, worst agreement 2.0 digits"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find(std::to_string(results.size()) + " checks, 1 failed\n"), std::string::npos);

    std::ostringstream md;
    WriteMarkdown(results, md);
    EXPECT_NE(md.str().find("| Methanol (de Reuck-Craven) | 19 | 1 | 2.0 |"), std::string::npos) << md.str();
    EXPECT_NE(md.str().find("\n## Consistency (methanol)\n"), std::string::npos);
}

TEST(Report, DisplayOrderPutsFailuresFirst) {
    std::vector<CheckResult> results(6);
    for (int i = 0; i < 6; ++i) {
        results[i].fluid = i % 3;
        results[i].source = std::to_string(i);
        results[i].pass = i != 2 && i != 4;
    }
    std::vector<std::string> order;
    for (const CheckResult& r : ForDisplay(results, -1)) order.push_back(r.source);
    EXPECT_EQ(order, (std::vector<std::string>{"2", "4", "0", "1", "3", "5"}));
    order.clear();
    for (const CheckResult& r : ForDisplay(results, 2)) order.push_back(r.source);
    EXPECT_EQ(order, (std::vector<std::string>{"2", "5"}));
    EXPECT_TRUE(ForDisplay(results, 7).empty());
}

TEST(Report, SummariesCountAndFindTheWorst) {
    CheckResult a, b, c;
    a.formulation = b.formulation = "A";
    c.formulation = "B";
    a.expected = b.expected = c.expected = 100;
    a.computed = 100.001, a.tolerance = 0.01, a.pass = true;  // 5 digits, 0.1 of the tolerance
    b.computed = 100.1, b.tolerance = 0.01, b.pass = false;   // 3 digits, 10 times the tolerance
    c.computed = NAN, c.tolerance = 1, c.pass = false;
    const std::vector<Summary> s = Summarize({a, b, c});
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].checks, 2);
    EXPECT_EQ(s[0].failures, 1);
    EXPECT_NEAR(s[0].worstDigits, 3, 1e-9);
    EXPECT_NEAR(s[0].worstFraction, 10, 1e-6);
    EXPECT_EQ(s[1].failures, 1);
    EXPECT_EQ(s[1].worstDigits, 0);
    EXPECT_TRUE(std::isinf(s[1].worstFraction));
    EXPECT_EQ(FormatDigits(16), "16");
    EXPECT_EQ(FormatDigits(8.46), "8.5");
    EXPECT_EQ(FormatNumber(NAN), "-");
}

}  // namespace
}  // namespace kelvane::verify
