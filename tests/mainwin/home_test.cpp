// The main window offscreen, with fake browsers, against a local server.
#include "activewindow.h"
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "chrome/keyboardaccess.h"
#include "fakedownload.h"
#include "keyboardwalk.h"
#include "mainwin/downloadfiles.h"
#include "mainwin/downloadstrip.h"
#include "mainwin/findbar.h"
#include "mainwin/home.h"
#include "mainwin/pagecontrols.h"
#include "mainwin/windowplace.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/trayicon.h"
#include "platform/desktop/twips.h"
#include "platform/desktop/urlopener.h"
#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "startup/runparameters.h"
#include "testserver.h"
#include "waitfor.h"
#include "windowtest.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace kivo::mainwin {
namespace {

using platform::TwipsToPixels;

class HomeTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        std::filesystem::create_directories(folder.path() / "img");
        std::filesystem::copy_file(KIVO_LOADING_GIF, folder.path() / "img" / "loding.gif");
        QImage face(20, 20, QImage::Format_RGB32);
        face.fill(Qt::darkYellow);
        QBuffer buffer(&avatarPng_);
        buffer.open(QIODevice::WriteOnly);
        face.save(&buffer, "PNG");
        server.server().Get("/avatar.png",
                            [this](const auto&, auto& res) { res.set_content(avatarPng_.toStdString(), "image/png"); });
        server.server().Get(R"(/m/(\w+)\.png)", [this](const httplib::Request& req, auto& res) {
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
        server.server().Get("/session-avatar.png", [this](const httplib::Request& req, auto& res) {
            if (req.get_header_value("Cookie").find("SID=signed-in") == std::string::npos) {
                res.status = 403;
                return;
            }
            res.set_content(avatarPng_.toStdString(), "image/png");
        });
        server.server().Post("/desktop/site/login", [](const auto&, auto& res) {
            res.set_header("Set-Cookie", "SID=signed-in; path=/");
            res.set_content(R"({"status":1})", "application/json");
        });
        server.server().Post("/desktop/site/logout", [this](const auto&, auto& res) {
            placeAtLogout = startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection,
                                                  WindowPlace::kGeometryKey);
            ++logouts;
            res.set_header("Set-Cookie", "SID=gone; path=/");
            res.set_content(R"({"status":1})", "application/json");
        });
        startService();
        setUser(R"({"nickname":"林晓雨","signature":"把每一件小事做好","avatar":")" + server.url() + "/avatar.png\"}");
        home::SetMessageBox([this](const QString& text) { messages << text; });
    }

    void TearDown() override {
        WindowTest::TearDown();
        home::SetMessageBox({});
        home::SetShowMainMenu({});
        home::SetShowSettings({});
    }

    void setUser(const std::string& json) { startup::State().UserData = json::JsonParse(json::Utf8ToUtf16(json)); }
    home* open() {
        home* w = home::Instance();
        w->show();
        return w;
    }
    test::FakeBrowser* web() { return browsers.at(0); }
    chrome::LoadingOverlay* overlay() { return test::find<chrome::LoadingOverlay>(home::Instance(), "loadingWeb"); }

    QByteArray avatarPng_;
    QStringList messages;
    std::atomic<int> logouts{0};
    std::string placeAtLogout; // the main window's place as written when the logout arrived
    std::atomic<int> iconRequests{0};
};

TEST_F(HomeTest, CreationFillsTheProfileAndOpensTheStartPage) {
    home* w = open();
    EXPECT_EQ(home::Instance(), w) << "one main window";
    EXPECT_EQ(w->size(), QSize(950, 600));
    EXPECT_EQ(test::find<QLabel>(w, "username")->text(), "林晓雨");
    EXPECT_EQ(test::find<QLabel>(w, "signature")->text(), "把每一件小事做好");
    EXPECT_EQ(test::find<QLabel>(w, "companyname")->text(), "") << "a missing field is an empty label";
    EXPECT_EQ(test::find<chrome::ImageControl>(w, "avatar")->picture().size(), QSize(20, 20));
    EXPECT_EQ(web()->calls, QStringList{"navigate " + QString::fromStdString(server.url()) + "/desktop/site/index"});
    EXPECT_EQ(browsers.size(), 1u) << "the loading animation is no second page";
    EXPECT_TRUE(overlay()->movie().fileName().endsWith("/img/loding.gif"));
    EXPECT_EQ(overlay()->movie().state(), QMovie::Running) << "it shows while the start page loads";
    EXPECT_TRUE(messages.isEmpty());
    // No cached menus (a first run whose download failed): empty menus, the start page stays.
    ASSERT_TRUE(w->topMenuItems.isCollection());
    EXPECT_EQ(w->topMenuItems.collection()->Count(), 0);
    EXPECT_EQ(w->menus().leftMenuShown, 0);
}

