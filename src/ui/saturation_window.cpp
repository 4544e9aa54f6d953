#include "ui/saturation_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "tables/atomic_file.h"
#include "tables/value_lists.h"
#include "ui/binding.h"
#include "ui/plot_window.h"

namespace kelvane::ui {

SaturationWindow::SaturationWindow(MainForm& mainForm, QWidget* parent) : QWidget(parent), main_(mainForm) {
    setObjectName("SaturationWindow");
    setWindowTitle("Saturation Tables");

    auto* given = new QGroupBox("Given variable", this);
    auto* givenLayout = new QGridLayout(given);
    byT_ = new QRadioButton("Temperature T", given);
    byT_->setObjectName("RadioByT");
    byP_ = new QRadioButton("Saturation pressure P", given);
    byP_->setObjectName("RadioByP");
    byT_->setChecked(true);
    values_ = new QLineEdit("300,350,400,450,500", given);
    values_->setObjectName("EditValues");
    values_->setToolTip("Comma-separated values in the main window's unit");
    series_ = new QLineEdit(given);
    series_->setObjectName("EditSeries");
    series_->setPlaceholderText("x,y,z");
    auto* seriesButton = new QPushButton("Series", given);
    seriesButton->setObjectName("ButtonSeries");
    givenLayout->addWidget(byT_, 0, 0);
    givenLayout->addWidget(byP_, 0, 1, 1, 2);
    givenLayout->addWidget(new QLabel("Values:", given), 1, 0);
    givenLayout->addWidget(values_, 1, 1, 1, 2);
    givenLayout->addWidget(new QLabel("Series x,y,z:", given), 2, 0);
    givenLayout->addWidget(series_, 2, 1);
    givenLayout->addWidget(seriesButton, 2, 2);

    auto* columnBox = new QGroupBox("Columns", this);
    auto* columnLayout = new QVBoxLayout(columnBox);
    columns_ = new QListWidget(columnBox);
    columns_->setObjectName("ListColumns");
    for (const SaturationColumn& c : SaturationColumns()) {
        auto* item = new QListWidgetItem(ToQt(c.name), columns_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    columns_->setMaximumHeight(150);
    columnLayout->addWidget(columns_);

    make_ = new QPushButton("Make Table", this);
    make_->setObjectName("ButtonMake");
    stop_ = new QPushButton("Stop", this);
    stop_->setObjectName("ButtonStop");
    stop_->setEnabled(false);
    copy_ = new QPushButton("Copy", this);
    copy_->setObjectName("ButtonCopy");
    copy_->setToolTip("The selected cells, or the whole table when nothing is selected, as tab-separated text");
    auto* copyAll = new QPushButton("Copy All", this);
    copyAll->setObjectName("ButtonCopyAll");
    copyAll->setToolTip("The whole table with its names and units as tab-separated text");
    connect(copyAll, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(ToQt(SaturationTableText(table_, false))); });
    save_ = new QPushButton("Save...", this);
    save_->setObjectName("ButtonSave");
    plotButton_ = new QPushButton("Plot", this);
    plotButton_->setObjectName("ButtonPlot");
    plotColumn_ = new QComboBox(this);
    plotColumn_->setObjectName("ComboPlotColumn");
    plotAgainst_ = new QComboBox(this);
    plotAgainst_->setObjectName("ComboPlotAgainst");
    plotAgainst_->addItems({"against T", "against P"});
    auto* commands = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{make_, stop_, copy_, copyAll, save_, plotButton_, plotColumn_, plotAgainst_})
        commands->addWidget(w);
    commands->addStretch(1);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setValue(0);
    message_ = new QLabel(this);
    message_->setObjectName("LabelMessage");

    model_ = new QStandardItemModel(this);
    view_ = new QTableView(this);
    view_->setObjectName("TableView");
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);

