#include "ui/main_window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "tables/table_form.h"
#include "ui/binding.h"
#include "ui/main_keyboard.h"
#include "ui/unit_tips.h"

namespace kelvane::ui {

namespace {

// Widest number text of the display format, so that every result fits its field.
constexpr const char* kWidestNumber = "-1.2345678E-100";

QGroupBox* RadioBox(QButtonGroup*& group, QWidget* owner, const char* name) {
    auto* box = new QGroupBox(owner);
    box->setObjectName(name);
    group = new QButtonGroup(box);
    return box;
}

}  // namespace

template <typename F>
void MainWindow::Act(F&& action) {
    RunAction(this, std::forward<F>(action));
    Refresh();
    if (afterAction) afterAction();
}

QLineEdit* MainWindow::AddEdit(EditField MainForm::*field, const char* name) {
    auto* w = new QLineEdit(this);
    w->setObjectName(name);
    edits_[w] = field;
    // The user's typing goes into the form at once.
    connect(w, &QLineEdit::textEdited, this, [this, field](const QString& t) { (form_.*field).text = FromQt(t); });
    return w;
}

QLabel* MainWindow::AddLabel(Label MainForm::*label, const char* name) {
    auto* w = new QLabel(this);
    w->setObjectName(name);
    labels_[w] = label;
    return w;
}

QComboBox* MainWindow::AddCombo(ComboBox MainForm::*box, const char* name, std::function<void(MainForm&)> change) {
    auto* w = new QComboBox(this);
    w->setObjectName(name);
    combos_[w] = box;
    const std::function<void(int)> choose = [this, box, change](int index) {
        (form_.*box).Select(index);
        change(form_);
    };
    connect(w, &QComboBox::activated, this, [this, choose](int index) { Act([&choose, index] { choose(index); }); });
    return w;
}

QPushButton* MainWindow::AddButton(Button MainForm::*button, const char* name, std::function<void(MainForm&)> click) {
    auto* w = new QPushButton(this);
    w->setObjectName(name);
    w->setAutoDefault(false);
    buttons_[w] = button;
    const std::function<void()> action = [this, click] { click(form_); };
    connect(w, &QPushButton::clicked, this, [this, action] { Act(action); });
    return w;
}

MainWindow::MainWindow(MainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("TForm1");
    setWindowTitle(MainForm::kCaption);
    const int numberWidth = QFontMetrics(font()).horizontalAdvance(kWidestNumber) + 16;

    // Fluid selector and commands.
    matterBox_ = RadioBox(matterGroup_, this, "RadioGroupMatter");
    auto* matterLayout = new QHBoxLayout(matterBox_);
    for (int i = 0; i < static_cast<int>(form_.RadioGroupMatter.items.size()); ++i) {
        auto* b = new QRadioButton(matterBox_);
        b->setObjectName(QStringLiteral("RadioGroupMatter_%1").arg(i));
        matterGroup_->addButton(b, i);
        matterLayout->addWidget(b);
    }
    connect(matterGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        Act([this, id] {
            form_.RadioGroupMatter.index = id;
            form_.RadioGroupMatterClick();
        });
    });
    auto* commands = new QHBoxLayout;
    commands->addWidget(matterBox_, 1);
    commands->addWidget(AddButton(&MainForm::ButtonCalc, "ButtonCalc", &MainForm::ButtonCalcClick));
    commands->addWidget(AddButton(&MainForm::ButtonCopy, "ButtonCopy", &MainForm::ButtonCopyClick));
    commands->addWidget(AddButton(&MainForm::Button1, "Button1", &MainForm::Button1Click));
    commands->addWidget(AddButton(&MainForm::ButtonPhase, "ButtonPhase", &MainForm::ButtonPhaseClick));
    commands->addWidget(AddButton(&MainForm::ButtonAbout, "ButtonAbout", &MainForm::ButtonAboutClick));
    commands->addWidget(
        AddButton(&MainForm::ButtonSaturation, "ButtonSaturation", &MainForm::ButtonSaturationClick));

