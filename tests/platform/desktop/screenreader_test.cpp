// What goes over the session bus, on a bus of the test's own: a screen reader announced on the
// accessibility bus makes the browser engine build the pages' accessible tree, and asking never
// starts the accessibility bus; notifications reach the desktop's service escaped, in the place of
// the one they replace, and its default action comes back.
#include "platform/desktop/desktopnotifier.h"
#include "platform/desktop/screenreader.h"
#include "waitfor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

namespace kivo::platform {
namespace {

// org.a11y.Bus saying that a screen reader runs.
class AnnouncingBus : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != "Get") {
            return false;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(true))));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
};

// The desktop's notification service, keeping what it was sent.
class NotificationService : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != "Notify") {
            return false;
        }
        calls << message.arguments();
        connection.send(message.createReply(QVariant::fromValue(7u)));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
    QList<QVariantList> calls;
};

// One private session bus for the process, made before anything asks for the session bus.
QDBusConnection privateBus() {
    static QProcess* daemon = [] {
        auto* process = new QProcess;
        process->start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (process->waitForStarted() && process->waitForReadyRead(5000)) {
            qputenv("DBUS_SESSION_BUS_ADDRESS", process->readLine().trimmed());
        }
        static pid_t pid = static_cast<pid_t>(process->processId());
        std::atexit([] { ::kill(pid, SIGTERM); }); // the bus ends with the test
        return process;
    }();
    static_cast<void>(daemon);
    return QDBusConnection::sessionBus();
}

TEST(Notifications, ReachTheServiceEscapedInTheirPlaceAndTheDefaultActionComesBack) {
    QDBusConnection bus = privateBus();
    ASSERT_TRUE(bus.isConnected());
    NotificationService service;
    ASSERT_TRUE(bus.registerVirtualObject("/org/freedesktop/Notifications", &service));
    ASSERT_TRUE(bus.registerService("org.freedesktop.Notifications"));
    const auto notifier = MakeFreedesktopNotifier("VelmoraKivo");
    QList<unsigned> clicked;
    notifier->clicked = [&](unsigned id) { clicked << id; };
    EXPECT_EQ(notifier->notify({"审批提醒", "<b>采购 & 报销</b>", QImage()}, 3), 7u);
    ASSERT_EQ(service.calls.size(), 1);
    const QVariantList& call = service.calls.front();
    EXPECT_EQ(call.value(0).toString(), "VelmoraKivo");
    EXPECT_EQ(call.value(1).toUInt(), 3u) << "in the place of the one it replaces";
    EXPECT_EQ(call.value(4).toString(), "&lt;b&gt;采购 &amp; 报销&lt;/b&gt;") << "the page's text stays visible as it is";

    QDBusMessage invoked = QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                                      "ActionInvoked");
    invoked << 7u << QString("other");
    bus.send(invoked);
    invoked.setArguments({7u, QString("default")});
    bus.send(invoked);
    EXPECT_TRUE(test::waitFor([&] { return !clicked.isEmpty(); }, 3000));
    EXPECT_EQ(clicked, QList<unsigned>{7u}) << "only the default action opens";
    bus.unregisterService("org.freedesktop.Notifications");
    bus.unregisterObject("/org/freedesktop/Notifications");
}

TEST(ScreenReader, TheEngineSwitchFollowsTheAccessibilityBusWhichAskingDoesNotStart) {
    QDBusConnection bus = privateBus();
    qunsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    ASSERT_TRUE(bus.isConnected());

    PrepareEngineForScreenReader();
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), "--disable-renderer-accessibility")
        << "no reader, no cost: newer engines build the tree unless told not to";
    EXPECT_FALSE(bus.interface()->isServiceRegistered("org.a11y.Bus").value()) << "the question started no bus";

    AnnouncingBus announcing;
    ASSERT_TRUE(bus.registerVirtualObject("/org/a11y/bus", &announcing));
    ASSERT_TRUE(bus.registerService("org.a11y.Bus"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--enable-logging");
    PrepareEngineForScreenReader();
    PrepareEngineForScreenReader();
    EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), "--enable-logging --force-renderer-accessibility") << "added once";
}

} // namespace
} // namespace kivo::platform
