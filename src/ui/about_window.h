// The About window: version and references, and a "Close" button (Esc closes it as
// well). While it is shown the other two windows take no input.
#pragma once

#include <QWidget>

#include <vector>

namespace kelvane::ui {

class AboutWindow : public QWidget {
public:
    explicit AboutWindow(std::vector<QWidget*> blocked, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;  // centres, disables the others
    void hideEvent(QHideEvent* event) override;  // enables them again
    void keyPressEvent(QKeyEvent* event) override;  // Esc closes

private:
    std::vector<QWidget*> blocked_;
};

}  // namespace kelvane::ui
