// The notification-area icon against a fake, the tray window and its menu, and the main
// drop-down menu with a recording address opener and a local service.
#include "chrome/formregistry.h"
#include "faketrayicon.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/urlopener.h"
#include "service/httprequest.h"
#include "tray/menu.h"
#include "tray/notifybar.h"
#include "tray/badgeicon.h"
#include "tray/trayform.h"
#include "waitfor.h"
#include "windowtest.h"

#include <QApplication>
#include <QtTest/QTest>

#include <QDir>

#include <gtest/gtest.h>

namespace kivo::tray {
namespace {

using Activation = platform::TrayIcon::Activation;

// A window that only notes its unload in the shared log.
class NamedForm : public chrome::Form {
public:
    NamedForm(const QString& name, QStringList& log) : Form(name), log_(log) {}

protected:
    void onUnload() override { log_ << "unload " + name(); }

private:
    QStringList& log_;
};

class TrayTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        platform::TrayIcons() = [this] {
            auto icon = std::make_unique<test::FakeTrayIcon>(log);
            fake = icon.get();
            return icon;
        };
        chrome::FormRegistry::instance().setProgramEnd([this] { log << "end"; });
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::TrayIcons() = {};
        menu::SetShowSettings({});
        menu::SetShowAbout({});
        TrayForm::SetShowAbout({});
    }
    // A tray window as the program loads it, once its notification icon has come.
    TrayForm* loadedTray() {
        auto* tray = new TrayForm;
        tray->Load();
        EXPECT_EQ(tray->notifyBar(), nullptr) << "the icon follows the first window";
        EXPECT_TRUE(test::waitFor([tray] { return tray->notifyBar() != nullptr; }));
        return tray;
    }
    NamedForm* form(const QString& name) {
        auto* f = new NamedForm(name, log);
        f->Load();
        return f;
    }

    QStringList log;
    test::FakeTrayIcon* fake = nullptr;
};

TEST_F(TrayTest, EveryAddCarriesIconTipAndCallback) {
    NotifyBar bar;
    bar.setIcon(QIcon(QPixmap(16, 16)));
    bar.setToolTipText("  VelmoraKivo ");
    EXPECT_EQ(bar.flags(), 0x6u);
    EXPECT_TRUE(log.isEmpty()) << "nothing goes out while the icon is not shown";
    bar.setNotifyBoxVisible(true);
    EXPECT_EQ(log, QStringList{"add flags=7 icon=set tip=VelmoraKivo info=//0"});
    bar.setToolTipText("新提示");
    EXPECT_EQ(log.last(), "modify flags=4 icon=set tip=新提示 info=//0") << "a shown icon changes one part";
    bar.setNotifyBoxVisible(false);
    EXPECT_EQ(log.last(), "remove");
    EXPECT_EQ(bar.flags(), 0u);
    bar.setNotifyBoxVisible(true);
    EXPECT_EQ(log.last(), "add flags=7 icon=set tip=新提示 info=//0") << "shown again with everything";
    EXPECT_TRUE(bar.NotifyBoxVisible());
}

TEST_F(TrayTest, TheTrayHostComingBackAddsAShownIconOnly) {
    NotifyBar bar;
    bar.setToolTipText("K");
    bar.TaskbarCreated();
    EXPECT_TRUE(log.isEmpty()) << "a hidden icon stays hidden";
    bar.setNotifyBoxVisible(true);
    bar.NotifyMsgBox("正文", "标题", 2);
    EXPECT_EQ(log.last(), "modify flags=10 icon=none tip=K info=标题/正文/2");
    bar.TaskbarCreated();
    EXPECT_EQ(log.last(), "add flags=7 icon=none tip=K info=标题/正文/2");
    EXPECT_EQ(log.size(), 3);
}

TEST_F(TrayTest, ABalloonBeforeShowingGoesWithTheAdd) {
    NotifyBar bar;
    bar.NotifyMsgBox("hello", "t", 1);
    bar.setNotifyBoxVisible(true);
    EXPECT_EQ(log, QStringList{"add flags=17 icon=none tip= info=t/hello/1"});
}

