// What the calculator remembers between calculations (the saturation state of the
// last temperature) must never show: the same state gives the same texts whatever was
// calculated before it, for any order of fluids, temperatures and input modes.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/format.h"
#include "fluids/co2/co2_eos.h"
#include "fluids/methanol/methanol_eos.h"
#include "fluids/registry.h"
#include "state_check.h"

using namespace kelvane;
using namespace kelvane::robustness;

namespace {

struct Point {
    int fluid, mode;
    std::string T, value;
};

std::string Fields(MainForm& form) {
    std::string all;
    for (const std::string& name : MainForm::OutputFieldNames()) all += form.FieldByName(name)->text + "|";
    return all;
}

// Subcritical temperatures (saturation computed), repeated, shared between fluids, and
// one differing from another in the last bit only.
std::vector<Point> Points() {
    const std::string close = FormatFile(300.0000000000001);
    return {{0, 0, "300", "1"},   {0, 0, "300", "0.001"}, {1, 0, "300", "1"},    {2, 0, "300", "10"},
            {0, 1, "300", "996"}, {0, 0, close, "1"},     {0, 1, close, "0.02"}, {1, 1, "300", "700"},
            {2, 1, "300", "800"}, {2, 0, "250", "1"},     {0, 0, "640", "25"},   {0, 1, "640", "400"},
            {1, 0, "500", "5"},   {1, 1, "500", "100"},   {2, 1, "302", "400"},  {0, 0, "300", "1"}};
}

// A main form showing 15-digit results.
struct PreciseForm : MainForm {
    PreciseForm() { preciseResults = true; }
};

class Caches : public ::testing::Test {};

}  // namespace

TEST_F(Caches, ResultsDoNotDependOnWhatWasCalculatedBefore) {
    const std::vector<Point> points = Points();
    // Reference: each point preceded by a calculation of another fluid at another
    // temperature, so nothing of its own temperature is remembered.
    std::vector<std::string> reference;
    for (const Point& p : points) {
        PreciseForm form;
        RunPoint(form, (p.fluid + 1) % 3, 0, "333.333", "1");
        RunPoint(form, p.fluid, p.mode, p.T, p.value);
        reference.push_back(Fields(form));
    }
    // The same points in order, backwards and twice each, on one form.
    PreciseForm form;
    for (size_t i = 0; i < points.size(); ++i) {
        const Point& p = points[i];
        RunPoint(form, p.fluid, p.mode, p.T, p.value);
        EXPECT_EQ(Fields(form), reference[i]) << "forward " << i;
    }
    for (size_t i = points.size(); i-- > 0;) {
        const Point& p = points[i];
        for (int twice = 0; twice < 2; ++twice) {
            RunPoint(form, p.fluid, p.mode, p.T, p.value);
            EXPECT_EQ(Fields(form), reference[i]) << "backward " << i;
        }
    }
}

TEST_F(Caches, RememberedSaturationEqualsAFreshOne) {
    PreciseForm form;
    for (const Point& p : Points()) {
        RunPoint(form, p.fluid, p.mode, p.T, p.value);
        const Fluid& fluid = FluidAt(p.fluid);
        const SaturationState fresh = fluid.ops.Saturation(form.calc.tau, form.calc.T);
        const SaturationState remembered = CalculationSaturation(fluid, form.calc.tau, form.calc.T);
        ASSERT_EQ(fresh.status, Status::kValue) << p.fluid << " " << p.T;
        EXPECT_EQ(remembered.status, fresh.status) << p.fluid << " " << p.T;
        EXPECT_EQ(std::bit_cast<uint64_t>(remembered.P), std::bit_cast<uint64_t>(RoundTo15Digits(fresh.P)));
        EXPECT_EQ(std::bit_cast<uint64_t>(remembered.rhov), std::bit_cast<uint64_t>(RoundTo15Digits(fresh.rhov)));
        EXPECT_EQ(std::bit_cast<uint64_t>(remembered.rhol), std::bit_cast<uint64_t>(RoundTo15Digits(fresh.rhol)));
        EXPECT_EQ(form.calc.satuP, RoundTo15Digits(fresh.P));
        EXPECT_GT(form.calc.satuP, 0) << p.fluid << " " << p.T;
    }
}

// The Helmholtz evaluators remember powers per base, tau factors per temperature and
// their last six-order result: whatever was evaluated before, and whichever orders are
// asked together, each derivative must come out bit for bit the same.
TEST_F(Caches, HelmholtzDerivativesDoNotDependOnWhatWasEvaluatedBefore) {
    using Single = double (*)(int, double, int, double);
    using Several = ResidualDerivatives (*)(double, double, unsigned);
    const struct {
        Single single;
        Several several;
    } fluids[] = {{Co2ResidualHelmholtz, Co2Residual}, {MethanolResidualHelmholtz, MethanolResidual}};
    const int pairs[kResidualOrders][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}};
    // Repeated and alternating densities and temperatures, the critical point itself and
    // neighbours one bit apart.
    const double states[][2] = {{0.5, 1.2},     {2.1, 1.2},  {0.5, 0.8}, {1.0, 1.0},
                                {2.1, 0.8},     {1.0, 1.05}, {0.5, 1.2}, {std::nextafter(0.5, 1.0), 1.2},
                                {2.5, 2.0 / 3}, {2.1, 1.2},  {1e-4, 1.5}};
    const unsigned sets[] = {kOrderAll, kOrderD | kOrderDD, kOrderD, kOrderR, kOrderTT | kOrderR, kOrderDT};
    for (const auto& f : fluids) {
        // Reference: each value alone, after an evaluation somewhere else.
        std::vector<double> reference;
        for (const auto& s : states)
            for (const auto& p : pairs) {
                f.single(1, 3.0, 0, 0.7);
                reference.push_back(f.single(p[0], s[0], p[1], s[1]));
            }
        for (int round = 0; round < 2; ++round) {
            size_t k = 0;
            for (const auto& s : states) {
                const unsigned set = sets[(k / kResidualOrders + round) % std::size(sets)];
                const ResidualDerivatives r = f.several(s[0], s[1], set);
                for (int o = 0; o < kResidualOrders; ++o, ++k) {
                    const uint64_t expected = std::bit_cast<uint64_t>(reference[k]);
                    if ((set >> o) & 1u)
                        EXPECT_EQ(std::bit_cast<uint64_t>(ResidualField(r, o)), expected)
                            << "set " << set << " order " << o << " at " << s[0] << ", " << s[1];
                    else
                        EXPECT_EQ(ResidualField(r, o), 0.0);
                    EXPECT_EQ(std::bit_cast<uint64_t>(f.single(pairs[o][0], s[0], pairs[o][1], s[1])), expected);
                }
            }
        }
    }
}

TEST_F(Caches, AFluidWhoseSaturationMayChangeIsAskedEveryTime) {
    static int calls = 0;
    Fluid changing = FluidAt(1);
    changing.ops.saturationDependsOnTemperatureOnly = false;
    changing.ops.Saturation = [](double, double) -> SaturationState {
        ++calls;
        return {Status::kValue, 1000.0 * calls, 1, 2};
    };
    PreciseForm form;
    RunPoint(form, 1, 0, "300", "1");
    form.ShowResult(Calculate(changing, form.ReadInput()));
    const std::string first = form.EditsatuP.text;
    form.ShowResult(Calculate(changing, form.ReadInput()));
    EXPECT_EQ(calls, 2);
    EXPECT_NE(form.EditsatuP.text, first);
    // The registered fluid keeps its own saturation.
    RunPoint(form, 1, 0, "300", "1");
    EXPECT_EQ(calls, 2);
}
