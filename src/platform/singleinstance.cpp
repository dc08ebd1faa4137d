#include "platform/singleinstance.h"

#include <QLocalSocket>

#include <unistd.h>

namespace kivo::platform {

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), name_(name + "-" + QString::number(::getuid())) {
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
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(500)) {
        socket.write("show\n");
        socket.waitForBytesWritten(500);
        socket.disconnectFromServer();
        return true;
    }
    // Nobody answers: a socket file left by a crashed copy is stale.
    QLocalServer::removeServer(name_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name_);
    return false;
}

} // namespace kivo::platform