TEST_F(TrayTest, TooltipsAreTrimmedAndCutAtACharacterBoundary) {
    NotifyBar bar;
    bar.setToolTipText(QString(100, QChar(u'林')));
    EXPECT_EQ(bar.ToolTipText(), QString(42, QChar(u'林'))) << "42 x 3 bytes fit in 127";
    bar.setToolTipText("a" + QString::fromUtf8("😀").repeated(40));
    EXPECT_EQ(bar.ToolTipText().toUtf8().size(), 1 + 31 * 4) << "no half of a character is kept";
    EXPECT_FALSE(bar.ToolTipText().back().isHighSurrogate());
    bar.setToolTipText("ab");
    EXPECT_EQ(bar.ToolTipText(), "ab");
    bar.setToolTipText(QString(200, 'k'));
    EXPECT_EQ(bar.ToolTipText().toUtf8().size(), 127) << "exactly what the record holds";
    bar.setToolTipText(QString(127, 'k'));
    EXPECT_EQ(bar.ToolTipText().size(), 127);
}

TEST_F(TrayTest, ActivationsBecomeClickKinds) {
    NotifyBar bar;
    std::vector<int> kinds;
    QObject::connect(&bar, &NotifyBar::NotifyClick, [&](int kind, QPoint) { kinds.push_back(kind); });
    for (Activation a : {Activation::Click, Activation::DoubleClick, Activation::Context, Activation::Other}) {
        fake->act(a);
    }
    EXPECT_EQ(kinds, (std::vector<int>{2, 1, 3}));
}

TEST_F(TrayTest, TheUnreadCountIsABadgeOnTheIconAndALineInItsTip) {
    EXPECT_EQ(BadgeText(0), "");
    EXPECT_EQ(BadgeText(7), "7");
    EXPECT_EQ(BadgeText(99), "99");
    EXPECT_EQ(BadgeText(100), "99+");
    for (const int side : {22, 32, 48, 64}) {
        EXPECT_LT(BadgeTextPixels(side, "99+"), BadgeTextPixels(side, "99")) << side << ": 99+ fits the badge";
    }
    auto* tray = loadedTray();
    const QIcon plainIcon = fake->last.icon;
    const QImage plain = plainIcon.pixmap(48, 48).toImage();
    ShowUnread(3);
    EXPECT_EQ(tray->unread(), 3);
    EXPECT_EQ(fake->last.toolTip, "VelmoraKivo - 3 条新消息");
    QDir().mkpath("screenshots");
    for (const int side : {16, 22, 48}) {
        const QImage badged = fake->last.icon.pixmap(side, side).toImage();
        ASSERT_EQ(badged.size(), QSize(side, side));
        // Red at the top right, where the plain icon has none, and the rest of the icon kept.
        int red = 0;
        for (int y = 0; y < side / 2; ++y) {
            for (int x = side / 2; x < side; ++x) {
                const QColor c = badged.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
            }
        }
        EXPECT_GT(red, side * side / 16) << side;
        EXPECT_EQ(badged.pixelColor(side / 4, side * 3 / 4), plainIcon.pixmap(side, side).toImage().pixelColor(side / 4, side * 3 / 4))
            << side;
        badged.scaled(side * 4, side * 4).save(QString("screenshots/tray-badge-%1.png").arg(side));
    }
    ShowUnread(0);
    EXPECT_EQ(fake->last.toolTip, "VelmoraKivo");
    EXPECT_EQ(fake->last.icon.pixmap(48, 48).toImage(), plain);
}

TEST_F(TrayTest, ALeftClickBringsBackTheMainWindowOrTheSignInWindowOrNothing) {
    auto* tray = loadedTray();
    EXPECT_EQ(log.first(), "add flags=7 icon=set tip=VelmoraKivo info=//0");
    fake->act(Activation::Click); // nobody signed in and no sign-in window: nothing starts again
    auto* signIn = form("login");
    fake->act(Activation::Click);
    EXPECT_TRUE(signIn->isVisible());
    signIn->hide();
    tray->men()->actions().at(0)->trigger(); // "打开主面板" without a main window
    EXPECT_FALSE(signIn->isVisible());

    auto* home = form("home");
    home->showMinimized();
    home->hide();
    fake->act(Activation::Click);
    EXPECT_TRUE(home->isVisible());
    EXPECT_FALSE(home->isMinimized());
    home->hide();
    tray->men()->actions().at(0)->trigger();
    EXPECT_TRUE(home->isVisible());

    // The service's session ended: the sign-in window is the way back, by the icon and the menu.
    home->hide();
    home->setWaitsForSignIn(true);
    fake->act(Activation::Click);
    EXPECT_TRUE(signIn->isVisible());
    EXPECT_FALSE(home->isVisible());
    signIn->hide();
    tray->men()->actions().at(0)->trigger();
    EXPECT_TRUE(signIn->isVisible());
    EXPECT_FALSE(home->isVisible());
}

