// The client against a broken service: every fault of the matrix, for each of sign-in, the SMS
// code request, the QR poll, the configuration download, a menu icon and the avatar. Nothing
// crashes, nothing waits past the time-outs, the sign-in window says what it says of a busy
// service, and what was cached stays as it was.
#include "chrome/imagecontrol.h"
#include "chrome/picturebox.h"
#include "chrome/windowhelpers.h"
#include "eventcounter.h"
#include "mainwin/menuiconcache.h"
#include "signin/login.h"
#include "startup/configuration.h"
#include "windowtest.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

namespace kivo {
namespace {

using namespace std::chrono_literals;

enum class Fault { Refused, Silent, Late, Html500, RandomBytes, TruncatedJson, Huge, WrongCharset, Redirect };

const char* name(Fault f) {
    static const char* names[] = {"Refused",       "Silent", "Late",         "Html500", "RandomBytes",
                                  "TruncatedJson", "Huge",   "WrongCharset", "Redirect"};
    return names[static_cast<int>(f)];
}

constexpr auto kReceiveLimit = 800ms; // the client's receive time-out in these tests

class FaultMatrix : public test::WindowTest, public ::testing::WithParamInterface<Fault> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        const Fault fault = GetParam();
        server.server().set_error_handler([](const auto&, auto&) {});
        auto answer = [fault](const httplib::Request&, httplib::Response& res) {
            switch (fault) {
            case Fault::Refused:
                break;
            case Fault::Silent:
                std::this_thread::sleep_for(3s); // accepted, never answered in time
                break;
            case Fault::Late:
                std::this_thread::sleep_for(3s);
                res.set_content(R"({"status":1,"data":{"nickname":"late"}})", "application/json");
                break;
            case Fault::Html500:
                res.status = 500;
                res.set_content("<html><body>Internal Server Error</body></html>", "text/html");
                break;
            case Fault::RandomBytes: {
                std::mt19937 random(7);
                std::string bytes(4096, '\0');
                for (char& c : bytes) {
                    c = static_cast<char>(random());
                }
                res.set_content(bytes, "application/octet-stream");
                break;
            }
            case Fault::TruncatedJson:
                res.set_content(R"({"status":1,"data":{"topMenu":[{"name":"首)", "application/json");
                break;
            case Fault::Huge:
                res.set_content(std::string(50u << 20, ' ') + "{}", "application/json");
                break;
            case Fault::WrongCharset: // GBK bytes of "用户名或密码错误" said to be UTF-8
                res.set_content("{\"status\":0,\"msg\":\"\xD3\xC3\xBB\xA7\xC3\xFB\"}",
                                "application/json; charset=utf-8");
                break;
            case Fault::Redirect:
                res.status = 302;
                res.set_header("Location", "http://127.0.0.1:1/elsewhere");
                break;
            }
        };
        server.server().Post(R"(/.*)", answer);
        server.server().Get(R"(/.*)", answer);
        server.start();
        const std::string base = fault == Fault::Refused ? "http://127.0.0.1:1" : server.url();
        const platform::HttpTimeouts limits{kReceiveLimit, kReceiveLimit, kReceiveLimit};
        service::Service() = {base, std::make_shared<platform::CurlHttpSession>(limits), cookies, {}};
        icons_ = std::make_unique<mainwin::MenuIconCache>(
            folder.path(), base,
            std::make_shared<platform::CurlHttpSession>(
                platform::HttpTimeouts{limits.connect, limits.send, limits.receive, 2s}, platform::HttpNetwork{},
                platform::CurlHttpSession::kPictureLimit));
        signin::login::SetShowMainWindow([this](QScreen*) { ++signedIn; });
        window = new signin::login;
        window->Load();
        window->show();
    }
    void TearDown() override {
        WindowTest::TearDown();
        signin::login::SetShowMainWindow({});
    }

