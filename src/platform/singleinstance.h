#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace kivo::platform {

/// @brief One copy per user: the first copy listens on a local socket named after the program;
/// a later copy asks it to come forward and is told to end.
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
    QLocalServer server_;
};

} // namespace kivo::platform
