#include "platform/ClickHandlers.h"

#include <QRadioButton>

namespace platform {

void ConnectClick(QAbstractButton* button, QObject* context, std::function<void()> handler)
{
    // toggled comes exactly on a change of state, never for a click that changes nothing (a checked radio button
    // clicked again), and the same for a person's click and the program's setChecked.
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QObject::connect(button, &QAbstractButton::toggled, context, [radio, handler = std::move(handler)](bool on) {
        if (on || !radio)
            handler();
    });
}

void SetChecked(QAbstractButton* button, bool checked)
{
    if (button->isChecked() == checked)
        return;
    // An exclusive radio button refuses to be unchecked directly.
    const bool exclusive = button->autoExclusive();
    if (!checked)
        button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

}  // namespace platform
