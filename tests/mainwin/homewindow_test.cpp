// The main window as a window to work in: its edges resize it, it maximises and restores, and it
// opens where it was left (offscreen, fake browsers).
#include "chrome/clicklabel.h"
#include "chrome/imagecontrol.h"
#include "chrome/resizeframe.h"
#include "mainwin/home.h"
#include "mainwin/windowplace.h"
#include "platform/desktop/twips.h"
#include "startup/runparameters.h"
#include "keyboardwalk.h"
#include "waitfor.h"
#include "windowtest.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>
#include <QScreen>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

using platform::TwipsToPixels;

class HomeWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        startService();
        startup::State().endStatus = "0";
        chrome::ResizeFrame::SetStarter([this](QWindow*, Qt::Edges edges) {
            started << edges;
            return systemResizes;
        });
    }
    void TearDown() override {
        chrome::ResizeFrame::SetStarter({});
        home::SetFallbackScreen(nullptr);
        WindowTest::TearDown();
    }

    home* open() {
        home* w = home::Instance();
        w->show();
        return w;
    }
    // A press where a person would press: on whatever control lies at that point of the window.
    void press(home* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* under = w->childAt(at);
        QWidget* target = under ? under : w;
        QTest::mousePress(target, button, {}, target->mapFrom(w, at));
        QTest::mouseRelease(target, button, {}, target->mapFrom(w, at));
    }
    // A press at `at` and moves by `by` while the button is held: the pressed control has the mouse.
    void drag(home* w, QPoint at, QPoint by) {
        QWidget* grip = w->childAt(at);
        ASSERT_NE(grip, nullptr);
        const QPoint global = grip->mapToGlobal(grip->mapFrom(w, at));
        QTest::mousePress(grip, Qt::LeftButton, {}, grip->mapFrom(w, at));
        for (const QPoint step : {by / 2, by}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(grip->mapFrom(w, at) + step), QPointF(global + step),
                             Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(grip, &move);
        }
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(grip->mapFrom(w, at) + by), QPointF(global + by),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(grip, &release);
    }
    std::string stored(const char* key) {
        return startup::ReadIniValue(startup::RunParameterFile(), startup::kRunParameterSection, key);
    }
    void store(const std::string& geometry, const std::string& maximised = "0") {
        startup::WriteIniValue(startup::RunParameterFile(), startup::kRunParameterSection,
                               WindowPlace::kGeometryKey, geometry);
        startup::WriteIniValue(startup::RunParameterFile(), startup::kRunParameterSection,
                               WindowPlace::kMaximisedKey, maximised);
    }
    void reopen() {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QList<Qt::Edges> started;
    bool systemResizes = true;
};

TEST_F(HomeWindowTest, EveryEdgeAndCornerStartsTheSystemsResize) {
    home* w = open();
    ASSERT_EQ(w->size(), QSize(950, 600));
    EXPECT_EQ(w->minimumSize(), QSize(950, 600)) << "the design size is the least";
    const std::pair<QPoint, Qt::Edges> presses[] = {
        {{0, 300}, Qt::LeftEdge},
        {{949, 300}, Qt::RightEdge},
        {{475, 0}, Qt::TopEdge},
        {{475, 599}, Qt::BottomEdge},
        {{2, 2}, Qt::TopEdge | Qt::LeftEdge},
        {{948, 598}, Qt::BottomEdge | Qt::RightEdge},
        {{947, 1}, Qt::TopEdge | Qt::RightEdge},
        {{1, 597}, Qt::BottomEdge | Qt::LeftEdge},
        {{5, 300}, Qt::LeftEdge},  // the band's inner row, over the browser's edge
        {{944, 598}, Qt::BottomEdge | Qt::RightEdge},
        // the corner grips run 12 pixels along each edge
        {{11, 0}, Qt::TopEdge | Qt::LeftEdge},
        {{12, 0}, Qt::TopEdge},
        {{0, 588}, Qt::BottomEdge | Qt::LeftEdge},
        {{0, 587}, Qt::LeftEdge},
    };
    for (const auto& [at, edges] : presses) {
        started.clear();
        press(w, at);
        ASSERT_EQ(started.size(), 1) << at.x() << "," << at.y();
        EXPECT_EQ(started.front(), edges) << at.x() << "," << at.y();
        const QWidget* grip = w->childAt(at);
        ASSERT_NE(grip, nullptr);
        EXPECT_NE(grip->cursor().shape(), Qt::ArrowCursor);
    }
    started.clear();
    for (const QPoint inside : {QPoint(475, 300), QPoint(7, 300), QPoint(20, 20), QPoint(940, 590)}) {
        press(w, inside);
    }
    EXPECT_TRUE(started.isEmpty()) << "no resize from inside the band";
    press(w, {949, 300}, Qt::RightButton);
    press(w, {2, 2}, Qt::MiddleButton);
    EXPECT_TRUE(started.isEmpty()) << "only the left button resizes";

    const QRect before = w->geometry();
    drag(w, {948, 598}, {450, 300});
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(w->geometry(), before) << "the window system resizes (snapping, the keyboard); the band does not too";
}

