// The settings and about windows on a real (virtual) display with the desktop's fonts, as a
// person sees them. Saves screenshots/settings-*.png and screenshots/about*.png.
#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "fakeautostart.h"
#include "settings/sys.h"
#include "settings/version.h"
#include "startup/runparameters.h"
#include "tempfolder.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kivo::settings {
namespace {

bool shoot(const QString& name) {
    QTest::qWait(300); // the compositor draws the shadow strips
    QDir().mkpath("screenshots");
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().save("screenshots/" + name + ".png");
}

TEST(SettingsScreenshot, BothWindowsOnTheDesktop) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    chrome::InstallFontSubstitutes();
    test::TempFolder folder("settings-shot");
    startup::State() = {};
    startup::State().options.appDir = folder.path();
    startup::State().endStatus = "1";
    platform::Autostarts() = std::make_shared<test::FakeAutostart>();
    chrome::FormRegistry::instance().setProgramEnd([] {});

    QWidget desk(nullptr, Qt::FramelessWindowHint);
    desk.setGeometry(0, 0, 1280, 800);
    desk.setStyleSheet("background: #DDE3EA;");
    desk.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));

    sys* settings = sys::Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(settings));
    EXPECT_TRUE(shoot("settings-general"));
    for (int page : {1, 2}) {
        QTest::mouseClick(settings->findChild<QWidget*>(QStringLiteral("Label2(%1)").arg(page)), Qt::LeftButton);
        EXPECT_TRUE(shoot(page == 1 ? "settings-panel" : "settings-update"));
    }
    QTest::mouseClick(settings->findChild<QWidget*>("close"), Qt::LeftButton, {}, QPoint(3, 3));

    // The about window for each answer of the package manager.
    const std::pair<const char*, platform::PackageVersions> answers[] = {
        {"about", {"0.1", "", false}},
        {"about-newer", {"0.1", "0.2+upgrade1", false}},
        {"about-newer-automatic", {"0.1", "0.2", true}},
        {"about-no-package", {"", "", false}},
    };
    startup::State().updateStatus = "0";
    for (const auto& [name, versions] : answers) {
        platform::PackageVersions::Asking() = [versions = versions](QObject*, auto answer) { answer(versions); };
        version* about = version::Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
        EXPECT_TRUE(shoot(name));
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    platform::PackageVersions::Asking() = {};

    chrome::UnloadAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    chrome::FormRegistry::instance().setProgramEnd({});
    platform::Autostarts() = nullptr;
}

} // namespace
} // namespace kivo::settings
