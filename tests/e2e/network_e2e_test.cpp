// A company network: the service signed by the company's own authority and reached through its
// proxy. The service client (sign-in) and the browser engine (pages) trust and route alike.
#include "clientendtoend.h"
#include "connectproxy.h"
#include "findcontrol.h"
#include "platform/web/browsernetwork.h"
#include "testauthority.h"

#include <QLabel>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kivo::mainwin {
namespace {

class CompanyNetworkEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        authority_ = new test::TestAuthority;
        ASSERT_TRUE(authority_->ok());
        // The service as its own address, as a name only the proxy knows, and as another host.
        ASSERT_TRUE(authority_->issue("service", "127.0.0.1"));
        ASSERT_TRUE(authority_->issue("named", "workbench.kivo.test"));
        ASSERT_TRUE(authority_->issue("elsewhere", "elsewhere.kivo.test"));
    }
    static void TearDownTestSuite() { delete authority_; }
    void SetUp() override {
        test::WireClient([] {});
    }
    void TearDown() override {
        test::UnwireClient();
        for (const char* name : {"https_proxy", "no_proxy"}) {
            ::unsetenv(name);
        }
        platform::ShareNetworkWithBrowser({}, {}); // the other tests' network: direct, the system's trust
    }

    static home* signIn(QString* message = nullptr) { return test::SignInAsDemo<signin::login, home>(message); }
    // The start page (the service's announcement of it hides the loading animation) or the failure panel.
    static bool startPageShown(home* w) {
        QWidget* overlay = test::find(w, "loadingWeb");
        QWidget* panel = test::find(w, "failurePanel");
        return test::waitFor([&] { return !overlay->isVisible() || panel->isVisible(); }) && !panel->isVisible();
    }
    static QString failure(home* w) {
        QWidget* panel = test::find(w, "failurePanel");
        return test::waitFor([&] { return panel->isVisible(); }, 20000)
                   ? test::find<QLabel>(panel, "failureReason")->text()
                   : QString();
    }

    static test::TestAuthority* authority_;
    QTemporaryDir appDir;
};

test::TestAuthority* CompanyNetworkEndToEnd::authority_ = nullptr;

TEST_F(CompanyNetworkEndToEnd, TheAuthorityFileIsTrustedByBothHalvesForTheServiceOnly) {
    test::StandInService service(0, authority_->certificate("service"), authority_->key("service"));

    // Without the file neither half trusts the service.
    test::PrepareClient(service.url(), appDir);
    QString message;
    EXPECT_EQ(signIn(&message), nullptr);
    EXPECT_EQ(message, "服务器忙，请稍侯再试！");
    chrome::UnloadAllForms();

    // With it, the sign-in request and the start page get through.
    test::PrepareClient(service.url(), appDir, authority_->caFile());
    home* w = signIn(&message);
    ASSERT_NE(w, nullptr) << message.toStdString();
    EXPECT_TRUE(startPageShown(w));

    // The same authority's certificate for another host is refused by both.
    service.restartWith(authority_->certificate("elsewhere"), authority_->key("elsewhere"));
    QTest::mouseClick(test::find(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(failure(w), "证书无法验证");
    EXPECT_TRUE(service::HttpRequest(service.url() + "/desktop/site/getConfig").isNothing());
}

TEST_F(CompanyNetworkEndToEnd, TheProxyOfTheEnvironmentCarriesBothHalves) {
    test::StandInService service(0, authority_->certificate("named"), authority_->key("named"));
    test::ConnectProxy proxy("kivo", "pass-2026");
    // A name only the proxy resolves: nothing reaches the service but through it.
    ::setenv("https_proxy", proxy.url().c_str(), 1);
    test::PrepareClient(service.url("workbench.kivo.test"), appDir, authority_->caFile());
    QString message;
    home* w = signIn(&message);
    ASSERT_NE(w, nullptr) << message.toStdString();
    EXPECT_TRUE(startPageShown(w));
    bool client = false;
    bool browser = false;
    for (const auto& tunnel : proxy.tunnelled()) {
        EXPECT_EQ(tunnel.target, service.url("workbench.kivo.test").substr(8));
        (tunnel.userAgent.empty() ? client : browser) = true;
    }
    EXPECT_TRUE(client) << "the sign-in request went through the proxy";
    EXPECT_TRUE(browser) << "the page went through the proxy";

    // The proxy stops letting the service through: requests fail, and the panel names it.
    proxy.refuse();
    EXPECT_TRUE(service::HttpRequest(service.url("workbench.kivo.test") + "/desktop/site/getConfig").isNothing());
    QTest::mouseClick(test::find(w, "topMenuBtn(1)"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(failure(w).toStdString(),
              "无法连接代理服务器 127.0.0.1:" + proxy.url().substr(proxy.url().rfind(':') + 1));
    EXPECT_TRUE(test::saveScreenshot("proxy-failed"));
}

TEST_F(CompanyNetworkEndToEnd, NoProxyAndProxyNoneGoDirectly) {
    test::StandInService service(0, authority_->certificate("service"), authority_->key("service"));
    test::ConnectProxy proxy;
    ::setenv("https_proxy", proxy.url().c_str(), 1);
    ::setenv("no_proxy", "localhost,127.0.0.1", 1);
    for (const char* option : {"", "none"}) {
        SCOPED_TRACE(*option != 0 ? "--proxy none" : "no_proxy");
        test::PrepareClient(service.url(), appDir, authority_->caFile(), option);
        home* w = signIn();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(startPageShown(w));
        chrome::UnloadAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ::unsetenv("no_proxy");
    }
    EXPECT_TRUE(proxy.tunnelled().empty());
}

} // namespace
} // namespace kivo::mainwin
