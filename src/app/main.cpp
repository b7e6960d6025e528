#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Import"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Import"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
