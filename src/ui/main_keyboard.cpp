#include "ui/main_keyboard.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/main_form.h"
#include "ui/unit_tips.h"

namespace kelvane::ui {

namespace {

// An edit field takes the copy key for itself; without a selection it passes it here.
class CopyKeyFilter : public QObject {
public:
    CopyKeyFilter(QObject* parent, std::function<void()> copy) : QObject(parent), copy_(std::move(copy)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            auto* edit = qobject_cast<QLineEdit*>(watched);
            if (edit && !edit->hasSelectedText()) {
                copy_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> copy_;
};

// The tab order: fluid, inputs with their units and the wavelength, the commands, then
// the unit selectors of the transport properties. The read-only result fields are
// left out of the chain (the binding gives them click focus only).
std::vector<const char*> TabOrder() {
    static const char* const order[] = {"RadioGroupMatter_0", "RadioGroupMatter_1",
                                        "RadioGroupMatter_2", "EditT",
                                        "ComboBoxT",          "RadioGroupVar_0",
                                        "RadioGroupVar_1",    "EditP",
                                        "ComboBoxP",          "EditRho",
                                        "ComboBoxRho",        "ComboBoxUnit",
                                        "Editnlambda",        "ButtonCalc",
                                        "ButtonCopy",         "ButtonSetCp",
                                        "ButtonXRhoV",        "Button1",
                                        "ButtonPhase",        "ButtonAbout",
                                        "ComboBoxVisc",       "ComboBoxTherc"};
    return {std::begin(order), std::end(order)};
}

}  // namespace

void SetUpKeyboard(QWidget* window, std::function<void()> copyResults) {
    QWidget* previous = nullptr;
    for (const char* name : TabOrder()) {
        QWidget* w = window->findChild<QWidget*>(name);
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }

    auto tip = [window](const char* name, const QString& text) {
        if (auto* box = window->findChild<QComboBox*>(name)) box->setToolTip(text);
    };
    tip("ComboBoxT", TemperatureUnitTip());
    tip("ComboBoxP", PressureUnitTip());
    tip("ComboBoxRho", DensityUnitTip(true));
    tip("ComboBoxUnit", AmountUnitTip());
    tip("ComboBoxVisc", ViscosityUnitTip());
    tip("ComboBoxTherc", ConductivityUnitTip());

    auto* shortcut = new QShortcut(QKeySequence::Copy, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, copyResults);
    auto* filter = new CopyKeyFilter(window, std::move(copyResults));
    for (QLineEdit* edit : window->findChildren<QLineEdit*>()) edit->installEventFilter(filter);
}

}  // namespace kelvane::ui
