// Kivo on a desktop that speaks the session bus (run by e2e-desktop-bus under dbus-run-session):
// a workbench page's notification reaches the freedesktop notification service while the main
// window is in the tray, the StatusNotifierItem tray icon carries the unread badge and its menu,
// and both the notification's default action and the item's Activate bring the window back.
#include "chrome/imagecontrol.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/desktop/desktopnotifier.h"
#include "platform/desktop/qttrayicon.h"
#include "signin/login.h"
#include "tray/trayform.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingReply>
#include <QProcess>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

class DesktopBusEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        // The desktop's services come first: Qt looks for a tray watcher once, with the first icon.
        stub_.start(KIVO_DESKTOP_BUS_STUB, {});
        ASSERT_TRUE(stub_.waitForStarted());
        ASSERT_TRUE(test::waitFor(
            [] { return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.kivo.TestDesktop"); },
            5000))
            << "a private session bus (dbus-run-session) is needed";
        ClientEndToEnd::SetUp();
        platform::TrayIcons() = [] { return std::make_unique<platform::QtTrayIcon>(); };
        platform::DesktopNotifiers() = [] { return platform::MakeFreedesktopNotifier("VelmoraKivo"); };
        home::SetUnreadCount(&tray::ShowUnread);
        home::SetAnnounce(&tray::Announce);
        startup::State().endStatus = "0";
        (new tray::TrayForm)->Load();
    }
    void TearDown() override {
        ClientEndToEnd::TearDown();
        platform::TrayIcons() = {};
        platform::DesktopNotifiers() = {};
        home::SetUnreadCount({});
        home::SetAnnounce({});
        stub_.kill();
        stub_.waitForFinished();
    }
    // A call to the stub that may have to call back into this process: the event loop runs meanwhile.
    QVariant ask(const QString& method, const QVariantList& arguments = {}) {
        QDBusInterface stub("org.kivo.TestDesktop", "/test", "org.kivo.TestDesktop");
        QDBusPendingCall call = stub.asyncCallWithArgumentList(method, arguments);
        test::waitFor([&] { return call.isFinished(); }, 8000);
        const QDBusMessage reply = call.reply();
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().at(0);
    }
    QStringList recorded() { return ask("Recorded").toStringList(); }

    QProcess stub_;
};

TEST_F(DesktopBusEndToEnd, NotificationsTheBadgeAndTheTrayItem) {
    ASSERT_TRUE(test::waitFor([&] { return recorded().contains("RegisterStatusNotifierItem"); }, 5000))
        << "the tray icon is a StatusNotifierItem where a watcher runs";
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); }));

    // Into the tray; then the page notifies (its link, clicked by script as the page is hidden).
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_FALSE(w->isVisible());
    qobject_cast<QWebEngineView*>(test::find(w, "web"))->page()->runJavaScript("document.getElementById('notify').click()");
    const QString notified = "Notify 1 VelmoraKivo 审批提醒|采购申请：办公电脑 5 台，等待您审批 actions=default,打开 image=yes";
    ASSERT_TRUE(test::waitFor([&] { return recorded().contains(notified); }, 10000)) << recorded().join('\n').toStdString();

    // The tray item as a panel reads it: the badge on its pixmaps, the count in its tip, the menu.
    ASSERT_TRUE(test::waitFor([&] { return ask("ItemToolTip").toString() == "VelmoraKivo - 1 条新消息"; }, 5000))
        << ask("ItemToolTip").toString().toStdString();
    ASSERT_TRUE(ask("ItemIcon", {QDir("screenshots").absoluteFilePath("tray-item-badge.png")}).toBool());
    const QImage icon("screenshots/tray-item-badge.png");
    int red = 0;
    for (int y = 0; y < icon.height() / 2; ++y) {
        for (int x = icon.width() / 2; x < icon.width(); ++x) {
            const QColor c = icon.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(red, icon.width() * icon.height() / 16) << "the badge is on the item's icon";
    const QStringList menu = ask("ItemMenu").toStringList();
    for (const char* entry : {"打开主面板", "版本更新", "关于我们", "退出VelmoraKivo"}) {
        EXPECT_TRUE(menu.contains(entry)) << entry << " in " << menu.join(',').toStdString();
    }

    // The notification's default action: the window comes back, the page's onclick opens the approvals.
    ask("Invoke", {1u});
    ASSERT_TRUE(test::waitFor([&] { return w->isVisible(); }, 5000));
    EXPECT_TRUE(test::waitFor([&] { return w->menus().currentLeftIndex == 3; }, 5000)) << "审批流程";
    EXPECT_TRUE(test::waitFor([&] { return ask("ItemToolTip").toString() == "VelmoraKivo"; }, 5000))
        << "seen: the count is gone";

    // The item's own activation (a left click on the panel) brings the window back as well.
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_FALSE(w->isVisible());
    ask("ItemActivate");
    EXPECT_TRUE(test::waitFor([&] { return w->isVisible(); }, 5000));
}

} // namespace
} // namespace kivo::mainwin
