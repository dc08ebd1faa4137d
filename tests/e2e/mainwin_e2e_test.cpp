// From sign-in to sign-out with the real browser and the stand-in service: the main window
// shows the profile and the start page, whose happ "loading" hides the overlay.
#include "bridge/hacmd.h"
#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/net/curlhttpsession.h"
#include "platform/web/webenginebrowser.h"
#include "platform/web/webenginecookiestore.h"
#include "service/httprequest.h"
#include "signin/login.h"
#include "startup/runparameters.h"
#include "tray/trayform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

class MainWindowEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        ClientEndToEnd::SetUp();
        (new tray::TrayForm)->Load();
    }
};

TEST_F(MainWindowEndToEnd, SignInWorkAndSignOut) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(test::find<QLabel>(w, "username")->text(), "林晓雨");
    EXPECT_EQ(test::find<QLabel>(w, "companyname")->text(), "杭州云岫科技有限公司");
    EXPECT_FALSE(test::find<chrome::ImageControl>(w, "avatar")->picture().isNull())
        << "the avatar comes from the service";
    // The start page, in the session the sign-in opened, announces itself over happ.
    EXPECT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); }));
    QTest::qWait(500);
    EXPECT_TRUE(test::saveScreenshot("main-window"));

    startup::State().endStatus = "1";
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(chrome::IsFormLoaded("home"));
    platform::CurlHttpSession other;
    const auto state = other.get(service.url() + "/dev/state");
    ASSERT_TRUE(state.has_value());
    EXPECT_NE(state->body.find("\"logouts\":1"), std::string::npos) << state->body;
}

TEST_F(MainWindowEndToEnd, APageThatCannotLoadShowsThePanelAndRetries) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    QWidget* overlay = test::find(w, "loadingWeb");
    QWidget* panel = test::find(w, "failurePanel");
    ASSERT_TRUE(test::waitFor([&] { return !overlay->isVisible(); }));

    // The service answers an error status.
    w->CMD(u"staff", u"!dev!fail!502");
    ASSERT_TRUE(test::waitFor([&] { return panel->isVisible(); }));
    EXPECT_EQ(test::find<QLabel>(panel, "failureReason")->text(), "服务器返回错误 502");
    EXPECT_FALSE(overlay->isVisible());

    // The service goes away; a menu click meets a closed port.
    service.stop();
    QTest::mouseClick(test::find(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(panel->isVisible()) << "a menu click replaces the panel";
    ASSERT_TRUE(test::waitFor([&] { return panel->isVisible(); }, 20000));
    EXPECT_EQ(test::find<QLabel>(panel, "failureReason")->text(), "无法连接到服务器");
    EXPECT_FALSE(overlay->isVisible());
    QTest::qWait(300);
    EXPECT_TRUE(test::saveScreenshot("page-failed"));

    // Back again: the retry shows the page, whose "loading" hides the animation.
    service.start();
    QTest::mouseClick(test::find(panel, "retry"), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(test::waitFor([&] { return !overlay->isVisible() && !panel->isVisible(); }));
}

} // namespace
} // namespace kivo::mainwin
