// The verification report in a window: every published check value and identity,
// computed when the window is made, in a grid with the failures first, a filter by
// fluid, and the report as tab-separated text to copy or save.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "verify/verification.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace kelvane::ui {

class VerificationWindow : public QWidget {
public:
    explicit VerificationWindow(QWidget* parent = nullptr);

    // The rows shown: the checks of the chosen fluid, failures first.
    const std::vector<verify::CheckResult>& Shown() const { return shown_; }
    // The shown rows as tab-separated text with the heading line ("Copy", "Save...").
    QString ShownText() const;

    // Asks for the file name of "Save..."; empty cancels. Tests replace it.
    std::function<QString(QWidget*)> askSaveName;
    // Reports a file that cannot be written. Tests replace it.
    std::function<void(QWidget*, const QString&)> reportError;

private:
    void Fill();
    void Copy();
    void Save();

    std::vector<verify::CheckResult> results_, shown_;
    QComboBox* fluid_;
    QLabel* summary_;
    QTableWidget* grid_;
};

}  // namespace kelvane::ui
