// The About window: version and references, and a "Close" button (Esc closes it as
// well). While it is shown the other two windows take no input.
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class QPushButton;

namespace kelvane::ui {

class VerificationWindow;

class AboutWindow : public QWidget {
public:
    explicit AboutWindow(std::vector<QWidget*> blocked, QWidget* parent = nullptr);
    ~AboutWindow() override;

    // The report of every published check value, made on the first "Verification"
    // click (null before).
    VerificationWindow* Verification() const { return verification_.get(); }

protected:
    void showEvent(QShowEvent* event) override;     // centres, disables the others
    void hideEvent(QHideEvent* event) override;     // enables them again
    void keyPressEvent(QKeyEvent* event) override;  // Esc closes

private:
    void ShowVerification();

    std::vector<QWidget*> blocked_;
    std::unique_ptr<VerificationWindow> verification_;
};

}  // namespace kelvane::ui
