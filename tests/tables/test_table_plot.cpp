// The chart of a table, built from the table's text: curves per column (or per row when
// T is the column variable), gaps for message and empty cells, axis titles and legend
// texts from the heading; and the Plot button of the headless table window.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/main_form.h"
#include "tables/table_form.h"
#include "tables/table_plot.h"
#include "test_fluid.h"

using namespace kelvane;

namespace {

std::vector<double> Ys(const std::vector<ChartPoint>& segment) {
    std::vector<double> ys;
    for (const ChartPoint& p : segment) ys.push_back(p.y);
    return ys;
}

}  // namespace

TEST(TablePlot, MatrixGivesOneCurvePerColumnWithGapsForMessagesAndEmptyCells) {
    const std::string table =
        "Isobaric Specific Heat: Cp (J / (mol K)) of Water\n"
        "T (K) / P (MPa)\t0.1\t10\n"
        "300\t75.3\t74.8\n"
        "400\t34.5\tover Tc\n"
        "500\t35.1\t\n"
        "600\t36\t81.2\n"
        "700\t37.2\t82.5";
    const ChartData c = TablePlot(table, 0);
    EXPECT_EQ(c.title, "Isobaric Specific Heat: Cp (J / (mol K)) of Water");
    EXPECT_EQ(c.xTitle, "T (K)");
    EXPECT_EQ(c.yTitle, "Isobaric Specific Heat: Cp (J / (mol K))");
    EXPECT_FALSE(c.logY);
    ASSERT_EQ(c.curves.size(), 2u);
    EXPECT_EQ(c.curves[0].name, "P = 0.1 MPa");
    EXPECT_EQ(c.curves[1].name, "P = 10 MPa");

    ASSERT_EQ(c.curves[0].segments.size(), 1u);
    EXPECT_EQ(Ys(c.curves[0].segments[0]), (std::vector<double>{75.3, 34.5, 35.1, 36, 37.2}));
    EXPECT_EQ(c.curves[0].segments[0][4].x, 700);

    // The message and the empty cell make one gap; no zeros are drawn.
    ASSERT_EQ(c.curves[1].segments.size(), 2u);
    EXPECT_EQ(Ys(c.curves[1].segments[0]), (std::vector<double>{74.8}));
    EXPECT_EQ(Ys(c.curves[1].segments[1]), (std::vector<double>{81.2, 82.5}));
    EXPECT_EQ(c.curves[1].segments[1][0].x, 600);
}

TEST(TablePlot, TemperatureInTheColumnGivesOneCurvePerRow) {
    const std::string table =
        "Compressibity Factor: Z () of CO2\n"
        "rho (mol / l) / T (degC)\t0\t50\t100\n"
        "1\t0.95\t0.96\t0.97\n"
        "10\tover Tc\t0.6\t0.7";
    const ChartData c = TablePlot(table, 0);
    EXPECT_EQ(c.xTitle, "T (degC)");
    EXPECT_EQ(c.yTitle, "Compressibity Factor: Z");  // no empty parentheses
    ASSERT_EQ(c.curves.size(), 2u);
    EXPECT_EQ(c.curves[0].name, "rho = 1 mol / l");
    EXPECT_EQ(c.curves[1].name, "rho = 10 mol / l");
    ASSERT_EQ(c.curves[0].segments.size(), 1u);
    EXPECT_EQ(c.curves[0].segments[0][2].x, 100);
    EXPECT_EQ(c.curves[0].segments[0][2].y, 0.97);
    // A gap at the start leaves one segment.
    ASSERT_EQ(c.curves[1].segments.size(), 1u);
    EXPECT_EQ(c.curves[1].segments[0][0].x, 50);
}

