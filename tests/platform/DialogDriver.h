#pragma once

#include "support/TestSupport.h"
#include <QAbstractButton>
#include <QString>
#include <QWidget>
#include <functional>
#include <ostream>

// Test-side driver of the real dialogs: runs an action on the next modal window that comes up, from the event loop
// that window's exec() runs. A window that is still open after the deadline is closed, so that a wrong test fails
// instead of hanging.
namespace dialogdriver {

// Runs action(window) once a modal window is active. Returns at once; the action runs later.
void onNextModal(std::function<void(QWidget* window)> action, int deadlineMs = 5000);

// True when the last deadline ran out and windows had to be closed by force.
bool deadlineHit();

// The button of window whose caption, without its "&", is caption; nullptr when there is none.
QAbstractButton* buttonWithCaption(QWidget* window, const QString& caption);

}  // namespace dialogdriver