    // Inputs: temperature, the input selector with pressure and density, unit commands.
    auto* inputs = new QGroupBox(this);
    inputs->setObjectName("GroupInputs");
    auto* in = new QGridLayout(inputs);
    QLineEdit* editT = AddEdit(&MainForm::EditT, "EditT");
    in->addWidget(AddLabel(&MainForm::Label1, "Label1"), 0, 0);
    in->addWidget(editT, 0, 1);
    in->addWidget(AddCombo(&MainForm::ComboBoxT, "ComboBoxT", &MainForm::ComboBoxTChange), 0, 2);

    varBox_ = RadioBox(varGroup_, inputs, "RadioGroupVar");
    auto* var = new QGridLayout(varBox_);
    QLineEdit* editP = AddEdit(&MainForm::EditP, "EditP");
    QLineEdit* editRho = AddEdit(&MainForm::EditRho, "EditRho");
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(varBox_);
        b->setObjectName(QStringLiteral("RadioGroupVar_%1").arg(i));
        varGroup_->addButton(b, i);
        var->addWidget(b, i, 0);
    }
    var->addWidget(editP, 0, 1);
    var->addWidget(AddCombo(&MainForm::ComboBoxP, "ComboBoxP", &MainForm::ComboBoxPChange), 0, 2);
    var->addWidget(editRho, 1, 1);
    var->addWidget(AddCombo(&MainForm::ComboBoxRho, "ComboBoxRho", &MainForm::ComboBoxRhoChange), 1, 2);
    connect(varGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        Act([this, id] {
            form_.RadioGroupVar.index = id;
            form_.RadioGroupVarClick();
        });
    });
    in->addWidget(varBox_, 1, 0, 1, 3);

    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(AddButton(&MainForm::ButtonSetCp, "ButtonSetCp", &MainForm::ButtonSetCpClick));
    unitRow->addWidget(AddButton(&MainForm::ButtonXRhoV, "ButtonXRhoV", &MainForm::ButtonXRhoVClick));
    unitRow->addStretch(1);
    unitRow->addWidget(AddLabel(&MainForm::Label2, "Label2"));
    unitRow->addWidget(AddCombo(&MainForm::ComboBoxUnit, "ComboBoxUnit", &MainForm::ComboBoxUnitChange));
    in->addLayout(unitRow, 2, 0, 1, 3);

    // The input pair, after the existing inputs: T with P or rho as above, or P with the
    // enthalpy or the entropy (in the amount unit), T and the vapour fraction x found.
    pairBox_ = RadioBox(pairGroup_, inputs, "RadioGroupPair");
    auto* pairs = new QGridLayout(pairBox_);
    for (int i = 0; i < static_cast<int>(form_.RadioGroupPair.items.size()); ++i) {
        auto* b = new QRadioButton(pairBox_);
        b->setObjectName(QStringLiteral("RadioGroupPair_%1").arg(i));
        pairGroup_->addButton(b, i);
        pairs->addWidget(b, 0, i);
    }
    QLineEdit* edith = AddEdit(&MainForm::Edith, "Edith");
    QLineEdit* edits = AddEdit(&MainForm::Edits, "Edits");
    QLineEdit* editx = AddEdit(&MainForm::Editx, "Editx");
    auto* given = new QGridLayout;
    given->addWidget(AddLabel(&MainForm::Labelhgiven, "Labelhgiven"), 0, 0);
    given->addWidget(edith, 0, 1);
    given->addWidget(AddLabel(&MainForm::Labelhunit, "Labelhunit"), 0, 2);
    given->addWidget(AddLabel(&MainForm::Labelsgiven, "Labelsgiven"), 1, 0);
    given->addWidget(edits, 1, 1);
    given->addWidget(AddLabel(&MainForm::Labelsunit, "Labelsunit"), 1, 2);
    given->addWidget(AddLabel(&MainForm::Labelx, "Labelx"), 2, 0);
    given->addWidget(editx, 2, 1);
    given->setColumnStretch(1, 1);
    pairs->addLayout(given, 1, 0, 1, 3);
    connect(pairGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        Act([this, id] {
            form_.RadioGroupPair.index = id;
            form_.RadioGroupPairClick();
        });
    });
    in->addWidget(pairBox_, 3, 0, 1, 3);
    for (QLineEdit* e : {editT, editP, editRho, edith, edits, editx}) e->setMinimumWidth(numberWidth);
    for (QLineEdit* e : {edith, edits})
        connect(e, &QLineEdit::returnPressed, this, [this] { Act([this] { form_.ButtonCalcClick(); }); });

    // Saturation properties at the given temperature.
    auto* saturation = new QGroupBox(this);
    saturation->setObjectName("GroupSaturation");
    auto* sat = new QGridLayout(saturation);
    QLabel* heading = AddLabel(&MainForm::Label27, "Label27");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    sat->addWidget(heading, 0, 0, 1, 3);
    struct SatRow {
        Label MainForm::*caption;
        const char* captionName;
        EditField MainForm::*field;
        const char* fieldName;
        Label MainForm::*unit;
        const char* unitName;
    };
    const SatRow satRows[] = {
        {&MainForm::Label40, "Label40", &MainForm::EditmeltP, "EditmeltP", &MainForm::LabelmeltP, "LabelmeltP"},
        {&MainForm::Label24, "Label24", &MainForm::EditsatuP, "EditsatuP", &MainForm::LabelsatuP, "LabelsatuP"},
        {&MainForm::LabelsatuRhovt, "LabelsatuRhovt", &MainForm::EditsatuRhov, "EditsatuRhov",
         &MainForm::LabelsatuRhov, "LabelsatuRhov"},
        {&MainForm::LabelsatuRholt, "LabelsatuRholt", &MainForm::EditsatuRhol, "EditsatuRhol",
         &MainForm::LabelsatuRhol, "LabelsatuRhol"},
    };
    int row = 1;
    for (const SatRow& s : satRows) {
        sat->addWidget(AddLabel(s.caption, s.captionName), row, 0);
        QLineEdit* e = AddEdit(s.field, s.fieldName);
        e->setMinimumWidth(numberWidth + numberWidth / 2);  // room for a message
        sat->addWidget(e, row, 1);
        sat->addWidget(AddLabel(s.unit, s.unitName), row, 2);
        ++row;
    }
    sat->setRowStretch(row, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(inputs, 1);
    middle->addWidget(saturation, 1);

    QLineEdit* mes = AddEdit(&MainForm::EditMes, "EditMes");

    // Results in two columns of ten rows: name, symbol, field, unit.
    auto* results = new QGroupBox(this);
    results->setObjectName("GroupResults");
    auto* res = new QGridLayout(results);
    std::vector<const FieldRow*> rows;
    for (const FieldRow& r : FieldRows())
        if (r.caption) rows.push_back(&r);
    const int perColumn = static_cast<int>(rows.size() + 1) / 2;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const FieldRow& r = *rows[i];
        const int gridRow = i % perColumn, base = (i / perColumn) * 5;
        const std::string fieldName = r.control;
        auto* name = new QLabel(ToQt(r.caption), results);
        name->setObjectName(ToQt("Name_" + fieldName));
        auto* symbol = new QLabel(ToQt(r.symbol), results);
        symbol->setObjectName(ToQt("Symbol_" + fieldName));
        symbol->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLineEdit* e = AddEdit(r.field, "");
        e->setObjectName(ToQt(fieldName));
        e->setMinimumWidth(numberWidth);
        res->addWidget(name, gridRow, base);
        res->addWidget(symbol, gridRow, base + 1);
        res->addWidget(e, gridRow, base + 2);
        if (r.field == &MainForm::Editn) {
            // Refractive index: "at" <wavelength> "nm".
            auto* unit = new QHBoxLayout;
            unit->addWidget(AddLabel(&MainForm::Labeln1, "Labeln1"));
            QLineEdit* lambda = AddEdit(&MainForm::Editnlambda, "Editnlambda");
            lambda->setMaximumWidth(QFontMetrics(font()).horizontalAdvance("00000.0") + 16);
            connect(lambda, &QLineEdit::returnPressed, this, [this] { Act([this] { form_.ButtonCalcClick(); }); });
            unit->addWidget(lambda);
            unit->addWidget(AddLabel(&MainForm::Labeln2, "Labeln2"));
            unit->addStretch(1);
            res->addLayout(unit, gridRow, base + 3);
        } else if (r.unit == UnitKind::kViscosity || r.unit == UnitKind::kConductivity) {
            // Viscosity and thermal conductivity: a unit selector in place of the label,
            // which stays (hidden) for the headings of tables.
            const bool visc = r.unit == UnitKind::kViscosity;
            QLabel* unit = AddLabel(r.label, "");
            unit->setObjectName(ToQt("Label" + fieldName.substr(4)));
            unit->hide();
            QComboBox* box = visc ? AddCombo(&MainForm::ComboBoxVisc, "ComboBoxVisc", &MainForm::ComboBoxViscChange)
                                  : AddCombo(&MainForm::ComboBoxTherc, "ComboBoxTherc", &MainForm::ComboBoxThercChange);
            auto* cell = new QHBoxLayout;
            cell->addWidget(unit);
            cell->addWidget(box);
            cell->addStretch(1);
            res->addLayout(cell, gridRow, base + 3);
        } else if (r.label) {
            // Unit labels are named after their fields: EditU -> LabelU.
            QLabel* unit = AddLabel(r.label, "");
            unit->setObjectName(ToQt("Label" + fieldName.substr(4)));
            res->addWidget(unit, gridRow, base + 3);
        }
    }
    res->setColumnMinimumWidth(4, 16);
    res->setColumnStretch(2, 1);
    res->setColumnStretch(7, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(commands);
    layout->addLayout(middle);
    layout->addWidget(mes);
    layout->addWidget(results, 1);

    // Enter in an input field runs "Calculate".
    for (QLineEdit* e : {editT, editP, editRho})
        connect(e, &QLineEdit::returnPressed, this, [this] { Act([this] { form_.ButtonCalcClick(); }); });

    SetUpKeyboard(this, [this] { Act([this] { form_.ButtonCopyClick(); }); });

    Refresh();
    adjustSize();
    if (QScreen* s = screen()) {
        const WindowPosition p = CentredPosition(s->geometry().width(), s->geometry().height(), width(), height());
        move(s->geometry().left() + p.left, s->geometry().top() + p.top);
    }
}

void MainWindow::Refresh() {
    for (auto& [w, field] : edits_) Push(w, form_.*field);
    for (auto& [w, label] : labels_) Push(w, form_.*label);
    for (auto& [w, box] : combos_) Push(w, form_.*box);
    for (auto& [w, button] : buttons_) Push(w, form_.*button);
    Push(matterBox_, matterGroup_, form_.RadioGroupMatter);
    Push(varBox_, varGroup_, form_.RadioGroupVar);
    Push(pairBox_, pairGroup_, form_.RadioGroupPair);
    // The choice between P and rho only while T is given with one of them (the pressure
    // field stays usable: it is given with h or s too).
    for (QAbstractButton* b : varGroup_->buttons()) b->setEnabled(form_.RadioGroupPair.index == 0);
    if (auto* rho = findChild<QComboBox*>("ComboBoxRho")) rho->setToolTip(DensityUnitTip(form_.densityMode));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (closed) closed();
}

}  // namespace kelvane::ui
