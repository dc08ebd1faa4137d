// The sign-in window offscreen, with a fake browser, against a local server whose answers each
// case chooses.
#include "activewindow.h"
#include "chrome/formregistry.h"
#include "chrome/keyboardaccess.h"
#include "keyboardwalk.h"
#include "platform/net/curlhttpsession.h"
#include "platform/desktop/layeredwindow.h"
#include "platform/process/responsivewait.h"
#include "platform/desktop/urlopener.h"
#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "service/json/dictionary.h"
#include "signin/login.h"
#include "startup/runparameters.h"
#include "tray/trayform.h"
#include "waitfor.h"
#include "windowtest.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kivo::signin {
namespace {

class LoginTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        auto& http = server.server();
        http.Post("/desktop/site/login", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests;
            lastQuery = req.target;
            res.set_header("Set-Cookie", "SID=after-login; path=/");
            if (req.get_param_value("password") == "p&ss#1") {
                res.set_content(
                    R"({"status":1,"data":{"nickname":"林晓雨","signature":"s","companyname":"c","avatar":"a"}})",
                    "application/json");
            } else if (req.get_param_value("password") == "nomsg") {
                res.set_content(R"({"status":0})", "application/json");
            } else {
                res.set_content(R"({"status":0,"msg":"用户名或密码错误"})", "application/json");
            }
        });
        http.Post("/desktop/site/loginSend", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests;
            lastQuery = req.target;
            res.set_content(req.get_param_value("mobile") == "13800138000" ? R"({"status":1})"
                                                                           : R"({"status":0,"msg":"手机号格式不正确"})",
                            "application/json");
        });
        http.Post("/desktop/site/loginCode", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests;
            lastQuery = req.target;
            res.set_content(R"({"status":1,"data":{"nickname":"短信"}})", "application/json");
        });
        http.Post("/desktop/site/checkQrlogintmp", [this](const httplib::Request&, httplib::Response& res) {
            ++polls;
            res.set_content(polls >= confirmOnPoll ? R"({"status":1,"data":{"nickname":"扫码"}})"
                                                   : R"({"status":0,"msg":"等待"})",
                            "application/json");
        });
        startService();
        startup::State().options.appDir = "/opt/kivo";
        login::SetShowMainWindow([this](QScreen*) { ++mainWindowsShown; });

        tray = new tray::TrayForm;
        tray->Load();
        window = new login;
        window->Load();
        window->show();
        browserBeforePaint = !browsers.empty();
        hiddenPanelsBeforePaint = window->findChild<QLineEdit*>("username") != nullptr;
        shadowBeforePaint = !window->findChildren<platform::LayeredWindow*>().empty();
        ASSERT_TRUE(test::waitFor([this] { return !browsers.empty(); })) << "the first paint starts the browser";
        // The offscreen platform activates every window it shows, the shadow's strips too; a
        // desktop gives them no focus.
        test::activate(window);
    }

    void TearDown() override {
        WindowTest::TearDown();
        login::SetShowMainWindow({});
    }

    test::FakeBrowser& browser() { return *browsers.at(0); } // the QR panel's
    static void focus(QWidget* w, QEvent::Type type) {
        QFocusEvent event(type, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(w, &event);
    }
    void click(chrome::ImageControl* control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2)); }
    QString error() const {
        return test::find<chrome::PictureBox>(window, "error_box")->isVisible()
                   ? test::find<QLabel>(window, "ErrTip")->text()
                   : QString();
    }

    std::atomic<int> requests{0};
    std::atomic<int> polls{0};
    int confirmOnPoll = 1000;
    std::string lastQuery;
    int mainWindowsShown = 0;
    bool browserBeforePaint = false;
    bool shadowBeforePaint = false;
    bool hiddenPanelsBeforePaint = false;
    tray::TrayForm* tray = nullptr;
    login* window = nullptr;
};