TEST_F(HomeTest, TheAvatarComesWithTheSessionsCookies) {
    setUser(R"({"nickname":"n","avatar":")" + server.url() + "/session-avatar.png\"}");
    service::HttpRequest(server.url() + "/desktop/site/login", ""); // the sign-in sets the session cookie
    home* w = open();
    EXPECT_EQ(test::find<chrome::ImageControl>(w, "avatar")->picture().size(), QSize(20, 20));
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
    EXPECT_FALSE(test::find(w, "leftMenuBox")->isVisible());
    EXPECT_EQ(test::find<chrome::ImageControl>(w, "home_close")->x(), TwipsToPixels(14250 - 180 - 220));
    EXPECT_EQ(test::find<QLabel>(w, "home_min")->x(), TwipsToPixels(14250 - 1235));

    w->menus().leftMenuShown = 1;
    w->LayoutWindow();
    EXPECT_EQ(test::find(w, "leftMenuBox")->height(), TwipsToPixels(7050)) << "9000 - 1940 - 10 twips";
    EXPECT_EQ(test::find(w, "leftMenuBox")->width(), TwipsToPixels(1170));
    EXPECT_EQ(browser->x(), TwipsToPixels(1190));
    EXPECT_EQ(browser->width(), TwipsToPixels(14250 - 1210));

    w->resize(1200, 800);
    EXPECT_EQ(browser->width(), TwipsToPixels(18000 - 1210));
    EXPECT_EQ(browser->height(), TwipsToPixels(12000 - 1940 - 20));
    EXPECT_EQ(test::find<QLabel>(w, "companyname")->x() + test::find<QLabel>(w, "companyname")->width(),
              TwipsToPixels(18000 - 400));
    EXPECT_EQ(browser->y(), TwipsToPixels(1940)) << "the browser's top never moves";
}

TEST_F(HomeTest, MinimiseHidesAndResizingWhileMinimisedLaysNothingOut) {
    home* w = open();
    QTest::mouseClick(test::find<QLabel>(w, "home_min"), Qt::LeftButton);
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
        QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
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
    w->setGeometry(70, 50, 1000, 640); // moved a moment ago: its write is still due
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(chrome::IsFormLoaded("home"));
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(logouts, 1) << "unloading signs out";
    EXPECT_EQ(placeAtLogout, "70,50,1000,640") << "the place is written before the logout, which may never answer";
    ASSERT_FALSE(cookies->cookies.empty());
    EXPECT_EQ(cookies->cookies.back().value, "gone") << "the logout's cookies reach the browser";
}

TEST_F(HomeTest, WithoutANotificationAreaTheWindowGoesToTheTaskBar) {
    trayPresent = false;
    startup::State().endStatus = "0";
    home* w = open();
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(w->isVisible()) << "still on the task bar, where it can be found";
    EXPECT_TRUE(w->isMinimized());
    w->showNormal();
    QTest::mouseClick(test::find<QLabel>(w, "home_min"), Qt::LeftButton);
    EXPECT_TRUE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
    trayPresent = true; // a tray that appears later brings back hiding
    w->showNormal();
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(w->isVisible());
}

TEST_F(HomeTest, TheMenuButtonOpensTheDropDownMenuUnderIt) {
    QPoint at;
    home::SetShowMainMenu([&](const QPoint& position) { at = position; });
    home* w = open();
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "aicAlphaImage2"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(at, test::find<chrome::ImageControl>(w, "aicAlphaImage2")
                      ->mapToGlobal(QPoint(0, test::find<chrome::ImageControl>(w, "aicAlphaImage2")->height() + 4)));
}

TEST_F(HomeTest, TheLoadingCommandHidesTheOverlay) {
    home* w = open();
    EXPECT_TRUE(overlay()->isVisible());
    EXPECT_EQ(overlay()->geometry(), web()->widget()->geometry());
    // The page's happ address reaches the window through the bridge.
    bridge::HACMD::SetCommandHandler(
        [](const bridge::HACMD::Arguments& a) { home::Instance()->CMD(a[0], a[1], a[2], a[3], a[4], a[5]); });
    EXPECT_FALSE(web()->pageNavigates("happ://MyCMD.CMD%20%22loading%22/"));
    EXPECT_FALSE(overlay()->isVisible());
    EXPECT_EQ(overlay()->movie().state(), QMovie::NotRunning) << "a hidden animation costs nothing";
    w->ShowLoadingOverlay();
    EXPECT_TRUE(overlay()->isVisible());
    bridge::HACMD::SetCommandHandler({});
}

