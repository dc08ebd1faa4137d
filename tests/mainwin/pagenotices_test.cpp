// The pages' notifications and the unread count, with a fake browser, a fake notification
// service and fake notifications (offscreen).
#include "activewindow.h"
#include "fakenotification.h"
#include "mainwin/home.h"
#include "mainwin/pagenotices.h"
#include "platform/desktop/desktopnotifier.h"
#include "windowtest.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

using test::FakeNotification;

struct Desktop {
    QStringList shown;   // "id title replaces"
    QList<unsigned> closed;
    bool present = true; // a notification service answers
    unsigned next = 1;
    std::function<void(unsigned)>* clicked = nullptr;
};

struct FakeNotifier : platform::DesktopNotifier {
    explicit FakeNotifier(Desktop& desktop) : desktop_(desktop) { desktop.clicked = &clicked; }
    unsigned notify(const Notice& notice, unsigned replaces) override {
        if (!desktop_.present) {
            return 0;
        }
        EXPECT_FALSE(notice.icon.isNull()) << "the program's icon stands in for the page's";
        const unsigned id = replaces != 0 ? replaces : desktop_.next++;
        desktop_.shown << QString("%1 %2 %3").arg(id).arg(notice.title).arg(replaces);
        return id;
    }
    void close(unsigned id) override { desktop_.closed << id; }
    Desktop& desktop_;
};

class PageNoticesTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        startService();
        platform::DesktopNotifiers() = [this] { return std::make_unique<FakeNotifier>(desktop); };
        home::SetUnreadCount([this](int count) { counts << count; });
        home::SetAnnounce([this](const QString& title, const QString&) {
            balloons << title;
            return true;
        });
        w = home::Instance();
        w->show();
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::DesktopNotifiers() = {};
        home::SetUnreadCount({});
        home::SetAnnounce({});
    }
    std::shared_ptr<FakeNotification> notify(const QString& title, const QString& tag = {}) {
        auto notification = std::make_shared<FakeNotification>(title, tag);
        browsers.at(0)->notificationShown(notification);
        return notification;
    }
    PageNotices* notices() { return w->findChild<PageNotices*>("pageNotices"); }

    Desktop desktop;
    QList<int> counts;
    QStringList balloons;
    home* w = nullptr;
};

TEST_F(PageNoticesTest, OnlyTheServicesOwnPagesMayNotify) {
    const auto& allowed = browsers.at(0)->notificationsAllowed;
    ASSERT_TRUE(allowed);
    EXPECT_TRUE(allowed(QString::fromStdString(server.url())));
    EXPECT_FALSE(allowed("https://velmora.example"));
    EXPECT_FALSE(allowed("http://127.0.0.1:1")) << "another port is another origin";
    EXPECT_FALSE(allowed("null"));
    EXPECT_FALSE(allowed(""));
}

TEST_F(PageNoticesTest, ATagReplacesAndThePageClosesOnTheDesktopToo) {
    auto first = notify("审批提醒", "approve");
    auto second = notify("审批提醒 2", "approve");
    auto other = notify("公告");
    EXPECT_EQ(desktop.shown, (QStringList{"1 审批提醒 0", "1 审批提醒 2 1", "2 公告 0"}));
    first->closedByPage(); // the replaced one going closes nothing
    EXPECT_TRUE(desktop.closed.isEmpty());
    second->closedByPage();
    EXPECT_EQ(desktop.closed, QList<unsigned>{1});
    notify("审批提醒 3", "approve");
    EXPECT_EQ(desktop.shown.last(), "3 审批提醒 3 0") << "a closed tag starts afresh";

    // A click brings the window back and reaches the page.
    w->hide();
    (*desktop.clicked)(2);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(other->clicks, 1);
    (*desktop.clicked)(2);
    EXPECT_EQ(other->clicks, 1) << "once";
}

TEST_F(PageNoticesTest, TheCountRisesOnlyWhileTheWindowIsAwayAndClearsWhenItIsBack) {
    test::activate(w);
    notify("a");
    // Offscreen windows are not always made active; only what the window system says counts.
    const int whileActive = w->isActiveWindow() ? 0 : 1;
    EXPECT_EQ(notices()->unread(), whileActive);
    w->hide();
    notify("b");
    notify("c");
    EXPECT_EQ(notices()->unread(), whileActive + 2);
    EXPECT_EQ(counts.last(), whileActive + 2);
    w->show();
    EXPECT_EQ(notices()->unread(), 0) << "showing the window clears it";
    EXPECT_EQ(counts.last(), 0);
    w->showMinimized();
    notify("d");
    EXPECT_EQ(notices()->unread(), 1);

    // Shown but behind another window: activating it clears the count.
    w->showNormal();
    QWidget other;
    other.show();
    test::activate(&other);
    notify("e");
    ASSERT_EQ(notices()->unread(), 1);
    test::activate(w);
    EXPECT_EQ(notices()->unread(), 0) << "the window came to the front";
}

TEST_F(PageNoticesTest, ThePagesTitleSaysHowManyWait) {
    EXPECT_EQ(PageNotices::TitleCount("(3) 工作台"), 3);
    EXPECT_EQ(PageNotices::TitleCount(" (120) 消息"), 120);
    EXPECT_EQ(PageNotices::TitleCount("工作台 (3)"), 0);
    EXPECT_EQ(PageNotices::TitleCount("(3"), 0);
    EXPECT_EQ(PageNotices::TitleCount("(99999999999) x"), 0) << "no overflow";
    browsers.at(0)->titleChanged("(5) 工作台");
    EXPECT_EQ(counts.last(), 5);
    w->hide();
    w->show();
    EXPECT_EQ(notices()->unread(), 5) << "the page's own count stays while the page says it";
    browsers.at(0)->titleChanged("工作台");
    EXPECT_EQ(counts.last(), 0);

    // The larger of the page's count and what came while away, never their sum.
    browsers.at(0)->titleChanged("(5) 工作台");
    w->hide();
    notify("a");
    notify("b");
    EXPECT_EQ(notices()->unread(), 5);
    for (const char* more : {"c", "d", "e", "f"}) {
        notify(more);
    }
    EXPECT_EQ(notices()->unread(), 6);
}

TEST_F(PageNoticesTest, PastTheKeptNumberTheOldestIsLetGo) {
    std::vector<std::shared_ptr<FakeNotification>> sent;
    for (int i = 1; i <= 51; ++i) {
        sent.push_back(notify(QString::number(i)));
    }
    (*desktop.clicked)(1);
    EXPECT_EQ(sent.front()->clicks, 0) << "the oldest was let go";
    (*desktop.clicked)(2);
    (*desktop.clicked)(51);
    EXPECT_EQ(sent[1]->clicks, 1);
    EXPECT_EQ(sent.back()->clicks, 1) << "the newest is kept";
}

TEST_F(PageNoticesTest, WithoutANotificationServiceTheBalloonSaysIt) {
    desktop.present = false;
    notify("审批提醒");
    EXPECT_EQ(balloons, QStringList{"审批提醒"});
    EXPECT_TRUE(desktop.shown.isEmpty());
}

} // namespace
} // namespace kivo::mainwin
