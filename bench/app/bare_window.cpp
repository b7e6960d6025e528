// The yardstick: a Qt Widgets program that shows one empty window and ends once it is on screen.
#include <QApplication>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(560, 420);
    window.show();
    QApplication::processEvents();
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}