    // Runs `step` and says whether it stayed within the time-outs. A step that waits for a
    // silent or late service keeps the window painting under a busy cursor meanwhile.
    template <typename F> bool inTime(F step) {
        int paints = 0;
        bool busy = false;
        test::EventCounter painted(window, QEvent::Paint, paints);
        QTimer repaint;
        repaint.setInterval(20);
        QObject::connect(&repaint, &QTimer::timeout, [&] {
            window->update();
            busy = busy || (QGuiApplication::overrideCursor() != nullptr &&
                            QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor);
        });
        repaint.start();
        const auto start = std::chrono::steady_clock::now();
        step();
        const auto took = std::chrono::steady_clock::now() - start;
        if (GetParam() == Fault::Silent || GetParam() == Fault::Late) {
            EXPECT_GT(paints, 3) << "the window painted while the service kept it waiting";
            EXPECT_TRUE(busy);
        }
        return took < 5s;
    }
    QString error() const {
        return test::find<chrome::PictureBox>(window, "error_box")->isVisible()
                   ? test::find<QLabel>(window, "ErrTip")->text()
                   : QString();
    }
    void click(const char* control) {
        QTest::mouseClick(test::find(window, control), Qt::LeftButton, {}, QPoint(3, 3));
    }
    // The message the sign-in window gives for a service that gave no usable answer.
    QString busy() const { return GetParam() == Fault::WrongCharset ? error() : QString("服务器忙，请稍侯再试！"); }

    std::unique_ptr<mainwin::MenuIconCache> icons_;
    signin::login* window = nullptr;
    int signedIn = 0;
};

TEST_P(FaultMatrix, SignInAndTheSmsCodeSayTheServiceIsBusy) {
    window->SelectPasswordTab();
    test::find<QLineEdit>(window, "username")->setText("demo");
    test::find<QLineEdit>(window, "password")->setText("kivo&2026#");
    EXPECT_TRUE(inTime([&] { click("username_btn"); }));
    EXPECT_EQ(signedIn, 0);
    EXPECT_FALSE(error().isEmpty());
    EXPECT_EQ(error(), busy());

    window->SelectMobileTab();
    test::find<QLineEdit>(window, "mobile")->setText("13800138000");
    EXPECT_TRUE(inTime([&] { click("getCaptchaBtn"); }));
    EXPECT_FALSE(test::find<QTimer>(window, "msm_captcha")->isActive()) << "no countdown without a sent code";
    EXPECT_EQ(error(), busy());
}

TEST_P(FaultMatrix, TheQrPollEndsQuietly) {
    window->SelectCodeTab();
    EXPECT_TRUE(inTime([&] { window->Poll(); }));
    EXPECT_EQ(signedIn, 0);
    EXPECT_TRUE(chrome::IsFormLoaded("login"));
}

TEST_P(FaultMatrix, CachedMenusAndIconsStay) {
    const std::string cached = "[SysRunParameter]\ntopMenu=[{\"name\":\"A\"}]\nleftMenu=[]\nupdateTime=T1\n";
    std::ofstream(startup::RunParameterFile()) << cached;
    EXPECT_TRUE(inTime([] { startup::DownloadConfiguration("T1"); }));
    EXPECT_EQ(test::ReadFile(startup::RunParameterFile()), cached);

    std::string icon;
    EXPECT_TRUE(inTime([&] { icon = icons_->FetchMenuIcon("/static/menu/home.png"); }));
    EXPECT_EQ(icon, "");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "static" / "menu" / "home.png"));

    QImage avatar;
    EXPECT_TRUE(inTime([&] {
        avatar = chrome::LoadPictureFromPath(QString::fromStdString(service::Service().BaseUrl) + "/avatar.png",
                                             service::Service().HttpClient.get());
    }));
    EXPECT_TRUE(avatar.isNull());
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix,
                         ::testing::Values(Fault::Refused, Fault::Silent, Fault::Late, Fault::Html500,
                                           Fault::RandomBytes, Fault::TruncatedJson, Fault::Huge, Fault::WrongCharset,
                                           Fault::Redirect),
                         [](const auto& info) { return std::string(name(info.param)); });

} // namespace
} // namespace kivo
