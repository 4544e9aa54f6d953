#include "ui/plot_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/chart_view.h"

namespace kelvane::ui {

PlotWindow::PlotWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("PlotWindow");
    setWindowTitle(QStringLiteral("Table Plot"));
    chart_ = new ChartWidget(this);
    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    save->setObjectName("ButtonSavePlot");
    save->setToolTip(QStringLiteral("Save the chart as a PNG or SVG image"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("ButtonClosePlot");
    connect(save, &QPushButton::clicked, this, [this] { SaveChartWithDialog(chart_, this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);
    resize(900, 600);
}

void PlotWindow::SetChart(const ChartData& chart) {
    chart_->SetChart(chart);
    setWindowTitle(QStringLiteral("Table Plot - ") + QString::fromStdString(chart.title));
}

}  // namespace kelvane::ui
