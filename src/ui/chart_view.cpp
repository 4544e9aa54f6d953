#include "ui/chart_view.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/binding.h"

namespace kelvane::ui {

namespace {

// Colours of curves without one of their own, distinguishable on white.
const char* const kPalette[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                                "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"};

constexpr size_t kMaxMarkers = 200;

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void Add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool Valid() const { return lo <= hi; }
};

// A range with some room, also for a single value.
void Widen(Range& r) {
    if (!r.Valid()) {
        r.lo = 0;
        r.hi = 1;
    } else if (r.lo == r.hi) {
        const double d = r.lo == 0 ? 1 : std::abs(r.lo) * 0.1;
        r.lo -= d;
        r.hi += d;
    }
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    view_ = new QChartView(this);
    view_->setObjectName("ChartView");
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(480, 320);
    note_ = new QLabel(this);
    note_->setObjectName("ChartNote");
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addWidget(note_);
    SetChart(ChartData{});
}

void ChartWidget::SetChart(const ChartData& data) {
    data_ = data;
    auto* chart = new QChart;
    chart->setTitle(ToQt(data.title));
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignRight);

    Range xr, yr;
    for (const ChartCurve& c : data.curves)
        for (const auto& segment : c.segments)
            for (const ChartPoint& p : segment) {
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || (data.logY && p.y <= 0)) continue;
                xr.Add(p.x);
                yr.Add(p.y);
            }

    auto* xAxis = new QValueAxis;
    xAxis->setTitleText(ToQt(data.xTitle));
    Widen(xr);
    xAxis->setRange(xr.lo, xr.hi);
    xAxis->applyNiceNumbers();
    xAxis->setLabelFormat("%g");
    QAbstractAxis* yAxis = nullptr;
    if (data.logY) {
        auto* log = new QLogValueAxis;
        log->setBase(10);
        log->setLabelFormat("%g");
        log->setMinorTickCount(-1);
        log->setMinorGridLineVisible(false);
        // Whole decades, a hair wider so that both end decades get their labels.
        if (yr.Valid())
            log->setRange(std::pow(10, std::floor(std::log10(yr.lo))) * (1 - 1e-9),
                          std::pow(10, std::ceil(std::log10(yr.hi))) * (1 + 1e-9));
        yAxis = log;
    } else {
        auto* lin = new QValueAxis;
        Widen(yr);
        lin->setRange(yr.lo, yr.hi);
        lin->applyNiceNumbers();
        lin->setLabelFormat("%g");
        yAxis = lin;
    }
    yAxis->setTitleText(ToQt(data.yTitle));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);

    int next = 0;
    for (const ChartCurve& c : data.curves) {
        const QColor color(c.color.empty() ? kPalette[next++ % std::size(kPalette)] : c.color.c_str());
        bool first = true;
        for (const auto& segment : c.segments) {
            if (segment.empty()) continue;
            QXYSeries* series = nullptr;
            if (c.style == CurveStyle::Points) {
                auto* scatter = new QScatterSeries;
                scatter->setMarkerSize(10);
                scatter->setBorderColor(color);
                series = scatter;
            } else {
                auto* line = new QLineSeries;
                QPen pen(color);
                pen.setWidthF(2);
                line->setPen(pen);
                // Markers show the cells; on long curves they would only blur the line.
                line->setPointsVisible((c.style == CurveStyle::LineWithPoints && segment.size() <= kMaxMarkers) ||
                                       segment.size() == 1);
                series = line;
            }
            series->setColor(color);
            series->setName(ToQt(c.name));
            for (const ChartPoint& p : segment) {
                if (!std::isfinite(p.x) || !std::isfinite(p.y) || (data.logY && p.y <= 0)) continue;
                series->append(p.x, p.y);
            }
            chart->addSeries(series);
            series->attachAxis(xAxis);
            series->attachAxis(yAxis);
            // One legend entry per curve, not per segment.
            if (!first)
                for (QLegendMarker* m : chart->legend()->markers(series)) m->setVisible(false);
            first = false;
        }
    }
    chart->legend()->setVisible(!data.curves.empty());

    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;
    note_->setText(ToQt(data.note));
    note_->setVisible(!data.note.empty());
}

bool ChartWidget::Save(const QString& fileName, QString& error) const {
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(view_->size());
        svg.setViewBox(QRect(QPoint(0, 0), view_->size()));
        svg.setTitle(ToQt(data_.title));
        QPainter painter;
        if (!painter.begin(&svg)) {
            error = QStringLiteral("The file \"%1\" cannot be written.").arg(fileName);
            return false;
        }
        view_->render(&painter);
        painter.end();
        return true;
    }
    if (!view_->grab().save(fileName, "PNG")) {
        error = QStringLiteral("The file \"%1\" cannot be written.").arg(fileName);
        return false;
    }
    return true;
}

void SaveChartWithDialog(ChartWidget* chart, QWidget* parent) {
    const QString png = QStringLiteral("PNG image (*.png)"), svg = QStringLiteral("SVG image (*.svg)");
    QFileDialog dialog(parent, QStringLiteral("Save the chart"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({png, svg});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, svg](const QString& f) {
        dialog.setDefaultSuffix(f == svg ? QStringLiteral("svg") : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString error;
    if (!chart->Save(dialog.selectedFiles().front(), error)) ReportError(parent, error);
}

ChartWidget* BuildChartWindow(QWidget* window, const QString& role, const QString& saveTip) {
    auto* chart = new ChartWidget(window);
    auto* save = new QPushButton(QStringLiteral("Save..."), window);
    save->setObjectName(QStringLiteral("ButtonSave") + role);
    save->setToolTip(saveTip);
    auto* close = new QPushButton(QStringLiteral("Close"), window);
    close->setObjectName(QStringLiteral("ButtonClose") + role);
    QObject::connect(save, &QPushButton::clicked, window, [chart, window] { SaveChartWithDialog(chart, window); });
    QObject::connect(close, &QPushButton::clicked, window, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(chart, 1);
    layout->addLayout(buttons);
    return chart;
}

}  // namespace kelvane::ui