    auto* top = new QHBoxLayout;
    top->addWidget(given, 1);
    top->addWidget(columnBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(commands);
    layout->addWidget(progress_);
    layout->addWidget(message_);
    layout->addWidget(view_, 1);
    resize(980, 560);

    timer_ = new QTimer(this);
    timer_->setInterval(30);
    plot_ = new PlotWindow();

    connect(seriesButton, &QPushButton::clicked, this, [this] { Series(); });
    connect(make_, &QPushButton::clicked, this, [this] { Make(); });
    connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
    connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(CopyText()); });
    connect(save_, &QPushButton::clicked, this, [this] { SaveClicked(); });
    connect(plotButton_, &QPushButton::clicked, this, [this] { PlotClicked(); });
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });

    askSaveName = [this](bool& csv) {
        QString filter;
        const QString name = QFileDialog::getSaveFileName(
            this, "Save the saturation table", QString(),
            "Tab-separated text (*.txt *.tsv);;Comma-separated text (*.csv);;All files (*)", &filter);
        csv = filter.startsWith("Comma") || name.endsWith(".csv", Qt::CaseInsensitive);
        return name;
    };
    FollowMainWindow();
}

SaturationWindow::~SaturationWindow() {
    Stop();
    if (worker_.joinable()) worker_.join();
    delete plot_;
}

