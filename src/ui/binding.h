// Mirroring the headless controls onto Qt widgets, and the standard error report for
// errors that escape an action.
#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

#include "forms/controls.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kelvane::ui {

inline QString ToQt(const std::string& s) { return QString::fromStdString(s); }
inline std::string FromQt(const QString& s) { return s.toStdString(); }

// Writes the control's state to the widget without emitting the widget's user signals.
// An edit field's colour role becomes the widget's base colour: the palette's Base
// (window colour) or Button (button face).
void Push(QLineEdit* w, const EditField& f);
void Push(QLabel* w, const Label& l);
void Push(QPushButton* w, const Button& b);
void Push(QCheckBox* w, const CheckBox& c);
void Push(QComboBox* w, const ComboBox& c);
void Push(QGroupBox* box, QButtonGroup* group, const RadioGroup& g);

// The standard error report: a message box by default; tests install their own.
using ErrorReporter = std::function<void(QWidget* parent, const QString& message)>;
void SetErrorReporter(ErrorReporter reporter);
void ReportError(QWidget* parent, const QString& message);

// Runs one action; an exception that escapes it is reported and swallowed, so that
// the event loop goes on. Returns false when the action failed.
template <typename F>
bool RunAction(QWidget* parent, F&& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        ReportError(parent, QString::fromStdString(e.what()));
    }
    return false;
}

// Converts a filter of the form "Text files (*.txt)|*.txt|All files (*.*)|*.*" into
// Qt's name filters ("Text files (*.txt)", "All files (*.*)").
QStringList NameFilters(const std::string& filter);

}  // namespace kelvane::ui
