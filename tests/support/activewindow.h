#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace kivo::test {

/// Makes `window` (shown) the active window the way the window system does, and waits until it
/// is: key presses and shortcuts go to the active window. It asks again while it waits, since a
/// window shown meanwhile (a shadow's strip) takes the activation on the offscreen platform; and
/// a window counts as active already while a tool window of its own is, so Qt's own wait for
/// activation would not wait.
inline bool activate(QWidget* window) {
    return QTest::qWaitFor([window] {
        if (QApplication::activeWindow() == window) {
            return true;
        }
        window->activateWindow();
        return false;
    });
}

} // namespace kivo::test