TEST_F(HomeWindowTest, WhereTheSystemCannotResizeTheBandDoesAndTheLayoutFollows) {
    systemResizes = false;
    home* w = open();
    w->move(40, 30);
    drag(w, {948, 598}, {450, 300});
    EXPECT_EQ(w->geometry(), QRect(40, 30, 1400, 900));
    const int W = 1400 * 15;
    const int H = 900 * 15;
    const QWidget* browser = browsers.at(0)->widget();
    EXPECT_EQ(browser->geometry(), QRect(TwipsToPixels(20), TwipsToPixels(1940), TwipsToPixels(W - 40),
                                         TwipsToPixels(H - 1940 - 20)));
    EXPECT_EQ(test::find(w, "loadingWeb")->geometry(), browser->geometry()) << "the overlay covers the new page";
    EXPECT_EQ(test::find(w, "failurePanel")->geometry(), browser->geometry());
    // The header's right-hand group keeps its order and its distance from the right edge.
    const char* group[] = {"aicAlphaImage2", "home_min", "home_max", "home_close"};
    for (int i = 1; i < 4; ++i) {
        EXPECT_LT(test::find(w, group[i - 1])->geometry().right(), test::find(w, group[i])->x()) << group[i];
    }
    EXPECT_EQ(test::find(w, "home_close")->x(), TwipsToPixels(W - 400));
    EXPECT_EQ(test::find(w, "aicAlphaImage2")->x(), TwipsToPixels(W - 1670));

    // Dragging the top-left corner past the least size stops at it.
    drag(w, {2, 2}, {900, 800});
    EXPECT_EQ(w->geometry(), QRect(40 + 450, 30 + 300, 950, 600));
}

TEST_F(HomeWindowTest, MaximiseTogglesItsPictureItsNameAndTheBand) {
    home* w = open();
    auto* button = test::find<chrome::ImageControl>(w, "home_max");
    EXPECT_EQ(button->accessibleName(), "最大化");
    const QImage maximisePicture = button->picture();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(button->accessibleName(), "还原");
    EXPECT_NE(button->picture(), maximisePicture);
    started.clear();
    press(w, {w->width() - 1, w->height() / 2});
    EXPECT_TRUE(started.isEmpty()) << "a maximised window has no resize band";
    EXPECT_FALSE(test::find(w, "resizeGrip1")->isVisible());

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(w->isMaximized());
    EXPECT_EQ(button->accessibleName(), "最大化");
    EXPECT_EQ(button->picture(), maximisePicture);
    press(w, {w->width() - 1, w->height() / 2});
    EXPECT_EQ(started, QList<Qt::Edges>{Qt::RightEdge});
}

TEST_F(HomeWindowTest, EveryControlThatTakesTheFocusHasAName) {
    home* w = open();
    EXPECT_EQ(test::namelessFocusable(w), QStringList());
    w->showMaximized();
    EXPECT_EQ(test::namelessFocusable(w), QStringList()) << "the restore button too";
}

TEST_F(HomeWindowTest, TheMinimiseGlyphIsDrawnInsideItsLabel) {
    home* w = open();
    auto* minimise = test::find<chrome::ClickLabel>(w, "home_min");
    EXPECT_EQ(minimise->size(), QSize(TwipsToPixels(255), TwipsToPixels(195)));
    QImage drawn(minimise->size(), QImage::Format_ARGB32);
    drawn.fill(Qt::black);
    minimise->render(&drawn, {}, {}, QWidget::DrawChildren);
    int white = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            white += qGray(drawn.pixel(x, y)) > 160 ? 1 : 0;
        }
    }
    EXPECT_GE(white, 4) << "the caption's ink lies inside the label";
}

TEST_F(HomeWindowTest, ThePlaceIsWrittenOnHideMinimiseAndExitAndReadAtCreation) {
    home* w = open();
    w->setGeometry(60, 40, 1000, 700);
    QTest::mouseClick(test::find<QLabel>(w, "home_min"), Qt::LeftButton);
    EXPECT_EQ(stored(WindowPlace::kGeometryKey), "60,40,1000,700");
    EXPECT_EQ(stored(WindowPlace::kMaximisedKey), "0");

    w->showNormal();
    w->setGeometry(70, 50, 1100, 720);
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(stored(WindowPlace::kGeometryKey), "70,50,1100,720") << "closing to the tray";

    w->show();
    w->setGeometry(80, 60, 1000, 650);
    w->showMaximized();
    QCoreApplication::processEvents();
    const std::string topMenu = stored("topMenu");
    reopen(); // the program ends
    EXPECT_EQ(stored(WindowPlace::kGeometryKey), "80,60,1000,650") << "the normal place, not the maximised one";
    EXPECT_EQ(stored(WindowPlace::kMaximisedKey), "1");
    EXPECT_EQ(stored("topMenu"), topMenu) << "no other key changes";

    w = open();
    EXPECT_TRUE(w->isMaximized());
    EXPECT_EQ(w->normalGeometry(), QRect(80, 60, 1000, 650));
    w->showNormal();
    EXPECT_EQ(w->geometry(), QRect(80, 60, 1000, 650));
}