TEST_F(LoginTest, StartsOnTheSmsTab) {
    EXPECT_TRUE(test::find<chrome::PictureBox>(window, "mobile_box")->isVisible());
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "password_box")->isVisible());
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "code_box")->isVisible());
    EXPECT_FALSE(test::find<chrome::ImageControl>(window, "mobile_tab_bg")->isVisible());
    EXPECT_TRUE(test::find<chrome::ImageControl>(window, "code_tab_bg")->isVisible());
    EXPECT_TRUE(test::find<chrome::ImageControl>(window, "password_tab_bg")->isVisible());
    EXPECT_TRUE(test::find<chrome::ClickLabel>(window, "forget_password")->isVisible());
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "error_box")->isVisible());
    EXPECT_EQ(window->defaultButton(), test::find<QPushButton>(window, "mobile_enter"));
    EXPECT_EQ(window->size(), QSize(899, 601));
    EXPECT_EQ(browser().calls, QStringList{"navigate " + QString::fromStdString(server.url())});
    EXPECT_FALSE(browserBeforePaint) << "nothing the user sees waits for the browser engine";
    EXPECT_FALSE(shadowBeforePaint) << "nor for the shadow's windows";
    EXPECT_FALSE(hiddenPanelsBeforePaint) << "nor for the hidden tabs' panels";
    EXPECT_TRUE(test::find<QLineEdit>(window, "password_tip")->isVisibleTo(test::find(window, "password_box")))
        << "built right after it";
    const auto strips = window->findChildren<platform::LayeredWindow*>();
    ASSERT_EQ(strips.size(), 4);
    for (const auto* strip : strips) {
        EXPECT_TRUE(strip->isVisible());
    }
}

// A browser engine that cannot start leaves the QR tab empty; the window and its other tabs work.
TEST_F(LoginTest, WithoutABrowserEngineTheQrTabStaysEmpty) {
    noBrowsers = true;
    auto* another = new login;
    another->Load();
    another->show();
    ASSERT_TRUE(test::waitFor([&] { return another->findChild<QLineEdit*>("username") != nullptr; }));
    another->SelectCodeTab();
    EXPECT_TRUE(test::find(another, "code_box")->isVisible());
    EXPECT_EQ(another->findChild<QWidget*>("loding"), nullptr);
    another->SelectPasswordTab();
    EXPECT_EQ(another->focusWidget(), test::find(another, "username"));
    another->Unload();
}

TEST_F(LoginTest, TabSwitchingFollowsTheTable) {
    test::find<QLineEdit>(window, "mobile")->setText("138");
    window->SelectPasswordTab();
    EXPECT_EQ(window->defaultButton(), test::find<QPushButton>(window, "password_enter"));
    EXPECT_TRUE(test::find<chrome::PictureBox>(window, "password_box")->isVisible());
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "mobile_box")->isVisible());
    EXPECT_TRUE(test::find<chrome::ClickLabel>(window, "forget_password")->isVisible());
    EXPECT_FALSE(test::find<chrome::ImageControl>(window, "password_tab_bg")->isVisible());
    EXPECT_TRUE(test::find<chrome::ImageControl>(window, "mobile_tab_bg")->isVisible());
    EXPECT_EQ(test::find<QLineEdit>(window, "mobile")->text(), "");
    EXPECT_FALSE(test::find<QLineEdit>(window, "captcha_tip")->isHidden()) << "shown, in its hidden panel";
    EXPECT_TRUE(test::find<QLineEdit>(window, "mobile_tip")->isHidden());

    test::find<QLineEdit>(window, "username")->setText("demo");
    test::find<QLineEdit>(window, "password")->setText("x");
    window->SelectMobileTab();
    window->SelectPasswordTab();
    EXPECT_EQ(test::find<QLineEdit>(window, "username")->text(), "") << "leaving a tab clears its inputs";
    EXPECT_EQ(test::find<QLineEdit>(window, "password")->text(), "");

    window->SelectCodeTab();
    EXPECT_EQ(window->defaultButton(), test::find<QPushButton>(window, "password_enter"))
        << "the QR tab keeps the default button";
    EXPECT_TRUE(test::find<chrome::PictureBox>(window, "code_box")->isVisible());
    EXPECT_FALSE(test::find<chrome::ClickLabel>(window, "forget_password")->isVisible());
    EXPECT_FALSE(test::find<chrome::ImageControl>(window, "code_tab_bg")->isVisible());
    EXPECT_FALSE(test::find<QLineEdit>(window, "password_tip")->isHidden());
    EXPECT_TRUE(test::find<QTimer>(window, "code_time")->isActive());
}