QColor iconColour(QWidget* window, const QString& name) {
    const QImage& picture = test::find<chrome::ImageControl>(window, name)->picture();
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
    const QString base = QString::fromStdString(server.url());
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/l1") << "the current left item replaces the start page";

    // Top bar: three items 1440 twips apart, the first marked.
    EXPECT_EQ(test::find(w, "topMenuBtn(2)")->geometry(), platform::TwipsRect(2040 + 1440, 1440, 1440, 495));
    EXPECT_EQ(test::find(w, "topMenu_img(2)")->pos(), platform::TwipsRect(2040 + 1440 + 240, 1560, 0, 0).topLeft());
    EXPECT_EQ(test::find<QLabel>(w, "topMenu(1)")->text(), "首页");
    EXPECT_TRUE(test::find(w, "topMenu_bg(1)")->isVisible());
    EXPECT_FALSE(test::find(w, "topMenu_bg(2)")->isVisible());
    EXPECT_EQ(iconColour(w, "topMenu_img(1)"), QColor(Qt::white));

    // Left menu: six items on page 1, the seventh at the top of page 2; item 1 selected in blue.
    EXPECT_EQ(test::find(w, "leftMenuBox")->geometry(), platform::TwipsRect(20, 1940, 1170, 7050));
    EXPECT_EQ(test::find(w, "leftMenuBtn(7)")->parentWidget(), test::find(w, "menuTab(2)"));
    EXPECT_EQ(test::find(w, "leftMenuBtn(7)")->y(), 0);
    EXPECT_EQ(test::find(w, "leftMenu(3)")->y(), TwipsToPixels(2 * 1080 + 640));
    EXPECT_EQ(test::find(w, "menuTab(2)")->x(), TwipsToPixels(1170));
    EXPECT_EQ(iconColour(w, "leftMenu_img(1)"), QColor(Qt::blue));
    EXPECT_EQ(iconColour(w, "leftMenu_img(2)"), QColor(Qt::gray));
    EXPECT_TRUE(test::find(w, "leftMenu(1)")->styleSheet().contains("#1B9BEA"));
    const int fetched = iconRequests;
    EXPECT_EQ(fetched, 3 + 7) << "each shown icon once";

    // A click on item 7 brings page 2 to the front and selects it.
    overlay()->hide();
    QTest::mouseClick(test::find(w, "leftMenuBtn(7)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/l7");
    EXPECT_TRUE(overlay()->isVisible());
    EXPECT_EQ(test::find(w, "menuTab(2)")->x(), 0);
    EXPECT_EQ(test::find(w, "menuTab(1)")->x(), TwipsToPixels(1170));
    EXPECT_EQ(iconColour(w, "leftMenu_img(7)"), QColor(Qt::blue));
    EXPECT_EQ(iconColour(w, "leftMenu_img(1)"), QColor(Qt::gray));
    EXPECT_TRUE(test::find(w, "leftMenu(1)")->styleSheet().contains("#666666"));

    // Hovering shows the fold strip at the box's right edge; its arrow unfolds both pages.
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(test::find(w, "leftMenuBtn(7)"), &move);
    EXPECT_TRUE(test::find(w, "unfold")->isVisible());
    EXPECT_EQ(test::find(w, "unfold")->x(), TwipsToPixels(20 + 1170));
    QTest::mouseClick(test::find(w, "ico"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(test::find(w, "leftMenuBox")->width(), TwipsToPixels(2340));
    EXPECT_EQ(test::find<QLabel>(w, "ico")->text(), "<");
    EXPECT_EQ(test::find(w, "unfold")->x(), TwipsToPixels(20 + 2340));

    // A top item without the left menu: the browser takes the whole width.
    QTest::mouseClick(test::find(w, "topMenuBtn(3)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/c");
    EXPECT_FALSE(test::find(w, "leftMenuBox")->isVisible());
    EXPECT_FALSE(test::find(w, "unfold")->isVisible());
    EXPECT_EQ(web()->widget()->geometry().left(), TwipsToPixels(20));
    EXPECT_TRUE(test::find(w, "topMenu_bg(3)")->isVisible());
    EXPECT_FALSE(test::find(w, "topMenu_bg(1)")->isVisible());

    // Back to the first: the left menu is made anew from icons already on disk.
    QTest::mouseClick(test::find(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(test::find(w, "leftMenuBox")->isVisible());
    EXPECT_EQ(test::find(w, "menuTab(1)")->x(), 0);
    EXPECT_EQ(iconRequests, fetched + 2) << "only blue7 and grey1 were new";
}

TEST_F(HomeTest, PageCommandsReachTheSettingsTheBrowserAndTheMenus) {
    cacheMenus();
    QWidget* settingsOwner = nullptr;
    home::SetShowSettings([&](QWidget* owner) { settingsOwner = owner; });
    home* w = open();
    w->CMD(u"sys", u"");
    EXPECT_EQ(settingsOwner, w);
    w->CMD(u"bbsvelmora", u"");
    w->CMD(u"wwwvelmora", u"");
    EXPECT_EQ(opened, QStringList{KIVO_FORUM_URL}) << "the second within a second is dropped";
    w->CMD(u"m7", u"!orders!leave?id=3");
    EXPECT_EQ(web()->calls.last(), "navigate " + QString::fromStdString(server.url()) + "/orders/leave?id=3");
    EXPECT_EQ(test::find(w, "menuTab(2)")->x(), 0);
    EXPECT_TRUE(test::find(w, "topMenu_bg(2)")->isVisible()) << "the selection goes through the second top item";
}

TEST_F(HomeTest, ABridgeThatCannotStartIsReported) {
    noBrowsers = true;
    home* w = open();
    EXPECT_EQ(messages, QStringList{"初始化失败！"});
    EXPECT_EQ(test::find<QLabel>(w, "username")->text(), "") << "no profile without the bridge";
}

} // namespace
} // namespace kivo::mainwin

namespace kivo::mainwin {
namespace {

TEST_F(HomeTest, ALoadedPageThatNeverSaysSoIsUncoveredAfterTheGrace) {
    cacheMenus();
    home* w = open();
    using Kind = platform::LoadOutcome::Kind;
    const QString page = QString::fromStdString(server.url()) + "/desktop/site/loginPage";
    auto* grace = test::find<QTimer>(w, "loadingGrace");
    ASSERT_TRUE(overlay()->isVisible());
    EXPECT_FALSE(grace->isActive()) << "not before the page has loaded";
    web()->finishLoad({Kind::Loaded, 200, page, {}});
    ASSERT_TRUE(grace->isActive());
    EXPECT_EQ(grace->interval(), 8000) << "8 s, as the README promises";
    EXPECT_TRUE(overlay()->isVisible()) << "covered while the page may still say it has loaded";
    grace->setInterval(0);
    EXPECT_TRUE(test::waitFor([&] { return !overlay()->isVisible(); }, 2000)) << "no endless spinner";
    grace->setInterval(home::kLoadingGraceMs);

    // A page that says it within the grace ends it; a new page or a failure never leaves it running.
    w->ShowLoadingOverlay();
    web()->finishLoad({Kind::Loaded, 200, page, {}});
    w->CMD(u"loading", u"");
    EXPECT_FALSE(grace->isActive());
    w->ShowLoadingOverlay();
    web()->finishLoad({Kind::Loaded, 200, page, {}});
    w->ShowLoadingOverlay();
    EXPECT_FALSE(grace->isActive()) << "the next page's own load starts it again";
    web()->finishLoad({Kind::HttpError, 502, page, {}});
    EXPECT_FALSE(grace->isActive());
    EXPECT_TRUE(test::find<QWidget>(w, "failurePanel")->isVisible());

    // A navigation the engine dropped on the way comes again: the half-loaded page stays covered,
    // the failure panel goes, and the grace waits for the new load.
    web()->finishLoad({Kind::Loaded, 200, page, {}});
    web()->finishLoad({Kind::Restarted, 0, page, {}});
    EXPECT_TRUE(overlay()->isVisible());
    EXPECT_FALSE(test::find<QWidget>(w, "failurePanel")->isVisible());
    EXPECT_FALSE(grace->isActive());
}

TEST_F(HomeTest, APageThatCannotLoadShowsWhyAndRetries) {
    cacheMenus();
    home* w = open();
    using Kind = platform::LoadOutcome::Kind;
    const QString failed = QString::fromStdString(server.url()) + "/desktop/site/index?password=secret";
    auto* panel = test::find<chrome::FailurePanel>(w, "failurePanel");
    auto text = [&](const char* name) { return test::find<QLabel>(panel, name)->text(); };
    auto* autoRetry = test::find<QTimer>(panel, "autoRetry");

    web()->finishLoad({Kind::HttpError, 502, failed, {}});
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(overlay()->isVisible()) << "no endless animation";
    EXPECT_EQ(panel->geometry(), web()->widget()->geometry());
    EXPECT_EQ(text("failureTitle"), "页面加载失败");
    EXPECT_EQ(text("failureReason"), "服务器返回错误 502");
    EXPECT_EQ(text("failureAddress"), QString::fromStdString(server.url()).mid(7) + "/desktop/site/index")
        << "host and path, never the query";
    EXPECT_EQ(text("failureHint"), "网络恢复后将自动重试");
    EXPECT_EQ(autoRetry->interval(), 30000);
    const std::pair<Kind, const char*> reasons[] = {{Kind::NoConnection, "无法连接到服务器"},
                                                    {Kind::NameNotResolved, "找不到服务器"},
                                                    {Kind::TimedOut, "连接超时"},
                                                    {Kind::Certificate, "证书无法验证"},
                                                    {Kind::Proxy, "无法连接代理服务器 proxy.corp:3128"}};
    for (const auto& [kind, reason] : reasons) {
        web()->finishLoad({kind, 0, failed, "proxy.corp:3128"});
        EXPECT_EQ(text("failureReason"), reason);
    }
    EXPECT_EQ(autoRetry->interval(), 300000) << "doubling after each failure, up to five minutes";

    // The button loads the same address again, under the loading animation.
    QTest::mouseClick(test::find<QPushButton>(panel, "retry"), Qt::LeftButton);
    EXPECT_EQ(web()->calls.last(), "navigate " + failed);
    EXPECT_TRUE(overlay()->isVisible());
    EXPECT_FALSE(panel->isVisible());

    // So does the panel by itself when its time comes.
    web()->finishLoad({Kind::NoConnection, 0, failed, {}});
    web()->calls.clear();
    QMetaObject::invokeMethod(autoRetry, "timeout");
    EXPECT_EQ(web()->calls, QStringList{"navigate " + failed});

    // A menu click goes elsewhere and replaces the panel; a page that loads clears the failures.
    web()->finishLoad({Kind::NoConnection, 0, failed, {}});
    QTest::mouseClick(test::find(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(autoRetry->isActive());
    web()->finishLoad({Kind::Loaded, 0, failed, {}});
    EXPECT_TRUE(overlay()->isVisible()) << "a loaded page still hides the animation itself";
    web()->finishLoad({Kind::TimedOut, 0, failed, {}});
    EXPECT_EQ(autoRetry->interval(), 30000) << "the count starts again";
}

} // namespace
} // namespace kivo::mainwin

namespace kivo::mainwin {
namespace {

TEST_F(HomeTest, TheWorkbenchBrowserBehavesAsABrowser) {
    home* w = open();
    const QString base = QString::fromStdString(server.url());
    // New windows: the service's own address loads in place, another goes to the user's browser.
    web()->newWindow(base + "/desktop/orders/index");
    EXPECT_EQ(web()->calls.last(), "navigate " + base + "/desktop/orders/index");
    web()->newWindow("https://example.com/help");
    EXPECT_EQ(opened, QStringList{"https://example.com/help"});
    web()->newWindow(base.left(base.lastIndexOf(':')) + ":1/x");
    EXPECT_EQ(opened.size(), 2) << "another port is another site";

    // Keys: zoom, kept for the next start; back, forward, reload.
    test::activate(w); // shortcuts belong to the active window
    auto key = [&](QKeyCombination combination) {
        QTest::keyClick(w, combination.key(), combination.keyboardModifiers());
    };
    key(Qt::CTRL | Qt::Key_Plus);
    key(Qt::CTRL | Qt::Key_Equal);
    EXPECT_DOUBLE_EQ(web()->zoom(), 1.25);
    key(Qt::CTRL | Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(web()->zoom(), 1.1);
    EXPECT_EQ(startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, "zoom"), "1.1");
    key(Qt::ALT | Qt::Key_Left);
    key(Qt::ALT | Qt::Key_Right);
    key(Qt::Key_F5);
    key(Qt::CTRL | Qt::Key_R);
    EXPECT_EQ(web()->calls.mid(web()->calls.size() - 4), (QStringList{"back", "forward", "reload", "reload"}));

    // A renderer that ends is reloaded once; a second end within a minute shows the failure.
    web()->navigate(base + "/desktop/site/index");
    web()->rendererEnded("crashed", 11);
    EXPECT_EQ(web()->calls.last(), "reload");
    auto* panel = test::find<chrome::FailurePanel>(w, "failurePanel");
    EXPECT_FALSE(panel->isVisible());
    web()->rendererEnded("killed", 9);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(test::find<QLabel>(panel, "failureReason")->text(), "页面意外停止运行");
    EXPECT_EQ(panel->address(), base + "/desktop/site/index");

    // The next start uses the zoom.
    startup::State().endStatus = "1";
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    browsers.clear();
    open();
    EXPECT_DOUBLE_EQ(web()->zoom(), 1.1);
}

TEST_F(HomeTest, DownloadsArriveWholeUnderFreeNamesOrLeaveNothing) {
    const QString downloads = QString::fromStdString((folder.path() / "downloads").string());
    QDir().mkpath(downloads);
    const auto savedFolder = std::exchange(DownloadFolder(), [downloads] { return downloads; });
    QStringList announced;
    home::SetAnnounce([&](const QString& title, const QString& text) {
        announced << title + " " + text;
        return true;
    });
    auto read = [&](const QString& name) {
        QFile file(QDir(downloads).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    };
    auto files = [&] { return QDir(downloads).entryList(QDir::Files | QDir::Hidden, QDir::Name); };
    QFile existing(QDir(downloads).filePath("报表.xlsx"));
    existing.open(QIODevice::WriteOnly);
    existing.write("mine");
    existing.close();

    home* w = open();
    auto* strip = test::find<DownloadStrip>(w, "downloadStrip");
    const int fullHeight = web()->widget()->height();
    EXPECT_FALSE(strip->isVisible());

    // A path in the name is dropped, and the user's file of that name stays.
    auto first = std::make_shared<test::FakeDownload>("../../报表.xlsx");
    web()->downloadRequested(first);
    EXPECT_EQ(first->path(), QDir(downloads).filePath("报表 (1).xlsx.part"));
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(web()->widget()->height(), fullHeight - DownloadStrip::kHeight) << "the strip takes the page's bottom";
    first->arrive("abc", 6);
    EXPECT_EQ(test::find<QProgressBar>(strip, "downloadProgress")->value(), 500);
    EXPECT_EQ(test::find<QLabel>(strip, "downloadName")->text(), "报表 (1).xlsx");

    // A second one of the same name while the first runs takes the next free name; cancelled, it
    // leaves nothing.
    auto second = std::make_shared<test::FakeDownload>("报表.xlsx");
    web()->downloadRequested(second);
    EXPECT_EQ(second->path(), QDir(downloads).filePath("报表 (2).xlsx.part"));
    second->arrive("xy", 10);
    QTest::mouseClick(test::find<QPushButton>(strip, "downloadCancel"), Qt::LeftButton);
    EXPECT_TRUE(second->cancelled);
    EXPECT_EQ(test::find<QLabel>(strip, "downloadStatus")->text(), "已取消");
    EXPECT_EQ(files(), (QStringList{"报表 (1).xlsx.part", "报表.xlsx"}));

    // The first completes: whole, under its own name, announced.
    first->arrive("def", 6);
    first->end(true);
    EXPECT_EQ(read("报表 (1).xlsx"), "abcdef");
    EXPECT_EQ(read("报表.xlsx"), "mine");
    EXPECT_EQ(announced, QStringList{"下载完成 报表 (1).xlsx"});

    // A failed one leaves nothing; a finished one offers to open the file and its folder.
    auto failed = std::make_shared<test::FakeDownload>("\x01.csv");
    web()->downloadRequested(failed);
    failed->arrive("partial", 100);
    failed->end(false, "network error");
    EXPECT_EQ(test::find<QLabel>(strip, "downloadStatus")->text(), "下载失败");
    auto done = std::make_shared<test::FakeDownload>("明细.csv");
    web()->downloadRequested(done);
    done->arrive("a,b", -1);
    EXPECT_EQ(test::find<QProgressBar>(strip, "downloadProgress")->maximum(), 0) << "a busy bar: size unknown";
    done->end(true);
    EXPECT_EQ(test::find<QLabel>(strip, "downloadStatus")->text(), "下载完成");
    QTest::mouseClick(test::find<QPushButton>(strip, "downloadOpen"), Qt::LeftButton);
    QTest::mouseClick(test::find<QPushButton>(strip, "downloadOpenFolder"), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{QUrl::fromLocalFile(QDir(downloads).filePath("明细.csv")).toString(),
                                   QUrl::fromLocalFile(downloads).toString()}));
    EXPECT_EQ(files(), (QStringList{"报表 (1).xlsx", "报表.xlsx", "明细.csv"}));

    // Closed, the strip gives the page its place back.
    QTest::mouseClick(test::find<QPushButton>(strip, "downloadClose"), Qt::LeftButton);
    EXPECT_FALSE(strip->isVisible());
    EXPECT_EQ(web()->widget()->height(), fullHeight);

    // A download still running when the window goes is cancelled and leaves nothing.
    auto running = std::make_shared<test::FakeDownload>("长报表.xlsx");
    web()->downloadRequested(running);
    running->arrive("half", 8);
    startup::State().endStatus = "1";
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(running->cancelled);
    EXPECT_EQ(files(), (QStringList{"报表 (1).xlsx", "报表.xlsx", "明细.csv"}));
    DownloadFolder() = savedFolder;
    home::SetAnnounce({});
}

TEST_F(HomeTest, FindBarSearchesThePageAndPrintGoesToTheDialog) {
    home* w = open();
    web()->document = test::FakeDocument{};
    web()->document->source = "<p>合同 合同 发票 合同</p>";
    test::activate(w);
    auto* bar = test::find<FindBar>(w, "findBar");
    auto* count = test::find<QLabel>(bar, "findCount");
    EXPECT_FALSE(bar->isVisible());
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_TRUE(test::find<QLineEdit>(bar, "findText")->hasFocus());
    EXPECT_GT(bar->x(), web()->widget()->geometry().center().x()) << "at the page's top right";

    // Searches as typed; Enter goes on, Shift+Enter back.
    test::find<QLineEdit>(bar, "findText")->insert("合同"); // as typed (keyClicks takes Latin-1 only)
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "1/3"; }, 2000)) << count->text().toStdString();
    QTest::keyClick(test::find<QLineEdit>(bar, "findText"), Qt::Key_Return);
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "2/3"; }, 2000));
    QTest::keyClick(test::find<QLineEdit>(bar, "findText"), Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "1/3"; }, 2000));
    EXPECT_EQ(web()->calls.last(), "find< 合同");
    test::find<QLineEdit>(bar, "findText")->insert("书");
    ASSERT_TRUE(test::waitFor([&] { return count->text() == "0/0"; }, 2000));
    EXPECT_FALSE(test::find<QToolButton>(bar, "findNext")->isEnabled());

    // Escape closes the bar and takes the marks away.
    QTest::keyClick(test::find<QLineEdit>(bar, "findText"), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(web()->calls.last(), "find ");

    QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(web()->calls.last(), "print");
}

TEST_F(HomeTest, TheKeyboardGoesRoundTheBarsAndIntoThePage) {
    cacheMenus();
    QPoint menuAt;
    home::SetShowMainMenu([&](const QPoint& position) { menuAt = position; });
    home* w = open();
    overlay()->hide();
    const QImage mouseOnly = w->grab().toImage();
    auto focused = [] { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); };

    // Tab: the header's buttons, the top bar, the left menu, the page; each named.
    EXPECT_EQ(test::tabWalk(w, "aicAlphaImage2"),
              (QStringList{"aicAlphaImage2", "home_min", "home_max", "home_close", "topMenuBtn(1)", "topMenuBtn(2)",
                           "topMenuBtn(3)", "leftMenuBtn(1)", "leftMenuBtn(2)", "leftMenuBtn(3)", "leftMenuBtn(4)",
                           "leftMenuBtn(5)", "leftMenuBtn(6)", "leftMenuBtn(7)", "unfold", "web"}));
    EXPECT_EQ(test::accessibleName(test::find(w, "topMenuBtn(1)")), "首页");
    EXPECT_EQ(test::accessibleRole(test::find(w, "leftMenuBtn(2)")), QAccessible::MenuItem);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(test::find(w, "leftMenuBtn(1)"))->state().selected);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(test::find(w, "leftMenuBtn(2)"))->state().selected);

    // F6 goes round the areas, each entered at its selected item; Shift+F6 goes back.
    chrome::FocusByKeyboard(test::find(w, "home_min"));
    test::pressOnFocus(Qt::Key_F6);
    EXPECT_EQ(focused(), "topMenuBtn(1)");
    test::pressOnFocus(Qt::Key_F6);
    EXPECT_EQ(focused(), "leftMenuBtn(1)");
    test::pressOnFocus(Qt::Key_F6);
    EXPECT_EQ(focused(), "web");
    EXPECT_FALSE(test::find(w, "focusMark")->isVisible()) << "the page marks its own focus";
    test::pressOnFocus(Qt::Key_F6);
    EXPECT_EQ(focused(), "topMenuBtn(1)");
    test::pressOnFocus(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "web");

    // Arrows move within a bar, round; Enter selects.
    chrome::FocusByKeyboard(test::find(w, "topMenuBtn(1)"));
    test::pressOnFocus(Qt::Key_Left);
    EXPECT_EQ(focused(), "topMenuBtn(3)");
    test::pressOnFocus(Qt::Key_Right);
    test::pressOnFocus(Qt::Key_Right);
    EXPECT_EQ(focused(), "topMenuBtn(2)");
    test::pressOnFocus(Qt::Key_Return);
    EXPECT_TRUE(test::find(w, "topMenu_bg(2)")->isVisible());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(test::find(w, "topMenuBtn(2)"))->state().selected);
    const QString base = QString::fromStdString(server.url());
    test::pressOnFocus(Qt::Key_F6);
    ASSERT_TRUE(focused().startsWith("leftMenuBtn("));
    const int entered = focused().mid(12).chopped(1).toInt();
    test::pressOnFocus(Qt::Key_Down);
    EXPECT_EQ(focused(), QString("leftMenuBtn(%1)").arg(entered % 7 + 1));
