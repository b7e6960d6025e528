#include "engine/EngineContext.h"
#include "platform/ImportApplication.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    platform::ImportApplication app(argc, argv);
    platform::ImportApplication::setOrganizationName(QStringLiteral("Velmora"));
    platform::ImportApplication::setApplicationName(QStringLiteral("Import"));
    // The one place of what is program-wide (program folder, the settings manager's delete routine); the wizard's
    // windows receive it by reference.
    engine::EngineContext context;
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Import"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
