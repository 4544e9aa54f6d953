// Carbon dioxide property evaluation: the 14 results against the tables of Span and
// Wagner, J. Phys. Chem. Ref. Data 25, 1509 (1996) (Table 34 saturated states,
// Table 35 single-phase states; enthalpy and entropy there are zero for the ideal gas
// at 298.15 K and 0.101325 MPa, the reference state of the equation itself), the
// thermodynamic identities between them, the correlation length, the viscosity range
// and the whole calculation through the main form.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/fluid_model.h"
#include "core/format.h"
#include "core/main_form.h"
#include "core/solvers.h"
#include "fluids/co2/co2_eos.h"
#include "fluids/co2/co2_model.h"
#include "fluids/registry.h"

namespace kelvane {
namespace {

class Co2Properties : public testing::Test {
protected:
    void SetUp() override {
        RegisterAllFluids();
        SelectFluid(2);
        calc.meltP = 0;
    }
    // Sets the state point from T (K), the molar density and P (Pa).
    static void SetState(double T, double rho, double P) {
        calc.T = T;
        calc.tau = calc.Tred / T;
        calc.rho = rho;
        calc.delta = rho / calc.rhored;
        calc.P = P;
        calc.pi = P / calc.Pred;
    }
    static PropertyResults At(double T, double rho, double P) {
        SetState(T, rho, P);
        return co2::Properties(calc.delta, calc.tau, calc.pi, "589");
    }
    static double Molar(double kgPerM3) { return kgPerM3 / calc.M * 1000; }
    static double PressureAt(double T, double rho) {
        calc.tau = calc.Tred / T;
        return co2::Pressure(rho / calc.rhored, calc.tau, 0) * rho * calc.R * T;
    }
};

// A published value and the unit of its last digit.
struct Digits {
    double value, unit;
};
// |actual - published| within half a unit of the last digit, widened by 10 % for
// values that sit at a rounding boundary.
#define EXPECT_DIGITS(actual, published) \
    EXPECT_NEAR((actual), (published).value, 0.55 * (published).unit) << #actual

// Per-mass values from the molar results: kJ/kg and kJ/(kg K).
struct Caloric {
    double h, s, cv, cp, w, u;
};
Caloric PerMass(const PropertyResults& r) {
    const double M = calc.M;
    return {r.values[kH] / M, r.values[kS] / M, r.values[kCv] / M, r.values[kCp] / M, r.values[kW], r.values[kU] / M};
}

// Span-Wagner 1996, Table 34: one phase of the saturated states.
struct SaturatedPhase {
    double T;
    bool liquid;
    Digits h, s, cv, cp, w;
};
const SaturatedPhase kTable34[] = {
    {216.592, true, {-426.74, 0.01}, {-2.2177, 1e-4}, {0.97466, 1e-5}, {1.9532, 1e-4}, {975.85, 0.01}},
    {216.592, false, {-76.364, 1e-3}, {-0.59999, 1e-5}, {0.6292, 1e-4}, {0.90872, 1e-5}, {222.78, 0.01}},
    {240, true, {-379.94, 0.01}, {-2.0155, 1e-4}, {0.94535, 1e-5}, {2.0510, 1e-4}, {806.38, 0.01}},
    {240, false, {-70.293, 1e-3}, {-0.72532, 1e-5}, {0.70534, 1e-5}, {1.1033, 1e-4}, {222.96, 0.01}},
    {260, true, {-337.34, 0.01}, {-1.8495, 1e-4}, {0.93227, 1e-5}, {2.2554, 1e-4}, {652.58, 0.01}},
    {260, false, {-70.862, 1e-3}, {-0.82456, 1e-5}, {0.79426, 1e-5}, {1.4295, 1e-4}, {218.19, 0.01}},
    {280, true, {-289.48, 0.01}, {-1.6792, 1e-4}, {0.96046, 1e-5}, {2.8141, 1e-4}, {471.54, 0.01}},
    {280, false, {-80.840, 1e-3}, {-0.93401, 1e-5}, {0.92316, 1e-5}, {2.2769, 1e-4}, {207.72, 0.01}},
    {300, true, {-223.40, 0.01}, {-1.4631, 1e-4}, {1.1199, 1e-4}, {8.6979, 1e-4}, {245.67, 0.01}},
    {300, false, {-119.70, 0.01}, {-1.1175, 1e-4}, {1.2476, 1e-4}, {11.921, 1e-3}, {185.33, 0.01}},
};

// Coexisting reduced densities refined by Newton's method on equal pressure and equal
// Gibbs energy, starting from the saturation operation, so that the comparison with the
// table tests the equation of state rather than the 1e-6 tolerance of the iteration.
struct Coexistence {
    double dV, dL;
};
Coexistence RefinedSaturation(double T) {
    calc.T = T;
    calc.tau = calc.Tred / T;
    const double tau = calc.tau;
    const SaturationResult s = co2::Saturation(tau);
    double dV = ParseLeading(s.vapourDensity) / calc.rhored, dL = ParseLeading(s.liquidDensity) / calc.rhored;
    auto r1 = [tau](double d) { return Co2ResidualHelmholtz(1, d, 0, tau); };
    auto p = [&](double d) { return d * (1 + d * r1(d)); };  // p / (rhoc R T)
    auto g = [&](double d) { return 1 + d * r1(d) + Co2ResidualHelmholtz(0, d, 0, tau) + std::log(d); };
    auto Y = [&](double d) { return 1 + 2 * d * r1(d) + d * d * Co2ResidualHelmholtz(2, d, 0, tau); };
    for (int k = 0; k < 20; ++k) {
        const double f1 = p(dL) - p(dV), f2 = g(dL) - g(dV);
        const double a = Y(dL), b = -Y(dV), c = Y(dL) / dL, d = -Y(dV) / dV;
        const double det = a * d - b * c;
        dL -= (f1 * d - b * f2) / det;
        dV -= (a * f2 - c * f1) / det;
        if (std::fabs(f1) < 1e-15 * p(dV) && std::fabs(f2) < 1e-15) break;
    }
    return {dV, dL};
}

TEST_F(Co2Properties, SaturatedStatesReproduceTable34) {
    for (const SaturatedPhase& row : kTable34) {
        SCOPED_TRACE(testing::Message() << row.T << (row.liquid ? " K liquid" : " K vapour"));
        const Coexistence c2 = RefinedSaturation(row.T);
        const double delta = row.liquid ? c2.dL : c2.dV;
        const double rho = delta * calc.rhored;
        const Caloric c = PerMass(At(row.T, rho, PressureAt(row.T, rho)));
        EXPECT_DIGITS(c.h, row.h);
        EXPECT_DIGITS(c.s, row.s);
        EXPECT_DIGITS(c.cv, row.cv);
        EXPECT_DIGITS(c.cp, row.cp);
        EXPECT_DIGITS(c.w, row.w);
    }
}

// The saturation operation itself stays within its tolerance of the refined state.
TEST_F(Co2Properties, SaturationOperationIsCloseToTheRefinedEquilibrium) {
    for (double T : {216.592, 250.0, 290.0, 304.0}) {
        SCOPED_TRACE(T);
        const Coexistence c = RefinedSaturation(T);
        const SaturationResult s = co2::Saturation(calc.tau);
        EXPECT_NEAR(ParseLeading(s.vapourDensity) / calc.rhored, c.dV, 3e-6 * c.dV);
        EXPECT_NEAR(ParseLeading(s.liquidDensity) / calc.rhored, c.dL, 3e-6 * c.dL);
        const double p = PressureAt(T, c.dV * calc.rhored);
        EXPECT_NEAR(ParseLeading(s.pressure), p, 3e-6 * p);
    }
}

// Span-Wagner 1996, Table 35: single-phase states at given T and p.
struct SinglePhase {
    double T, p;  // K, Pa
    Digits rho, u, h, s, cv, cp, w;
};
const SinglePhase kTable35[] = {
    {240, 0.05e6, {1.1084, 1e-4}, {-93.125, 1e-3}, {-48.014, 1e-3}, {-0.04483, 1e-5}, {0.59473, 1e-5}, {0.78815, 1e-5}, {243.88, 0.01}},
    {1100, 0.1e6, {0.48109, 1e-5}, {675.83, 0.01}, {883.69, 0.01}, {1.3827, 1e-4}, {1.0702, 1e-4}, {1.2593, 1e-4}, {494.61, 0.01}},
    {280, 0.5e6, {9.7568, 1e-4}, {-71.840, 1e-3}, {-20.594, 1e-3}, {-0.36761, 1e-5}, {0.65255, 1e-5}, {0.87063, 1e-5}, {257.27, 0.01}},
    {230, 1e6, {1128.97, 0.01}, {-401.07, 0.01}, {-400.19, 0.01}, {-2.1006, 1e-4}, {0.95680, 1e-5}, {1.9959, 1e-4}, {879.82, 0.01}},
    {290, 5e6, {148.41, 0.01}, {-115.58, 0.01}, {-81.892, 1e-3}, {-0.95959, 1e-5}, {0.94334, 1e-5}, {2.5783, 1e-4}, {207.56, 0.01}},
    {480, 10e6, {119.65, 0.01}, {50.083, 1e-3}, {133.66, 0.01}, {-0.48595, 1e-5}, {0.84672, 1e-5}, {1.1732, 1e-4}, {328.74, 0.01}},
    {1100, 100e6, {371.36, 0.01}, {617.86, 0.01}, {887.14, 0.01}, {0.03152, 1e-5}, {1.0931, 1e-4}, {1.3544, 1e-4}, {675.48, 0.01}},
    // On the melting line (the calculation itself would report these as frozen).
    {226.679, 50e6, {1229.78, 0.01}, {-430.79, 0.01}, {-390.13, 0.01}, {-2.2377, 1e-4}, {0.99951, 1e-5}, {1.7735, 1e-4}, {1146.9, 0.1}},
    {327.673, 800e6, {1495.70, 0.01}, {-369.91, 0.01}, {164.96, 0.01}, {-2.1926, 1e-4}, {1.1961, 1e-4}, {1.5477, 1e-4}, {2052.8, 0.1}},
};

TEST_F(Co2Properties, SinglePhaseStatesReproduceTable35) {
    for (const SinglePhase& row : kTable35) {
        SCOPED_TRACE(testing::Message() << row.T << " K " << row.p << " Pa");
        calc.T = row.T;
        calc.tau = calc.Tred / row.T;
        const SaturationResult sat = co2::Saturation(calc.tau);
        const double rho = SolveDensity(row.T, row.p, ParseLeading(sat.pressure), ParseLeading(sat.vapourDensity),
                                        ParseLeading(sat.liquidDensity));
        EXPECT_DIGITS(rho * calc.M / 1000, row.rho);
        const Caloric c = PerMass(At(row.T, rho, row.p));
        EXPECT_DIGITS(c.u, row.u);
        EXPECT_DIGITS(c.h, row.h);
        EXPECT_DIGITS(c.s, row.s);
        EXPECT_DIGITS(c.cv, row.cv);
        EXPECT_DIGITS(c.cp, row.cp);
        EXPECT_DIGITS(c.w, row.w);
    }
}

// Z, alpha, kappa, the Joule-Thomson coefficient and the speed of sound against
// derivatives of the pressure taken by central differences, and the fugacity
// coefficient against G - G(ideal gas).
TEST_F(Co2Properties, ResultsAgreeWithDifferencesOfThePressure) {
    const double states[][2] = {{250, 1050}, {310, 500}, {320, 150}, {700, 300}, {1000, 10}};
    for (const auto& st : states) {
        const double T = st[0], rho = Molar(st[1]);
        SCOPED_TRACE(testing::Message() << T << " K " << st[1] << " kg/m3");
        const double P = PressureAt(T, rho);
        const auto v = At(T, rho, P).values;
        const double hr = rho * 1e-6, hT = T * 1e-6;
        const double dPdrho = (PressureAt(T, rho + hr) - PressureAt(T, rho - hr)) / (2 * hr);
        const double dPdT = (PressureAt(T + hT, rho) - PressureAt(T - hT, rho)) / (2 * hT);
        calc.tau = calc.Tred / T;
        const double kappa = 1 / (rho * dPdrho);
        const double alpha = dPdT / (rho * dPdrho);
        EXPECT_NEAR(v[kZ], P / (rho * calc.R * T), 1e-12);
        EXPECT_NEAR(v[kKappa], kappa, 1e-6 * kappa);
        EXPECT_NEAR(v[kAlpha], alpha, 1e-6 * std::fabs(alpha));
        // mu_JT = (T alpha - 1) / (rho Cp); w^2 = (Cp / Cv) / (rho_mass kappa).
        EXPECT_NEAR(v[kJT], (T * alpha - 1) / (rho * v[kCp]), 1e-6 * std::fabs(v[kJT]));
        const double w2 = v[kCp] / v[kCv] / (rho * calc.M / 1000 * kappa);
        EXPECT_NEAR(v[kW] * v[kW], w2, 1e-6 * w2);
        // ln(f/P) = (G - G_ideal(T, P)) / RT with G_ideal = RT (phi0 + ln(P / (rho_c R T))) + RT.
        const double lnP = std::log(P / (calc.rhored * calc.R * T));
        const double gIdeal = calc.R * T * (Co2IdealHelmholtz(0, calc.tau) + lnP + 1);
        EXPECT_NEAR(std::log(v[kFugacity]), (v[kG] - gIdeal) / (calc.R * T), 1e-9);
        EXPECT_NEAR(v[kF], v[kG] - P / rho, 1e-9 * std::fabs(v[kG]) + 1e-9);
        EXPECT_NEAR(v[kU], v[kH] - P / rho, 1e-9 * std::fabs(v[kH]) + 1e-9);
    }
}

TEST_F(Co2Properties, SecondVirialCoefficientIsTheDiluteLimit) {
    for (double T : {220.0, 300.0, 600.0, 1100.0}) {
        SCOPED_TRACE(T);
        const double B = At(T, Molar(1e-4), 0).values[kC2];
        EXPECT_EQ(At(T, Molar(800), 0).values[kC2], B);
        // (Z - 1) / rho at a vanishing density.
        const double rho = Molar(1e-6);
        EXPECT_NEAR((PressureAt(T, rho) / (rho * calc.R * T) - 1) / rho, B, 1e-6 * std::fabs(B));
    }
    // Carbon dioxide at 300 K: B is about -120 cm3/mol, and it changes sign near 700 K
    // (the Boyle temperature lies at about 714 K).
    EXPECT_NEAR(At(300, Molar(1), 0).values[kC2] * 1e6, -121, 3);
    EXPECT_LT(At(700, Molar(1), 0).values[kC2], 0);
    EXPECT_GT(At(730, Molar(1), 0).values[kC2], 0);
}

TEST_F(Co2Properties, DiluteGasAt300K) {
    const double delta = 1e-6;
    const double rho = delta * calc.rhored;
    SetState(300, rho, 0);
    const double P = PressureAt(300, rho);
    const PropertyResults r = At(300, rho, P);
    const auto& v = r.values;
    EXPECT_LT(v[kZ], 1);
    EXPECT_GT(v[kZ], 1 - 1e-5);
    EXPECT_LT(v[kFugacity], 1);
    EXPECT_GT(v[kFugacity], 1 - 1e-5);
    const double tau = calc.Tred / 300;
    const double cpIdeal = calc.R * (1 - tau * tau * Co2IdealHelmholtz(2, tau));
    EXPECT_NEAR(v[kCp], cpIdeal, 1e-5 * cpIdeal);
    EXPECT_NEAR(v[kCp], 37.22, 0.05);  // ideal-gas cp of CO2 at 300 K (JANAF: 37.221 J/(mol K))
    // Far from the critical density the susceptibility difference is negative.
    EXPECT_EQ(co2::CorrelationLength(delta, tau), 0.0);
}

TEST_F(Co2Properties, CorrelationLengthNearTheCriticalPoint) {
    calc.T = 300;
    calc.tau = calc.Tred / 300;
    const SaturationResult s = co2::Saturation(calc.tau);
    SetState(300, ParseLeading(s.liquidDensity), ParseLeading(s.pressure));
    const double xiLiquid = co2::CorrelationLength(calc.delta, calc.tau);
    EXPECT_GT(xiLiquid, 3e-10);
    EXPECT_LT(xiLiquid, 1e-8);
    // It grows towards the critical point along the critical isochore.
    SetState(306, calc.rhoc, 0);
    const double xi306 = co2::CorrelationLength(1, calc.tau);
    SetState(330, calc.rhoc, 0);
    const double xi330 = co2::CorrelationLength(1, calc.tau);
    EXPECT_GT(xi306, xi330);
    EXPECT_GT(xi306, 1e-9);
}

// Above 445 K the susceptibility is taken at 445 K and the length damped by
// exp(-0.1 (T - 445 K)); the length is continuous at 445 K.
TEST_F(Co2Properties, CorrelationLengthDampingAbove445K) {
    const double delta = 0.5;
    auto xiAt = [&](double T) {
        SetState(T, delta * calc.rhored, 0);
        return co2::CorrelationLength(delta, calc.tau);
    };
    auto Y = [](double d, double tau) {
        return 1 + 2 * d * Co2ResidualHelmholtz(1, d, 0, tau) + d * d * Co2ResidualHelmholtz(2, d, 0, tau);
    };
    const double Zc = calc.Pc / (calc.rhoc * calc.R * calc.Tc);
    const double tau450 = calc.Tred / 450;
    const double dchi = Zc * delta * (1 / Y(delta, calc.Tc / 445) - tau450 / (2.0 / 3 * Y(delta, 2.0 / 3)));
    ASSERT_GT(dchi, 0);
    const double undamped = 1.5e-10 * std::pow(dchi / 0.052, 0.63 / 1.2415);
    EXPECT_NEAR(xiAt(450), undamped * std::exp(-0.5), 1e-9 * undamped);
    const double below = xiAt(std::nextafter(445.0, 0.0)), at = xiAt(445);
    EXPECT_GT(at, 0);
    EXPECT_NEAR(below, at, 1e-9 * at);
}

TEST_F(Co2Properties, ViscosityRangeDependsOnTemperatureAndPressure) {
    const double rho = Molar(300);
    auto etha = [&](double T, double P) { return *At(T, rho, P).secondary.etha; };
    EXPECT_NE(etha(1000, 3e8), "Not treat.");
    EXPECT_EQ(etha(1000, std::nextafter(3e8, 1e9)), "Not treat.");
    EXPECT_NE(etha(1000.001, 3e7), "Not treat.");
    EXPECT_EQ(etha(1000.001, 3.0000001e7), "Not treat.");
    // Outside the viscosity range the conductivity is still given.
    const PropertyResults r = At(1000.001, rho, 1e8);
    EXPECT_EQ(*r.secondary.etha, "Not treat.");
    EXPECT_TRUE(r.secondary.lambda.has_value());
    // Carbon dioxide gives no dielectric constant, ion product or refractive index.
    EXPECT_FALSE(r.secondary.eps.has_value());
    EXPECT_FALSE(r.secondary.pKw.has_value());
    EXPECT_FALSE(r.secondary.n.has_value());
}

class Co2MainForm : public Co2Properties {
protected:
    void SetUp() override {
        RegisterAllFluids();
        form.RadioGroupMatter.index = 2;
        form.RadioGroupMatterClick();
    }
    void Calculate(const std::string& T, const std::string& P) {
        form.RadioGroupVar.index = 0;
        form.RadioGroupVarClick();
        form.EditT.text = T;
        form.EditP.text = P;
        form.ButtonCalcClick();
    }
    static double Num(const EditField& f) { return ParseStrict(f.text); }
    MainForm form;
};

TEST_F(Co2MainForm, SupercriticalStateNearTheCriticalPoint) {
    Calculate("305", "7.5");
    EXPECT_EQ(form.EditMes.text, "");
    EXPECT_EQ(form.EditsatuP.text, "over Tc");
    EXPECT_EQ(form.EditsatuRhov.text, "over Tc");
    EXPECT_EQ(form.EditsatuRhol.text, "over Tc");
    EXPECT_GT(Num(form.EditmeltP), 200);  // MPa
    // The density solved from 7.5 MPa reproduces the pressure.
    const double rho = Molar(Num(form.EditRho));
    EXPECT_NEAR(PressureAt(305, rho), 7.5e6, 7.5e6 * 1e-5);
    EXPECT_GT(Num(form.EditRho), 250);
    EXPECT_LT(Num(form.EditRho), 650);
    // Every thermodynamic field carries a number; cp is far above its ideal value.
    for (const EditField* f : {&form.EditF, &form.EditU, &form.EditH, &form.EditG, &form.EditS, &form.EditCv,
                               &form.EditCp, &form.EditZ, &form.EditFP, &form.EditW, &form.EditJT, &form.EditC2,
                               &form.Editalpha, &form.Editkappa})
        EXPECT_TRUE(std::isfinite(Num(*f))) << f->text;
    EXPECT_GT(Num(form.EditCp), 10 * Num(form.EditCv));
    EXPECT_EQ(form.EditEps.text, "");
    EXPECT_EQ(form.EditKw.text, "");
    EXPECT_EQ(form.Editn.text, "");
}

TEST_F(Co2MainForm, SaturatedLiquidAt300KByDensity) {
    form.RadioGroupVar.index = 1;
    form.RadioGroupVarClick();
    form.EditT.text = "300";
    form.EditRho.text = "700";
    form.ButtonCalcClick();
    EXPECT_EQ(form.EditMes.text, "");
    EXPECT_NEAR(Num(form.EditsatuP), 6.7131, 0.5e-4);
    EXPECT_NEAR(Num(form.EditsatuRhol), 679.24, 0.005);
    EXPECT_NEAR(Num(form.EditsatuRhov), 268.58, 0.005);
    // Compressed liquid: the pressure follows from the density directly.
    EXPECT_GT(Num(form.EditP), 6.7131);
    EXPECT_NEAR(Num(form.EditP) * 1e6, PressureAt(300, Molar(700)), 1e-7 * Num(form.EditP) * 1e6);
}

TEST_F(Co2MainForm, RangeMessages) {
    Calculate("215.9", "1");
    EXPECT_EQ(form.EditMes.text, "Not applied to the range less than 216 K.");
    EXPECT_EQ(form.EditmeltP.text, "");
    Calculate("1100.5", "1");
    EXPECT_EQ(form.EditMes.text, "Not applied to the range more than 1100 K.");
    Calculate("250", "300");  // above the melting pressure at 250 K
    EXPECT_EQ(form.EditMes.text, "Suppose to freeze.");
    EXPECT_NE(form.EditsatuP.text, "");
    Calculate("400", "801");
    EXPECT_EQ(form.EditmeltP.text, ">800MPa");
    EXPECT_EQ(form.EditMes.text, "Not applied to the range more than 800 MPa.");
    Calculate("400", "800");
    EXPECT_EQ(form.EditMes.text, "");
    EXPECT_GT(Num(form.EditRho), 1300);
    // Deep in the two-phase region at 280 K no properties are given.
    form.RadioGroupVar.index = 1;
    form.RadioGroupVarClick();
    form.EditT.text = "280";
    form.EditRho.text = "500";
    form.ButtonCalcClick();
    EXPECT_EQ(form.EditMes.text, MainForm::kTwoPhaseWarning);
    EXPECT_EQ(form.EditCp.text, "");
}

TEST_F(Co2MainForm, TriplePointAndTheLowestTemperature) {
    Calculate("216.592", "0.5");
    EXPECT_NEAR(Num(form.EditmeltP), 0.51795, 1e-5);
    EXPECT_NEAR(Num(form.EditsatuP), 0.51796, 0.5e-5);
    EXPECT_EQ(form.EditMes.text, "");
    // Above the triple-point pressure at the triple-point temperature it is solid.
    Calculate("216.592", "0.52");
    EXPECT_EQ(form.EditMes.text, "Suppose to freeze.");
    // At 216 K, below the triple point, the vapour above the sublimation line is solid.
    Calculate("216", "0.6");
    EXPECT_EQ(form.EditMes.text, "Suppose to freeze.");
    Calculate("216", "0.4");
    EXPECT_EQ(form.EditMes.text, "");
    EXPECT_LT(Num(form.EditmeltP), 0.51795);
    EXPECT_NEAR(Num(form.EditRho), 10.5, 1.5);  // gas
}

}  // namespace
}  // namespace kelvane