TEST(TablePlot, PairsDrawTheThirdColumnAgainstTheFirst) {
    const std::string table =
        "Enthalpy: H (J / mol) of Methanol\n"
        "T (K)\tP (bar)\tEnthalpy: H (J / mol)\n"
        "300\t1\t-100.5\n"
        "320\t2\t\n"
        "340\t3\t1500\r\n"
        "360\t4\t1700";
    const ChartData c = TablePlot(table, 1);
    EXPECT_EQ(c.xTitle, "T (K)");
    EXPECT_EQ(c.yTitle, "Enthalpy: H (J / mol)");
    ASSERT_EQ(c.curves.size(), 1u);
    EXPECT_EQ(c.curves[0].name, "Methanol");
    ASSERT_EQ(c.curves[0].segments.size(), 2u);
    EXPECT_EQ(Ys(c.curves[0].segments[0]), (std::vector<double>{-100.5}));
    EXPECT_EQ(Ys(c.curves[0].segments[1]), (std::vector<double>{1500, 1700}));
}

TEST(TablePlot, CurvesBeyondTheLimitAreLeftOutWithANote) {
    std::string heading = "T (K) / P (MPa)", row = "300";
    for (int j = 1; j <= kMaxPlotCurves + 5; ++j) {
        heading += "\t" + std::to_string(j);
        row += "\t1";
    }
    const ChartData c = TablePlot("Pressure of Water\n" + heading + "\n" + row, 0);
    EXPECT_EQ(static_cast<int>(c.curves.size()), kMaxPlotCurves);
    EXPECT_NE(c.note.find(std::to_string(kMaxPlotCurves + 5)), std::string::npos);
    EXPECT_TRUE(TablePlot("", 0).curves.empty());
}

namespace {

// Answers the save dialog (or cancels) and keeps the table in memory.
class Dialogs : public TableFileDialogs {
public:
    bool SaveFileName(std::string& name) override {
        name = "table.txt";
        return answer;
    }
    bool OpenFileName(std::string&) override { return false; }
    std::unique_ptr<TableOutput> CreateOutput(const std::string&) override {
        return std::make_unique<StringTableOutput>();
    }
    bool answer = true;
};

}  // namespace

TEST(TablePlotButton, EnabledOnlyAfterATableIsWrittenAndPlotsThatTable) {
    MainForm main;
    testfluid::UseTestFluid(main);
    Dialogs dialogs;
    TableForm form(main, dialogs);
    int shown = 0;
    form.showPlot = [&shown] { ++shown; };
    EXPECT_FALSE(form.ButtonPlot.enabled);
    form.ButtonPlotClick();
    EXPECT_EQ(shown, 0);

    form.EditR.text = "300,400";
    form.EditC.text = "1,2";
    form.ButtonMakeClick();  // no property chosen
    EXPECT_EQ(form.EditMes.text, kNeedProperty);
    EXPECT_FALSE(form.ButtonPlot.enabled);

    form.ComboBoxQ.Select(11);
    form.ButtonMakeClick();
    ASSERT_EQ(form.EditMes.text, std::string(kTableDone) + "\n0 of 4 cells hold a message or are empty.");
    EXPECT_TRUE(form.ButtonPlot.enabled);
    form.ButtonPlotClick();
    EXPECT_EQ(shown, 1);

    // The plot shows the table as written, not a new calculation.
    MainForm other;
    testfluid::UseTestFluid(other);
    StringTableOutput written;
    ASSERT_EQ(MakeTable(other, form.Settings(), written).status, TableResult::Status::Written);
    EXPECT_EQ(form.LastTable(), written.Text());
    const ChartData c = form.PlotChart();
    ASSERT_EQ(c.curves.size(), 2u);
    EXPECT_EQ(c.curves[1].name, "P = 2 MPa");
    ASSERT_EQ(c.curves[1].segments.size(), 1u);
    EXPECT_EQ(c.curves[1].segments[0][1].x, 400);
    EXPECT_NEAR(c.curves[1].segments[0][1].y, testfluid::TestCp(400, 2e6), 1e-5);

    dialogs.answer = false;  // cancelled: nothing written, nothing to plot
    form.ButtonMakeClick();
    EXPECT_FALSE(form.ButtonPlot.enabled);
    EXPECT_TRUE(form.LastTable().empty());
    form.ButtonPlotClick();
    EXPECT_EQ(shown, 1);
}
