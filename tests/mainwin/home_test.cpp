// The main window offscreen, with fake browsers, against a local server.
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "fakebrowser.h"
#include "mainwin/home.h"
#include "platform/curlhttpsession.h"
#include "recordingcookiestore.h"
#include "platform/trayicon.h"
#include "platform/twips.h"
#include "platform/urlopener.h"
#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "startup/runparameters.h"
#include "testserver.h"

#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace kivo::mainwin {
namespace {

using platform::TwipsToPixels;

class HomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage face(20, 20, QImage::Format_RGB32);
        face.fill(Qt::darkYellow);
        QBuffer buffer(&avatarPng_);
        buffer.open(QIODevice::WriteOnly);
        face.save(&buffer, "PNG");
        server_.server().Get(
            "/avatar.png", [this](const auto&, auto& res) { res.set_content(avatarPng_.toStdString(), "image/png"); });
        server_.server().Get(R"(/m/(\w+)\.png)", [this](const httplib::Request& req, auto& res) {
            ++iconRequests;
            const std::string name = req.matches[1];
            QImage icon(8, 8, QImage::Format_ARGB32);
            icon.fill(name.find("blue") != std::string::npos   ? Qt::blue
                      : name.find("grey") != std::string::npos ? Qt::gray
                                                               : Qt::white);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            icon.save(&buffer, "PNG");
            res.set_content(png.toStdString(), "image/png");
        });
        server_.server().Post("/desktop/site/logout", [this](const auto&, auto& res) {
            ++logouts;
            res.set_header("Set-Cookie", "SID=gone; path=/");
            res.set_content(R"({"status":1})", "application/json");
        });
        server_.start();
        service::Service() = {server_.url(), std::make_shared<platform::CurlHttpSession>(), cookies};
        startup::State() = {};
        startup::State().options.appDir = dir_.path().toStdString();
        setUser(R"({"nickname":"林晓雨","signature":"把每一件小事做好","avatar":")" + server_.url() + "/avatar.png\"}");
        platform::Browsers() = [this](QWidget* parent) -> std::unique_ptr<platform::Browser> {
            if (noBrowsers) {
                return nullptr;
            }
            auto b = std::make_unique<test::FakeBrowser>(parent);
            browsers.push_back(b.get());
            return b;
        };
        home::SetMessageBox([this](const QString& text) { messages << text; });
        savedTray_ = platform::NotificationAreaAvailable();
        platform::NotificationAreaAvailable() = [this] { return trayPresent; };
        chrome::FormRegistry::instance().setProgramEnd([this] { ++programEnds; });
    }

    void TearDown() override {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        chrome::FormRegistry::instance().setProgramEnd({});
        home::SetMessageBox({});
        home::SetShowMainMenu({});
        platform::NotificationAreaAvailable() = savedTray_;
        platform::Browsers() = {};
        service::Service() = {};
    }

    void setUser(const std::string& json) { startup::State().UserData = json::JsonParse(json::Utf8ToUtf16(json)); }
    home* open() {
        home* w = home::Instance();
        w->show();
        return w;
    }
    test::FakeBrowser* web() { return browsers.at(0); }
    test::FakeBrowser* overlay() { return browsers.at(1); }

    test::TestServer server_;
    QTemporaryDir dir_;
    QByteArray avatarPng_;
    std::shared_ptr<tools::RecordingCookieStore> cookies = std::make_shared<tools::RecordingCookieStore>();
    std::vector<test::FakeBrowser*> browsers;
    QStringList messages;
    std::atomic<int> logouts{0};
    std::atomic<int> iconRequests{0};
    int programEnds = 0;
    bool noBrowsers = false;
    bool trayPresent = true;
    std::function<bool()> savedTray_;
};

TEST_F(HomeTest, CreationFillsTheProfileAndOpensTheStartPage) {
    home* w = open();
    EXPECT_EQ(home::Instance(), w) << "one main window";
    EXPECT_EQ(w->size(), QSize(950, 600));
    EXPECT_EQ(w->username->text(), "林晓雨");
    EXPECT_EQ(w->signature->text(), "把每一件小事做好");
    EXPECT_EQ(w->companyname->text(), "") << "a missing field is an empty label";
    EXPECT_EQ(w->avatar->picture().size(), QSize(20, 20));
    EXPECT_EQ(web()->calls, QStringList{"navigate " + QString::fromStdString(server_.url()) + "/desktop/site/index"});
    EXPECT_TRUE(overlay()->calls.first().startsWith("write <body style='width:100%;height:100%;background:url("));
    EXPECT_TRUE(overlay()->calls.first().contains("/img/loding.gif) no-repeat center center'></body>"));
    EXPECT_TRUE(overlay()->calls.contains("style padding=0px"));
    EXPECT_TRUE(messages.isEmpty());
    // No cached menus (a first run whose download failed): empty menus, the start page stays.
    ASSERT_TRUE(w->topMenuItems.isCollection());
    EXPECT_EQ(w->topMenuItems.collection()->Count(), 0);
    EXPECT_EQ(w->menus().leftMenuShown, 0);
}

