#pragma once

#include <QApplication>

#include <functional>
#include <set>
#include <string>

namespace kivo::platform {

/// @brief The program's application object, with a last barrier where events are delivered: an
/// exception that escapes a handler (outside data that met a throwing call no check caught) is
/// caught there, written to the log once with the receiver and the event it was handling, and
/// the program goes on instead of ending.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    /// @brief Where the barrier's log lines go (the log by default; tests put a recorder here).
    static void SetReport(std::function<void(const QString& line)> report);

private:
    void caught(QObject* receiver, QEvent* event, const char* what);
    std::set<std::string> reported_; // each kind once
};

} // namespace kivo::platform