void SaturationWindow::FollowMainWindow() {
    const Fluid& fluid = main_.SelectedFluid();
    if (fluid.index == fluidShown_) return;
    fluidShown_ = fluid.index;
    const auto chosen = DefaultSaturationColumns(fluid);
    const auto& all = SaturationColumns();
    for (int i = 0; i < columns_->count(); ++i) {
        const bool on = std::find(chosen.begin(), chosen.end(), &all[i]) != chosen.end();
        columns_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

void SaturationWindow::showEvent(QShowEvent* event) {
    FollowMainWindow();
    QWidget::showEvent(event);
}

void SaturationWindow::closeEvent(QCloseEvent* event) {
    Stop();
    QWidget::closeEvent(event);
}

void SaturationWindow::SetMessage(const QString& text) { message_->setText(text); }

void SaturationWindow::Series() {
    const SeriesResult s = MakeSeries(FromQt(series_->text()));
    if (s.text == kSeriesFormatMessage || s.text == kSeriesCountMessage) {
        SetMessage(ToQt(s.text));
        return;
    }
    values_->setText(ToQt(s.text));
    SetMessage(s.capped ? QString("The series was cut to %1 values.").arg(kMaxValues) : QString());
}

std::vector<const SaturationColumn*> SaturationWindow::ChosenColumns() const {
    // The default columns in their order (as the command line writes them), then the
    // other chosen ones in the list's order.
    std::vector<const SaturationColumn*> c;
    const auto& all = SaturationColumns();
    auto checked = [&](const SaturationColumn* col) {
        return columns_->item(static_cast<int>(col - all.data()))->checkState() == Qt::Checked;
    };
    for (const SaturationColumn* col : DefaultSaturationColumns(main_.SelectedFluid()))
        if (checked(col)) c.push_back(col);
    for (const SaturationColumn& col : all)
        if (checked(&col) && std::find(c.begin(), c.end(), &col) == c.end()) c.push_back(&col);
    return c;
}

void SaturationWindow::Make() {
    if (Running()) return;
    ValueArray values{};
    const ListResult list = ParseList(FromQt(values_->text()), values);
    const auto columns = ChosenColumns();
    if (columns.empty()) {
        SetMessage("Choose at least one column.");
        return;
    }
    settings_ = SettingsOf(main_);
    settings_.units.precise = main_.preciseResults;
    table_ = SaturationTable{};
    table_.byPressure = byP_->isChecked();
    table_.given.assign(values.begin(), values.begin() + list.count);
    table_.columns = columns;
    for (const SaturationColumn* c : columns) table_.units.push_back(SaturationColumnUnit(*c, main_));

    model_->clear();
    QStringList heading;
    for (size_t i = 0; i < columns.size(); ++i)
        heading << ToQt(columns[i]->name) + (table_.units[i].empty() ? "" : "\n" + ToQt(table_.units[i]));
    model_->setHorizontalHeaderLabels(heading);
    plotColumn_->clear();
    for (const SaturationColumn* c : columns) plotColumn_->addItem(ToQt(c->name));
    progress_->setRange(0, static_cast<int>(table_.given.size()));
    progress_->setValue(0);
    SetMessage(list.truncated ? QString("Only the first %1 values are used.").arg(kMaxValues) : QString());

    computed_.clear();
    stop_requested_ = false;
    done_ = false;
    make_->setEnabled(false);
    stop_->setEnabled(true);
    worker_ = std::thread([this, settings = settings_, given = table_.given, byPressure = table_.byPressure] {
        for (double v : given) {
            if (stop_requested_) break;
            SaturationPoint p = SaturationOfGiven(settings, byPressure, v);
            std::lock_guard<std::mutex> lock(mutex_);
            computed_.push_back(std::move(p));
        }
        done_ = true;
    });
    timer_->start();
}

void SaturationWindow::Poll() {
    // Read before taking the rows: once the worker is done, every row is in computed_.
    const bool finished = done_;
    std::vector<SaturationPoint> fresh;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fresh.swap(computed_);
    }
    for (SaturationPoint& p : fresh) {
        const size_t i = table_.points.size();
        table_.cells.push_back(SaturationRow(settings_, table_.columns, table_.byPressure, table_.given[i], p));
        table_.points.push_back(std::move(p));
        QList<QStandardItem*> items;
        for (const std::string& cell : table_.cells.back()) items << new QStandardItem(ToQt(cell));
        model_->appendRow(items);
    }
    progress_->setValue(static_cast<int>(table_.points.size()));
    if (finished) Finish();
}

void SaturationWindow::Finish() {
    timer_->stop();
    if (worker_.joinable()) worker_.join();
    make_->setEnabled(true);
    stop_->setEnabled(false);
    view_->resizeColumnsToContents();
    const bool complete = table_.points.size() == table_.given.size();
    SetMessage(complete ? QString("%1 rows.").arg(table_.points.size())
                        : QString("Stopped after %1 of %2 rows.").arg(table_.points.size()).arg(table_.given.size()));
    if (plot_->isVisible()) PlotClicked();
}

void SaturationWindow::Stop() { stop_requested_ = true; }

QString SaturationWindow::CopyText() const {
    const QModelIndexList selected =
        view_->selectionModel() ? view_->selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty()) return ToQt(SaturationTableText(table_, false));
    int r0 = selected.front().row(), r1 = r0, c0 = selected.front().column(), c1 = c0;
    for (const QModelIndex& i : selected) {
        r0 = std::min(r0, i.row());
        r1 = std::max(r1, i.row());
        c0 = std::min(c0, i.column());
        c1 = std::max(c1, i.column());
    }
    return ToQt(SaturationTableRange(table_, r0, r1, c0, c1));
}

bool SaturationWindow::Save(const QString& file, bool csv) {
    std::string error;
    if (!WriteFileReplacing(FromQt(file), SaturationTableText(table_, csv), error)) {
        SetMessage(ToQt(error));
        return false;
    }
    SetMessage("Saved " + file + ".");
    return true;
}

void SaturationWindow::SaveClicked() {
    bool csv = false;
    const QString name = askSaveName ? askSaveName(csv) : QString();
    if (!name.isEmpty()) Save(name, csv);
}

void SaturationWindow::PlotClicked() {
    if (table_.points.empty() || !settings_.fluid) {
        SetMessage("Make a table first.");
        return;
    }
    plot_->SetChart(SaturationPlot(table_, settings_, plotColumn_->currentIndex(), plotAgainst_->currentIndex() == 1));
    plot_->show();
    plot_->raise();
}

}  // namespace kelvane::ui
