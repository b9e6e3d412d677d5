#pragma once
// Turns the event loop until a condition holds, for at most the given time.
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

inline bool waitUntil(const std::function<bool()>& condition, int milliseconds = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
