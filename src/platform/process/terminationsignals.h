#pragma once

#include <QObject>

class QSocketNotifier;

namespace kivo::platform {

/// @brief Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C, the terminal closed) into
/// an event of the event loop, once: the handler only writes to a pipe that the loop watches. A
/// second such signal while the first is handled ends the process at once. One at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace kivo::platform
