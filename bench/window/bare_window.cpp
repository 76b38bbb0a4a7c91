// A bare Qt Widgets program that shows one window of the main window's size
// and prints "ready" once it is shown: the yardstick for the window program's
// start-up time and memory (see window_startup.sh). Stays up until killed.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1160, 700);
    window.show();
    QTimer::singleShot(0, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
