// The main window under a window manager that honours resize and maximise requests (openbox on a
// 1920x1080 display, run by the e2e-window-manager test): a corner dragged with the pointer
// resizes it, the header button maximises it, and the next main window opens where it was left.
#include "chrome/imagecontrol.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "signin/login.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

QString number(int value) {
    return QString::number(value);
}

class WindowManagerEndToEnd : public test::ClientEndToEnd {};

TEST_F(WindowManagerEndToEnd, ResizeMaximiseAndTheNextWindowOpensWhereThisOneWasLeft) {
    home* w = test::SignInAsDemo<signin::login, home>();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); }));
    // The workbench's top item carries the left menu: nine items, six a page at the design size.
    QTest::mouseClick(test::find(w, "topMenuBtn(2)"), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(w->menus().leftMenuShown, 1);
    EXPECT_EQ(w->menus().itemsPerPage(), 6);
    EXPECT_EQ(w->menus().pageCount(), 2);
    ASSERT_EQ(w->size(), QSize(950, 600));
    w->move(100, 80); // room below and to the right on the 1920x1080 screen
    ASSERT_TRUE(test::waitFor([&] { return w->pos() == QPoint(100, 80); }, 3000));

    // Drag the bottom-right corner by 450 x 300 pixels, as a person does.
    const QPoint corner = w->mapToGlobal(QPoint(w->width() - 2, w->height() - 2));
    const QPoint topLeft = w->geometry().topLeft();
    test::Xdotool({"mousemove", number(corner.x()), number(corner.y())});
    QTest::qWait(200);
    test::Xdotool({"mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        QTest::qWait(40);
        test::Xdotool({"mousemove", number(corner.x() + 45 * step), number(corner.y() + 30 * step)});
    }
    QTest::qWait(200);
    test::Xdotool({"mouseup", "1"});
    ASSERT_TRUE(test::waitFor([&] { return w->size() == QSize(1400, 900); }, 5000)) << w->width() << "x" << w->height();
    EXPECT_EQ(w->geometry().topLeft(), topLeft) << "the top-left corner stays";
    const QWidget* browser = test::find(w, "web");
    EXPECT_EQ(browser->geometry().right(), w->width() - 3);
    EXPECT_EQ(browser->geometry().bottom(), w->height() - 3);
    EXPECT_EQ(w->menus().itemsPerPage(), 10) << "a higher window holds more items a page";
    EXPECT_EQ(w->menus().pageCount(), 1);
    EXPECT_TRUE(test::find(w, "leftMenuBtn(9)")->isVisible());
    QTest::qWait(500);
    EXPECT_TRUE(test::saveScreenshot("main-window-1400x900"));

    // Maximised it fills the screen's work area; restored it is back at its place.
    auto* maximise = test::find<chrome::ImageControl>(w, "home_max");
    QTest::mouseClick(maximise, Qt::LeftButton, {}, QPoint(3, 3));
    const QRect screen = w->screen()->availableGeometry();
    ASSERT_TRUE(test::waitFor([&] { return w->geometry() == screen; }, 5000)) << w->width() << "x" << w->height();
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(maximise->accessibleName(), "还原");
    QTest::qWait(500);
    EXPECT_TRUE(test::saveScreenshot("main-window-maximised"));
    QTest::mouseClick(maximise, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_TRUE(test::waitFor([&] { return w->geometry() == QRect(topLeft, QSize(1400, 900)); }, 5000));

    // The program ends; the next main window opens at the same place and size.
    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w = home::Instance();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_TRUE(test::waitFor([&] { return w->geometry() == QRect(topLeft, QSize(1400, 900)); }, 3000))
        << w->x() << "," << w->y() << " " << w->width() << "x" << w->height();
}

} // namespace
} // namespace kivo::mainwin
