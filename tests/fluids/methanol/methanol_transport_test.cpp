// Methanol viscosity (Xiang, Laesecke and Huber 2006) and thermal conductivity
// (Sykioti, Assael, Huber and Perkins 2013) against the values the two papers print,
// and their use in methanol's Properties.
#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/format.h"
#include "fluids/methanol/methanol_conductivity.h"
#include "fluids/methanol/methanol_eos.h"
#include "fluids/methanol/methanol_model.h"
#include "fluids/methanol/methanol_viscosity.h"
#include "fluids/registry.h"
#include "forms/texts.h"
#include "verify/check_values.h"

namespace kelvane {
namespace {

// |value - printed| within half a unit of the printed value's last digit.
void ExpectPrinted(double value, double printed, double lastDigit, const std::string& what) {
    EXPECT_LE(std::fabs(value - printed), 0.5 * lastDigit + 1e-12 * printed)
        << what << ": computed " << value << ", printed " << printed;
}

// Pressure of the IUPAC equation (Pa) at T (K) and rho (kg/m3), also beyond its 620 K,
// and the density at a pressure by Newton's method from a liquid-like start.
double IupacPressure(double T, double rho) {
    const double molar = rho / kMethanolMolarMass * 1000;
    const double delta = molar / kMethanolEosRhored;
    return molar * kMethanolEosR * T * (1 + delta * MethanolResidualHelmholtz(1, delta, 0, kMethanolEosTred / T));
}
double IupacDensity(double T, double P, double rho) {
    for (int i = 0; i < 50; ++i) {
        const double h = 1e-6 * rho;
        const double slope = (IupacPressure(T, rho + h) - IupacPressure(T, rho - h)) / (2 * h);
        rho -= (IupacPressure(T, rho) - P) / slope;
    }
    return rho;
}

// The published viscosity of a row of the shared check table.
const verify::CheckValue& ViscosityRow(const char* source, double T) {
    static const std::vector<verify::CheckValue> rows = verify::ChecksOf(verify::FormulationId::kMethanolViscosity);
    for (const verify::CheckValue& c : rows)
        if (std::string_view(c.source) == source && c.T == T) return c;
    throw std::runtime_error(std::string("no check value of ") + source + " at " + std::to_string(T));
}

void ExpectCheck(double value, const verify::CheckValue& c) {
    EXPECT_NEAR(value, verify::ExpectedValue(c), verify::Tolerance(c))
        << c.source << ", T " << c.T << ", x " << c.x << ", printed " << c.published;
}

// Xiang et al. (2006): every state of the shared table that is evaluated by the
// correlation at a printed density (Table 5's saturated vapour and liquid, 600 K at
// 3 MPa and the check states beyond the equation of state), and Table 6's states at
// their printed densities instead of the IUPAC equation's, so the equation of state
// plays no part.
TEST(MethanolViscosity, ReproducesThePapersTables) {
    int formulas = 0;
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kMethanolViscosity)) {
        if (c.road != verify::Road::kFormula) continue;
        ++formulas;
        ExpectCheck(MethanolViscosity(c.T, c.x) * 1e3, c);
    }
    EXPECT_EQ(formulas, 21);  // 18 of Table 5, one of Table 6, two check states
    // Table 6: T/K and the printed density (kg/m3) of the rows given by pressure.
    for (auto [T, rho] : {std::pair{180.0, 900.27}, {220.0, 860.76}, {280.0, 804.12}, {300.0, 0.12955},
                          {400.0, 784.82}, {500.0, 954.52}})
        ExpectCheck(MethanolViscosity(T, rho) * 1e3, ViscosityRow("Table 6", T));
}

