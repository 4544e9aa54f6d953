#include "ui/table_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
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
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/binding.h"

namespace kelvane::ui {

namespace {

// Without "Show Calculation Process" the window still repaints and takes a click on
// "Stop" this often, instead of after every cell.
constexpr int kQuietIntervalMs = 100;

}  // namespace

bool QtTableDialogs::Ask(bool save, std::string& name, bool list, bool* csv) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(kDefaultExtension);
    dialog.setNameFilters(NameFilters(list ? kListFileFilter : kFileFilter));
    const auto isCsv = [](const QString& filter) { return filter.startsWith(QStringLiteral("CSV")); };
    if (list)
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, isCsv](const QString& filter) {
            dialog.setDefaultSuffix(isCsv(filter) ? QStringLiteral("csv") : QString::fromLatin1(kDefaultExtension));
        });
    dialog.setWindowTitle(save ? QStringLiteral("Save the table") : QStringLiteral("File for reading columns"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    name = FromQt(dialog.selectedFiles().front());
    if (csv)
        *csv = isCsv(dialog.selectedNameFilter()) || dialog.selectedFiles().front().endsWith(QStringLiteral(".csv"));
    return true;
}

bool QtTableDialogs::SaveFileName(std::string& name) { return Ask(true, name); }
bool QtTableDialogs::OpenFileName(std::string& name) { return Ask(false, name); }
bool QtTableDialogs::SaveListFileName(std::string& name, bool& csv) { return Ask(true, name, true, &csv); }

// The last table as the view's model: the heading as column titles, the lines below
// it as rows. Cells are taken from the grid when the view asks for them.
class TableWindow::GridModel : public QAbstractTableModel {
public:
    GridModel(const TableForm& form, QObject* parent) : QAbstractTableModel(parent), form_(form) {}
    void Reload() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(0, form_.Grid().Rows() - 1);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : form_.Grid().Columns();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return ToQt(form_.Grid().Cell(index.row() + 1, index.column()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Horizontal) return ToQt(form_.Grid().Cell(0, section));
        return section + 1;
    }

private:
    const TableForm& form_;
};

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

QPushButton* TableWindow::AddButton(Button TableForm::*button, const char* name,
                                    std::function<void(TableForm&)> click) {
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
    for (int i = 0; i < static_cast<int>(form_.RadioGroupTableType.items.size()); ++i) {
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
    descriptions->addWidget(AddLabel(&TableForm::LabelType3, "LabelType3"));
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

    // TYPE III: the properties of the list, checked in the order of their columns, and
    // where the state points come from.
    auto* listRow = new QHBoxLayout;
    auto* listLeft = new QVBoxLayout;
    listLeft->addWidget(AddLabel(&TableForm::LabelList, "LabelList"));
    QCheckBox* fromFile = AddCheck(&TableForm::CheckListFile, "CheckListFile");
    connect(fromFile, &QCheckBox::clicked, this, [this] { Act([this] { form_.CheckListFileClick(); }); });
    listLeft->addWidget(fromFile);
    listLeft->addStretch(1);
    list_ = new QListWidget(this);
    list_->setObjectName("ListQ");
    list_->setMaximumHeight(QFontMetrics(font()).lineSpacing() * 7);
    connect(list_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { form_.ListQ.Check(list_->row(item), item->checkState() == Qt::Checked); });
    listRow->addLayout(listLeft);
    listRow->addWidget(list_, 1);
    layout->addLayout(listRow);

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

    // The view of the last table, with "Copy" for a spreadsheet.
    auto* viewRow = new QHBoxLayout;
    viewRow->addWidget(AddLabel(&TableForm::LabelView, "LabelView"), 1);
    viewRow->addWidget(
        AddButton(&TableForm::ButtonCopyTable, "ButtonCopyTable", [this](TableForm&) { CopySelection(); }));
    layout->addLayout(viewRow);
    model_ = new GridModel(form_, this);
    view_ = new QTableView(this);
    view_->setObjectName("TableView");
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).lineSpacing() + 4);
    view_->setMinimumHeight(QFontMetrics(font()).lineSpacing() * 10);
    layout->addWidget(view_, 1);
    auto* copyKey = new QShortcut(QKeySequence::Copy, view_);
    copyKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copyKey, &QShortcut::activated, this, [this] { CopySelection(); });
    if (!form_.copyText)
        form_.copyText = [](const std::string& text) { QGuiApplication::clipboard()->setText(ToQt(text)); };

    // Enter in a series field makes its list.
    if (auto* e = findChild<QLineEdit*>("EditRs"))
        connect(e, &QLineEdit::returnPressed, this, [this] { Act([this] { form_.ButtonRsClick(); }); });
    if (auto* e = findChild<QLineEdit*>("EditCs"))
        connect(e, &QLineEdit::returnPressed, this, [this] { Act([this] { form_.ButtonCsClick(); }); });

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

void TableWindow::PushList() {
    const CheckList& l = form_.ListQ;
    const QSignalBlocker block(list_);
    bool same = list_->count() == static_cast<int>(l.items.size());
    for (int i = 0; same && i < list_->count(); ++i) same = list_->item(i)->text() == ToQt(l.items[i]);
    if (!same) {
        list_->clear();
        for (const std::string& item : l.items) {
            auto* it = new QListWidgetItem(ToQt(item), list_);
            it->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
    for (int i = 0; i < list_->count(); ++i) list_->item(i)->setCheckState(l.Checked(i) ? Qt::Checked : Qt::Unchecked);
    list_->setEnabled(l.enabled);
}

void TableWindow::CopySelection() {
    // The bounding rectangle of the selected cells (rows below the heading).
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    form_.selectionTop = form_.selectionLeft = form_.selectionBottom = form_.selectionRight = -1;
    for (const QModelIndex& i : selected) {
        const int row = i.row() + 1, column = i.column();
        if (form_.selectionTop < 0) {
            form_.selectionTop = form_.selectionBottom = row;
            form_.selectionLeft = form_.selectionRight = column;
        }
        form_.selectionTop = std::min(form_.selectionTop, row);
        form_.selectionBottom = std::max(form_.selectionBottom, row);
        form_.selectionLeft = std::min(form_.selectionLeft, column);
        form_.selectionRight = std::max(form_.selectionRight, column);
    }
    RunAction(this, [this] { form_.ButtonCopyTableClick(); });
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
    PushList();
    if (form_.tablesShown != tablesShown_) {
        tablesShown_ = form_.tablesShown;
        model_->Reload();
        view_->resizeColumnsToContents();  // the header measures a bounded sample of rows
        view_->setToolTip(ToQt(form_.Grid().Title()));
    }
    progress_->setRange(0, std::max(1, form_.cellsTotal));
    progress_->setValue(form_.cellsDone);
    progress_->setFormat(form_.cellsTotal > 0 ? QStringLiteral("%v of %m cells") : QString());
}

void TableWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect g = s->geometry();
        const WindowPosition p =
            CentredPosition(g.width(), g.height(), frameGeometry().width(), frameGeometry().height());
        move(g.left() + p.left, g.top() + p.top);
    }
}

void TableWindow::closeEvent(QCloseEvent* event) {
    // A hidden window could not show or stop its table.
    form_.ButtonStopClick();
    QWidget::closeEvent(event);
}

}  // namespace kelvane::ui
