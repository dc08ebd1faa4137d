// The sign-in window offscreen, with a fake browser, against a local server whose answers each
// case chooses.
#include "chrome/formregistry.h"
#include "fakebrowser.h"
#include "platform/curlhttpsession.h"
#include "recordingcookiestore.h"
#include "platform/urlopener.h"
#include "service/httprequest.h"
#include "service/json/dictionary.h"
#include "signin/login.h"
#include "startup/runparameters.h"
#include "testserver.h"
#include "tray/trayform.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace kivo::signin {
namespace {

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& http = server_.server();
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
        server_.start();

        service::Service() = {server_.url(), std::make_shared<platform::CurlHttpSession>(), cookies};
        startup::State() = {};
        startup::State().options.appDir = "/opt/kivo";
        platform::Browsers() = [](QWidget* parent) { return std::make_unique<test::FakeBrowser>(parent); };
        platform::UrlOpener::setHandler([this](const QString& url) { opened << url; });
        chrome::FormRegistry::instance().setProgramEnd([this] { ++programEnds; });
        login::SetShowMainWindow([this] { ++mainWindowsShown; });

        tray = new tray::TrayForm;
        tray->Load();
        window = new login;
        window->Load();
        window->show();
    }

    void TearDown() override {
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        chrome::FormRegistry::instance().setProgramEnd({});
        login::SetShowMainWindow({});
        platform::UrlOpener::setHandler({});
        platform::Browsers() = {};
        service::Service() = {};
    }

    test::FakeBrowser& browser() { return static_cast<test::FakeBrowser&>(*window->loding); }
    static void focus(QWidget* w, QEvent::Type type) {
        QFocusEvent event(type, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(w, &event);
    }
    void click(chrome::ImageControl* control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2)); }
    QString error() const { return window->error_box->isVisible() ? window->ErrTip->text() : QString(); }

    test::TestServer server_;
    std::shared_ptr<tools::RecordingCookieStore> cookies = std::make_shared<tools::RecordingCookieStore>();
    std::atomic<int> requests{0};
    std::atomic<int> polls{0};
    int confirmOnPoll = 1000;
    std::string lastQuery;
    QStringList opened;
    int programEnds = 0;
    int mainWindowsShown = 0;
    tray::TrayForm* tray = nullptr;
    login* window = nullptr;
};

TEST_F(LoginTest, StartsOnTheSmsTab) {
    EXPECT_TRUE(window->mobile_box->isVisible());
    EXPECT_FALSE(window->password_box->isVisible());
    EXPECT_FALSE(window->code_box->isVisible());
    EXPECT_FALSE(window->mobile_tab_bg->isVisible());
    EXPECT_TRUE(window->code_tab_bg->isVisible());
    EXPECT_TRUE(window->password_tab_bg->isVisible());
    EXPECT_TRUE(window->forget_password->isVisible());
    EXPECT_FALSE(window->error_box->isVisible());
    EXPECT_EQ(window->defaultButton(), window->mobile_enter);
    EXPECT_EQ(window->size(), QSize(899, 601));
    EXPECT_EQ(browser().calls, QStringList{"navigate " + QString::fromStdString(server_.url())});
}

TEST_F(LoginTest, TabSwitchingFollowsTheTable) {
    window->mobile->setText("138");
    window->SelectPasswordTab();
    EXPECT_EQ(window->defaultButton(), window->password_enter);
    EXPECT_TRUE(window->password_box->isVisible());
    EXPECT_FALSE(window->mobile_box->isVisible());
    EXPECT_TRUE(window->forget_password->isVisible());
    EXPECT_FALSE(window->password_tab_bg->isVisible());
    EXPECT_TRUE(window->mobile_tab_bg->isVisible());
    EXPECT_EQ(window->mobile->text(), "");
    EXPECT_FALSE(window->captcha_tip->isHidden()) << "shown, in its hidden panel";
    EXPECT_TRUE(window->mobile_tip->isHidden());

    window->username->setText("demo");
    window->password->setText("x");
    window->SelectMobileTab();
    window->SelectPasswordTab();
    EXPECT_EQ(window->username->text(), "") << "leaving a tab clears its inputs";
    EXPECT_EQ(window->password->text(), "");

    window->SelectCodeTab();
    EXPECT_EQ(window->defaultButton(), window->password_enter) << "the QR tab keeps the default button";
    EXPECT_TRUE(window->code_box->isVisible());
    EXPECT_FALSE(window->forget_password->isVisible());
    EXPECT_FALSE(window->code_tab_bg->isVisible());
    EXPECT_FALSE(window->password_tip->isHidden());
    EXPECT_TRUE(window->code_time.isActive());
}

TEST_F(LoginTest, HintBoxes) {
    window->SelectPasswordTab();
    window->username->clear();
    window->username_tip->show();
    focus(window->username, QEvent::FocusIn);
    EXPECT_FALSE(window->username_tip->isVisible());
    focus(window->username, QEvent::FocusOut);
    EXPECT_TRUE(window->username_tip->isVisible()) << "empty again: the hint returns";
    focus(window->username, QEvent::FocusIn);
    window->username->setText("demo");
    focus(window->username, QEvent::FocusOut);
    EXPECT_FALSE(window->username_tip->isVisible());
    // A click on the hint hides it and hands the focus to its input.
    window->password_tip->show();
    focus(window->password_tip, QEvent::FocusIn);
    EXPECT_FALSE(window->password_tip->isVisible());
}

