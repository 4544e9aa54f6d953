// The point calculation and its solvers against test-only fluid models with known
// answers: an ideal gas (Z = 1) with a configurable saturation state, with and without
// the optional water-style Region operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/calculate.h"
#include "core/fluid_model.h"
#include "core/format.h"
#include "core/solvers.h"
#include "forms/main_form.h"
#include "forms/texts.h"

using namespace kelvane;

namespace {

std::vector<std::string> calls;
SaturationState saturation{Status::kNotAvailable, 0, 0, 0};
MessageId temperatureMessage = MessageId::kNone, stateMessage = MessageId::kNone;
double (*compression)(double delta, double tau, double pi) = nullptr;
int region = 0;
// The state the last Properties call was given.
PointContext propertiesState;

double IdealZ(double, double, double) { return 1; }

// A test fluid with water's constants and known answers.
Fluid TestFluid(bool withRegion) {
    Fluid f{0, "test", kWaterConstants, {1, 1e4, 1, 1e9}, {}};
    FluidOperations& ops = f.ops;
    ops.MeltingPressure = [](double) {
        calls.push_back("melt");
        return Quantity::With(Status::kNotTreated);
    };
    ops.CheckTemperature = [](double) {
        calls.push_back("checkT");
        return temperatureMessage;
    };
    ops.CheckState = [](double, double, double) {
        calls.push_back("checkState");
        return stateMessage;
    };
    ops.Saturation = [](double, double) {
        calls.push_back("saturation");
        return saturation;
    };
    ops.Pressure = [](double delta, double tau, double pi, const PointContext&) {
        if (calls.empty() || calls.back() != "pressure") calls.push_back("pressure");
        return compression(delta, tau, pi);
    };
    ops.Properties = [](const PointContext& s, double wavelength) {
        calls.push_back("properties");
        propertiesState = s;
        PropertyResults r;
        r.values[kF] = s.delta;  // echoes the arguments so the test can check them
        r.values[kU] = s.tau;
        r.values[kH] = s.pi;
        r.values[kZ] = 1;
        r.values[kJT] = 1e-6;     // K/Pa
        r.values[kKappa] = 1e-5;  // 1/Pa
        r.values[kC2] = -1e-3;    // m3/mol
        r.secondary[kEtha] = Quantity::Of(wavelength);
        return r;
    };
    if (withRegion) {
        ops.Region = [](double, double, double, double, double, double) { return region; };
        ops.BoundaryB23Pressure = [](double) { return 16.5292e6; };
    }
    return f;
}

// The state the solvers are given: T, the given variable and the saturation values.
PointContext SolverState(double T, int inputVar, double value, double satuP, double satuRhov, double satuRhol) {
    PointContext s;
    s.inputVar = inputVar;
    s.T = T;
    s.tau = kWaterConstants.Tred / T;
    (inputVar == 0 ? s.P : s.rho) = value;
    s.pi = s.P / kWaterConstants.Pred;
    s.delta = s.rho / kWaterConstants.rhored;
    s.satuP = satuP;
    s.satuRhov = satuRhov;
    s.satuRhol = satuRhol;
    return s;
}

class Calculate : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        saturation = {Status::kNotAvailable, 0, 0, 0};
        temperatureMessage = MessageId::kNone;
        stateMessage = MessageId::kNone;
        compression = IdealZ;
        region = 0;
        Use(false);
    }
    void Use(bool withRegion) { fluid = TestFluid(withRegion); }
    void PressureMode(const char* T, const char* P) {
        f.RadioGroupVar.index = 0;
        f.RadioGroupVarClick();
        f.EditT.text = T;
        f.EditP.text = P;
    }
    void DensityMode(const char* T, const char* rho) {
        f.RadioGroupVar.index = 1;
        f.RadioGroupVarClick();
        f.EditT.text = T;
        f.EditRho.text = rho;
    }
    // "Calculate" of the form with the test fluid: the form's input, the engine's
    // calculation and the form's display of its result.
    void Click() {
        const PointInput in = f.ReadInput();
        last = kelvane::Calculate(fluid, in);
        f.ShowResult(last);
    }
    MainForm f;
    Fluid fluid = TestFluid(false);
    PointResult last;
};

