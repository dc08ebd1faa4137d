// The real program ended by the desktop under a window manager: SIGTERM (the session's end),
// SIGINT (Ctrl+C) and SIGHUP (its terminal closed) end it in order: the service told, the window's
// place kept, status 0, within 3 s even when the service does not answer the logout.
#include "e2esupport.h"
#include "mainwin/windowplace.h"
#include "platform/net/curlhttpsession.h"
#include "startup/runparameters.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace kivo::mainwin {
namespace {

// The visible window of `pid` whose title starts with `title` and that is at least `least` wide
// (the shadow's windows are narrow), as the window system knows it; empty when none.
QString windowOf(qint64 pid, const QString& title, int least) {
    for (const QString& id : test::Xdotool({"search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", "^" + title})
                                 .split('\n', Qt::SkipEmptyParts)) {
        const QString geometry = test::Xdotool({"getwindowgeometry", id}).section("Geometry: ", 1).section('x', 0, 0);
        if (geometry.toInt() >= least) {
            return id;
        }
    }
    return {};
}

class ProgramEndEndToEnd : public ::testing::Test {
protected:
    std::string dev(const std::string& path) { return test::DevGet(service_.url(), path); }
    int logouts() { return test::Logouts(service_.url()); }

    // Starts the program and signs in with the QR code (the service confirms it on the first poll);
    // the main window is then up, and its window id returned.
    QString startSignedIn() {
        program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program_.start(KIVO_EXECUTABLE, {"--base-url", QString::fromStdString(service_.url()), "--app-dir", appDir_.path()});
        if (!program_.waitForStarted()) {
            return {};
        }
        // The tab takes clicks once the window has painted (in its final X window, which may not be
        // the first one made): clicked until the code is shown.
        test::waitFor([&] {
            const QString signIn = windowOf(program_.processId(), "Kivo", 800);
            if (!signIn.isEmpty()) {
                test::Xdotool({"mousemove", "--window", signIn, "325", "152", "click", "1"}); // the tab 扫码登录
            }
            QTest::qWait(300);
            return dev("/dev/state").find("\"qrShown\":0") == std::string::npos;
        }, 15000);
        QString main;
        test::waitFor([&] { return !(main = windowOf(program_.processId(), "Velmora", 900)).isEmpty(); }, 20000);
        return main;
    }
    // Sends `signal` and waits up to 3 s for the program to end; the time it took, or -1.
    qint64 endBy(int signal) {
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(program_.processId()), signal);
        return program_.waitForFinished(3000) ? clock.elapsed() : -1;
    }

    test::StandInService service_{1};
    QTemporaryDir appDir_;
    QProcess program_;
};

TEST_F(ProgramEndEndToEnd, SigtermEndsInOrderAndTheNextStartOpensAtThePlaceLeft) {
    const QString main = startSignedIn();
    ASSERT_FALSE(main.isEmpty());
    test::Xdotool({"windowsize", main, "1300", "850"});
    QTest::qWait(300); // within the second after which a move is written anyway: the end writes it
    const qint64 took = endBy(SIGTERM);
    ASSERT_GE(took, 0) << "ended within 3 s";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_EQ(logouts(), 1) << "the service was told";
    const std::string file = (std::filesystem::path(appDir_.path().toStdString()) / startup::kRunParameterFileName).string();
    const auto place = WindowPlace::Parse(startup::ReadIniValue(file, startup::kRunParameterSection, WindowPlace::kGeometryKey),
                                          startup::ReadIniValue(file, startup::kRunParameterSection, WindowPlace::kMaximisedKey));
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->normal.size(), QSize(1300, 850));

    // The next start's main window opens there.
    const QString again = startSignedIn();
    ASSERT_FALSE(again.isEmpty());
    EXPECT_TRUE(test::Xdotool({"getwindowgeometry", again}).contains("Geometry: 1300x850"));
    EXPECT_GE(endBy(SIGINT), 0);
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_EQ(logouts(), 2);
}

TEST_F(ProgramEndEndToEnd, SighupEndsWithin3sWhenTheServiceDoesNotAnswerTheLogout) {
    ASSERT_FALSE(startSignedIn().isEmpty());
    dev("/dev/hang-logout?ms=20000");
    const qint64 took = endBy(SIGHUP);
    EXPECT_GE(took, 0) << "ended within 3 s";
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_EQ(logouts(), 1) << "asked, though never answered";
    dev("/dev/hang-logout?ms=0");
}

} // namespace
} // namespace kivo::mainwin
