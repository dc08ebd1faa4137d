// On a real (virtual) X display with a compositing manager: a shadowed borderless window, as a
// person sees it. Saves screenshots/chrome-shadow.png in the build folder.
#include "chrome/ashadow.h"
#include "chrome/form.h"
#include "chrome/windowhelpers.h"
#include "platform/desktop/screencapabilities.h"
#include "waitfor.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kivo::chrome {
namespace {

class Picture : public Form {
public:
    Picture() : Form("picture") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(rect(), LoadResourceImage(108));
    }
};

TEST(ShadowScreenshot, ABorderlessWindowCastsASoftShadow) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_TRUE(test::waitFor([] { return platform::PerPixelAlphaWindows(); }, 5000)) << "no compositing manager";

    QWidget desk(nullptr, Qt::FramelessWindowHint);
    desk.setGeometry(0, 0, 1280, 800);
    desk.setStyleSheet("background: #F4F6F9;");
    desk.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));

    Picture window;
    window.setGeometry(340, 150, 600, 401);
    aShadow shadow;
    ASSERT_TRUE(shadow.Shadow(&window));
    shadow.setDepth(6);
    shadow.setColor(0);
    shadow.setTransparency(40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300); // let the compositor draw the strips

    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    QDir().mkpath("screenshots");
    ASSERT_TRUE(shot.save("screenshots/chrome-shadow.png"));

    const QRect g = window.geometry();
    const int y = g.center().y();
    const int nearEdge = qGray(shot.pixel(g.right() + 1, y));
    const int beyond = qGray(shot.pixel(g.right() + 30, y));
    const int outerEdge = qGray(shot.pixel(g.right() + 6, y));
    EXPECT_LT(nearEdge, beyond - 20) << "the shadow darkens next to the window";
    EXPECT_GT(outerEdge, nearEdge) << "and fades outwards";
    EXPECT_LT(qGray(shot.pixel(g.center().x(), g.bottom() + 2)), beyond - 10);
}

} // namespace
} // namespace kivo::chrome
