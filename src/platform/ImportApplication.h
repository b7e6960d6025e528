#pragma once

#include "platform/QtUserInterface.h"

#include <QApplication>

namespace platform {

// The program's application object. No error may cross Qt's event dispatch, so notify() catches whatever an event
// handler lets escape and hands it to ReportException; the event loop then goes on. The object also installs the
// real dialogs (QtUserInterface) for its lifetime.
class ImportApplication : public QApplication {
    Q_OBJECT

public:
    ImportApplication(int& argc, char** argv);
    ~ImportApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    QtUserInterface& dialogs() { return dialogs_; }

private:
    QtUserInterface dialogs_;
    UserInterface* previousInterface_ = nullptr;
};

}  // namespace platform
