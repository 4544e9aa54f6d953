// Calculate for every fluid in both input modes, with no form involved: the numbers of
// the reference results in tests/robustness/data, the round trip from a given pressure
// to its density and back, and the message of each refused state.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/format.h"
#include "fluids/registry.h"
#include "forms/texts.h"
#include "forms/units.h"

using namespace kelvane;

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string c; std::getline(in, c, '\t');) cells.push_back(c);
    if (!line.empty() && line.back() == '\t') cells.emplace_back();
    return cells;
}

bool Number(const std::string& text, double& x) {
    try {
        x = ParseStrict(text);
        return std::isfinite(x);
    } catch (const ConversionError&) {
        return false;
    }
}

PointInput Input(int mode, double T, double value) {
    PointInput in;
    in.inputVar = mode;
    in.T = T;
    (mode == 0 ? in.P : in.rho) = value;
    return in;
}

// The reference file's columns of the 14 results, in the order of PropertyIndex.
const char* const kResultColumns[kPropertyCount] = {"EditF",  "EditU",  "EditH",     "EditG",    "EditS",
                                                    "EditCv", "EditCp", "EditZ",     "EditFP",   "EditW",
                                                    "EditJT", "EditC2", "Editalpha", "Editkappa"};

class EngineReference : public ::testing::TestWithParam<int> {};

}  // namespace

// Every state of the reference grid through Calculate in SI units: the solved variable,
// melting and saturation values and the 14 results agree with the 15-digit reference
// to 1e-13, and the message line is that of the result's message ids.
TEST_P(EngineReference, CalculateGivesTheReferenceNumbers) {
    const int index = GetParam();
    const Fluid& fluid = FluidAt(index);
    const double M = fluid.constants.M;
    static const char* const names[3] = {"water", "methanol", "co2"};
    std::ifstream in(std::string(KELVANE_GOLDEN_DIR) + "/golden_" + names[index] + ".tsv");
    ASSERT_TRUE(in);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = Split(line);
    auto column = [&](const std::string& name) {
        for (size_t k = 0; k < header.size(); ++k)
            if (header[k] == name) return k;
        ADD_FAILURE() << "no column " << name;
        return size_t{0};
    };
    long states = 0, compared = 0, computed = 0, modes[2] = {0, 0};
    auto expectClose = [&](const std::string& text, double actual, double scale, const std::string& where) {
        double expected;
        if (!Number(text, expected)) return;
        ++compared;
        EXPECT_NEAR(actual * scale, expected, 1e-13 * std::fabs(expected) + 1e-300) << where;
    };
    while (std::getline(in, line)) {
        const std::vector<std::string> c = Split(line);
        ASSERT_EQ(c.size(), header.size()) << line;
        const int mode = std::stoi(c[0]);
        const double T = ParseStrict(c[1]), value = ParseStrict(c[2]);
        // The SI values of the typed texts (K, MPa, kg/m3), converted as the window converts them.
        const FluidConstants& k = fluid.constants;
        const double si = mode == 0 ? value * PressureFactor(k, 0) : DensityFromDisplay(k, value, 0, true);
        const PointResult r = Calculate(fluid, Input(mode, TemperatureToK(k, 0, T), si));
        const std::string where = std::string(names[index]) + " mode " + c[0] + " T=" + c[1] + " input=" + c[2];
        ++states;
        ++modes[mode];
        EXPECT_EQ(MessageLine(r), c[column("EditMes")]) << where;
        if (mode == 0 && r.hasRho) expectClose(c[column("EditRho")], r.state.rho, M / 1000, where + " rho");
        if (mode == 1 && r.hasP) expectClose(c[column("EditP")], r.state.P, 1e-6, where + " P");
        if (r.melt.HasValue())
            expectClose(c[column("EditmeltP")], r.melt.value, 1e-6, where + " melt");
        else
            EXPECT_EQ(StatusText(r.melt), c[column("EditmeltP")]) << where;
        if (r.saturation.status == Status::kValue) {
            expectClose(c[column("EditsatuP")], r.saturation.P, 1e-6, where + " satuP");
            expectClose(c[column("EditsatuRhov")], r.saturation.rhov, M / 1000, where + " rhov");
            expectClose(c[column("EditsatuRhol")], r.saturation.rhol, M / 1000, where + " rhol");
        }
        EXPECT_EQ(r.hasProperties, !c[column("EditCp")].empty()) << where;
        if (!r.hasProperties) continue;
        ++computed;
        for (int k = 0; k < kPropertyCount; ++k) {
            // Display units of the reference: MPa for JT and kappa, m3/kg for C2.
            const double scale = k == kJT ? 1e6 : k == kKappa ? 1e6 : k == kC2 ? 1000 / M : 1;
            expectClose(c[column(kResultColumns[k])], r.properties.values[k], scale, where + " " + kResultColumns[k]);
        }
    }
    EXPECT_GT(modes[0], 300);
    EXPECT_GT(modes[1], 300);
    EXPECT_GT(computed, states / 2);
    EXPECT_GT(compared, computed * 14);
}

INSTANTIATE_TEST_SUITE_P(EveryFluid, EngineReference, ::testing::Values(0, 1, 2));

