// The main window: widgets for every control of the headless MainForm, named after
// the controls (objectName), with the form's actions behind them.
#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <string>

#include "forms/main_form.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvane::ui {

class MainWindow : public QWidget {
public:
    explicit MainWindow(MainForm& form, QWidget* parent = nullptr);

    // Writes the whole form state to the widgets.
    void Refresh();
    MainForm& Form() { return form_; }

    // Called after every action of this window (the table window follows the
    // density/specific-volume mode through it).
    std::function<void()> afterAction;
    // Called when the window is closed; start-up ends the program there.
    std::function<void()> closed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename F>
    void Act(F&& action);

    QLineEdit* AddEdit(EditField MainForm::*field, const char* name);
    QLabel* AddLabel(Label MainForm::*label, const char* name);
    // The actions are member functions of MainForm, passed as std::function.
    QComboBox* AddCombo(ComboBox MainForm::*box, const char* name, std::function<void(MainForm&)> change);
    QPushButton* AddButton(Button MainForm::*button, const char* name, std::function<void(MainForm&)> click);

    MainForm& form_;
    std::map<QLineEdit*, EditField MainForm::*> edits_;
    std::map<QLabel*, Label MainForm::*> labels_;
    std::map<QComboBox*, ComboBox MainForm::*> combos_;
    std::map<QPushButton*, Button MainForm::*> buttons_;
    QGroupBox* matterBox_ = nullptr;
    QButtonGroup* matterGroup_ = nullptr;
    QGroupBox* varBox_ = nullptr;
    QButtonGroup* varGroup_ = nullptr;
    QGroupBox* pairBox_ = nullptr;
    QButtonGroup* pairGroup_ = nullptr;
};

}  // namespace kelvane::ui