#ifdef KIVO_SCREENSHOTS
    QDir().mkpath(KIVO_SCREENSHOTS);
    w->grab().save(QString(KIVO_SCREENSHOTS) + "/focus-mark-left-menu.png");
#endif
    test::pressOnFocus(Qt::Key_Space);
    EXPECT_EQ(web()->calls.last(), "navigate " + base + QString("/l%1").arg(entered % 7 + 1));
    chrome::FocusByKeyboard(test::find(w, "aicAlphaImage2"));
    test::pressOnFocus(Qt::Key_Enter);
    EXPECT_FALSE(menuAt.isNull()) << "the menu button opens the drop-down menu";

    // After a mouse click nothing shows that the keyboard was used.
    startup::State().endStatus = "1";
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    browsers.clear();
    w = open();
    overlay()->hide();
    test::activate(w);
    chrome::FocusByKeyboard(test::find(w, "home_min"));
    EXPECT_TRUE(test::find(w, "focusMark")->isVisible());
    QTest::mouseClick(test::find(w, "web"), Qt::LeftButton);
    EXPECT_FALSE(test::find(w, "focusMark")->isVisible());
    EXPECT_EQ(w->grab().toImage(), mouseOnly);
}

TEST(DownloadNames, AreSafeAndNeverTaken) {
    EXPECT_EQ(SafeDownloadName("报表.xlsx"), "报表.xlsx");
    EXPECT_EQ(SafeDownloadName("../../etc/passwd"), "passwd");
    EXPECT_EQ(SafeDownloadName("C:\\Users\\x\\a.txt"), "a.txt");
    EXPECT_EQ(SafeDownloadName("..hidden"), "hidden");
    EXPECT_EQ(SafeDownloadName(" .bashrc "), "bashrc");
    EXPECT_EQ(SafeDownloadName(QString("a") + QChar(1) + "b\nc" + QChar(0x202E) + "gpj.exe"), "a_b_c_gpj.exe")
        << "controls and bidi marks";
    EXPECT_EQ(SafeDownloadName("a:b*?.txt"), "a_b__.txt");
    EXPECT_EQ(SafeDownloadName("\"q\"<a>|b.txt"), "_q__a__b.txt");
    EXPECT_EQ(SafeDownloadName(""), "下载");
    EXPECT_EQ(SafeDownloadName("..."), "下载");
    EXPECT_EQ(SafeDownloadName("dir/"), "下载");
    const QString longName = QString(300, QChar(0x8868)) + ".xlsx";
    const QString cut = SafeDownloadName(longName);
    EXPECT_LE(cut.toUtf8().size(), 200);
    EXPECT_TRUE(cut.endsWith(".xlsx"));
    for (int pad = 0; pad < 4; ++pad) { // the cut falls on each byte of a four-byte character in turn
        // The name is cut from the end of its stem, where the emoji stand.
        const QString emoji = SafeDownloadName(QString(pad, 'a') + QString(60, QChar(0x8868)) +
                                               QString::fromUtf8("😀").repeated(30) + ".xlsx");
        EXPECT_TRUE(emoji.endsWith(QString::fromUtf8("😀.xlsx"))) << "cut among the emoji";
        EXPECT_LE(emoji.toUtf8().size(), 200);
        EXPECT_EQ(QString::fromUtf8(emoji.toUtf8()), emoji) << "no half character at the cut";
        EXPECT_FALSE(emoji.contains(QChar::ReplacementCharacter));
    }

    test::TempFolder folder{"names"};
    const QString dir = QString::fromStdString(folder.path().string());
    auto touch = [&](const QString& name) { QFile(QDir(dir).filePath(name)).open(QIODevice::WriteOnly); };
    EXPECT_EQ(FreeDownloadPath(dir, "报表.xlsx"), QDir(dir).filePath("报表.xlsx"));
    touch("报表.xlsx");
    touch("报表 (1).xlsx.part");
    EXPECT_EQ(FreeDownloadPath(dir, "报表.xlsx"), QDir(dir).filePath("报表 (2).xlsx")) << "a partial file counts";
    EXPECT_EQ(FreeDownloadPath(dir, "报表.xlsx", {QDir(dir).filePath("报表 (2).xlsx")}),
              QDir(dir).filePath("报表 (3).xlsx"));
    touch("data.tar.gz");
    EXPECT_EQ(FreeDownloadPath(dir, "data.tar.gz"), QDir(dir).filePath("data (1).tar.gz"));
    touch("v1.2 notes.txt");
    EXPECT_EQ(FreeDownloadPath(dir, "v1.2 notes.txt"), QDir(dir).filePath("v1.2 notes (1).txt"));
    touch("README");
    EXPECT_EQ(FreeDownloadPath(dir, "README"), QDir(dir).filePath("README (1)"));
}