// Pressure given, then the density found given: the pressure and the results return.
TEST(Engine, PressureAndDensityGivenRoundTrip) {
    struct Case {
        int fluid;
        double T, P;  // K, Pa
    } const cases[] = {{0, 300, 1e5},  {0, 300, 50e6}, {0, 500, 1e6},   {0, 700, 30e6},  {0, 1500, 5e6},
                       {1, 250, 1e6},  {1, 400, 1e4},  {1, 550, 20e6},  {1, 300, 500e6}, {2, 250, 1e6},
                       {2, 280, 10e6}, {2, 310, 8e6},  {2, 900, 300e6}, {2, 400, 0.1e6}};
    for (const Case& c : cases) {
        const Fluid& f = FluidAt(c.fluid);
        SCOPED_TRACE(std::string(f.id) + " T=" + std::to_string(c.T) + " P=" + std::to_string(c.P));
        const PointResult byP = Calculate(f, Input(0, c.T, c.P));
        ASSERT_TRUE(byP.hasProperties);
        ASSERT_EQ(byP.messageCount, 0);
        EXPECT_EQ(byP.state.P, c.P);
        EXPECT_EQ(byP.state.delta, byP.state.rho / f.constants.rhored);
        const PointResult byRho = Calculate(f, Input(1, c.T, byP.state.rho));
        ASSERT_TRUE(byRho.hasProperties);
        EXPECT_EQ(byRho.messageCount, 0);
        EXPECT_TRUE(byRho.hasP);
        EXPECT_NEAR(byRho.state.P / c.P, 1, 1e-8);
        for (int k : {kH, kS, kCp, kCv, kW})
            EXPECT_NEAR(byRho.properties.values[k] / byP.properties.values[k], 1, 1e-7) << k;
        EXPECT_EQ(byRho.saturation.status, byP.saturation.status);
        EXPECT_EQ(byRho.saturation.P, byP.saturation.P);
    }
}

// Each refused state stops with its own message, before the results.
TEST(Engine, RefusedStatesGiveTheirMessageIds) {
    struct Case {
        int fluid, mode;
        double T, value;  // K; Pa or mol/m3
        MessageId message;
        bool saturationShown;
    } const cases[] = {
        {0, 0, 273.14, 1e5, MessageId::kWaterBelowT, false},
        {0, 0, 2273.16, 1e5, MessageId::kWaterAboveT, false},
        {0, 0, 300, 100.1e6, MessageId::kWaterAbove100MPa, true},
        {0, 0, 1500, 10.1e6, MessageId::kWaterAbove10MPaHot, true},
        {0, 1, 300, -1, MessageId::kDensityNotInadequate, true},
        {0, 0, 300, 0, MessageId::kZeroState, true},
        {1, 0, 175.6, 1e5, MessageId::kMethanolBelowT, false},
        {1, 0, 620.1, 1e5, MessageId::kMethanolAboveT, false},
        {1, 0, 400, 801e6, MessageId::kAbove800MPa, true},
        {1, 0, 250, 260e6, MessageId::kMethanolAbove250MPaCold, true},
        {1, 0, 600, 0.3e6, MessageId::kMethanolAbove02MPaHot, true},
        {1, 1, 300, -1, MessageId::kDensityNotAdequate, true},
        {1, 1, 400, 0, MessageId::kZeroState, true},
        {2, 0, 215.9, 1e5, MessageId::kCo2BelowT, false},
        {2, 0, 1100.1, 1e5, MessageId::kCo2AboveT, false},
        {2, 0, 250, 300e6, MessageId::kFreeze, true},
        {2, 0, 400, 801e6, MessageId::kAbove800MPa, true},
        {2, 1, 300, -1, MessageId::kDensityNotInadequate, true},
    };
    for (const Case& c : cases) {
        const PointResult r = Calculate(FluidAt(c.fluid), Input(c.mode, c.T, c.value));
        SCOPED_TRACE(std::string(FluidAt(c.fluid).id) + " T=" + std::to_string(c.T) + " " + std::to_string(c.value));
        ASSERT_EQ(r.messageCount, 1);
        EXPECT_EQ(r.messages[0], c.message);
        EXPECT_TRUE(r.HasMessage(c.message));
        EXPECT_FALSE(r.hasProperties);
        EXPECT_EQ(r.saturation.status != Status::kUnset, c.saturationShown);
        EXPECT_EQ(r.melt.status != Status::kUnset, c.saturationShown);
        EXPECT_STRNE(MessageText(c.message), "");
    }
    // Inside the coexistence range: the warning, and no results deep inside.
    const Fluid& co2 = FluidAt(2);
    const SaturationState s = CalculationSaturation(co2, co2.constants.Tred / 280, 280);
    ASSERT_EQ(s.status, Status::kValue);
    const PointResult inside = Calculate(co2, Input(1, 280, 0.5 * (s.rhov + s.rhol)));
    ASSERT_EQ(inside.messageCount, 1);
    EXPECT_EQ(inside.messages[0], MessageId::kTwoPhase);
    EXPECT_FALSE(inside.hasProperties);
    EXPECT_FALSE(inside.hasP);
    const PointResult edge = Calculate(co2, Input(1, 280, 1.01 * s.rhov));
    EXPECT_TRUE(edge.HasMessage(MessageId::kTwoPhase));
    EXPECT_TRUE(edge.hasProperties);
    // Saturation as the calculation carries it: 15 significant digits.
    EXPECT_EQ(inside.saturation.P, RoundTo15Digits(co2.ops.Saturation(co2.constants.Tred / 280, 280).P));
    EXPECT_EQ(RoundTo15Digits(1.0 / 3), ParseLeading("0.333333333333333"));
}
