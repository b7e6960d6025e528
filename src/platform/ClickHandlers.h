#pragma once

#include <QAbstractButton>
#include <QObject>
#include <functional>

// Check boxes and radio buttons run their click handlers on a real change of state, whoever makes it: the person
// (mouse, space, access key), the program (SetChecked) or a data-aware box following its field. Setting a box to
// the state it already has runs nothing. Every window connects such handlers through ConnectClick and sets boxes
// through SetChecked, so that a page that derives its boxes from data gets exactly the rules a person's clicks
// would have run.
//
// A check box runs its handler on every change, ticked or unticked. A radio button runs it when it becomes
// checked; losing the check to another button of its group runs nothing, as a click on that other button is not
// a click on this one.
namespace platform {

// Connects handler as button's click handler; it runs in context's thread and stops with context.
void ConnectClick(QAbstractButton* button, QObject* context, std::function<void()> handler);

template <typename Receiver>
void ConnectClick(QAbstractButton* button, Receiver* receiver, void (Receiver::*handler)())
{
    ConnectClick(button, receiver, [receiver, handler] { (receiver->*handler)(); });
}

// Sets the state as the program does. A radio button may be unchecked too, which leaves its group without a
// choice; the click handler runs only when the state really changes.
void SetChecked(QAbstractButton* button, bool checked);

}  // namespace platform