// Sensitivity of the dense liquid to the hard-sphere diameter: d ln(eta) / d ln(sigma)
// is about 42 at 200 K and 880 kg/m3 and 18 at 300 K and 788 kg/m3, and the diameter
// is a sum of terms up to 75 times its value (e_3 rho_r^3 at 880 kg/m3) whose
// coefficients are printed to 7 digits. The half unit of their last digits moves the
// viscosity by up to a few 1e-4 there, so a last printed digit can be missed by a
// fraction of a unit when the tables were computed with the unrounded coefficients.
// Two printed values are missed in this way, each held to the difference found:
//  - Table 6, 200 K and 0.1 MPa (880.34 kg/m3): 4.5091 against 4.510 (-0.019 %),
//    while Table 5 at 200 K (880.28 kg/m3, 4.506) is met;
//  - the check state at 300 K and 788.41 kg/m3 (see below).
TEST(MethanolViscosity, DenseLiquidDigitsLimitedByThePrintedCoefficients) {
    EXPECT_NEAR(MethanolViscosity(200, 880.34) * 1e3, 4.5091, 0.00005);
    // Table 5 at the same temperature 0.06 kg/m3 lower is met, and the printed step
    // 4.506 -> 4.510 is within the rounding of the computed step 0.0034.
    ExpectPrinted(MethanolViscosity(200, 880.28) * 1e3, 4.506, 1e-3, "Table 5, 200 K");
    const double step = (MethanolViscosity(200, 880.34) - MethanolViscosity(200, 880.28)) * 1e3;
    EXPECT_NEAR(step, 0.0034, 0.0001);
}

// The paper's list of states given by temperature and density for checking
// implementations. The two gas states agree to the printed digits.
//  - 300 K, 788.41 kg/m3 (the IUPAC equation's density at 4 MPa): 0.54213 against the
//    printed 0.5422, 0.7 units of the last digit (0.013 %) low. 0.5422 is reached at
//    788.43 kg/m3; Table 5 on the same isotherm (784.51 kg/m3, 0.5291) is met to
//    0.06 units, so the correlation as printed cannot give both; the residue is of the
//    size the coefficients' rounding explains (see above).
//  - 630 K, 888.50 kg/m3: 0.23699 against 0.2405, 1.46 % low. The printed viscosity
//    belongs to 630 K and 800 MPa with the density of the IUPAC equation extrapolated
//    beyond its 620 K, 893.51 kg/m3, where this correlation gives 0.24054; the printed
//    density (777 MPa on the IUPAC equation) comes from another equation of state. The
//    row pairs numbers from two equations, so no correlation can reproduce it at the
//    printed density. Tables 5 and 6 up to 800 MPa (500 K, 954.52 kg/m3, 0.3908) are
//    met, so the dense branch is not in question.
TEST(MethanolViscosity, ImplementationCheckStates) {
    ExpectPrinted(MethanolViscosity(300, 0.12955) * 1e3, 0.009696, 1e-6, "300 K gas");
    ExpectPrinted(MethanolViscosity(630, 0.061183) * 1e3, 0.02081, 1e-5, "630 K gas");
    EXPECT_NEAR(MethanolViscosity(300, 788.41) * 1e3, 0.54213, 0.00001);
    ExpectPrinted(MethanolViscosity(300, 788.43) * 1e3, 0.5422, 1e-4, "300 K at 788.43 kg/m3");
    EXPECT_NEAR(MethanolViscosity(630, 888.50) * 1e3, 0.23699, 0.00001);
    EXPECT_NEAR(IupacPressure(630, 888.50) / 1e6, 777.1, 0.1);
    const double rho800 = IupacDensity(630, 800e6, 890);
    EXPECT_NEAR(rho800, 893.51, 0.01);
    ExpectPrinted(MethanolViscosity(630, rho800) * 1e3, 0.2405, 1e-4, "630 K, 800 MPa");
    // The dense check state's density is the IUPAC equation's at 300 K and 4 MPa.
    EXPECT_NEAR(IupacDensity(300, 4e6, 788), 788.41, 0.005);
}

