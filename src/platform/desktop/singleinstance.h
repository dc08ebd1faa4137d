#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace kivo::platform {

/// @brief One copy per user: the copy that takes a per-user lock file listens on a local socket
/// named after the program; any other copy asks it to come forward and is told to end. The lock
/// decides even when two copies start at the same moment.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);

    /// @brief True when another copy runs (it has been asked to come forward); false when this
    /// copy is the first and now listens.
    bool anotherIsRunning();

signals:
    /// @brief A later copy asked this one to bring its window forward.
    void activationRequested();

private:
    QString name_;
    QLockFile lock_;
    QLocalServer server_;
};

} // namespace kivo::platform