TEST_F(LoginTest, HintBoxes) {
    window->SelectPasswordTab();
    test::find<QLineEdit>(window, "username")->clear();
    test::find<QLineEdit>(window, "username_tip")->show();
    focus(test::find<QLineEdit>(window, "username"), QEvent::FocusIn);
    EXPECT_FALSE(test::find<QLineEdit>(window, "username_tip")->isVisible());
    focus(test::find<QLineEdit>(window, "username"), QEvent::FocusOut);
    EXPECT_TRUE(test::find<QLineEdit>(window, "username_tip")->isVisible()) << "empty again: the hint returns";
    focus(test::find<QLineEdit>(window, "username"), QEvent::FocusIn);
    test::find<QLineEdit>(window, "username")->setText("demo");
    focus(test::find<QLineEdit>(window, "username"), QEvent::FocusOut);
    EXPECT_FALSE(test::find<QLineEdit>(window, "username_tip")->isVisible());
    // A click on the hint hides it and hands the focus to its input.
    test::find<QLineEdit>(window, "password_tip")->show();
    QTest::mouseClick(test::find<QLineEdit>(window, "password_tip"), Qt::LeftButton);
    EXPECT_FALSE(test::find<QLineEdit>(window, "password_tip")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), test::find<QLineEdit>(window, "password"));
}

TEST_F(LoginTest, AScreenReaderMeetsNamedFieldsAndNoHints) {
    const std::pair<const char*, QStringList> tabs[] = {
        {"mobileBtn", {"mobile", "captcha"}}, {"passwordBtn", {"username", "password"}}, {"codeBtn", {}}};
    for (const auto& [tab, fields] : tabs) {
        click(test::find<chrome::ImageControl>(window, tab));
        for (const char* hint : {"mobile_tip", "captcha_tip", "username_tip", "password_tip"}) {
            test::find(window, hint)->show(); // shown, as before anything is typed
        }
        QStringList met;
        EXPECT_EQ(test::namelessFocusable(window, &met), QStringList()) << tab;
        EXPECT_EQ(met, fields) << tab << ": the hints are no fields of their own";
    }
    for (const auto& [input, hint] : {std::pair{"mobile", "请输入手机号"}, {"captcha", "请输入验证码"},
                                      {"username", "请输入用户名称"}, {"password", "请输入帐号密码"}}) {
        auto* box = test::find<QLineEdit>(window, input);
        EXPECT_FALSE(test::accessibleName(box).isEmpty()) << input;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description), hint);
        auto* tip = test::find(window, QString(input) + "_tip");
        EXPECT_EQ(tip->focusPolicy(), Qt::NoFocus) << "Tab and a screen reader's focus go to the box";
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(tip)->state().invisible);
    }
}

TEST_F(LoginTest, InputChecksAndRefusals) {
    window->SelectPasswordTab();
    click(test::find<chrome::ImageControl>(window, "username_btn"));
    EXPECT_EQ(error(), "帐号不能为空！");
    test::find<QLineEdit>(window, "username")->setText("demo");
    EXPECT_EQ(error(), "") << "typing hides the message";
    click(test::find<chrome::ImageControl>(window, "username_btn"));
    EXPECT_EQ(error(), "密码不能为空！");
    test::find<QLineEdit>(window, "password")->setText("wrong");
    click(test::find<chrome::ImageControl>(window, "username_btn"));
    EXPECT_EQ(error(), "用户名或密码错误");
    test::find<QLineEdit>(window, "password")->setText("nomsg");
    click(test::find<chrome::ImageControl>(window, "username_btn"));
    EXPECT_TRUE(test::find<chrome::PictureBox>(window, "error_box")->isVisible());
    EXPECT_EQ(test::find<QLabel>(window, "ErrTip")->text(), "");
    EXPECT_EQ(requests, 2);

    window->SelectMobileTab();
    click(test::find<chrome::ImageControl>(window, "mobile_btn"));
    EXPECT_EQ(error(), "手机号不能为空！");
    test::find<QLineEdit>(window, "mobile")->setText(" ");
    click(test::find<chrome::ImageControl>(window, "mobile_btn"));
    EXPECT_EQ(error(), "验证码不能为空！");
    EXPECT_TRUE(startup::State().UserData.isNothing());
}