TEST_F(HomeTest, CachedMenusAreReadBack) {
    startup::WriteIniValue(startup::RunParameterFile(), "SysRunParameter", "topMenu", R"([{"name":"\u9996\u9875"}])");
    startup::WriteIniValue(startup::RunParameterFile(), "SysRunParameter", "leftMenu", "not json");
    home* w = open();
    EXPECT_EQ(w->topMenuItems.collection()->Count(), 1);
    EXPECT_EQ(w->leftMenuItems.collection()->Count(), 0);
}

TEST_F(HomeTest, LayoutAtTheDesignSizeAndAfterAResize) {
    home* w = open();
    const QWidget* browser = web()->widget();
    EXPECT_EQ(browser->geometry(), QRect(TwipsToPixels(20), TwipsToPixels(1940), TwipsToPixels(14250 - 40),
                                         TwipsToPixels(9000 - 1940 - 20)));
    EXPECT_FALSE(w->leftMenuBox->isVisible());
    EXPECT_EQ(w->home_close->x(), TwipsToPixels(14250 - 180 - 220));
    EXPECT_EQ(w->home_min->x(), TwipsToPixels(14250 - 255 - 600));

    w->menus().leftMenuShown = 1;
    w->LayoutWindow();
    EXPECT_EQ(w->leftMenuBox->height(), TwipsToPixels(7050)) << "9000 - 1940 - 10 twips";
    EXPECT_EQ(w->leftMenuBox->width(), TwipsToPixels(1170));
    EXPECT_EQ(browser->x(), TwipsToPixels(1190));
    EXPECT_EQ(browser->width(), TwipsToPixels(14250 - 1210));

    w->resize(1200, 800);
    EXPECT_EQ(browser->width(), TwipsToPixels(18000 - 1210));
    EXPECT_EQ(browser->height(), TwipsToPixels(12000 - 1940 - 20));
    EXPECT_EQ(w->companyname->x() + w->companyname->width(), TwipsToPixels(18000 - 400));
    EXPECT_EQ(browser->y(), TwipsToPixels(1940)) << "the browser's top never moves";
}

TEST_F(HomeTest, MinimiseHidesAndResizingWhileMinimisedLaysNothingOut) {
    home* w = open();
    QTest::mouseClick(w->home_min, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->isMinimized());
    const int widthBefore = web()->widget()->width();
    w->resize(1100, 700);
    EXPECT_EQ(web()->widget()->width(), widthBefore);
    w->showNormal();
    w->LayoutWindow();
    EXPECT_EQ(web()->widget()->width(), TwipsToPixels(platform::PixelsToTwips(1100) - 40));
}

