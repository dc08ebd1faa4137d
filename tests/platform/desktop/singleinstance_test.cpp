// One copy per user: a socket file that a crashed copy left behind does not stop the next copy
// from listening, and a later copy reaches it.
#include "platform/desktop/singleinstance.h"
#include "waitfor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QUuid>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kivo::platform {
namespace {

TEST(SingleInstance, ASocketFileLeftByACrashedCopyIsReplaced) {
    const QString name = "kivo-test-" + QUuid::createUuid().toString(QUuid::Id128);
    // What a crashed copy leaves: its bound socket's file, with no process behind it.
    const QString leftover = QDir::tempPath() + "/" + name + "-" + QString::number(::getuid());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(leftover);
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int crashed = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(crashed, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(crashed);
    ASSERT_TRUE(QFileInfo(leftover).exists());

    SingleInstance first(name);
    ASSERT_FALSE(first.anotherIsRunning()) << "the lock is free: this copy is the first";
    int comeForward = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++comeForward; });
    QLocalSocket probe;
    probe.connectToServer(name + "-" + QString::number(::getuid()));
    EXPECT_TRUE(probe.waitForConnected(2000)) << "the first copy listens in the left file's place";
    probe.disconnectFromServer();

    SingleInstance second(name);
    EXPECT_TRUE(second.anotherIsRunning());
    EXPECT_TRUE(test::waitFor([&] { return comeForward == 1; }, 3000)) << "a later copy reaches the first";
}

} // namespace
} // namespace kivo::platform
