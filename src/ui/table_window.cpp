#include "ui/table_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/binding.h"

namespace kelvane::ui {

namespace {

// Without "Show Calculation Process" the window still repaints and takes a click on
// "Stop" this often, instead of after every cell.
constexpr int kQuietIntervalMs = 100;

}  // namespace

bool QtTableDialogs::Ask(bool save, std::string& name) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(kDefaultExtension);
    dialog.setNameFilters(NameFilters(kFileFilter));
    dialog.setWindowTitle(save ? QStringLiteral("Save the table") : QStringLiteral("File for reading columns"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    name = FromQt(dialog.selectedFiles().front());
    return true;
}

bool QtTableDialogs::SaveFileName(std::string& name) { return Ask(true, name); }
bool QtTableDialogs::OpenFileName(std::string& name) { return Ask(false, name); }

template <typename F>
void TableWindow::Act(F&& action) {
    RunAction(this, std::forward<F>(action));
    Refresh();
}

QLineEdit* TableWindow::AddEdit(EditField TableForm::*field, const char* name) {
    auto* w = new QLineEdit(this);
    w->setObjectName(name);
    edits_[w] = field;
    connect(w, &QLineEdit::textEdited, this, [this, field](const QString& t) { (form_.*field).text = FromQt(t); });
    return w;
}

QLabel* TableWindow::AddLabel(Label TableForm::*label, const char* name) {
    auto* w = new QLabel(this);
    w->setObjectName(name);
    labels_[w] = label;
    return w;
}

QComboBox* TableWindow::AddCombo(ComboBox TableForm::*box, const char* name) {
    auto* w = new QComboBox(this);
    w->setObjectName(name);
    combos_[w] = box;
    const std::function<void(int)> choose = [this, box](int index) { (form_.*box).Select(index); };
    connect(w, &QComboBox::activated, this, [this, choose](int index) { Act([&choose, index] { choose(index); }); });
    return w;
}

QPushButton* TableWindow::AddButton(Button TableForm::*button, const char* name, std::function<void(TableForm&)> click) {
    auto* w = new QPushButton(this);
    w->setObjectName(name);
    w->setAutoDefault(false);
    buttons_[w] = button;
    const std::function<void()> action = [this, click] { click(form_); };
    connect(w, &QPushButton::clicked, this, [this, action] { Act(action); });
    return w;
}

QCheckBox* TableWindow::AddCheck(CheckBox TableForm::*check, const char* name) {
    auto* w = new QCheckBox(this);
    w->setObjectName(name);
    checks_[w] = check;
    connect(w, &QCheckBox::clicked, this, [this, check](bool on) { (form_.*check).checked = on; });
    return w;
}

TableWindow::TableWindow(TableForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("TForm2");
    setWindowTitle(TableForm::kCaption);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddLabel(&TableForm::LabelInfo, "LabelInfo"));

    // Table type with the two descriptions beside it.
    typeBox_ = new QGroupBox(this);
    typeBox_->setObjectName("RadioGroupTableType");
    typeGroup_ = new QButtonGroup(typeBox_);
    auto* types = new QVBoxLayout(typeBox_);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(typeBox_);
        b->setObjectName(QStringLiteral("RadioGroupTableType_%1").arg(i));
        typeGroup_->addButton(b, i);
        types->addWidget(b);
    }
    connect(typeGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        Act([this, id] {
            form_.RadioGroupTableType.index = id;
            form_.RadioGroupTableTypeClick();
        });
    });
    auto* descriptions = new QVBoxLayout;
    descriptions->addWidget(AddLabel(&TableForm::LabelType1, "LabelType1"));
    descriptions->addWidget(AddLabel(&TableForm::LabelType2a, "LabelType2a"));
    descriptions->addWidget(AddLabel(&TableForm::LabelType2b, "LabelType2b"));
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(typeBox_);
    typeRow->addLayout(descriptions, 1);
    layout->addLayout(typeRow);

    // Axes: variable, list, series.
    auto* grid = new QGridLayout;
    grid->addWidget(AddLabel(&TableForm::LabelR, "LabelR"), 0, 0);
    grid->addWidget(AddCombo(&TableForm::ComboBoxR, "ComboBoxR"), 0, 1);
    grid->addWidget(AddEdit(&TableForm::EditR, "EditR"), 0, 2, 1, 2);
    grid->addWidget(AddLabel(&TableForm::LabelRs, "LabelRs"), 1, 0, 1, 2);
    grid->addWidget(AddEdit(&TableForm::EditRs, "EditRs"), 1, 2);
    grid->addWidget(AddButton(&TableForm::ButtonRs, "ButtonRs", &TableForm::ButtonRsClick), 1, 3);
    grid->addWidget(AddLabel(&TableForm::LabelC, "LabelC"), 2, 0);
    grid->addWidget(AddCombo(&TableForm::ComboBoxC, "ComboBoxC"), 2, 1);
    grid->addWidget(AddEdit(&TableForm::EditC, "EditC"), 2, 2, 1, 2);
    grid->addWidget(AddLabel(&TableForm::LabelCs, "LabelCs"), 3, 0, 1, 2);
    grid->addWidget(AddEdit(&TableForm::EditCs, "EditCs"), 3, 2);
    grid->addWidget(AddButton(&TableForm::ButtonCs, "ButtonCs", &TableForm::ButtonCsClick), 3, 3);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    // Two-column file of TYPE II.
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(AddLabel(&TableForm::Labelopen, "Labelopen"));
    fileRow->addWidget(AddEdit(&TableForm::Editopen, "Editopen"), 1);
    fileRow->addWidget(AddButton(&TableForm::ButtonRef, "ButtonRef", &TableForm::ButtonRefClick));
    fileRow->addWidget(AddLabel(&TableForm::Labelskipline, "Labelskipline"));
    QLineEdit* skip = AddEdit(&TableForm::Editskipline, "Editskipline");
    skip->setMaximumWidth(QFontMetrics(font()).horizontalAdvance("000000") + 16);
    fileRow->addWidget(skip);
    layout->addLayout(fileRow);

    auto* propertyRow = new QHBoxLayout;
    propertyRow->addWidget(AddLabel(&TableForm::LabelQ, "LabelQ"));
    propertyRow->addWidget(AddCombo(&TableForm::ComboBoxQ, "ComboBoxQ"), 1);
    layout->addLayout(propertyRow);

    auto* checks = new QHBoxLayout;
    checks->addWidget(AddCheck(&TableForm::CheckProcess, "CheckProcess"));
    checks->addWidget(AddCheck(&TableForm::CheckBoxTitle, "CheckBoxTitle"));
    checks->addStretch(1);
    layout->addLayout(checks);

    auto* makeRow = new QHBoxLayout;
    makeRow->addWidget(AddButton(&TableForm::ButtonMake, "ButtonMake", &TableForm::ButtonMakeClick));
    makeRow->addWidget(AddButton(&TableForm::ButtonStop, "ButtonStop", &TableForm::ButtonStopClick));
    makeRow->addWidget(AddButton(&TableForm::ButtonPlot, "ButtonPlot", &TableForm::ButtonPlotClick));
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressTable");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    makeRow->addWidget(progress_, 1);
    layout->addLayout(makeRow);
    layout->addWidget(AddEdit(&TableForm::EditMes, "EditMes"));

    form_.catchUp = [this](bool processEvents) { CatchUp(processEvents); };
    form_.runningChanged = [this](bool on) {
        sinceEvents_.start();
        Refresh();
        if (running) running(on, form_.CheckProcess.checked);
    };

    Refresh();
    const int width = QFontMetrics(font()).averageCharWidth() * 110;
    resize(std::max(width, sizeHint().width()), sizeHint().height());
}