TEST(MethanolViscosity, DiluteGasLimit) {
    // The zero-density limit is the paper's dilute-gas correlation: both branches of the
    // switch (virial expansion and Enskog term) reduce to 1 at rho = 0.
    for (double T : {175.61, 250.0, 337.6, 450.0, 512.6, 620.0, 630.0}) {
        const double eta0 = MethanolDiluteViscosity(T);
        EXPECT_NEAR(MethanolViscosity(T, 0), eta0, 1e-15 * eta0) << T;
        EXPECT_NEAR(MethanolViscosity(T, 1e-6), eta0, 1e-6 * eta0) << T;
    }
    // At the triple point the saturated vapour (4.1e-6 kg/m3) is the dilute gas.
    ExpectPrinted(MethanolDiluteViscosity(175.63) * 1e3, 0.005822, 1e-6, "dilute gas 175.63 K");
    // The dilute gas viscosity rises with temperature (about as T^0.8 here).
    double last = 0;
    for (double T = 175; T <= 660; T += 5) {
        const double eta0 = MethanolDiluteViscosity(T);
        EXPECT_GT(eta0, last) << T;
        last = eta0;
    }
}

TEST(MethanolViscosity, ContinuousInDensity) {
    // Above the critical temperature, where every density is a fluid state, the branch
    // switch around 273 kg/m3 and the dense branch leave no step: adjacent densities
    // 0.25 kg/m3 apart differ by far less than 1 %.
    for (double T : {513.5, 540.0, 580.0, 620.0, 630.0}) {
        double last = MethanolViscosity(T, 0);
        for (double rho = 0.25; rho <= 1000; rho += 0.25) {
            const double eta = MethanolViscosity(T, rho);
            ASSERT_TRUE(std::isfinite(eta) && eta > 0) << T << " " << rho;
            EXPECT_LT(std::fabs(eta / last - 1), 0.01) << T << " " << rho;
            last = eta;
        }
    }
}

struct ConductivityCheck {
    double T, rho, lambda, lastDigit;  // K, kg/m3, mW/(m K), mW/(m K)
};

double Conductivity(double T, double rho) {
    return MethanolConductivity(T, rho, MethanolCriticalInputsFromEos(T, rho)) * 1e3;
}

// Sykioti et al. (2013): states for checking implementations, given by temperature and
// density, the critical enhancement included.
TEST(MethanolConductivity, ReproducesThePapersCheckValues) {
    int printed = 0;
    for (const verify::CheckValue& c : verify::ChecksOf(verify::FormulationId::kMethanolConductivity)) {
        if (c.allowAbs > 0) continue;  // the liquid state with enhancement: below
        ++printed;
        ExpectPrinted(Conductivity(c.T, c.x), verify::PublishedValue(c), verify::LastDigitUnit(c),
                      std::to_string(c.T) + " K, " + std::to_string(c.x) + " kg/m3");
    }
    EXPECT_EQ(printed, 3);
}

// 400 K, 690 kg/m3 is not reproduced. The background (dilute gas and residual part)
// is 183.206 mW/(m K); the enhancement computed with the correlation's constants (Tc
// 512.6 K, rhoc 275.563 kg/m3, pc 8.1035 MPa, Tref 768.9 K, qD^-1 0.70 nm) is 0.394, so
// the total is 183.5995, which prints as 183.60. The printed value has been transcribed as 183.57 and as 183.59;
// they imply an enhancement of 0.364 or 0.384. The value 183.57 needs qD^-1 = 0.73 nm;
// 183.59 is obtained (183.5945) when the enhancement is scaled with the equation of
// state's reducing point (513.38 K, 281.50 kg/m3, 8.2159 MPa) instead of the
// correlation's critical constants. The three other check states, whose enhancement is
// below 0.006 mW/(m K), do not tell these apart; the computed value is held here.
TEST(MethanolConductivity, LiquidCheckStateWithEnhancement) {
    const double background = (MethanolDiluteConductivity(400) + MethanolResidualConductivity(400, 690)) * 1e3;
    EXPECT_NEAR(background, 183.2059, 0.0001);
    EXPECT_NEAR(Conductivity(400, 690), 183.5995, 0.0001);
    for (auto [T, rho] : {std::pair{300.0, 850.0}, {400.0, 2.0}, {500.0, 10.0}}) {
        const double bg = (MethanolDiluteConductivity(T) + MethanolResidualConductivity(T, rho)) * 1e3;
        EXPECT_LT(Conductivity(T, rho) - bg, 0.006) << T;
    }
}

