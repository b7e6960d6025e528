#include "platform/ImportApplication.h"

#include "platform/ErrorReport.h"

namespace platform {

ImportApplication::ImportApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    previousInterface_ = setUserInterface(&dialogs_);
}

ImportApplication::~ImportApplication()
{
    if (userInterface() == &dialogs_)
        setUserInterface(previousInterface_);
}

bool ImportApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
}

}  // namespace platform
