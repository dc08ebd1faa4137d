// The main window on a desktop of two screens: the offscreen platform given two (tests/data).
#include "mainwin/home.h"
#include "windowtest.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace kivo::mainwin {
namespace {

using TwoScreensTest = test::WindowTest;

TEST_F(TwoScreensTest, WithNoRememberedPlaceTheMainWindowOpensCentredOnTheSignInWindowsScreen) {
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    QScreen* signInScreen = QGuiApplication::screens().at(1);
    ASSERT_NE(signInScreen, QGuiApplication::primaryScreen());
    startService();
    home::ShowAfterSignIn(signInScreen); // what a sign-in calls
    home* w = home::Existing();
    ASSERT_NE(w, nullptr);
    const QPoint offset = w->geometry().center() - signInScreen->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << "on the screen the user signed in on, not the primary one";
    home::SetFallbackScreen(nullptr);
}

} // namespace
} // namespace kivo::mainwin
