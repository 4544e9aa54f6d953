#include "ui/plot_window.h"

#include "ui/chart_view.h"

namespace kelvane::ui {

PlotWindow::PlotWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("PlotWindow");
    setWindowTitle(QStringLiteral("Table Plot"));
    chart_ = BuildChartWindow(this, QStringLiteral("Plot"), QStringLiteral("Save the chart as a PNG or SVG image"));
    resize(900, 600);
}

void PlotWindow::SetChart(const ChartData& chart) {
    chart_->SetChart(chart);
    setWindowTitle(QStringLiteral("Table Plot - ") + QString::fromStdString(chart.title));
}

}  // namespace kelvane::ui
