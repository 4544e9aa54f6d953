// The chart of the table just made, opened by "Plot" in the table window.
#pragma once

#include <QWidget>

#include "forms/chart_data.h"

namespace kelvane::ui {

class ChartWidget;

class PlotWindow : public QWidget {
public:
    explicit PlotWindow(QWidget* parent = nullptr);

    void SetChart(const ChartData& chart);
    ChartWidget* Chart() const { return chart_; }

private:
    ChartWidget* chart_ = nullptr;
};

}  // namespace kelvane::ui
