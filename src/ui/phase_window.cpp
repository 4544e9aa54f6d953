#include "ui/phase_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/chart_view.h"

namespace kelvane::ui {

PhaseWindow::PhaseWindow(const MainForm& form, QWidget* parent) : QWidget(parent), diagram_(form) {
    setObjectName("PhaseWindow");
    setWindowTitle(QStringLiteral("Phase Diagram"));
    chart_ = new ChartWidget(this);
    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    save->setObjectName("ButtonSavePhase");
    save->setToolTip(QStringLiteral("Save the diagram as a PNG or SVG image"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("ButtonClosePhase");
    connect(save, &QPushButton::clicked, this, [this] { SaveChartWithDialog(chart_, this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 1);
    layout->addLayout(buttons);
    resize(820, 600);
}

void PhaseWindow::Follow() {
    // The curves of a fluid take some milliseconds, once per fluid; a hidden window
    // leaves them and the chart for later.
    const bool visible = isVisible();
    if (diagram_.Follow(visible)) stale_ = true;
    if (visible && stale_) {
        chart_->SetChart(diagram_.Chart());
        stale_ = false;
    }
}

void PhaseWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Follow();
}

}  // namespace kelvane::ui
