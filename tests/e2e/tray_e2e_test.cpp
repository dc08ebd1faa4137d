// The notification-area icon in a real XEmbed tray host (trayer) on the virtual display: it
// docks, brings the hidden main window back, and its menu ends the program with a logout. Then
// the same desktop without a tray host, where the main window goes to the task bar.
#include "bridge/hacmd.h"
#include "chrome/formregistry.h"
#include "clientendtoend.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "mainwin/home.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/qttrayicon.h"
#include "signin/login.h"
#include "tray/menu.h"
#include "tray/trayform.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace kivo::tray {
namespace {

// Where the program's icon sits inside the tray host's panel, or an empty rectangle.
QRect dockedIcon() {
    QProcess tree;
    tree.start("xwininfo", {"-root", "-tree"});
    tree.waitForFinished(5000);
    const QStringList lines = QString::fromLocal8Bit(tree.readAllStandardOutput()).split('\n');
    int panelIndent = -1;
    static const QRegularExpression geometry(R"(\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))");
    for (const QString& line : lines) {
        const int indent = static_cast<int>(line.indexOf(QRegularExpression("\\S")));
        if (line.contains("(\"panel\" \"trayer\")")) {
            panelIndent = indent;
        } else if (panelIndent >= 0 && indent > panelIndent) { // ours is the only icon in this tray
            const auto m = geometry.match(line);
            if (m.hasMatch() && m.captured(1).toInt() > 1) { // the host keeps a 1x1 window of its own
                return {m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt()};
            }
        } else if (panelIndent >= 0 && indent <= panelIndent) {
            panelIndent = -1;
        }
    }
    return {};
}

class TrayEndToEnd : public test::ClientEndToEnd {
protected:
    void SetUp() override {
        ClientEndToEnd::SetUp();
        platform::TrayIcons() = [] { return std::make_unique<platform::QtTrayIcon>(); };
        mainwin::home::SetShowMainMenu([](const QPoint& at) { menu::Instance()->Popup(at); });
    }
    void TearDown() override {
        ClientEndToEnd::TearDown();
        mainwin::home::SetShowMainMenu({});
        platform::TrayIcons() = {};
        if (trayer_.state() != QProcess::NotRunning) {
            trayer_.kill();
            trayer_.waitForFinished();
        }
    }
    void startTrayHost() {
        trayer_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                                 "--height", "32", "--transparent", "false", "--tint", "0x3a4a5a"});
        ASSERT_TRUE(trayer_.waitForStarted()) << "trayer is part of the set-up";
        ASSERT_TRUE(test::waitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
    }
    mainwin::home* signIn(TrayForm*& tray) {
        tray = new TrayForm;
        tray->Load();
        return test::SignInAsDemo<signin::login, mainwin::home>();
    }

    QProcess trayer_;
};

TEST_F(TrayEndToEnd, TheIconDocksBringsTheWindowBackAndItsMenuEndsTheProgram) {
    startTrayHost();
    TrayForm* tray = nullptr;
    mainwin::home* w = signIn(tray);
    ASSERT_NE(w, nullptr);
    QRect icon;
    ASSERT_TRUE(test::waitFor([&] { return !(icon = dockedIcon()).isEmpty(); })) << "the icon is docked in the tray";
    EXPECT_TRUE(test::waitFor([&] { return !test::find(w, "loadingWeb")->isVisible(); }));

    // The drop-down menu under the main window's menu button.
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "aicAlphaImage2"), Qt::LeftButton, {}, QPoint(3, 3));
    QMenu* dropDown = menu::Instance()->men();
    ASSERT_TRUE(test::waitFor([&] { return dropDown->isVisible(); }));
    EXPECT_LE(std::abs(dropDown->y() -
                       test::find<chrome::ImageControl>(w, "aicAlphaImage2")
                           ->mapToGlobal(QPoint(0, test::find<chrome::ImageControl>(w, "aicAlphaImage2")->height()))
                           .y()),
              6);
    QTest::qWait(300);
    EXPECT_TRUE(test::saveScreenshot("main-dropdown"));
    dropDown->hide();

    startup::State().endStatus = "0";
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(w->isVisible()) << "hidden to the notification area";
    EXPECT_TRUE(test::saveScreenshot("tray-docked"));
    test::Xdotool({"mousemove", QString::number(icon.center().x()), QString::number(icon.center().y()), "click", "1"});
    EXPECT_TRUE(test::waitFor([&] { return w->isVisible(); })) << "a click on the icon brings the window back";

    test::Xdotool({"mousemove", QString::number(icon.center().x()), QString::number(icon.center().y()), "click", "3"});
    ASSERT_TRUE(test::waitFor([&] { return tray->men()->isVisible(); })) << "a right click opens the tray menu";
    QTest::qWait(200);
    EXPECT_TRUE(test::saveScreenshot("tray-menu"));
    QAction* exit = tray->men()->actions().at(3);
    QTest::mouseClick(tray->men(), Qt::LeftButton, {}, tray->men()->actionGeometry(exit).center());
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(chrome::IsFormLoaded("home"));
    EXPECT_TRUE(test::waitFor([] { return dockedIcon().isEmpty(); })) << "the icon left the tray";
    EXPECT_EQ(test::Logouts(service.url()), 1);
}

TEST_F(TrayEndToEnd, WithoutATrayHostTheMainWindowGoesToTheTaskBar) {
    ASSERT_TRUE(test::waitFor([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
    TrayForm* tray = nullptr;
    mainwin::home* w = signIn(tray);
    ASSERT_NE(w, nullptr);
    startup::State().endStatus = "0";
    QTest::mouseClick(test::find<chrome::ImageControl>(w, "home_close"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(w->isMinimized());
    EXPECT_TRUE(w->isVisible()) << "not hidden where nothing could bring it back";
    w->showNormal();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_FALSE(w->isMinimized());
}

} // namespace
} // namespace kivo::tray
