#pragma once

#include <QObject>

#include <functional>

namespace kivo::startup {

/// Work that can wait until the program's first window has painted its first frame. A timer of
/// nought would not do: it runs before the window's first paint, which waits for the display
/// server's answer to the window being shown.
class FirstFrame {
public:
    /// A first window is on its way: later work waits for Painted(), or two seconds at most.
    static void Expect();
    /// Runs `work` once the first frame is painted (in the next turn of the event loop when none
    /// is expected or it has been painted), unless `context` is gone by then.
    static void Then(QObject* context, std::function<void()> work);
    /// The first window has painted: the waiting work runs.
    static void Painted();
};

} // namespace kivo::startup
