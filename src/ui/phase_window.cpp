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
    if (!isVisible()) return;
    // The curves of a fluid take some tens of milliseconds, once per fluid.
    if (diagram_.Follow()) chart_->SetChart(diagram_.Chart());
}

void PhaseWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Follow();
}

}  // namespace kelvane::ui