TEST_F(LoginTest, InputChecksAndRefusals) {
    window->SelectPasswordTab();
    click(window->username_btn);
    EXPECT_EQ(error(), "帐号不能为空！");
    window->username->setText("demo");
    EXPECT_EQ(error(), "") << "typing hides the message";
    click(window->username_btn);
    EXPECT_EQ(error(), "密码不能为空！");
    window->password->setText("wrong");
    click(window->username_btn);
    EXPECT_EQ(error(), "用户名或密码错误");
    window->password->setText("nomsg");
    click(window->username_btn);
    EXPECT_TRUE(window->error_box->isVisible());
    EXPECT_EQ(window->ErrTip->text(), "");
    EXPECT_EQ(requests, 2);

    window->SelectMobileTab();
    click(window->mobile_btn);
    EXPECT_EQ(error(), "手机号不能为空！");
    window->mobile->setText(" ");
    click(window->mobile_btn);
    EXPECT_EQ(error(), "验证码不能为空！");
    EXPECT_TRUE(startup::State().UserData.isNothing());
}

TEST_F(LoginTest, PasswordSignInSendsEncodedValuesAndHandsOver) {
    window->SelectPasswordTab();
    window->username->setText("林 demo");
    window->password->setText("p&ss#1");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(window->password, &enter);
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
    EXPECT_EQ(cookies->cookies.back().url, server_.url());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(LoginTest, SmsCodeCountdown) {
    click(window->getCaptchaBtn);
    EXPECT_EQ(error(), "手机号不能为空！");
    window->mobile->setText("13800138000");
    click(window->getCaptchaBtn);
    EXPECT_EQ(window->get_captcha->text(), "60 秒重新发送");
    EXPECT_FALSE(window->captcha_bg->isVisible());
    EXPECT_TRUE(window->msm_captcha.isActive());
    EXPECT_EQ(window->msm_captcha.interval(), 1000);
    click(window->getCaptchaBtn);
    EXPECT_EQ(error(), "60秒内不能重复发送验证码");
    EXPECT_EQ(requests, 1);

    window->CountdownTick();
    EXPECT_EQ(window->get_captcha->text(), "59 秒重新发送");
    for (int i = 0; i < 58; ++i) {
        window->CountdownTick();
    }
    EXPECT_EQ(window->get_captcha->text(), "1 秒重新发送");
    window->CountdownTick();
    EXPECT_EQ(window->get_captcha->text(), "获取验证码");
    EXPECT_TRUE(window->captcha_bg->isVisible());
    EXPECT_FALSE(window->msm_captcha.isActive());
    EXPECT_EQ(window->CaptchaSeconds(), 0);

    window->captcha->setText("123456");
    click(window->mobile_btn);
    EXPECT_EQ(lastQuery, "/desktop/site/loginCode?mobile=13800138000&code=123456");
    EXPECT_EQ(mainWindowsShown, 1);
}

TEST_F(LoginTest, ARefusedCodeRequestLeavesTheButtonUsable) {
    window->mobile->setText("123");
    click(window->getCaptchaBtn);
    EXPECT_EQ(error(), "手机号格式不正确");
    EXPECT_FALSE(window->msm_captcha.isActive());
    click(window->getCaptchaBtn);
    EXPECT_EQ(requests, 2);
}

TEST_F(LoginTest, QrCodesGetFreshAddressesAndPollUntilConfirmed) {
    window->SelectCodeTab();
    const QString base = QString::fromStdString(server_.url());
    EXPECT_TRUE(browser().calls.contains("write <body style='width:100%;height:100%;background:url(/opt/kivo/img/"
                                         "loding.gif) no-repeat center center'></body> @ " +
                                         base));
    EXPECT_TRUE(browser().calls.contains("style margin=0px"));
    EXPECT_EQ(browser().calls.last(),
              "inner <img style='width:100%;height:100%' src='" + base + "/desktop/site/showLoginQrcode?time=1'>");
    click(window->aicAlphaImage2);
    EXPECT_TRUE(browser().calls.last().endsWith("showLoginQrcode?time=2'>"));
    EXPECT_EQ(window->QrCount(), 2);
    EXPECT_EQ(window->code_time.interval(), 5000);

    confirmOnPoll = 3;
    window->Poll();
    window->Poll();
    EXPECT_TRUE(chrome::IsFormLoaded("login"));
    EXPECT_FALSE(window->error_box->isVisible()) << "waiting shows no message";
    window->Poll();
    EXPECT_FALSE(chrome::IsFormLoaded("login"));
    EXPECT_EQ(startup::State().UserData.dictionary()->Item(u"nickname").text(), u"扫码");
}

TEST_F(LoginTest, AnUnreachableServiceStopsThePollSilently) {
    window->SelectCodeTab();
    server_.stop();
    window->Poll();
    EXPECT_FALSE(window->code_time.isActive());
    EXPECT_FALSE(window->error_box->isVisible());
    window->SelectPasswordTab();
    window->username->setText("a");
    window->password->setText("b");
    click(window->username_btn);
    EXPECT_EQ(error(), "服务器忙，请稍侯再试！");
}

TEST_F(LoginTest, LinksAndClose) {
    QTest::mouseClick(window->reg_new, Qt::LeftButton);
    QTest::mouseClick(window->forget_password, Qt::LeftButton);
    const QString base = QString::fromStdString(server_.url());
    EXPECT_EQ(opened, (QStringList{base + "/user/site/reg", base + "/user/site/getPasswordStep1"}));
    click(window->aicAlphaImage6);
    EXPECT_FALSE(chrome::IsFormLoaded("tray_form"));
    EXPECT_FALSE(chrome::IsFormLoaded("login"));
    EXPECT_EQ(programEnds, 1);
}

} // namespace
} // namespace kivo::signin