const double R = 8.31451;

}  // namespace

TEST_F(Calculate, PressureModeSolvesTheDensityAndWritesResultsInDisplayUnits) {
    PressureMode("300", "0.1");
    f.Editnlambda.text = "633";
    f.EditMes.text = "old";
    f.EditsatuP.text = "old";
    Click();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"checkT", "melt", "saturation", "checkState", "pressure", "properties"}));
    const double rho = 1e5 / (R * 300);  // mol/m3, ideal gas
    EXPECT_NEAR(ParseLeading(f.EditRho.text), rho * 18.015257 / 1000, 2e-6 * rho * 18.015257 / 1000);
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_EQ(f.EditmeltP.text, "Not treat.");
    EXPECT_EQ(f.EditsatuP.text, "N/A");
    EXPECT_NEAR(ParseLeading(f.EditF.text), rho, 2e-6 * rho);  // delta = rho for water constants
    EXPECT_EQ(f.EditU.text, FormatDisplay(1.0 / 300));
    EXPECT_EQ(f.EditH.text, "100000");  // pi = P / Pred
    EXPECT_EQ(f.EditJT.text, "1");      // 1e-6 K/Pa shown per MPa
    EXPECT_EQ(f.Editkappa.text, "10");
    EXPECT_EQ(f.EditC2.text, FormatDisplay(-1e-3 * 1000 / 18.015257));
    EXPECT_EQ(f.EditVisc.text, "633");  // the wavelength reached Properties
    EXPECT_EQ(propertiesState.T, 300);
    EXPECT_EQ(f.EditEps.text, "");  // unset secondary results stay empty
    EXPECT_EQ(f.calc.inputVar, 0);
    EXPECT_DOUBLE_EQ(f.calc.T, 300);
    EXPECT_DOUBLE_EQ(f.calc.pi, 1e5);
    EXPECT_EQ(last.messageCount, 0);
    EXPECT_TRUE(last.hasP && last.hasRho && last.hasProperties);
}

TEST_F(Calculate, DensityModeComputesThePressureExplicitlyWithoutRegion) {
    DensityMode("300", "1");
    Click();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"checkT", "melt", "saturation", "pressure", "checkState", "properties"}));
    const double rho = 1000 / 18.015257;
    EXPECT_EQ(f.EditP.text, FormatDisplay(rho * R * 300 / 1e6));
    EXPECT_EQ(f.calc.inputVar, 1);
    EXPECT_EQ(last.state.P, rho * R * 300);
}

TEST_F(Calculate, StoppingTemperatureCheckLeavesMeltingAndSaturationEmpty) {
    temperatureMessage = MessageId::kWaterBelowT;
    PressureMode("1", "0.1");
    Click();
    EXPECT_EQ(calls, (std::vector<std::string>{"checkT"}));
    EXPECT_EQ(f.EditMes.text, MessageText(MessageId::kWaterBelowT));
    EXPECT_EQ(last.messageCount, 1);
    EXPECT_EQ(last.melt.status, Status::kUnset);
    EXPECT_EQ(last.saturation.status, Status::kUnset);
    EXPECT_EQ(f.EditmeltP.text, "");
    EXPECT_EQ(f.EditsatuP.text, "");
    EXPECT_EQ(f.EditRho.text, "");
}

