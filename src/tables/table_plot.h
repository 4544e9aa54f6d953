// The chart of a table the generator made, built from the table's text (title line,
// heading, rows) without computing anything: TYPE I draws the cells against the
// temperature, one curve per value of the other variable; TYPE II draws the third
// column against the first. Cells that hold a message or nothing are gaps.
#pragma once

#include <string>

#include "forms/chart_data.h"

namespace kelvane {

// More curves than this are not drawn (the chart's note says so): a legend of
// hundreds of entries helps nobody, and drawing them would stall the window.
constexpr int kMaxPlotCurves = 40;

// `type` 0 for a TYPE I table (matrix), 1 for TYPE II (three columns).
ChartData TablePlot(const std::string& tableText, int type);

}  // namespace kelvane