void TableWindow::CatchUp(bool processEvents) {
    if (processEvents) {
        Refresh();
        if (cellShown) cellShown();
        QCoreApplication::processEvents();
        return;
    }
    // Only this window repaints, at a bounded rate; pending events run with it so
    // that "Stop" can be clicked.
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kQuietIntervalMs && form_.cellsDone != form_.cellsTotal)
        return;
    sinceEvents_.start();
    Refresh();
    repaint();
    QCoreApplication::processEvents();
}

void TableWindow::Refresh() {
    for (auto& [w, field] : edits_) Push(w, form_.*field);
    for (auto& [w, label] : labels_) Push(w, form_.*label);
    for (auto& [w, box] : combos_) Push(w, form_.*box);
    for (auto& [w, button] : buttons_) Push(w, form_.*button);
    for (auto& [w, check] : checks_) Push(w, form_.*check);
    Push(typeBox_, typeGroup_, form_.RadioGroupTableType);
    progress_->setRange(0, std::max(1, form_.cellsTotal));
    progress_->setValue(form_.cellsDone);
    progress_->setFormat(form_.cellsTotal > 0 ? QStringLiteral("%v of %m cells") : QString());
}

void TableWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect g = s->geometry();
        const WindowPosition p = CentredPosition(g.width(), g.height(), frameGeometry().width(), frameGeometry().height());
        move(g.left() + p.left, g.top() + p.top);
    }
}

void TableWindow::closeEvent(QCloseEvent* event) {
    // A hidden window could not show or stop its table.
    form_.ButtonStopClick();
    QWidget::closeEvent(event);
}

}  // namespace kelvane::ui