TEST_F(Calculate, StoppingStateCheck) {
    stateMessage = MessageId::kWaterAbove100MPa;
    const std::string tooMuch = MessageText(stateMessage);
    saturation = {Status::kValue, 150000, 60, 50000};
    PressureMode("300", "0.1");
    Click();
    EXPECT_EQ(f.EditMes.text, tooMuch);
    EXPECT_EQ(f.EditsatuP.text, "0.15");
    EXPECT_EQ(f.EditmeltP.text, "Not treat.");
    EXPECT_EQ(f.EditRho.text, "");
    EXPECT_EQ(f.EditCp.text, "");

    // In density mode the solved pressure is shown together with the message.
    DensityMode("300", "0.5");
    Click();
    EXPECT_EQ(f.EditMes.text, tooMuch);
    EXPECT_EQ(f.EditP.text, FormatDisplay(500 / 18.015257 * R * 300 / 1e6));
    EXPECT_EQ(f.EditF.text, "");
}

TEST_F(Calculate, TwoPhaseBoundsAreInclusiveWithMetastableMargins) {
    saturation = {Status::kValue, 200000, 1000, 10000};  // Pa, mol/m3
    f.ComboBoxRho.Select(2);                             // mol/l
    f.ComboBoxRhoChange();
    struct Case {
        const char* rho;  // mol/l
        bool warning;
        bool properties;
    } cases[] = {
        {"0.999", false, true}, {"1", true, true},  {"1.049", true, true},
        {"1.05", true, false},  {"5", true, false}, {"9", true, false},
        {"9.001", true, true},  {"10", true, true}, {"10.001", false, true},
    };
    for (const Case& c : cases) {
        DensityMode("300", c.rho);
        Click();
        EXPECT_EQ(f.EditMes.text, c.warning ? MainForm::kTwoPhaseWarning : "") << c.rho;
        EXPECT_EQ(f.EditCp.text.empty() && f.EditZ.text.empty(), !c.properties) << c.rho;
        // The pressure is only solved for states that are calculated.
        EXPECT_EQ(f.EditP.text.empty(), !c.properties) << c.rho;
    }
}

TEST_F(Calculate, WarningPrecedesTheStateMessage) {
    saturation = {Status::kValue, 200000, 1000, 10000};
    stateMessage = MessageId::kFreeze;
    f.ComboBoxRho.Select(2);
    f.ComboBoxRhoChange();
    DensityMode("300", "9.5");
    Click();
    EXPECT_EQ(f.EditMes.text, std::string(MainForm::kTwoPhaseWarning) + MessageText(MessageId::kFreeze));
    ASSERT_EQ(last.messageCount, 2);
    EXPECT_EQ(last.messages[0], MessageId::kTwoPhase);
    EXPECT_EQ(last.messages[1], MessageId::kFreeze);
}

TEST_F(Calculate, ConversionErrorAbandonsTheRunWithFieldsCleared) {
    f.EditMes.text = "old message";
    f.EditZ.text = "1";
    DensityMode("300", "");
    EXPECT_THROW(f.ButtonCalcClick(), ConversionError);
    EXPECT_EQ(f.EditMes.text, "");
    EXPECT_EQ(f.EditZ.text, "");
    EXPECT_THROW(Click(), ConversionError);
    EXPECT_TRUE(calls.empty());
    PressureMode("hot", "1");
    EXPECT_THROW(f.ButtonCalcClick(), ConversionError);
    EXPECT_THROW(Click(), ConversionError);
    EXPECT_TRUE(calls.empty());
}

TEST(SolveDensity, IdealGasFromEachStartRule) {
    calls.clear();
    compression = IdealZ;
    const Fluid fluid = TestFluid(false);
    const double T = 300;
    struct Case {
        double P, satuP, satuRhov, satuRhol;
    } cases[] = {
        {1e5, 0, 0, 0},          // critical start, walk down
        {1e8, 0, 0, 0},          // march up first
        {1e5, 2e5, 80.18, 5e4},  // vapour side
        {2e5, 2e5, 80.18, 5e4},  // equal to satuP: critical start
        {5e7, 1e5, 40, 15000},   // liquid side with march
    };
    for (const Case& c : cases) {
        const double rho = SolveDensity(fluid, SolverState(T, 0, c.P, c.satuP, c.satuRhov, c.satuRhol));
        EXPECT_NEAR(rho, c.P / (R * T), 2e-6 * c.P / (R * T)) << c.P << " " << c.satuP;
    }
}