TEST_F(LoginTest, PasswordSignInSendsEncodedValuesAndHandsOver) {
    window->SelectPasswordTab();
    test::find<QLineEdit>(window, "username")->setText("林 demo");
    test::find<QLineEdit>(window, "password")->setText("p&ss#1");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(test::find<QLineEdit>(window, "password"), &enter);
    EXPECT_EQ(lastQuery, "/desktop/site/login?username=%E6%9E%97%20demo&password=p%26ss%231");
    const auto data = startup::State().UserData.dictionary();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Item(u"nickname").text(), u"林晓雨");
    EXPECT_FALSE(chrome::IsFormLoaded("login"));
    EXPECT_TRUE(chrome::IsFormLoaded("tray_form"));
    EXPECT_EQ(mainWindowsShown, 1);
    ASSERT_FALSE(cookies->cookies.empty());
    EXPECT_EQ(cookies->cookies.back().name, "SID");
    EXPECT_EQ(cookies->cookies.back().value, "after-login");
    EXPECT_EQ(cookies->cookies.back().url, server.url());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(LoginTest, SmsCodeCountdown) {
    click(test::find<chrome::ImageControl>(window, "getCaptchaBtn"));
    EXPECT_EQ(error(), "手机号不能为空！");
    test::find<QLineEdit>(window, "mobile")->setText("13800138000");
    click(test::find<chrome::ImageControl>(window, "getCaptchaBtn"));
    EXPECT_EQ(test::find<chrome::ClickLabel>(window, "get_captcha")->text(), "60 秒重新发送");
    EXPECT_FALSE(test::find<chrome::ImageControl>(window, "captcha_bg")->isVisible());
    EXPECT_TRUE(test::find<QTimer>(window, "msm_captcha")->isActive());
    EXPECT_EQ(test::find<QTimer>(window, "msm_captcha")->interval(), 1000);
    click(test::find<chrome::ImageControl>(window, "getCaptchaBtn"));
    EXPECT_EQ(error(), "60秒内不能重复发送验证码");
    EXPECT_EQ(requests, 1);

    window->CountdownTick();
    EXPECT_EQ(test::find<chrome::ClickLabel>(window, "get_captcha")->text(), "59 秒重新发送");
    for (int i = 0; i < 58; ++i) {
        window->CountdownTick();
    }
    EXPECT_EQ(test::find<chrome::ClickLabel>(window, "get_captcha")->text(), "1 秒重新发送");
    window->CountdownTick();
    EXPECT_EQ(test::find<chrome::ClickLabel>(window, "get_captcha")->text(), "获取验证码");
    EXPECT_TRUE(test::find<chrome::ImageControl>(window, "captcha_bg")->isVisible());
    EXPECT_FALSE(test::find<QTimer>(window, "msm_captcha")->isActive());
    EXPECT_EQ(window->CaptchaSeconds(), 0);

    test::find<QLineEdit>(window, "captcha")->setText("123456");
    click(test::find<chrome::ImageControl>(window, "mobile_btn"));
    EXPECT_EQ(lastQuery, "/desktop/site/loginCode?mobile=13800138000&code=123456");
    EXPECT_EQ(mainWindowsShown, 1);
}