TEST_F(TrayTest, TheTrayMenu) {
    service::Service().BaseUrl = "http://svc.test";
    int abouts = 0;
    TrayForm::SetShowAbout([&] { ++abouts; });
    auto* tray = new TrayForm;
    tray->Load();
    QStringList captions;
    for (QAction* a : tray->men()->actions()) {
        captions << a->text();
    }
    EXPECT_EQ(captions, (QStringList{"打开主面板", "版本更新", "关于我们", "退出VelmoraKivo"}));
    tray->men()->actions().at(1)->trigger();
    EXPECT_EQ(abouts, 1);
    tray->men()->actions().at(2)->trigger();
    EXPECT_EQ(opened, QStringList{"http://svc.test/about/"});
}

TEST_F(TrayTest, ExitRemovesTheIconBeforeAnyWindowUnloads) {
    auto* tray = loadedTray();
    form("home");
    form("sys");
    log.clear();
    tray->men()->actions().at(3)->trigger();
    EXPECT_EQ(log, (QStringList{"remove", "unload home", "unload sys", "end"}));
}

TEST_F(TrayTest, TheDropDownMenu) {
    service::Service().BaseUrl = "http://svc.test";
    QWidget* settingsOwner = nullptr;
    QWidget* aboutOwner = reinterpret_cast<QWidget*>(1);
    menu::SetShowSettings([&](QWidget* owner) { settingsOwner = owner; });
    menu::SetShowAbout([&](QWidget* owner) { aboutOwner = owner; });
    auto* home = form("home");
    menu* m = menu::Instance();
    EXPECT_EQ(menu::Instance(), m) << "one menu window";
    EXPECT_FALSE(m->isVisible());
    QStringList entries;
    for (QAction* a : m->men()->actions()) {
        entries << (a->isSeparator() ? "-" : a->text() + (a->icon().isNull() ? "" : "*"));
    }
    EXPECT_EQ(entries, (QStringList{"设置*", "检测更新*", "退出系统*", "-", "专属客服*", "论坛求助*", "Velmora官网*"}));
    m->men()->actions().at(0)->trigger();
    EXPECT_EQ(settingsOwner, home);
    m->men()->actions().at(1)->trigger();
    EXPECT_EQ(aboutOwner, home);
    m->men()->actions().at(5)->trigger();
    m->men()->actions().at(6)->trigger();
    EXPECT_EQ(opened, (QStringList{KIVO_FORUM_URL, "http://svc.test"}));
    log.clear();
    m->men()->actions().at(2)->trigger();
    EXPECT_TRUE(log.contains("unload home"));
    EXPECT_EQ(log.last(), "end");
}

TEST_F(TrayTest, TheConsultantsNumberIsCheckedBeforeItGoesIntoAnAddress) {
    std::string answer;
    server.server().Post("/desktop/site/getConsultantQq",
                         [&](const auto&, auto& res) { res.set_content(answer, "application/json"); });
    startService();
    const std::pair<std::string, QString> cases[] = {
        {R"({"status":1,"data":{"qq":800012345}})", "800012345"},
        {R"({"status":1,"data":{"qq":"12345"}})", "12345"},
        {R"({"status":1,"data":{"qq":"123456789012"}})", "123456789012"},
        {R"({"status":1,"data":{"qq":"1234"}})", ""},
        {R"({"status":1,"data":{"qq":"1234567890123"}})", ""},
        {R"({"status":1,"data":{"qq":"12345&site=x"}})", ""},
        {R"({"status":1,"data":{"qq":"１２３４５"}})", ""},
        {R"({"status":1,"data":{"qq":-12345}})", ""},
        {R"({"status":1,"data":{"qq":12345.5}})", ""},
        {R"({"status":0,"data":{"qq":800012345}})", ""},
        {R"({"status":1,"data":""})", ""},
        {"not json", ""},
    };
    for (const auto& [body, expected] : cases) {
        answer = body;
        EXPECT_EQ(menu::ConsultantNumber(), expected) << body;
    }
    answer = R"({"status":1,"data":{"qq":800012345}})";
    menu::Instance()->men()->actions().at(4)->trigger();
    EXPECT_EQ(opened, QStringList{"tencent://message/?uin=800012345&site=qq&menu=yes"});
}

} // namespace
} // namespace kivo::tray