TEST(SolveDensity, MarchIsBoundedWhenThePressureNeverReachesTheTarget) {
    compression = [](double delta, double, double) { return 1 / (1 + delta); };  // P < R T
    const Fluid fluid = TestFluid(false);
    const double rho = SolveDensity(fluid, SolverState(300, 0, 1e4, 0, 0, 0));
    EXPECT_TRUE(std::isfinite(rho));
    EXPECT_GT(rho, kMaxMarchSteps * 0.1 * kWaterConstants.rhoc * 0.99);
}

TEST(SolvePressure, RegionShortcutsAndSearch) {
    compression = IdealZ;
    const Fluid fluid = TestFluid(true);
    const double T = 500;
    region = 3;  // explicit through the density form
    EXPECT_DOUBLE_EQ(SolvePressure(fluid, SolverState(T, 1, 100, 0, 0, 0)), 1 * 100 * 1 * R * T);
    for (int r : {1, 2, 5}) {
        region = r;
        for (double rho : {1.0, 300.0, 2e4}) {
            bool converged = false;
            const double P = SolvePressure(fluid, SolverState(T, 1, rho, 0, 0, 0), &converged);
            EXPECT_TRUE(converged) << r << " " << rho;
            EXPECT_NEAR(P / (R * T), rho, 1.1e-6 * rho) << r << " " << rho;
        }
    }
    region = 2;
    const double satP = 1e6;
    for (double rho : {100.0, 400.0}) {  // below satuRhov and above satuRhol
        const double P = SolvePressure(fluid, SolverState(T, 1, rho, satP, 240, 250));
        EXPECT_NEAR(P / (R * T), rho, 1.1e-6 * rho);
    }
    // Density mode shortcut in the solver for pressure given: regions 1, 2, 5 are explicit.
    region = 1;
    EXPECT_DOUBLE_EQ(SolveDensity(fluid, SolverState(T, 0, 1e6, 0, 0, 0)), 1e6 / (R * T));
}

TEST(SolvePressure, ReturnsAfterThirtyRestartsWhenTheSearchCannotConverge) {
    compression = [](double delta, double, double) { return delta == 0 ? 1e300 : 1.0; };  // r(p) ~ 0
    const Fluid fluid = TestFluid(true);
    region = 2;
    bool converged = true;
    const double P = SolvePressure(fluid, SolverState(500, 1, 100, 0, 0, 0), &converged);
    EXPECT_TRUE(std::isfinite(P));
    EXPECT_FALSE(converged);
    // The calculation refuses such a density instead of computing another state.
    PointInput in;
    in.inputVar = 1;
    in.T = 500;
    in.rho = 100;
    const PointResult r = kelvane::Calculate(fluid, in);
    EXPECT_TRUE(r.HasMessage(MessageId::kNoPressure));
    EXPECT_FALSE(r.hasProperties);
    EXPECT_FALSE(r.hasP);
}

TEST_F(Calculate, ZeroPressureOrDensityGivesAMessageAndNoProperties) {
    saturation = {Status::kValue, 200000, 1000, 10000};
    PressureMode("300", "0");
    Click();
    EXPECT_EQ(f.EditMes.text, MainForm::kZeroStateMessage);
    EXPECT_EQ(f.EditRho.text, "");
    EXPECT_EQ(f.EditCp.text, "");
    EXPECT_EQ(f.EditsatuP.text, "0.2");  // saturation is still shown
    DensityMode("300", "-0");
    Click();
    EXPECT_EQ(f.EditMes.text, MainForm::kZeroStateMessage);
    EXPECT_EQ(f.EditP.text, "");
    EXPECT_EQ(f.EditZ.text, "");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "properties"), 0);
    EXPECT_TRUE(last.HasMessage(MessageId::kZeroState));
}