TEST(MethanolConductivity, EnhancementInputsFromTheEquationOfState) {
    // The equation's constants behind the helper are those of the methanol model.
    const FluidConstants& c = FluidAt(1).constants;
    EXPECT_EQ(kMethanolEosTred, c.Tred);
    EXPECT_EQ(kMethanolEosRhored, c.rhored);
    EXPECT_EQ(kMethanolEosR, c.R);
    EXPECT_EQ(kMethanolMolarMass, c.M);

    // (d rho / d P)_T against a central difference of the pressure along the isotherm.
    const auto pressure = IupacPressure;
    for (const auto& [T, rho] : {std::pair{300.0, 850.0}, {400.0, 2.0}, {520.0, 275.0}}) {
        const MethanolCriticalInputs in = MethanolCriticalInputsFromEos(T, rho);
        const double h = 1e-5 * rho;
        const double dPdrho = (pressure(T, rho + h) - pressure(T, rho - h)) / (2 * h);
        EXPECT_NEAR(in.drhodP * dPdrho, 1, 1e-6) << T;
        const double Tref = kMethanolConductivityTref;
        const double dPdrhoRef = (pressure(Tref, rho + h) - pressure(Tref, rho - h)) / (2 * h);
        EXPECT_NEAR(in.drhodPRef * dPdrhoRef, 1, 1e-6) << T;
        EXPECT_GT(in.cp, in.cv);
    }
    // The heat capacities agree with methanol's Properties (molar there).
    PointContext st;
    st.T = 300;
    st.rho = 850 / c.M * 1000;
    st.delta = st.rho / c.rhored;
    st.tau = c.Tred / st.T;
    const auto v = MethanolOperations().Properties(st, 589).values;
    const MethanolCriticalInputs in = MethanolCriticalInputsFromEos(300, 850);
    EXPECT_NEAR(in.cp * c.M / 1000, v[kCp], 1e-10 * v[kCp]);
    EXPECT_NEAR(in.cv * c.M / 1000, v[kCv], 1e-10 * v[kCv]);
}

TEST(MethanolConductivity, EnhancementVanishesContinuouslyAndGrowsNearTheCriticalPoint) {
    // Where the susceptibility difference falls to zero the enhancement goes to zero
    // with it (it is cut to 0 below), so the cut leaves no step.
    const MethanolCriticalInputs base = MethanolCriticalInputsFromEos(600, 200);
    const double eta = MethanolViscosity(600, 200);
    double last = 1;
    for (double eps : {1e-1, 1e-2, 1e-4, 1e-6, 1e-9, 1e-12}) {
        MethanolCriticalInputs in = base;
        in.drhodP = kMethanolConductivityTref / 600 * in.drhodPRef * (1 + eps);
        const double d = MethanolConductivityEnhancement(600, 200, eta, in);
        EXPECT_GT(d, 0) << eps;
        EXPECT_LT(d, last) << eps;
        last = d;
    }
    EXPECT_LT(last, 1e-8);  // W/(m K); it falls as the square root of the difference
    MethanolCriticalInputs below = base;
    below.drhodP = kMethanolConductivityTref / 600 * below.drhodPRef * 0.999;
    EXPECT_EQ(MethanolConductivityEnhancement(600, 200, eta, below), 0);

    // Approaching the critical point of the equation along the critical isochore the
    // enhancement grows, beyond the background 1 K above it.
    const double rhoc = kMethanolEosRhored * kMethanolMolarMass / 1000;
    double previous = 0;
    for (double dT : {50.0, 20.0, 5.0, 1.0}) {
        const double T = kMethanolEosTred + dT;
        const double d = MethanolConductivityEnhancement(T, rhoc, MethanolViscosity(T, rhoc),
                                                         MethanolCriticalInputsFromEos(T, rhoc));
        EXPECT_GT(d, previous) << dT;
        previous = d;
    }
    const double T1 = kMethanolEosTred + 1;
    EXPECT_GT(previous, (MethanolDiluteConductivity(T1) + MethanolResidualConductivity(T1, rhoc)));
}

