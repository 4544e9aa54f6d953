// Keyboard use of the main window: the tab order through the inputs and commands,
// then the results; the copy key (Ctrl+C) copying the results unless the focused
// field has selected text; and tooltips naming the units of the unit selectors.
// Widgets are found by their control names.
#pragma once

#include <functional>

class QWidget;

namespace kelvane::ui {

void SetUpKeyboard(QWidget* mainWindow, std::function<void()> copyResults);

}  // namespace kelvane::ui
