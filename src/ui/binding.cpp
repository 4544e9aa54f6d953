#include "ui/binding.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace kelvane::ui {

namespace {

ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}

}  // namespace

void Push(QLineEdit* w, const EditField& f) {
    const QSignalBlocker block(w);
    const QString text = ToQt(f.text);
    if (w->text() != text) {
        w->setText(text);
        w->setCursorPosition(0);  // long texts show their beginning
    }
    w->setReadOnly(f.readOnly);
    w->setEnabled(f.enabled);
    // A read-only field can still be selected with the mouse, but Tab passes it by.
    w->setFocusPolicy(f.readOnly ? Qt::ClickFocus : Qt::StrongFocus);
    const QString hint = ToQt(f.hint);
    if (w->toolTip() != hint) w->setToolTip(hint);
    const bool window = f.color == ColorRole::Window;
    QPalette p = w->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(window ? QPalette::Base : QPalette::Button));
    w->setPalette(p);
    w->setProperty("colorRole", window ? "window" : "buttonFace");
}

void Push(QLabel* w, const Label& l) {
    const QString text = ToQt(l.text);
    if (w->text() != text) w->setText(text);
    w->setEnabled(l.enabled);
}

void Push(QPushButton* w, const Button& b) {
    const QString text = ToQt(b.caption);
    if (w->text() != text) w->setText(text);
    w->setEnabled(b.enabled);
}

void Push(QCheckBox* w, const CheckBox& c) {
    const QSignalBlocker block(w);
    w->setText(ToQt(c.caption));
    w->setChecked(c.checked);
    w->setEnabled(c.enabled);
}

void Push(QComboBox* w, const ComboBox& c) {
    const QSignalBlocker block(w);
    bool same = w->count() == static_cast<int>(c.items.size());
    for (int i = 0; same && i < w->count(); ++i) same = w->itemText(i) == ToQt(c.items[i]);
    if (!same) {
        w->clear();
        for (const std::string& item : c.items) w->addItem(ToQt(item));
    }
    if (c.index < 0) w->setPlaceholderText(ToQt(c.text));
    w->setCurrentIndex(c.index);
    w->setEnabled(c.enabled);
}

void Push(QGroupBox* box, QButtonGroup* group, const RadioGroup& g) {
    box->setTitle(ToQt(g.caption));
    const QSignalBlocker block(group);
    const QList<QAbstractButton*> buttons = group->buttons();
    for (QAbstractButton* b : buttons) {
        const int id = group->id(b);
        if (id >= 0 && id < static_cast<int>(g.items.size())) b->setText(ToQt(g.items[id]));
    }
    if (QAbstractButton* b = group->button(g.index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

void SetErrorReporter(ErrorReporter reporter) { Reporter() = std::move(reporter); }

void ReportError(QWidget* parent, const QString& message) {
    if (Reporter()) {
        Reporter()(parent, message);
        return;
    }
    QMessageBox::critical(parent, QStringLiteral("Kelvane"), message);
}

QStringList NameFilters(const std::string& filter) {
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) filters << parts[i];
    return filters;
}

}  // namespace kelvane::ui
