// The "Phase Diagram" window: the P-T diagram of the main window's fluid in its units,
// with the state point of the last "Calculate".
#pragma once

#include <QWidget>

#include "forms/phase_diagram.h"

namespace kelvane {
class MainForm;
}

namespace kelvane::ui {

class ChartWidget;

class PhaseWindow : public QWidget {
public:
    explicit PhaseWindow(const MainForm& form, QWidget* parent = nullptr);

    // Brings the chart up to the form (fluid, units, last calculation). While the
    // window is hidden nothing is computed; showing it catches up.
    void Follow();
    ChartWidget* Chart() const { return chart_; }
    const PhaseDiagram& Diagram() const { return diagram_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    PhaseDiagram diagram_;
    ChartWidget* chart_ = nullptr;
    bool stale_ = true;  // the chart lags behind the diagram
};

}  // namespace kelvane::ui
