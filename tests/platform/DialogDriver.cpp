#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace dialogdriver {

namespace {

bool gDeadlineHit = false;

void closeByForce(QWidget* window)
{
    gDeadlineHit = true;
    qWarning("dialog driver: closing \"%s\" (%s) by force", qUtf8Printable(window->windowTitle()),
             window->metaObject()->className());
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

}  // namespace

void onNextModal(std::function<void(QWidget* window)> action, int deadlineMs)
{
    gDeadlineHit = false;
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    auto actedOn = std::make_shared<QPointer<QWidget>>();
    auto acted = std::make_shared<bool>(false);
    clock->start();
    timer->setInterval(10);
    // Until the action has run, the timer waits for a modal window; afterwards it watches that window and closes
    // it should the action have left it open.
    QObject::connect(timer, &QTimer::timeout, [=, action = std::move(action)]() {
        if (!*acted) {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) {
                *acted = true;
                *actedOn = modal;
                clock->restart();
                action(modal);
            } else if (clock->elapsed() > deadlineMs) {
                timer->stop();
                timer->deleteLater();
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (w->isModal() && w->isVisible())
                        closeByForce(w);
                }
            }
            return;
        }
        QWidget* window = actedOn->data();
        if (!window || !window->isVisible()) {
            timer->stop();
            timer->deleteLater();
        } else if (clock->elapsed() > deadlineMs) {
            // Something else may sit on top of it (a message the dialog raised): close that first.
            QWidget* modal = QApplication::activeModalWidget();
            closeByForce(modal && modal != window ? modal : window);
            clock->restart();
        }
    });
    timer->start();
}

bool deadlineHit()
{
    return gDeadlineHit;
}

QAbstractButton* buttonWithCaption(QWidget* window, const QString& caption)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        QString text = button->text();
        if (text.remove(u'&') == caption)
            return button;
    }
    return nullptr;
}

}  // namespace dialogdriver
