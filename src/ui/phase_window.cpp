#include "ui/phase_window.h"

#include "ui/chart_view.h"

namespace kelvane::ui {

PhaseWindow::PhaseWindow(const MainForm& form, QWidget* parent) : QWidget(parent), diagram_(form) {
    setObjectName("PhaseWindow");
    setWindowTitle(QStringLiteral("Phase Diagram"));
    chart_ = BuildChartWindow(this, QStringLiteral("Phase"), QStringLiteral("Save the diagram as a PNG or SVG image"));
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
