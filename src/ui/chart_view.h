// Draws a ChartData with Qt Charts: one series per segment of each curve (gaps stay
// gaps), one legend entry per curve, a linear or logarithmic y axis. Saves the chart
// as PNG or SVG.
#pragma once

#include <QString>
#include <QWidget>

#include "forms/chart_data.h"

class QChartView;
class QLabel;

namespace kelvane::ui {

class ChartWidget : public QWidget {
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    void SetChart(const ChartData& data);
    const ChartData& Data() const { return data_; }
    QChartView* View() const { return view_; }

    // SVG when the name ends in ".svg", else PNG. False with `error` set on failure.
    bool Save(const QString& fileName, QString& error) const;

private:
    ChartData data_;
    QChartView* view_ = nullptr;
    QLabel* note_ = nullptr;
};

// Asks for a file name ("PNG image", "SVG image") and saves the chart there; errors
// go to the standard error report.
void SaveChartWithDialog(ChartWidget* chart, QWidget* parent);

// Lays out `window` as a chart above "Save..." and "Close" buttons (named
// "ButtonSave<role>" and "ButtonClose<role>") and returns the chart.
ChartWidget* BuildChartWindow(QWidget* window, const QString& role, const QString& saveTip);

}  // namespace kelvane::ui
