// The menus with the real browser and the stand-in service: each click is checked by the page
// the browser ends up showing, once that page has announced itself over happ.
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/desktop/twips.h"
#include "platform/web/webenginebrowser.h"
#include "signin/login.h"
#include "tray/trayform.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

class MenusEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        ClientEndToEnd::SetUp();
        (new tray::TrayForm)->Load();
        window_ = test::SignInAsDemo<signin::login, home>();
        ASSERT_NE(window_, nullptr);
        view_ = test::find<QWebEngineView>(window_, "web");
    }

    // The browser shows `path` and the page has hidden the overlay.
    bool shows(const QString& path) {
        return test::waitFor(
            [&] { return view_->url().path() == path && !test::find(window_, "loadingWeb")->isVisible(); });
    }
    QWidget* control(const QString& name) const { return window_->findChild<QWidget*>(name); }
    void click(const QString& name) {
        ASSERT_NE(control(name), nullptr) << name.toStdString();
        QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(8, 8));
    }

    home* window_ = nullptr;
    QWebEngineView* view_ = nullptr;
};

TEST_F(MenusEndToEnd, TopAndLeftItemsFoldAndPageCommands) {
    ASSERT_TRUE(shows("/desktop/site/index")) << "the first top item has no left menu: the start page stays";
    EXPECT_FALSE(test::find(window_, "leftMenuBox")->isVisible());

    click("topMenuBtn(3)");
    EXPECT_TRUE(shows("/desktop/message/index"));
    EXPECT_EQ(view_->title(), "消息");

    click("topMenuBtn(2)");
    EXPECT_TRUE(shows("/desktop/customer/index")) << "the left item marked current";
    EXPECT_TRUE(test::find(window_, "leftMenuBox")->isVisible());
    EXPECT_TRUE(QFileInfo::exists(appDir.filePath("static/menu/customer_blue.png"))) << "icons are cached";

    click("leftMenuBtn(8)"); // 公告通知, the second item of page 2
    EXPECT_TRUE(shows("/desktop/notice/index"));
    EXPECT_EQ(control("menuTab(2)")->x(), 0);

    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(control("leftMenuBtn(8)"), &move);
    ASSERT_TRUE(control("unfold")->isVisible());
    click("ico");
    EXPECT_EQ(test::find(window_, "leftMenuBox")->width(), platform::TwipsToPixels(2340));
    QTest::qWait(400);
    EXPECT_TRUE(test::saveScreenshot("main-menus-unfolded"));
    click("ico");
    EXPECT_EQ(test::find(window_, "leftMenuBox")->width(), platform::TwipsToPixels(1170));

    // The start page's quick link asks for 员工考勤 (page 2) with a page of its own.
    click("topMenuBtn(1)");
    ASSERT_TRUE(shows("/desktop/site/index"));
    view_->page()->runJavaScript("document.getElementById('go-leave').click()");
    EXPECT_TRUE(shows("/desktop/staff/leave"));
    EXPECT_EQ(control("menuTab(2)")->x(), 0);
    EXPECT_TRUE(control("topMenu_bg(2)")->isVisible());
    EXPECT_TRUE(control("leftMenu(7)")->styleSheet().contains("#1B9BEA"));
    QTest::qWait(300);
    EXPECT_TRUE(test::saveScreenshot("main-menus"));
}

} // namespace
} // namespace kivo::mainwin
