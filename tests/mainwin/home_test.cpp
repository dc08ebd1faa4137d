// The main window offscreen, with fake browsers, against a local server.
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "fakebrowser.h"
#include "mainwin/home.h"
#include "platform/curlhttpsession.h"
#include "platform/recordingcookiestore.h"
#include "platform/twips.h"
#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "startup/runparameters.h"
#include "testserver.h"

#include <QBuffer>
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
        chrome::FormRegistry::instance().setProgramEnd([this] { ++programEnds; });
    }

    void TearDown() override {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        chrome::FormRegistry::instance().setProgramEnd({});
        home::SetMessageBox({});
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
    std::shared_ptr<platform::RecordingCookieStore> cookies = std::make_shared<platform::RecordingCookieStore>();
    std::vector<test::FakeBrowser*> browsers;
    QStringList messages;
    std::atomic<int> logouts{0};
    int programEnds = 0;
    bool noBrowsers = false;
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

TEST_F(HomeTest, ABridgeThatCannotStartIsReported) {
    noBrowsers = true;
    home* w = open();
    EXPECT_EQ(messages, QStringList{"初始化失败！"});
    EXPECT_EQ(w->username->text(), "") << "no profile without the bridge";
}

} // namespace
} // namespace kivo::mainwin