TEST(PageControlsZoom, StepsAsBrowsersHaveThem) {
    EXPECT_DOUBLE_EQ(PageControls::NextZoom(1.0, 1), 1.1);
    EXPECT_DOUBLE_EQ(PageControls::NextZoom(1.0, -1), 0.9);
    EXPECT_DOUBLE_EQ(PageControls::NextZoom(5.0, 1), 5.0) << "no further than the last step";
    EXPECT_DOUBLE_EQ(PageControls::NextZoom(0.25, -1), 0.25);
    EXPECT_DOUBLE_EQ(PageControls::NextZoom(1.17, 1), 1.25) << "from between steps to the next";
}

TEST_F(HomeTest, AnEndedSessionSignsInOnceAndTheNewUserComesBackToTheSamePage) {
    cacheMenus();
    startup::WriteIniValue(startup::RunParameterFile(), home::kSessionSection, home::kSignInPathsKey,
                           " /login , /desktop/site/loginPage");
    QStringList signIns;
    home::SetSignInAgain([&](const QString& message) { signIns << message; });
    home* w = open();
    using Kind = platform::LoadOutcome::Kind;
    const QString base = QString::fromStdString(server.url());
    w->CMD(u"m7", u"!orders!leave?id=3");
    const QString item = base + "/orders/leave?id=3";
    ASSERT_EQ(web()->calls.last(), "navigate " + item);
    auto signedOutBy = [&](const std::function<void()>& news) {
        signIns.clear();
        w->ComeBack();
        w->show();
        news();
        news(); // every page of the ended session says so again
        QCoreApplication::processEvents();
        return signIns == QStringList{"登录已过期，请重新登录"} && !w->isVisible() && w->waitsForSignIn();
    };
    EXPECT_TRUE(signedOutBy([&] { web()->finishLoad({Kind::HttpError, 401, base + "/desktop/l1/a", {}}); }));
    EXPECT_FALSE(test::find<QWidget>(w, "failurePanel")->isVisible()) << "not a failure of the page";
    EXPECT_TRUE(signedOutBy([&] { web()->finishLoad({Kind::Loaded, 200, base + "/desktop/site/loginPage?from=x", {}}); }));
    EXPECT_TRUE(signedOutBy([&] { web()->finishLoad({Kind::Loaded, 200, base + "/login", {}}); }));
    EXPECT_TRUE(signedOutBy([&] { w->CMD(u"sessionEnded", u""); }));
    EXPECT_FALSE(signedOutBy([&] { web()->finishLoad({Kind::HttpError, 401, "https://other.example/login", {}}); }))
        << "another site's sign-in is not the service's session";
    EXPECT_FALSE(signedOutBy([&] { web()->finishLoad({Kind::HttpError, 403, base + "/desktop/l1/a", {}}); }));
    EXPECT_FALSE(signedOutBy([&] { web()->finishLoad({Kind::Loaded, 200, base + "/desktop/l1/login", {}}); }));

    // Signed in again, as another user: the profile is theirs and the item's page comes again.
    w->CMD(u"sessionEnded", u"");
    ASSERT_TRUE(w->waitsForSignIn());
    setUser(R"({"nickname":"周明","signature":"","avatar":""})");
    home::ShowAfterSignIn(nullptr); // what a sign-in calls, whichever way it went
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->waitsForSignIn());
    EXPECT_EQ(test::find<QLabel>(w, "username")->text(), "周明");
    EXPECT_EQ(web()->calls.last(), "navigate " + item);
    EXPECT_TRUE(overlay()->isVisible());
    home::SetSignInAgain({});
}

} // namespace
} // namespace kivo::mainwin
