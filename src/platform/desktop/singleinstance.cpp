#include "platform/desktop/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcSingle, "kivo.platform.singleinstance")

namespace kivo::platform {

namespace {

QString lockPath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder + "/" + name + ".lock";
}

// Asks the copy that holds the lock to come forward; it may still be starting, so try a while.
bool askToComeForward(const QString& name) {
    QElapsedTimer waited;
    waited.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write("show\n");
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    } while (waited.elapsed() < 3000);
    return false;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), name_(name + "-" + QString::number(::getuid())), lock_(lockPath(name_)) {
    // A copy may run for days: only a lock whose process is gone counts as stale, never its age.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show")) {
                    emit activationRequested();
                }
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::anotherIsRunning() {
    if (!lock_.tryLock(0)) {
        if (!askToComeForward(name_)) {
            qCWarning(lcSingle) << "another copy holds the lock but does not answer";
        }
        return true;
    }
    // This copy holds the lock: a socket file still there was left by a copy that crashed.
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name_)) {
        qCWarning(lcSingle) << "cannot listen for later copies:" << server_.errorString();
    }
    return false;
}

} // namespace kivo::platform
