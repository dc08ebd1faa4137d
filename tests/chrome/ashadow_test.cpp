#include "chrome/ashadow.h"
#include "platform/process/errorreport.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace kivo::chrome {
namespace {

using Strip = aShadow::Strip;

// Alphas of a whole row (or column) of a depth-6 strip of the given size.
std::vector<int> row(Strip s, int w, int h, int r) {
    std::vector<int> out;
    for (int c = 0; c < w; ++c) {
        out.push_back(aShadow::StripAlpha(s, 6, w, h, c, r));
    }
    return out;
}
std::vector<int> column(Strip s, int w, int h, int c) {
    std::vector<int> out;
    for (int r = 0; r < h; ++r) {
        out.push_back(aShadow::StripAlpha(s, 6, w, h, c, r));
    }
    return out;
}

TEST(aShadowAlpha, StripsFadeOutwardsAtDepthSix) {
    // right strip, a middle row, from the owner's edge outwards
    EXPECT_EQ(row(Strip::Right, 6, 112, 50), (std::vector<int>{255, 212, 170, 127, 85, 42}));
    // left strip, inwards towards the owner, the same on every row
    EXPECT_EQ(row(Strip::Left, 6, 100, 0), (std::vector<int>{0, 42, 85, 127, 170, 212}));
    EXPECT_EQ(row(Strip::Left, 6, 100, 99), row(Strip::Left, 6, 100, 0));
    // bottom strip, rows from its bottom up (away from the corner)
    EXPECT_EQ(column(Strip::Bottom, 106, 6, 50), (std::vector<int>{0, 42, 85, 127, 170, 212}));
    // top strip, rows from the owner's edge (its bottom row) up
    EXPECT_EQ(column(Strip::Top, 106, 6, 50), (std::vector<int>{255, 212, 170, 127, 85, 42}));
}

TEST(aShadowAlpha, CornersFadeIn) {
    // The left corners: the first six columns of the top and bottom strips scale by g(c).
    std::vector<int> g;
    for (int c = 0; c < 6; ++c) {
        g.push_back(aShadow::StripAlpha(Strip::Top, 6, 106, 6, c, 0));
    }
    EXPECT_EQ(g, (std::vector<int>{0, 42, 85, 127, 170, 212}));
    EXPECT_EQ(aShadow::StripAlpha(Strip::Bottom, 6, 106, 6, 3, 5), 5 * 127 / 6);
    // The right strip's bottom six rows fade in, its top six rows fade out: top row 42, bottom 0.
    const std::vector<int> edge = column(Strip::Right, 6, 112, 0);
    EXPECT_EQ(std::vector<int>(edge.begin(), edge.begin() + 6), (std::vector<int>{0, 42, 85, 127, 170, 212}));
    EXPECT_EQ(std::vector<int>(edge.end() - 6, edge.end()), (std::vector<int>{255, 212, 170, 127, 85, 42}));
}

TEST(aShadowAlpha, PicturesArePremultipliedWithRowZeroAtTheBottom) {
    const QImage black = aShadow::StripImage(Strip::Right, 6, 6, 20, 0x000000);
    ASSERT_EQ(black.format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < black.height(); ++y) {
        for (int x = 0; x < black.width(); ++x) {
            const QRgb p = black.pixel(x, y);
            EXPECT_EQ(p & 0xFFFFFF, 0u);
        }
    }
    // Top image row is the strip's top (r = H-1): alpha 42 at the owner's edge.
    EXPECT_EQ(qAlpha(black.pixel(0, 0)), 42);
    EXPECT_EQ(qAlpha(black.pixel(0, 19)), 0);

    // Colour 0x00BBGGRR: pure red; bytes in memory are blue, green, red, alpha.
    const QImage red = aShadow::StripImage(Strip::Left, 6, 6, 4, 0x0000FF);
    const auto* bytes = red.constScanLine(0);
    EXPECT_EQ(bytes[4 * 3 + 0], 0);   // blue
    EXPECT_EQ(bytes[4 * 3 + 1], 0);   // green
    EXPECT_EQ(bytes[4 * 3 + 2], 127); // red: 255 * 127/255
    EXPECT_EQ(bytes[4 * 3 + 3], 127); // alpha
}

class ShadowedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        platform::ErrorReport::setPresenter(
            [this](const QString& title, const QString& text) { reports.push_back(title + "|" + text); });
        window = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window->setGeometry(200, 150, 300, 200);
    }
    void TearDown() override {
        shadow.reset();
        delete window;
        platform::ErrorReport::setPresenter({});
    }
    int updates() const {
        int n = 0;
        for (Strip s : {Strip::Right, Strip::Bottom, Strip::Left, Strip::Top}) {
            n += shadow->strip(s)->imageUpdates();
        }
        return n;
    }

    std::vector<QString> reports;
    QWidget* window = nullptr;
    std::unique_ptr<aShadow> shadow = std::make_unique<aShadow>();
};