TEST_F(LoginTest, TheKeyboardReachesNamesAndActsOnEveryControl) {
    QApplication::setCursorFlashTime(0); // a steady text cursor, for the pictures
    click(test::find<chrome::ImageControl>(window, "mobileBtn"));
    const QImage untouched = window->grab().toImage(); // the mouse only
    // Each tab's controls in reading order; every one has a name.
    EXPECT_EQ(test::tabWalk(window, "codeBtn"),
              (QStringList{"codeBtn", "passwordBtn", "mobileBtn", "mobile", "getCaptchaBtn", "captcha", "mobile_btn",
                           "reg_new", "aicAlphaImage6"}));
    auto* mark = test::find(window, "focusMark");
    EXPECT_TRUE(mark->isVisible());
    EXPECT_TRUE(mark->geometry().contains(QApplication::focusWidget()->geometry().translated(
        QApplication::focusWidget()->mapTo(window, QPoint(0, 0)) - QApplication::focusWidget()->pos())));
    auto* passwordTab = test::find<chrome::ImageControl>(window, "passwordBtn");
    EXPECT_EQ(test::accessibleRole(passwordTab), QAccessible::PageTab);

    // Ctrl+Shift+Tab and Ctrl+Tab switch tabs, right to left and back round.
    test::pressOnFocus(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(test::find(window, "password_box")->isVisible());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(passwordTab)->state().selected);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "username") << "the tab's first field, marked";
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(test::tabWalk(window, "codeBtn"),
              (QStringList{"codeBtn", "passwordBtn", "mobileBtn", "username", "password", "username_btn", "reg_new",
                           "forget_password", "aicAlphaImage6"}));
    test::pressOnFocus(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(test::find(window, "mobile_box")->isVisible());
    test::pressOnFocus(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(test::find(window, "code_box")->isVisible()) << "round to the first tab";
    EXPECT_EQ(test::tabWalk(window, "codeBtn"),
              (QStringList{"codeBtn", "passwordBtn", "mobileBtn", "aicAlphaImage2", "reg_new", "aicAlphaImage6"}));
    EXPECT_EQ(test::accessibleName(test::find(window, "code_box")), "登录二维码") << "the QR code's panel";
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(test::find(window, "loding"))->state().invisible)
        << "not the QR page's unnamed document";
#ifdef KIVO_SCREENSHOTS
    QDir().mkpath(KIVO_SCREENSHOTS);
    chrome::FocusByKeyboard(test::find(window, "passwordBtn"));
    window->grab().save(QString(KIVO_SCREENSHOTS) + "/focus-mark-sign-in-tab.png");
#endif

    // Enter and Space act: a tab, a link, a button.
    chrome::FocusByKeyboard(test::find(window, "mobileBtn"));
    test::pressOnFocus(Qt::Key_Space);
    EXPECT_TRUE(test::find(window, "mobile_box")->isVisible());
    chrome::FocusByKeyboard(test::find(window, "reg_new"));
    test::pressOnFocus(Qt::Key_Return);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(test::accessibleRole(test::find(window, "reg_new")), QAccessible::Link);

    // The error strip is an alert named by its message (the offscreen platform has no screen
    // reader to hear the alert event itself); the countdown's count is heard too.
    auto* code = test::find<chrome::ImageControl>(window, "getCaptchaBtn");
    chrome::FocusByKeyboard(code);
    test::pressOnFocus(Qt::Key_Enter);
    EXPECT_EQ(test::accessibleName(test::find(window, "error_box")), "手机号不能为空！");
    EXPECT_EQ(test::accessibleRole(test::find(window, "error_box")), QAccessible::AlertMessage);
    test::find<QLineEdit>(window, "mobile")->setText("13800138000");
    chrome::FocusByKeyboard(code);
    test::pressOnFocus(Qt::Key_Space);
    EXPECT_EQ(test::accessibleName(code), "60 秒重新发送");
    window->CountdownTick();
    EXPECT_EQ(test::accessibleName(code), "59 秒重新发送");

    // A mouse click takes the mark away, and nothing else differs from the window the mouse alone
    // used.
    test::find<QLineEdit>(window, "mobile")->clear();
    test::find<QLineEdit>(window, "captcha")->clear();
    while (window->CaptchaSeconds() > 0) {
        window->CountdownTick();
    }
    test::find(window, "error_box")->hide();
    click(test::find<chrome::ImageControl>(window, "mobileBtn"));
    EXPECT_FALSE(mark->isVisible());
    const QImage after = window->grab().toImage();
    EXPECT_EQ(after, untouched);
    if (after != untouched) {
        after.save("/tmp/after.png");
        untouched.save("/tmp/untouched.png");
    }
}

TEST_F(LoginTest, ARefusedCodeRequestLeavesTheButtonUsable) {
    test::find<QLineEdit>(window, "mobile")->setText("123");
    click(test::find<chrome::ImageControl>(window, "getCaptchaBtn"));
    EXPECT_EQ(error(), "手机号格式不正确");
    EXPECT_FALSE(test::find<QTimer>(window, "msm_captcha")->isActive());
    click(test::find<chrome::ImageControl>(window, "getCaptchaBtn"));
    EXPECT_EQ(requests, 2);
}

