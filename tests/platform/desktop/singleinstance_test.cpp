// One copy per user: a socket file that a crashed copy left behind does not stop the next copy
// from listening, and a later copy reaches it.
#include "platform/desktop/singleinstance.h"
#include "waitfor.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QUuid>

#include <gtest/gtest.h>

#include <unistd.h>

namespace kivo::platform {
namespace {

TEST(SingleInstance, ASocketFileLeftByACrashedCopyIsReplaced) {
    const QString name = "kivo-test-" + QUuid::createUuid().toString(QUuid::Id128);
    // What a crashed copy leaves: the socket's file, with nobody listening.
    const QString leftover = QDir::tempPath() + "/" + name + "-" + QString::number(::getuid());
    QFile stale(leftover);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

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