TEST_F(HomeTest, CloseHidesUnlessEndStatusIsOne) {
    for (const char* status : {"0", "", "yes"}) {
        startup::State().endStatus = status;
        home* w = open();
        QTest::mouseClick(w->home_close, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_FALSE(w->isVisible()) << status;
        EXPECT_TRUE(chrome::IsFormLoaded("home")) << status;
    }
    EXPECT_EQ(logouts, 0);
    startup::State().endStatus = "0";
    home::Instance()->show();
    home::Instance()->close(); // Alt+F4 does what the close button does
    EXPECT_TRUE(chrome::IsFormLoaded("home"));
    startup::State().endStatus = "1";
    home* w = open();
    QTest::mouseClick(w->home_close, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(chrome::IsFormLoaded("home"));
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(logouts, 1) << "unloading signs out";
    ASSERT_FALSE(cookies->cookies.empty());
    EXPECT_EQ(cookies->cookies.back().value, "gone") << "the logout's cookies reach the browser";
}

TEST_F(HomeTest, WithoutANotificationAreaTheWindowGoesToTheTaskBar) {
    trayPresent = false;
    startup::State().endStatus = "0";
    home* w = open();
    QTest::mouseClick(w->home_close, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(w->isVisible()) << "still on the task bar, where it can be found";
    EXPECT_TRUE(w->isMinimized());
    w->showNormal();
    QTest::mouseClick(w->home_min, Qt::LeftButton);
    EXPECT_TRUE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
    trayPresent = true; // a tray that appears later brings back hiding
    w->showNormal();
    QTest::mouseClick(w->home_close, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(HomeTest, TheMenuButtonOpensTheDropDownMenuUnderIt) {
    QPoint at;
    home::SetShowMainMenu([&](const QPoint& position) { at = position; });
    home* w = open();
    QTest::mouseClick(w->aicAlphaImage2, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(at, w->aicAlphaImage2->mapToGlobal(QPoint(0, w->aicAlphaImage2->height() + 4)));
}

TEST_F(HomeTest, TheLoadingCommandHidesTheOverlay) {
    home* w = open();
    EXPECT_TRUE(overlay()->widget()->isVisible());
    EXPECT_EQ(overlay()->widget()->geometry(), web()->widget()->geometry());
    // The page's happ address reaches the window through the bridge.
    bridge::HACMD::SetCommandHandler(
        [](const bridge::HACMD::Arguments& a) { home::Instance()->CMD(a[0], a[1], a[2], a[3], a[4], a[5]); });
    EXPECT_FALSE(web()->pageNavigates("happ://MyCMD.CMD%20%22loading%22/"));
    EXPECT_FALSE(overlay()->widget()->isVisible());
    w->ShowLoadingOverlay();
    EXPECT_TRUE(overlay()->widget()->isVisible());
    bridge::HACMD::SetCommandHandler({});
}

template <typename T = QWidget> T* child(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

QColor iconColour(QWidget* window, const QString& name) {
    const QImage& picture = child<chrome::ImageControl>(window, name)->picture();
    return picture.isNull() ? QColor() : picture.pixelColor(4, 4);
}

// Two top items (the first current with the left menu) and a third without; seven left items.
void cacheMenus() {
    startup::WriteIniValue(startup::RunParameterFile(), "SysRunParameter", "topMenu",
                           R"([{"name":"\u9996\u9875","pic":"/m/home.png","url":"/home","current":1,"leftMenu":1},)"
                           R"({"name":"B","pic":"/m/b.png","url":"/b","leftMenu":1},)"
                           R"({"name":"C","pic":"/m/c.png","url":"/c","leftMenu":0}])");
    std::string left = "[";
    for (int i = 1; i <= 7; ++i) {
        const QString item = QStringLiteral(R"(%1{"name":"L%2","pic_grey":"/m/grey%2.png","pic_blue":"/m/blue%2.png",)"
                                            R"("url":"/l%2","mark":"m%2"%3})")
                                 .arg(i > 1 ? "," : "")
                                 .arg(i)
                                 .arg(i == 1 ? R"(,"current":1)" : "");
        left += item.toStdString();
    }
    startup::WriteIniValue(startup::RunParameterFile(), "SysRunParameter", "leftMenu", left + "]");
}

TEST_F(HomeTest, MenusSitWhereTheModelSaysAndAnswerTheMouse) {
    cacheMenus();
    home* w = open();
    const QString base = QString::fromStdString(server_.url());
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/l1") << "the current left item replaces the start page";

    // Top bar: three items 1440 twips apart, the first marked.
    EXPECT_EQ(child(w, "topMenuBtn(2)")->geometry(), platform::TwipsRect(2040 + 1440, 1440, 1440, 495));
    EXPECT_EQ(child(w, "topMenu_img(2)")->pos(), platform::TwipsRect(2040 + 1440 + 240, 1560, 0, 0).topLeft());
    EXPECT_EQ(child<QLabel>(w, "topMenu(1)")->text(), "首页");
    EXPECT_TRUE(child(w, "topMenu_bg(1)")->isVisible());
    EXPECT_FALSE(child(w, "topMenu_bg(2)")->isVisible());
    EXPECT_EQ(iconColour(w, "topMenu_img(1)"), QColor(Qt::white));

    // Left menu: six items on page 1, the seventh at the top of page 2; item 1 selected in blue.
    EXPECT_EQ(w->leftMenuBox->geometry(), platform::TwipsRect(20, 1940, 1170, 7050));
    EXPECT_EQ(child(w, "leftMenuBtn(7)")->parentWidget(), child(w, "menuTab(2)"));
    EXPECT_EQ(child(w, "leftMenuBtn(7)")->y(), 0);
    EXPECT_EQ(child(w, "leftMenu(3)")->y(), TwipsToPixels(2 * 1080 + 640));
    EXPECT_EQ(child(w, "menuTab(2)")->x(), TwipsToPixels(1170));
    EXPECT_EQ(iconColour(w, "leftMenu_img(1)"), QColor(Qt::blue));
    EXPECT_EQ(iconColour(w, "leftMenu_img(2)"), QColor(Qt::gray));
    EXPECT_TRUE(child(w, "leftMenu(1)")->styleSheet().contains("#1B9BEA"));
    const int fetched = iconRequests;
    EXPECT_EQ(fetched, 3 + 7) << "each shown icon once";

    // A click on item 7 brings page 2 to the front and selects it.
    overlay()->widget()->hide();
    QTest::mouseClick(child(w, "leftMenuBtn(7)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/l7");
    EXPECT_TRUE(overlay()->widget()->isVisible());
    EXPECT_EQ(child(w, "menuTab(2)")->x(), 0);
    EXPECT_EQ(child(w, "menuTab(1)")->x(), TwipsToPixels(1170));
    EXPECT_EQ(iconColour(w, "leftMenu_img(7)"), QColor(Qt::blue));
    EXPECT_EQ(iconColour(w, "leftMenu_img(1)"), QColor(Qt::gray));
    EXPECT_TRUE(child(w, "leftMenu(1)")->styleSheet().contains("#666666"));

    // Hovering shows the fold strip at the box's right edge; its arrow unfolds both pages.
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(child(w, "leftMenuBtn(7)"), &move);
    EXPECT_TRUE(child(w, "unfold")->isVisible());
    EXPECT_EQ(child(w, "unfold")->x(), TwipsToPixels(20 + 1170));
    QTest::mouseClick(child(w, "ico"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(w->leftMenuBox->width(), TwipsToPixels(2340));
    EXPECT_EQ(child<QLabel>(w, "ico")->text(), "<");
    EXPECT_EQ(child(w, "unfold")->x(), TwipsToPixels(20 + 2340));

    // A top item without the left menu: the browser takes the whole width.
    QTest::mouseClick(child(w, "topMenuBtn(3)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/c");
    EXPECT_FALSE(w->leftMenuBox->isVisible());
    EXPECT_FALSE(child(w, "unfold")->isVisible());
    EXPECT_EQ(web()->widget()->geometry().left(), TwipsToPixels(20));
    EXPECT_TRUE(child(w, "topMenu_bg(3)")->isVisible());
    EXPECT_FALSE(child(w, "topMenu_bg(1)")->isVisible());

    // Back to the first: the left menu is made anew from icons already on disk.
    QTest::mouseClick(child(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w->leftMenuBox->isVisible());
    EXPECT_EQ(child(w, "menuTab(1)")->x(), 0);
    EXPECT_EQ(iconRequests, fetched + 2) << "only blue7 and grey1 were new";
}

TEST_F(HomeTest, PageCommandsReachTheSettingsTheBrowserAndTheMenus) {
    cacheMenus();
    QWidget* settingsOwner = nullptr;
    home::SetShowSettings([&](QWidget* owner) { settingsOwner = owner; });
    QStringList opened;
    platform::UrlOpener::setHandler([&](const QString& url) { opened << url; });
    home* w = open();
    w->CMD(u"sys", u"");
    EXPECT_EQ(settingsOwner, w);
    w->CMD(u"bbsvelmora", u"");
    w->CMD(u"wwwvelmora", u"");
    EXPECT_EQ(opened, (QStringList{KIVO_FORUM_URL, QString::fromStdString(server_.url())}));
    w->CMD(u"m7", u"!orders!leave?id=3");
    EXPECT_EQ(web()->calls.last(), "navigate " + QString::fromStdString(server_.url()) + "/orders/leave?id=3");
    EXPECT_EQ(child(w, "menuTab(2)")->x(), 0);
    EXPECT_TRUE(child(w, "topMenu_bg(2)")->isVisible()) << "the selection goes through the second top item";
    home::SetShowSettings({});
    platform::UrlOpener::setHandler({});
}

TEST_F(HomeTest, ABridgeThatCannotStartIsReported) {
    noBrowsers = true;
    home* w = open();
    EXPECT_EQ(messages, QStringList{"初始化失败！"});
    EXPECT_EQ(w->username->text(), "") << "no profile without the bridge";
}

} // namespace
} // namespace kivo::mainwin
