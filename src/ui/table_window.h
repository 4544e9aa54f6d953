// The "Make Tables" window: widgets bound to the headless TableForm, a progress bar
// and the "Stop" button of a running table.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

#include "tables/table_form.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

namespace kelvane::ui {

// The save and open dialogs of the table window.
class QtTableDialogs : public TableFileDialogs {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    bool SaveFileName(std::string& name) override;
    bool OpenFileName(std::string& name) override;
    // Offers "CSV files (*.csv)" beside the text files.
    bool SaveListFileName(std::string& name, bool& csv) override;

private:
    bool Ask(bool save, std::string& name, bool list = false, bool* csv = nullptr);
    QWidget* parent_ = nullptr;
};

class TableWindow : public QWidget {
public:
    explicit TableWindow(TableForm& form, QWidget* parent = nullptr);

    void Refresh();
    TableForm& Form() { return form_; }

    // After each cell of a table, before pending events run: the main window shows
    // the state point of the cell through it.
    std::function<void()> cellShown;
    // When a table starts or ends.
    std::function<void(bool running, bool processEvents)> running;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename F>
    void Act(F&& action);
    void CatchUp(bool processEvents);

    QLineEdit* AddEdit(EditField TableForm::*field, const char* name);
    QLabel* AddLabel(Label TableForm::*label, const char* name);
    QComboBox* AddCombo(ComboBox TableForm::*box, const char* name);
    QPushButton* AddButton(Button TableForm::*button, const char* name, std::function<void(TableForm&)> click);
    QCheckBox* AddCheck(CheckBox TableForm::*check, const char* name);

    TableForm& form_;
    std::map<QLineEdit*, EditField TableForm::*> edits_;
    std::map<QLabel*, Label TableForm::*> labels_;
    std::map<QComboBox*, ComboBox TableForm::*> combos_;
    std::map<QPushButton*, Button TableForm::*> buttons_;
    std::map<QCheckBox*, CheckBox TableForm::*> checks_;
    QGroupBox* typeBox_ = nullptr;
    QButtonGroup* typeGroup_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QElapsedTimer sinceEvents_;
    // TYPE III's property list and the view of the last table.
    QListWidget* list_ = nullptr;
    QTableView* view_ = nullptr;
    class GridModel;
    GridModel* model_ = nullptr;
    int tablesShown_ = 0;
    void PushList();
    void CopySelection();
};

}  // namespace kelvane::ui