TEST_F(LoginTest, QrCodesGetFreshAddressesAndPollUntilConfirmed) {
    window->SelectCodeTab();
    const QString base = QString::fromStdString(server.url());
    // /opt/kivo has no img/loding.gif (an installed program): the program's own copy.
    EXPECT_TRUE(browser().calls.contains("write <body style='width:100%;height:100%;background:url(:/img/"
                                         "loding.gif) no-repeat center center'></body> @ " +
                                         base));
    EXPECT_TRUE(browser().calls.contains("style margin=0px"));
    EXPECT_EQ(browser().calls.last(),
              "inner <img style='width:100%;height:100%' src='" + base + "/desktop/site/showLoginQrcode?time=1'>");
    QTimer* poll = test::find<QTimer>(window, "code_time");
    QTest::qWait(30); // some of the poll's five seconds go by
    const int left = poll->remainingTime();
    click(test::find<chrome::ImageControl>(window, "aicAlphaImage2"));
    EXPECT_TRUE(browser().calls.last().endsWith("showLoginQrcode?time=2'>"));
    EXPECT_LE(poll->remainingTime(), left) << "a refresh keeps the running poll's rhythm";
    EXPECT_EQ(window->QrCount(), 2);
    EXPECT_EQ(test::find<QTimer>(window, "code_time")->interval(), 5000);

    confirmOnPoll = 3;
    window->Poll();
    window->Poll();
    EXPECT_TRUE(chrome::IsFormLoaded("login"));
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "error_box")->isVisible()) << "waiting shows no message";
    window->Poll();
    EXPECT_FALSE(chrome::IsFormLoaded("login"));
    EXPECT_EQ(startup::State().UserData.dictionary()->Item(u"nickname").text(), u"扫码");
}

TEST_F(LoginTest, APollTickDuringAnotherRequestIsSkipped) {
    window->SelectCodeTab();
    std::atomic<bool> ticked = false;
    QTimer::singleShot(0, [&] {
        window->Poll();
        ticked = true;
    });
    platform::RunResponsively([&] {
        while (!ticked) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    EXPECT_EQ(polls, 0) << "the tick would have queued behind the running request";
    EXPECT_TRUE(test::find<QTimer>(window, "code_time")->isActive()) << "the next tick polls";
    window->Poll();
    EXPECT_EQ(polls, 1);
}

TEST_F(LoginTest, AnUnreachableServiceStopsThePollSilently) {
    window->SelectCodeTab();
    server.stop();
    window->Poll();
    EXPECT_FALSE(test::find<QTimer>(window, "code_time")->isActive());
    EXPECT_FALSE(test::find<chrome::PictureBox>(window, "error_box")->isVisible());
    window->SelectPasswordTab();
    test::find<QLineEdit>(window, "username")->setText("a");
    test::find<QLineEdit>(window, "password")->setText("b");
    click(test::find<chrome::ImageControl>(window, "username_btn"));
    EXPECT_EQ(error(), "服务器忙，请稍侯再试！");
}

TEST_F(LoginTest, LinksAndClose) {
    QTest::mouseClick(test::find<chrome::ClickLabel>(window, "reg_new"), Qt::LeftButton);
    QTest::mouseClick(test::find<chrome::ClickLabel>(window, "forget_password"), Qt::LeftButton);
    const QString base = QString::fromStdString(server.url());
    EXPECT_EQ(opened, (QStringList{base + "/user/site/reg", base + "/user/site/getPasswordStep1"}));
    click(test::find<chrome::ImageControl>(window, "aicAlphaImage6"));
    EXPECT_FALSE(chrome::IsFormLoaded("tray_form"));
    EXPECT_FALSE(chrome::IsFormLoaded("login"));
    EXPECT_EQ(programEnds, 1);
}

TEST_F(LoginTest, OpenedAgainAfterAnEndedSessionItSaysSoAndClosingItEndsTheWaitingMainWindowToo) {
    (new chrome::Form("home"))->Load(); // hidden, waiting for the next sign-in
    click(test::find<chrome::ImageControl>(window, "aicAlphaImage6"));
    ASSERT_EQ(programEnds, 1);
    ASSERT_FALSE(chrome::IsFormLoaded("home")) << "the first sign-in window's close ends it as well";

    (new chrome::Form("home"))->Load();
    tray = new tray::TrayForm;
    tray->Load();
    login::OpenAgain("登录已过期，请重新登录");
    auto* again = qobject_cast<login*>(chrome::FindForm("login"));
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(test::find<QLabel>(again, "ErrTip")->text(), "登录已过期，请重新登录");
    click(test::find<chrome::ImageControl>(again, "aicAlphaImage6"));
    EXPECT_FALSE(chrome::IsFormLoaded("home")) << "the hidden main window does not run on unseen";
    EXPECT_FALSE(chrome::IsFormLoaded("tray_form"));
    EXPECT_EQ(programEnds, 2);
}

} // namespace
} // namespace kivo::signin