TEST_F(ShadowedWindow, FollowsShowMoveResizeAndHide) {
    ASSERT_TRUE(shadow->supported());
    ASSERT_TRUE(shadow->Shadow(window));
    shadow->setDepth(6);
    shadow->setColor(0);
    shadow->setTransparency(40);
    EXPECT_FALSE(shadow->strip(Strip::Right)->isVisible()) << "nothing shows before the window";

    window->show();
    ASSERT_TRUE(shadow->shown());
    EXPECT_TRUE(shadow->strip(Strip::Top)->isVisible());
    const QRect g = window->geometry();
    EXPECT_EQ(shadow->strip(Strip::Right)->geometry(), QRect(g.right() + 1, g.top() - 6, 6, g.height() + 12));
    EXPECT_EQ(shadow->strip(Strip::Top)->geometry(), QRect(g.left() - 6, g.top() - 6, g.width() + 6, 6));
    EXPECT_EQ(shadow->strip(Strip::Left)->constantAlpha(), 40);

    const int before = updates();
    window->move(260, 170);
    EXPECT_EQ(updates(), before) << "a move rebuilds no bitmap";
    EXPECT_EQ(shadow->strip(Strip::Left)->geometry().topLeft(), QPoint(254, 170));

    window->resize(340, 200); // only the width changed: bottom and top are rebuilt
    EXPECT_EQ(updates(), before + 2);
    EXPECT_EQ(shadow->strip(Strip::Bottom)->image().width(), 346);

    window->hide();
    EXPECT_FALSE(shadow->shown());
    EXPECT_FALSE(shadow->strip(Strip::Right)->isVisible());
    EXPECT_TRUE(reports.empty());
}

// A window that shows first and takes its shadow afterwards (the sign-in window, after its first
// paint) has it at once, where a shadow shown with the window would be.
TEST_F(ShadowedWindow, AWindowAlreadyOnScreenHasItsShadowAtOnce) {
    window->show();
    shadow = aShadow::ForWindow(window);
    ASSERT_TRUE(shadow->shown());
    const QRect g = window->geometry();
    EXPECT_TRUE(shadow->strip(Strip::Bottom)->isVisible());
    EXPECT_EQ(shadow->strip(Strip::Right)->geometry(), QRect(g.right() + 1, g.top() - 6, 6, g.height() + 12));
    EXPECT_EQ(shadow->strip(Strip::Bottom)->image().width(), g.width() + 6);
    EXPECT_EQ(shadow->strip(Strip::Left)->constantAlpha(), 40);
    window->resize(340, 220);
    EXPECT_EQ(shadow->strip(Strip::Left)->image().height(), 220);
}

TEST_F(ShadowedWindow, ASecondShadowCallIsAnErrorAndKeepsTheFirst) {
    ASSERT_TRUE(shadow->Shadow(window));
    QWidget other;
    EXPECT_FALSE(shadow->Shadow(&other));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Error in aShadow.Shadow|Only a single form per cShadow instance is allowed.");
    window->show();
    EXPECT_TRUE(shadow->strip(Strip::Right)->isVisible());
}

TEST_F(ShadowedWindow, MessageTables) {
    ASSERT_TRUE(shadow->Shadow(window));
    aShadow::SubclassRecord* record = shadow->zMap_hWnd(platform::WindowProcedure::handleOf(window));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->before.count, 4);
    EXPECT_TRUE(record->before.contains(0x47));

    aShadow::MessageTable table;
    shadow->zDelMsg(0x47, table);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Error in aShadow.zDelMsg|Message &H47 not found in table.");

    for (unsigned m = 1; m <= 32; ++m) {
        shadow->zAddMsg(m, table);
    }
    EXPECT_EQ(table.count, 32);
    shadow->zAddMsg(100, table);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[1].startsWith("Error in aShadow.zAddMsg|Message table overflow."));

    // A freed entry is reused; the count never shrinks.
    aShadow::MessageTable small;
    for (unsigned m : {1u, 2u, 3u}) {
        shadow->zAddMsg(m, small);
    }
    shadow->zDelMsg(2, small);
    shadow->zAddMsg(9, small);
    shadow->zAddMsg(3, small); // already there
    EXPECT_EQ(small.entries[2], 9u);
    EXPECT_EQ(small.count, 3);

    // ALL_MESSAGES, then a specific message replaces it.
    aShadow::MessageTable all;
    shadow->zAddMsg(static_cast<unsigned>(aShadow::ALL_MESSAGES), all);
    EXPECT_TRUE(all.contains(12345));
    shadow->zAddMsg(7, all);
    EXPECT_EQ(all.count, 1);
    EXPECT_FALSE(all.contains(12345));
}

TEST_F(ShadowedWindow, SubclassingErrors) {
    EXPECT_FALSE(shadow->sc_Subclass(12345));
    shadow->sc_UnSubclass(platform::WindowProcedure::handleOf(window));
    ASSERT_TRUE(shadow->Shadow(window));
    EXPECT_FALSE(shadow->sc_Subclass(platform::WindowProcedure::handleOf(window)));
    QWidget other;
    shadow->zMap_hWnd(platform::WindowProcedure::handleOf(&other));
    EXPECT_EQ(reports, (std::vector<QString>{"Error in aShadow.sc_Subclass|Invalid window handle.",
                                             "Error in aShadow.sc_UnSubclass|Window handle isn't subclassed.",
                                             "Error in aShadow.sc_Subclass|Window handle is already subclassed.",
                                             "Error in aShadow.zMap_hWnd|Window handle isn't subclassed."}));
}

TEST_F(ShadowedWindow, ReleasingTheShadowRemovesStripsAndFilter) {
    ASSERT_TRUE(shadow->Shadow(window));
    window->show();
    QPointer<platform::LayeredWindow> strip = shadow->strip(Strip::Right);
    shadow.reset();
    EXPECT_TRUE(strip.isNull());
    window->move(10, 10); // the window keeps working without its shadow
    window->hide();
    EXPECT_TRUE(reports.empty());
}

} // namespace
} // namespace kivo::chrome