TEST_F(HomeWindowTest, AMoveOrResizeIsWrittenShortlyAfterAtMostOnceAWhile) {
    home* w = open();
    auto* placeWrite = w->findChild<QTimer*>("placeWrite");
    ASSERT_NE(placeWrite, nullptr);
    placeWrite->stop();
    w->setGeometry(90, 70, 1050, 690);
    ASSERT_TRUE(placeWrite->isActive()) << "a move starts the write";
    EXPECT_EQ(placeWrite->interval(), 1000) << "within a second, as the README promises";
    // While the user keeps dragging, the write stays due a second after the first move.
    const int remaining = placeWrite->remainingTime();
    ASSERT_TRUE(QTest::qWaitFor([&] { return placeWrite->remainingTime() < remaining - 10; }, 500));
    w->setGeometry(95, 75, 1060, 700);
    EXPECT_LT(placeWrite->remainingTime(), remaining - 10) << "a later move does not put the write off";
    EXPECT_NE(stored(WindowPlace::kGeometryKey), "95,75,1060,700") << "not at every move";
    placeWrite->setInterval(0);
    EXPECT_TRUE(test::waitFor([&] { return stored(WindowPlace::kGeometryKey) == "95,75,1060,700"; }, 2000))
        << "the last place, without the window ending";

    // Maximising and restoring are written the same way.
    for (const bool maximise : {true, false}) {
        placeWrite->stop();
        maximise ? w->showMaximized() : w->showNormal();
        QCoreApplication::processEvents();
        EXPECT_TRUE(placeWrite->isActive()) << (maximise ? "maximising" : "restoring") << " schedules a write";
        EXPECT_TRUE(test::waitFor([&] { return stored(WindowPlace::kMaximisedKey) == (maximise ? "1" : "0"); }, 2000));
    }
}

TEST_F(HomeWindowTest, APlaceOffTheScreensTooSmallOrUnreadableGivesTheDesignSizeCentred) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centred = area.center() - QPoint(950 / 2, 600 / 2);
    const std::string right = std::to_string(screen.right() - 99);
    const std::string below = std::to_string(screen.bottom() - 98);
    const std::pair<std::string, bool> places[] = {
        {"5000,5000,1000,700", false},                      // a screen that is gone
        {std::to_string(screen.right() - 98) + ",0,1000,700", false}, // 99 pixels of title in sight
        {right + ",0,1000,700", true},                      // 100 pixels
        {"0," + below + ",1000,700", false},                // 99 rows of title
        {"-900,0,1000,700", true},                          // 100 pixels at the left
        {"10,10,949,600", false},                           // under the least size
        {"10,10,1000,300", false},                          // under the least height
        {"10,-200,1000,700", false},                        // the body shows, the title is above the screen
        {"10,10,1000", false},
        {"10,10,1000,700,5", false},
        {"a,10,1000,700", false},
        {"10,10,1e3,700", false},
        {"", false},
    };
    for (const auto& [geometry, used] : places) {
        SCOPED_TRACE(geometry);
        store(geometry);
        home* w = open();
        if (used) {
            EXPECT_EQ(w->geometry(), WindowPlace::Parse(geometry, "0")->normal);
        } else {
            EXPECT_EQ(w->geometry(), QRect(centred, QSize(950, 600)));
        }
        reopen();
    }
}

TEST(WindowPlace, ReadsWhatItWrites) {
    const WindowPlace place{QRect(-20, 35, 1400, 900), true};
    EXPECT_EQ(place.geometryText(), "-20,35,1400,900");
    EXPECT_EQ(WindowPlace::Parse(place.geometryText(), "1"), place);
    EXPECT_EQ(WindowPlace::Parse(" 1, 2 ,950,600", "0"), (WindowPlace{QRect(1, 2, 950, 600), false}));
    for (const char* notOne : {"0", "true", "2", "", " 1"}) {
        EXPECT_FALSE(WindowPlace::Parse("1,2,950,600", notOne)->maximised) << "maximised only as \"1\": " << notOne;
    }
    EXPECT_FALSE(WindowPlace::Parse("1,2,0,600", "0")) << "an empty window";
    EXPECT_FALSE(WindowPlace::Parse("1,2,3000000,600", "0")) << "out of range";
    EXPECT_FALSE(WindowPlace::Parse("1,,950,600", "0"));
    EXPECT_FALSE(WindowPlace::Parse("1,2,950,600,", "0"));
    EXPECT_FALSE(WindowPlace::Parse("99999999999999999999,2,950,600", "0")) << "no exception either";
}

} // namespace
} // namespace kivo::mainwin
