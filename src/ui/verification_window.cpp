#include "ui/verification_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <sstream>

namespace kelvane::ui {

namespace {

QString Qt(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

VerificationWindow::VerificationWindow(QWidget* parent) : QWidget(parent, ::Qt::Window) {
    setObjectName("VerificationWindow");
    setWindowTitle("Verification");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel("Fluid:", this);
    fluid_ = new QComboBox(this);
    fluid_->setObjectName("ComboBoxFluid");
    fluid_->addItems({"All fluids", "Water", "Methanol", "CO2"});
    summary_ = new QLabel(this);
    summary_->setObjectName("LabelSummary");
    auto* copy = new QPushButton("Copy", this);
    copy->setObjectName("ButtonCopy");
    auto* save = new QPushButton("Save...", this);
    save->setObjectName("ButtonSave");
    top->addWidget(label);
    top->addWidget(fluid_);
    top->addWidget(summary_, 1);
    top->addWidget(copy);
    top->addWidget(save);
    layout->addLayout(top);

    grid_ = new QTableWidget(this);
    grid_->setObjectName("GridChecks");
    const std::vector<std::string>& columns = verify::ReportColumns();
    grid_->setColumnCount(static_cast<int>(columns.size()));
    QStringList headings;
    for (const std::string& c : columns) headings << Qt(c);
    grid_->setHorizontalHeaderLabels(headings);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid_, 1);

    askSaveName = [](QWidget* w) {
        return QFileDialog::getSaveFileName(w, "Save Verification Report", "verification.txt",
                                            "Text files (*.txt);;All files (*)");
    };
    reportError = [](QWidget* w, const QString& m) { QMessageBox::warning(w, "Verification", m); };

    results_ = verify::RunVerification();
    connect(fluid_, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
    connect(copy, &QPushButton::clicked, this, [this] { Copy(); });
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    Fill();
    resize(1200, 640);
}

void VerificationWindow::Fill() {
    shown_ = verify::ForDisplay(results_, fluid_->currentIndex() - 1);
    grid_->setRowCount(static_cast<int>(shown_.size()));
    int failures = 0;
    for (int row = 0; row < static_cast<int>(shown_.size()); ++row) {
        const verify::CheckResult& r = shown_[row];
        failures += !r.pass;
        const std::vector<std::string> fields = verify::ReportFields(r);
        for (int col = 0; col < static_cast<int>(fields.size()); ++col) {
            auto* item = new QTableWidgetItem(Qt(fields[col]));
            item->setToolTip(item->text());
            if (col >= 4 && col <= 7) item->setTextAlignment(::Qt::AlignRight | ::Qt::AlignVCenter);
            if (!r.pass) item->setBackground(QColor(255, 200, 200));
            grid_->setItem(row, col, item);
        }
    }
    // Long sources, states and published texts are cut in the grid (the full text is
    // in each cell's tooltip and in the copied and saved report); the verdict stays in view.
    grid_->resizeColumnsToContents();
    const int widest[] = {200, 230, 240, 130, 150, 140, 60, 80, 60};
    for (int col = 0; col < 9; ++col) grid_->setColumnWidth(col, std::min(grid_->columnWidth(col), widest[col]));
    summary_->setText(QString("%1 checks, %2 failed").arg(shown_.size()).arg(failures));
}

QString VerificationWindow::ShownText() const {
    std::ostringstream out;
    verify::WriteTsv(shown_, out);
    return Qt(out.str());
}

void VerificationWindow::Copy() { QApplication::clipboard()->setText(ShownText()); }

void VerificationWindow::Save() {
    const QString name = askSaveName(this);
    if (name.isEmpty()) return;
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(ShownText().toUtf8()) < 0 ||
        !file.flush()) {
        reportError(this, "Cannot write " + name + ": " + file.errorString());
    }
}

}  // namespace kelvane::ui