// The results of methanol's Properties at a state as the point calculation hands it
// over, with the secondary results as the window's texts (none where unset).
struct ShownResults {
    std::array<double, kPropertyCount> values;
    struct {
        std::optional<std::string> eps, etha, lambda, Dth, pKw, n;
    } secondary;
};

class MethanolTransportTexts : public ::testing::Test {
protected:
    const FluidConstants& c = kMethanolConstants;
    double rhoMolar = 0;
    // rho in kg/m3.
    ShownResults At(double T, double P, double rho) {
        PointContext st;
        st.T = T;
        st.P = P;
        st.rho = rhoMolar = rho / c.M * 1000;
        st.delta = st.rho / c.rhored;
        st.tau = c.Tred / T;
        const PropertyResults r = MethanolOperations().Properties(st, 589);
        auto text = [](const Quantity& q) -> std::optional<std::string> {
            if (q.status == Status::kUnset) return std::nullopt;
            return StatusText(q);
        };
        ShownResults out{r.values, {}};
        out.secondary = {text(r.secondary[kEps]), text(r.secondary[kEtha]), text(r.secondary[kLambda]),
                         text(r.secondary[kDth]), text(r.secondary[kPKw]),  text(r.secondary[kN])};
        return out;
    }
};

TEST_F(MethanolTransportTexts, FilledInsideTheRangesAndNotAvailableOutside) {
    // 280 K, 1 MPa (Table 6 of the viscosity paper): all three in the display format.
    ShownResults r = At(280, 1e6, 804.12);
    ASSERT_TRUE(r.secondary.etha && r.secondary.lambda && r.secondary.Dth);
    EXPECT_EQ(*r.secondary.etha, FormatDisplay(MethanolViscosity(280, 804.12)));
    ExpectPrinted(ParseLeading(*r.secondary.etha) * 1e3, 0.7228, 1e-4, "etha text");
    const double lambda = ParseLeading(*r.secondary.lambda);
    EXPECT_EQ(*r.secondary.lambda, FormatDisplay(Conductivity(280, 804.12) / 1e3));
    EXPECT_NEAR(lambda, 0.2, 0.01);  // liquid methanol near ambient conditions
    // Thermal diffusivity lambda / (rho cp), about 1.0e-7 m2/s for the liquid.
    const double Dth = ParseLeading(*r.secondary.Dth);
    EXPECT_NEAR(Dth, lambda / (rhoMolar * r.values[kCp]), 1e-7 * Dth);
    EXPECT_NEAR(Dth, 1.0e-7, 0.1e-7);
    // Methanol has no dielectric constant, ion product or refractive index.
    EXPECT_FALSE(r.secondary.eps);
    EXPECT_FALSE(r.secondary.pKw);
    EXPECT_FALSE(r.secondary.n);

    // A gas state: filled as well.
    r = At(400, 1e5, 0.97575);
    ExpectPrinted(ParseLeading(r.secondary.etha.value_or("")) * 1e3, 0.01297, 1e-5, "gas etha text");
    EXPECT_NE(r.secondary.Dth.value_or("N/A"), "N/A");

    // At 245 MPa the conductivity is inside its range; above it the conductivity and
    // the diffusivity are "N/A" while the viscosity (valid to 10 GPa) is still given.
    r = At(400, 245e6, 850);
    EXPECT_NE(r.secondary.lambda.value_or("N/A"), "N/A");
    EXPECT_NE(r.secondary.Dth.value_or("N/A"), "N/A");
    r = At(400, 245.01e6, 850);
    EXPECT_EQ(r.secondary.lambda.value_or(""), "N/A");
    EXPECT_EQ(r.secondary.Dth.value_or(""), "N/A");
    EXPECT_EQ(*r.secondary.etha, FormatDisplay(MethanolViscosity(400, 850)));
    r = At(500, 800e6, 950);
    EXPECT_EQ(r.secondary.lambda.value_or(""), "N/A");
    EXPECT_NE(r.secondary.etha.value_or("N/A"), "N/A");
}

