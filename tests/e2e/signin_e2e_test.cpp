// Sign-in end to end: the real browser on a virtual display, the stand-in service, the real
// HTTP client and cookie store.
#include "chrome/fonts.h"
#include "chrome/formregistry.h"
#include "e2esupport.h"
#include "findcontrol.h"
#include "platform/net/curlhttpsession.h"
#include "platform/web/webenginebrowser.h"
#include "platform/web/webenginecookiestore.h"
#include "service/httprequest.h"
#include "service/json/dictionary.h"
#include "signin/login.h"
#include "startup/runparameters.h"
#include "tray/trayform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

namespace kivo::signin {
namespace {

class SignInEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        test::PrepareClient(service_.url(), appDir_);
        chrome::FormRegistry::instance().setProgramEnd([] {});
        login::SetShowMainWindow([this](QScreen*) { ++handedOver_; });

        (new tray::TrayForm)->Load();
        window_ = new login;
        window_->Load();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
    }

    void TearDown() override {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        login::SetShowMainWindow({});
        chrome::FormRegistry::instance().setProgramEnd({});
    }

    static std::string devState(const std::string& base, const std::u16string& field) {
        platform::CurlHttpSession other; // a client of its own, outside the user's session
        const auto answer = other.get(base + "/dev/state");
        if (!answer) {
            return {};
        }
        const auto pos = answer->body.find("\"" + std::string(field.begin(), field.end()) + "\":");
        return pos == std::string::npos ? std::string() : answer->body.substr(pos, 40);
    }

    test::StandInService service_{1};
    QTemporaryDir appDir_;
    login* window_ = nullptr;
    int handedOver_ = 0;
};

TEST_F(SignInEndToEnd, PasswordAfterAWrongOne) {
    window_->SelectPasswordTab();
    // As a person does it: click the hint, type.
    window_->activateWindow();
    QTest::keyClicks(test::find<QLineEdit>(window_, "username"), "demo");
    QTest::mouseClick(test::find<QLineEdit>(window_, "password_tip"), Qt::LeftButton);
    QTest::keyClicks(test::find<QLineEdit>(window_, "password"), "wrong");
    QTest::qWait(200);
    EXPECT_TRUE(test::saveScreenshot("signin-password"));
    QTest::mouseClick(test::find<chrome::ImageControl>(window_, "username_btn"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::find<QLabel>(window_, "ErrTip")->text(), "用户名或密码错误");
    QTest::qWait(200);
    EXPECT_TRUE(test::saveScreenshot("signin-error"));

    test::find<QLineEdit>(window_, "password")->clear();
    QTest::keyClicks(test::find<QLineEdit>(window_, "password"), "kivo&2026#");
    QTest::mouseClick(test::find<chrome::ImageControl>(window_, "username_btn"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(handedOver_, 1);
    const auto data = startup::State().UserData.dictionary();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Item(u"nickname").text(), u"林晓雨");
    EXPECT_NE(devState(service_.url(), u"signedIn").find("demo"), std::string::npos);
}

TEST_F(SignInEndToEnd, SmsCode) {
    QTest::qWait(300);
    EXPECT_TRUE(test::saveScreenshot("signin-sms"));
    test::find<QLineEdit>(window_, "mobile")->setText("13800138000");
    QTest::mouseClick(test::find<chrome::ImageControl>(window_, "getCaptchaBtn"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::find<chrome::ClickLabel>(window_, "get_captcha")->text(), "60 秒重新发送");
    platform::CurlHttpSession phone;
    const auto sms = phone.get(service_.url() + "/dev/sms?mobile=13800138000");
    ASSERT_TRUE(sms.has_value());
    const auto at = sms->body.find("\"data\":\"");
    ASSERT_NE(at, std::string::npos);
    test::find<QLineEdit>(window_, "captcha")->setText(QString::fromStdString(sms->body.substr(at + 8, 6)));
    QTest::mouseClick(test::find<chrome::ImageControl>(window_, "mobile_btn"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(handedOver_, 1);
}

TEST_F(SignInEndToEnd, QrCodeComesWithTheClientsSession) {
    window_->SelectCodeTab();
    // The browser fetches the QR picture; the service ties it to the cookie that came with it.
    ASSERT_TRUE(test::waitFor([&] { return devState(service_.url(), u"qrShown").rfind("\"qrShown\":1", 0) == 0; }));
    QTest::qWait(500);
    EXPECT_TRUE(test::saveScreenshot("signin-qr"));
    window_->Poll(); // the service confirms on the first poll of the session that showed the code
    EXPECT_EQ(handedOver_, 1) << "the poll's session is the one the QR picture was shown in";
}

TEST(SecondCopy, BringsTheFirstForwardAndEnds) {
    test::StandInService service;
    QTemporaryDir appDir;
    const QStringList args{"--base-url", QString::fromStdString(service.url()), "--app-dir", appDir.path()};
    QProcess first;
    first.setProcessChannelMode(QProcess::SeparateChannels);
    first.start(KIVO_EXECUTABLE, args);
    ASSERT_TRUE(first.waitForStarted());
    // The first copy is up once it listens for later copies.
    ASSERT_TRUE(test::waitFor([&] {
        QLocalSocket probe;
        probe.connectToServer(QString("kivo-%1").arg(::getuid()));
        return probe.waitForConnected(100);
    }));
    // The browser engine comes from its module once the sign-in window has painted.
    EXPECT_TRUE(test::waitFor([&] {
        QFile maps(QString("/proc/%1/maps").arg(first.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("kivo-webengine.so");
    }));
    // So does the HTTP client, with the configuration download, whose menus reach the cache.
    EXPECT_TRUE(test::waitFor([&] {
        QFile maps(QString("/proc/%1/maps").arg(first.processId()));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("kivo-http.so");
    }));
    EXPECT_TRUE(test::waitFor([&] {
        for (QDirIterator it(appDir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains("topMenu=")) {
                return true;
            }
        }
        return false;
    }));
    QProcess second;
    second.start(KIVO_EXECUTABLE, args);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(test::waitFor([&] { return first.readAllStandardError().contains("another copy asked"); }, 5000));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    first.waitForFinished(5000);
}

TEST(SecondCopy, TwoStartedAtOnceLeaveOne) {
    test::StandInService service;
    QTemporaryDir appDir;
    const QStringList args{"--base-url", QString::fromStdString(service.url()), "--app-dir", appDir.path()};
    QProcess a;
    QProcess b;
    a.start(KIVO_EXECUTABLE, args);
    b.start(KIVO_EXECUTABLE, args);
    ASSERT_TRUE(a.waitForStarted() && b.waitForStarted());
    // One of them ends (asking the other to come forward); the other keeps running.
    ASSERT_TRUE(
        test::waitFor([&] { return a.state() == QProcess::NotRunning || b.state() == QProcess::NotRunning; }, 15000));
    QTest::qWait(1000);
    QProcess& ended = a.state() == QProcess::NotRunning ? a : b;
    QProcess& running = &ended == &a ? b : a;
    EXPECT_EQ(ended.exitCode(), 0);
    EXPECT_EQ(running.state(), QProcess::Running) << "exactly one copy runs";
    running.terminate();
    running.waitForFinished(5000);
}

} // namespace
} // namespace kivo::signin
