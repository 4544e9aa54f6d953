#include "tables/table_plot.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/format.h"
#include "tables/table_form.h"

namespace kelvane {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

std::optional<double> Number(const std::string& text) {
    try {
        const double v = ParseStrict(text);
        if (std::isfinite(v)) return v;
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

// "name (unit)" of a heading.
struct PlotQuantity {
    std::string name, unit;
};

PlotQuantity ParseQuantity(const std::string& text) {
    const size_t open = text.find(" (");
    if (open == std::string::npos || text.empty() || text.back() != ')') return {text, ""};
    return {text.substr(0, open), text.substr(open + 2, text.size() - open - 3)};
}

// Axis title of a quantity; an empty unit drops its parentheses.
std::string AxisTitle(const PlotQuantity& q) { return q.unit.empty() ? q.name : q.name + " (" + q.unit + ")"; }

// The property of the title line "item (unit) of fluid".
PlotQuantity TitleProperty(const std::string& title, std::string& fluid) {
    const size_t of = title.rfind(") of ");
    if (of == std::string::npos) return {title, ""};
    fluid = title.substr(of + 5);
    return ParseQuantity(title.substr(0, of + 1));
}

// Adds a point, or a gap when the cell holds no number.
void Extend(ChartCurve& curve, double x, const std::string& cell) {
    const std::optional<double> y = Number(cell);
    if (!y) {
        if (!curve.segments.back().empty()) curve.segments.emplace_back();
        return;
    }
    curve.segments.back().push_back({x, *y});
}

void Finish(ChartCurve& curve) {
    if (!curve.segments.empty() && curve.segments.back().empty()) curve.segments.pop_back();
}

}  // namespace

ChartData TablePlot(const std::string& tableText, int type) {
    ChartData chart;
    std::vector<std::string> lines = Split(tableText, '\n');
    for (std::string& l : lines)
        if (!l.empty() && l.back() == '\r') l.pop_back();
    if (lines.size() < 2) return chart;

    std::string fluid;
    const PlotQuantity property = TitleProperty(lines[0], fluid);
    chart.title = lines[0];
    chart.yTitle = AxisTitle(property);
    const std::vector<std::string> heading = Split(lines[1], '\t');
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 2; i < lines.size(); ++i) rows.push_back(Split(lines[i], '\t'));

    if (type == 1) {
        if (heading.size() < 3) return chart;
        chart.xTitle = AxisTitle(ParseQuantity(heading[0]));
        ChartCurve curve{fluid.empty() ? property.name : fluid, CurveStyle::LineWithPoints, {}, {{}}};
        for (const std::vector<std::string>& r : rows) {
            const std::optional<double> x = r.empty() ? std::nullopt : Number(r[0]);
            if (!x) continue;
            Extend(curve, *x, r.size() > 2 ? r[2] : std::string());
        }
        Finish(curve);
        chart.curves.push_back(std::move(curve));
        return chart;
    }

    // TYPE I: "R (unit) / C (unit)" then the column values.
    const size_t split = heading[0].find(") / ");
    if (split == std::string::npos) return chart;
    const PlotQuantity rowQ = ParseQuantity(heading[0].substr(0, split + 1));
    const PlotQuantity columnQ = ParseQuantity(heading[0].substr(split + 4));
    const std::vector<std::string> columnValues(heading.begin() + 1, heading.end());
    auto cell = [&rows](size_t i, size_t j) { return j + 1 < rows[i].size() ? rows[i][j + 1] : std::string(); };
    auto legend = [](const PlotQuantity& q, const std::string& value) {
        return q.name + " = " + value + (q.unit.empty() ? "" : " " + q.unit);
    };

    // The temperature runs along the x axis; the other variable names the curves.
    const bool temperatureInRows = columnQ.name != "T";
    chart.xTitle = AxisTitle(temperatureInRows ? rowQ : columnQ);
    const size_t curves = temperatureInRows ? columnValues.size() : rows.size();
    const size_t shown = std::min<size_t>(curves, kMaxPlotCurves);
    for (size_t k = 0; k < shown; ++k) {
        ChartCurve curve;
        curve.style = CurveStyle::LineWithPoints;
        curve.segments.emplace_back();
        if (temperatureInRows) {
            curve.name = legend(columnQ, columnValues[k]);
            for (size_t i = 0; i < rows.size(); ++i) {
                const std::optional<double> x = rows[i].empty() ? std::nullopt : Number(rows[i][0]);
                if (x) Extend(curve, *x, cell(i, k));
            }
        } else {
            curve.name = legend(rowQ, rows[k].empty() ? std::string() : rows[k][0]);
            for (size_t j = 0; j < columnValues.size(); ++j) {
                const std::optional<double> x = Number(columnValues[j]);
                if (x) Extend(curve, *x, cell(k, j));
            }
        }
        Finish(curve);
        chart.curves.push_back(std::move(curve));
    }
    if (shown < curves)
        chart.note = "The first " + std::to_string(shown) + " of " + std::to_string(curves) + " curves are shown.";
    return chart;
}

}  // namespace kelvane

namespace kelvane {

ChartData TableForm::PlotChart() const { return TablePlot(lastTable_, lastTableType_); }

void TableForm::ButtonPlotClick() {
    if (ButtonPlot.enabled && !lastTable_.empty() && showPlot) showPlot();
}

}  // namespace kelvane
