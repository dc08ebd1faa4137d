#pragma once

#include <QElapsedTimer>
#include <QtTest/QTest>

namespace kivo::test {

// Waits for what happens outside our event loop (the browser's process, the X server, the
// compositor), serving events meanwhile.
template <typename F> bool waitFor(F condition, int ms = 15000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

} // namespace kivo::test
