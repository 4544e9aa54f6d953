// The check table itself: tolerances from the printed digits, the documented shifts,
// and that every formulation the calculator uses has its values.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "verify/check_values.h"

namespace kelvane::verify {
namespace {

CheckValue Row(const char* published, int digits = 0) {
    CheckValue c{FormulationId::kIf97Region1, "test", Road::kPressure, 300, 3, Quantity::kH, published};
    c.digits = digits;
    return c;
}

TEST(CheckValues, TheLastPrintedDigitSetsTheUnit) {
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("0.100215168e-2")), 1e-11);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("0.115331273e3")), 1e-6);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("1229.78")), 1e-2);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("-0.04483")), 1e-5);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("6.096e-6")), 1e-9);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("13.90")), 1e-2);  // a printed trailing zero counts
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("1146.9")), 1e-1);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("1.22704e-05")), 1e-10);
    // More digits kept than the publication prints: the unit of the printed ninth.
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("5219.76331549", 9)), 1e-5);
    EXPECT_DOUBLE_EQ(LastDigitUnit(Row("0.0865156615709", 9)), 1e-10);  // 0.0865156616
    EXPECT_DOUBLE_EQ(PublishedValue(Row("0.120241800e-2")), 0.120241800e-2);
}

TEST(CheckValues, ToleranceIsHalfAUnitPlusTheDocumentedAllowances) {
    CheckValue c = Row("0.115331273e3");
    EXPECT_NEAR(Tolerance(c), 0.5e-6, 1e-12);
    c.units = 0.55;
    c.allowAbs = 1e-4;
    c.allowRel = 1e-5;
    EXPECT_NEAR(Tolerance(c), 0.55e-6 + 1e-4 + 1e-5 * 115.331273, 1e-12);
}

TEST(CheckValues, DocumentedShiftsMoveTheExpectedValue) {
    // The Boltzmann constant: epsilon - 1 higher by 4.2011e-5 of itself, 0.0044 at 240 K.
    for (const CheckValue& c : ChecksOf(FormulationId::kWaterDielectric)) {
        const double p = PublishedValue(c);
        EXPECT_NEAR(ExpectedValue(c) - p, (p - 1) * 4.2011e-5, 1e-9 * p) << c.published;
        EXPECT_GT(Tolerance(c), 0.5 * LastDigitUnit(c));
    }
    // The resonance wavelengths: a shift of n below 1.3e-8 but not nothing.
    for (const CheckValue& c : ChecksOf(FormulationId::kWaterRefractive)) {
        const double shift = ExpectedValue(c) - PublishedValue(c);
        EXPECT_LT(std::fabs(shift), 1.3e-8) << c.published;
        EXPECT_GT(std::fabs(shift), 1e-11) << c.published;
    }
    for (const CheckValue& c : CheckValues()) {
        if (c.shift == Shift::kNone) {
            EXPECT_EQ(ExpectedValue(c), PublishedValue(c)) << c.published;
        }
    }
}

TEST(CheckValues, EveryFormulationHasItsPublishedValues) {
    struct Expected {
        FormulationId f;
        size_t count;
    } const counts[] = {
        {FormulationId::kIf97Region1, 18},           {FormulationId::kIf97Region2, 18},
        {FormulationId::kIf97Region3, 18},           {FormulationId::kIf97Region5, 18},
        {FormulationId::kIf97Boundary23, 1},         {FormulationId::kIf97Saturation, 3},
        {FormulationId::kWaterDielectric, 10},       {FormulationId::kWaterRefractive, 3},
        {FormulationId::kWaterIonProduct, 13},       {FormulationId::kWaterViscosity, 11},
        {FormulationId::kWaterConductivity, 5},      {FormulationId::kSpanWagnerSaturation, 78},
        {FormulationId::kSpanWagnerSinglePhase, 63}, {FormulationId::kFenghourViscosity, 10},
        {FormulationId::kVesovicConductivity, 7},    {FormulationId::kMethanol, 19},
        {FormulationId::kMethanolViscosity, 30},     {FormulationId::kMethanolConductivity, 4},
    };
    size_t total = 0;
    for (const Expected& e : counts) {
        EXPECT_EQ(ChecksOf(e.f).size(), e.count) << FormulationOf(e.f).name;
        total += e.count;
    }
    EXPECT_EQ(CheckValues().size(), total);
    // The table is grouped by formulation in the order of FormulationId.
    int previous = 0;
    for (const CheckValue& c : CheckValues()) {
        EXPECT_GE(static_cast<int>(c.formulation), previous);
        previous = static_cast<int>(c.formulation);
    }
    // Every printed value parses completely, and no state is listed twice for a quantity.
    std::set<std::string> keys;
    for (const CheckValue& c : CheckValues()) {
        char* end = nullptr;
        std::strtod(c.published, &end);
        EXPECT_EQ(*end, '\0') << c.published;
        const std::string key = std::to_string(static_cast<int>(c.formulation)) + c.source +
                                std::to_string(static_cast<int>(c.road)) + std::to_string(c.T) + "/" +
                                std::to_string(c.x) + "/" + std::to_string(c.wavelength) + QuantityName(c.quantity);
        EXPECT_TRUE(keys.insert(key).second) << "twice: " << key;
    }
}

TEST(CheckValues, QuantitiesSelectByFormulation) {
    const auto h = ChecksOf(FormulationId::kIf97Region1, Quantity::kH);
    ASSERT_EQ(h.size(), 3u);
    EXPECT_STREQ(h[0].published, "0.115331273e3");
    EXPECT_EQ(h[2].T, 500);
    EXPECT_TRUE(ChecksOf(FormulationId::kMethanol, Quantity::kW).empty());
}

}  // namespace
}  // namespace kelvane::verify
