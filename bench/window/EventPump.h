#pragma once
// Runs the window program's event loop from a benchmark until a condition
// holds, or gives up after 20 s so a stuck window ends the run.

#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace keyloom::bench {

inline bool pumpUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 20000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace keyloom::bench
