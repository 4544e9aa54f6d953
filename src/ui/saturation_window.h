// The "Saturation Tables" window: both saturated phases by temperature or by pressure
// over a list or an "x,y,z" series in the main window's units, the chosen columns in a
// grid, computed on a worker thread with a progress bar and "Stop"; copying as
// tab-separated text, saving as tab- or comma-separated text and plotting a column.
#pragma once

#include <QWidget>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "forms/main_form.h"
#include "tables/saturation_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace kelvane::ui {

class PlotWindow;

class SaturationWindow : public QWidget {
public:
    explicit SaturationWindow(MainForm& mainForm, QWidget* parent = nullptr);
    ~SaturationWindow() override;

    // Starts a table with the window's settings (as "Make Table").
    void Make();
    // Ends a running table after its current row (as "Stop").
    void Stop();
    bool Running() const { return worker_.joinable(); }
    const SaturationTable& Table() const { return table_; }
    // The text "Copy" puts on the clipboard: the selected cells, or the whole table
    // with its heading when nothing is selected.
    QString CopyText() const;
    // Writes the table to `file` (comma-separated when csv); false with the message.
    bool Save(const QString& file, bool csv);
    PlotWindow* Plot() const { return plot_; }
    // Re-reads the fluid's default columns and the units (on show).
    void FollowMainWindow();

    // The save dialog: the chosen file name and whether comma-separated text was
    // chosen; an empty name cancels. Tests replace it.
    std::function<QString(bool& csv)> askSaveName;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Series();
    void Poll();
    void Finish();
    void SaveClicked();
    void PlotClicked();
    void SetMessage(const QString& text);
    std::vector<const SaturationColumn*> ChosenColumns() const;

    MainForm& main_;
    QRadioButton* byT_ = nullptr;
    QRadioButton* byP_ = nullptr;
    QLineEdit* values_ = nullptr;
    QLineEdit* series_ = nullptr;
    QListWidget* columns_ = nullptr;
    QPushButton* make_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* plotButton_ = nullptr;
    QComboBox* plotColumn_ = nullptr;
    QComboBox* plotAgainst_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* message_ = nullptr;
    QTableView* view_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QTimer* timer_ = nullptr;
    PlotWindow* plot_ = nullptr;
    int fluidShown_ = -1;

    // The table being made: the worker computes points, the window thread turns them
    // into rows.
    SaturationSettings settings_;
    SaturationTable table_;
    std::thread worker_;
    std::atomic<bool> stop_requested_{false};
    std::atomic<bool> done_{false};
    std::mutex mutex_;
    std::vector<SaturationPoint> computed_;  // guarded by mutex_
};

}  // namespace kelvane::ui
