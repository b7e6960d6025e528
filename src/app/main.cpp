#include "platform/ImportApplication.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    platform::ImportApplication app(argc, argv);
    platform::ImportApplication::setOrganizationName(QStringLiteral("Velmora"));
    platform::ImportApplication::setApplicationName(QStringLiteral("Import"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Import"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