TEST_F(MethanolTransportTexts, NearTheCriticalPointTheTextsAreNumbersOrNotAvailable) {
    // Inside the spinodal below the critical temperature of the equation (513.38 K) the
    // isothermal compressibility and cp are negative: no enhancement, conductivity or
    // diffusivity can be given there, and none is shown, rather than a negative value.
    const ShownResults unstable = At(512.6, 8.1e6, 275.56);
    EXPECT_LT(unstable.values[kCp], 0);
    EXPECT_EQ(unstable.secondary.lambda.value_or(""), "N/A");
    EXPECT_EQ(unstable.secondary.Dth.value_or(""), "N/A");
    EXPECT_TRUE(std::isnan(MethanolConductivityEnhancement(512.6, 275.56, MethanolViscosity(512.6, 275.56),
                                                           MethanolCriticalInputsFromEos(512.6, 275.56))));
    for (double T : {512.6, 513.0, 513.38, 513.5}) {
        for (double rho : {250.0, 270.0, 275.56, 281.49, 290.0}) {
            const ShownResults r = At(T, 8.1e6, rho);
            for (const auto& text : {r.secondary.etha, r.secondary.lambda, r.secondary.Dth}) {
                ASSERT_TRUE(text);
                if (*text == "N/A") continue;
                const double x = ParseLeading(*text);
                EXPECT_TRUE(std::isfinite(x) && x > 0) << T << " " << rho << " " << *text;
            }
        }
    }
}

TEST_F(MethanolTransportTexts, ContinuousAcrossTheSaturationLine) {
    // Just inside the liquid and the vapour side of the saturation pressure the
    // transport values tend to the saturated-phase values, which for the viscosity are
    // the paper's Table 5.
    for (const auto& [T, etaV, etaL] :
         {std::tuple{300.0, 0.009678, 0.5291}, {400.0, 0.01251, 0.1714}, {500.0, 0.01891, 0.05748}}) {
        const EqualAreaResult s = MethanolSaturationState(c.Tred / T);
        const double rhoV = s.dV * c.rhored * c.M / 1000, rhoL = s.dL * c.rhored * c.M / 1000;
        ExpectPrinted(MethanolViscosity(T, rhoV) * 1e3, etaV, etaV < 0.01 ? 1e-6 : 1e-5, "sat. vapour");
        ExpectPrinted(MethanolViscosity(T, rhoL) * 1e3, etaL, etaL < 0.1 ? 1e-5 : 1e-4, "sat. liquid");
        for (double side : {-1.0, 1.0}) {
            const double rhoSat = side > 0 ? rhoL : rhoV;
            const double rho = rhoSat * (1 + side * 1e-7);
            const ShownResults r = At(T, s.pressure, rho);
            EXPECT_NEAR(ParseLeading(*r.secondary.etha) / MethanolViscosity(T, rhoSat), 1, 1e-5) << T << side;
            EXPECT_NEAR(ParseLeading(*r.secondary.lambda) / Conductivity(T, rhoSat) * 1e3, 1, 1e-5) << T << side;
        }
    }
}

}  // namespace
}  // namespace kelvane
