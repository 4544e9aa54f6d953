// A chart without a windowing toolkit: named curves of (x, y) points in segments, axis
// titles and a title. The table plot and the phase diagram build one; the Qt windows
// draw it.
#pragma once

#include <string>
#include <vector>

namespace kelvane {

struct ChartPoint {
    double x, y;
};

enum class CurveStyle {
    Line,            // a line through the points
    LineWithPoints,  // a line with a marker at every point (table cells)
    Points,          // markers only (single states)
};

struct ChartCurve {
    std::string name;  // legend text
    CurveStyle style = CurveStyle::Line;
    std::string color;  // "#rrggbb"; empty: the next colour of the chart's palette
    // Runs of consecutive points; the curve has a gap between two segments.
    std::vector<std::vector<ChartPoint>> segments;

    bool Empty() const {
        for (const auto& s : segments)
            if (!s.empty()) return false;
        return true;
    }
};

struct ChartData {
    std::string title;
    std::string xTitle, yTitle;
    bool logY = false;  // logarithmic y axis (every y > 0)
    std::vector<ChartCurve> curves;
    std::string note;  // shown under the chart when not empty
};

}  // namespace kelvane
