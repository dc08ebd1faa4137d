// The client against a real HTTP server on 127.0.0.1.
#include "platform/net/curlhttpsession.h"
#include "platform/net/logaddress.h"
#include "service/httprequest.h"
#include "service/json/dictionary.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "testserver.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <thread>

namespace kivo::service {
namespace {

using json::JsonValue;
using namespace std::chrono_literals;

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& http = server_.server();
        http.Post("/empty", [](const auto&, auto& res) { res.set_content("{}", "application/json"); });
        http.Post("/string-status", [](const auto&, auto& res) {
            res.set_content(R"({"status":"1","data":{"n":2}})", "application/json");
        });
        http.Post("/error-page", [](const auto&, auto& res) {
            res.status = 500;
            res.set_content("<html><body>Internal Server Error</body></html>", "text/html");
        });
        http.Post("/moved", [](const auto&, auto& res) {
            res.status = 302;
            res.set_header("Location", "/empty");
            res.set_content("<a href=\"/empty\">moved</a>", "text/html");
        });
        http.Post("/code", [](const auto&, auto& res) { res.set_content("-6", "text/plain"); });
        http.Post("/gbk", [](const auto&, auto& res) {
            res.set_content("{\"msg\":\"\xD6\xD0\xCE\xC4\"}", "application/json; charset=GBK");
        });
        http.Post("/set", [](const auto&, auto& res) {
            res.set_header("Set-Cookie", "SID=abc123; path=/; HttpOnly");
            res.set_content("[]", "application/json");
        });
        http.Post("/echo", [](const httplib::Request& req, auto& res) {
            nlohmann::json headers = nlohmann::json::object();
            for (const auto& [name, value] : req.headers) {
                if (name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" && name != "LOCAL_PORT") {
                    headers[name] = value;
                }
            }
            res.set_content(nlohmann::json{{"method", req.method},
                                           {"cookie", req.get_header_value("Cookie")},
                                           {"body", req.body},
                                           {"target", req.target},
                                           {"headers", headers}}
                                .dump(),
                            "application/json");
        });
        http.Post("/huge", [](const auto&, auto& res) {
            res.set_content("[\"" + std::string(17u << 20, 'x') + "\"]", "application/json");
        });
        http.Get("/bytes", [](const auto&, auto& res) { res.set_content(std::string(2000, 'b'), "image/png"); });
        http.Post("/slow", [](const auto&, auto& res) {
            std::this_thread::sleep_for(4000ms);
            res.set_content("{}", "application/json");
        });
        server_.start();
        Service().HttpClient =
            std::make_shared<platform::CurlHttpSession>(platform::HttpTimeouts{2000ms, 2000ms, 1000ms});
    }
    void TearDown() override { Service().HttpClient.reset(); }

    JsonValue request(const std::string& path) { return HttpRequest(server_.url() + path, ""); }

    test::TestServer server_;
};

TEST_F(HttpRequestTest, EnvelopeStatusAndFields) {
    const JsonValue empty = request("/empty");
    ASSERT_TRUE(empty.isDictionary());
    EXPECT_EQ(empty.dictionary()->Count(), 0);
    EXPECT_FALSE(IsSuccess(empty));
    EXPECT_TRUE(Field(empty, u"msg").isEmpty());

    const JsonValue ok = request("/string-status");
    EXPECT_TRUE(IsSuccess(ok));
    EXPECT_EQ(Field(Field(ok, u"data"), u"n").number(), json::Decimal(2));
}

TEST_F(HttpRequestTest, NonJsonAnswersGiveNothing) {
    EXPECT_TRUE(request("/error-page").isNothing());
    EXPECT_TRUE(request("/moved").isNothing()) << "a redirect is not followed";
    EXPECT_TRUE(request("/code").isNothing());
    EXPECT_TRUE(request("/no-such-page").isNothing());
}

// Everything the service client writes to the log while `run` runs.
template <typename F> QString logOf(F run) {
    static QString captured;
    captured.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { captured += message + "\n"; });
    QLoggingCategory::setFilterRules("kivo.*=true");
    run();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules({});
    return captured;
}

TEST_F(HttpRequestTest, LogsNeverCarryQueryValues) {
    const QString log = logOf([&] {
        request("/error-page?username=demo&password=s3cret%26");
        request("/code?mobile=13800138000&code=482913");
        HttpRequest("http://user:pw@127.0.0.1:1/desktop/site/login?password=s3cret", "");
    });
    EXPECT_TRUE(log.contains("/error-page?…")) << log.toStdString();
    EXPECT_TRUE(log.contains("http://127.0.0.1:1/desktop/site/login?…")) << log.toStdString();
    for (const char* secret : {"s3cret", "13800138000", "482913", "demo", "pw@"}) {
        EXPECT_FALSE(log.contains(secret)) << secret << " in " << log.toStdString();
    }
}

TEST(AddressForLog, KeepsSchemeHostPortAndPathOnly) {
    EXPECT_EQ(platform::AddressForLog("https://svc.test:8443/a/b?x=1&y=2#top"), "https://svc.test:8443/a/b?…");
    EXPECT_EQ(platform::AddressForLog("http://svc.test/a#frag"), "http://svc.test/a");
    EXPECT_EQ(platform::AddressForLog("http://u:p@svc.test/a"), "http://svc.test/a");
    EXPECT_EQ(platform::AddressForLog("http://svc.test/a@b"), "http://svc.test/a@b") << "an @ in the path stays";
    EXPECT_EQ(platform::AddressForLog("tencent://message/?uin=123"), "tencent://message/?…");
}

TEST_F(HttpRequestTest, AnswersBeyondTheLimitAreAbandoned) {
    EXPECT_TRUE(request("/huge").isNothing()) << "17 MB is more than a service answer may be";
    EXPECT_TRUE(request("/string-status").isDictionary()) << "the client works on after it";
    EXPECT_FALSE(platform::CurlHttpSession({}, {}, 1999).get(server_.url() + "/bytes").has_value());
    const auto whole = platform::CurlHttpSession({}, {}, 2000).get(server_.url() + "/bytes");
    ASSERT_TRUE(whole.has_value()) << "an answer as long as the limit is read";
    EXPECT_EQ(whole->body.size(), 2000u);
}

TEST_F(HttpRequestTest, DecodesByTheAnswersCharset) {
    EXPECT_EQ(Field(request("/gbk"), u"msg").text(), u"\u4E2D\u6587");
}

TEST_F(HttpRequestTest, SendsAnEmptyPostWithNoHeadersOfOurOwn) {
    const JsonValue echo = request("/echo?password=a%26b%23c");
    EXPECT_EQ(Field(echo, u"method").text(), u"POST");
    EXPECT_EQ(Field(echo, u"body").text(), u"");
    EXPECT_EQ(Field(echo, u"target").text(), u"/echo?password=a%26b%23c");
    const auto headers = Field(echo, u"headers").dictionary();
    ASSERT_NE(headers, nullptr);
    EXPECT_FALSE(headers->Exists(u"Content-Type"));
    EXPECT_EQ(headers->Item(u"Content-Length").text(), u"0");
}

TEST_F(HttpRequestTest, CookiesGoBackOnLaterRequests) {
    EXPECT_TRUE(request("/set").isCollection());
    EXPECT_NE(Service().HttpClient->allResponseHeaders().find("Set-Cookie: SID=abc123"), std::string::npos);
    EXPECT_EQ(Field(request("/echo"), u"cookie").text(), u"SID=abc123");
}

TEST_F(HttpRequestTest, RefusedConnectionGivesNothingAndNoHeaders) {
    request("/set");
    const std::string url = server_.url();
    server_.stop();
    EXPECT_TRUE(HttpRequest(url + "/empty", "").isNothing());
    EXPECT_EQ(Service().HttpClient->allResponseHeaders(), "");
}

TEST_F(HttpRequestTest, ReceiveTimeoutEndsTheRequest) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(request("/slow").isNothing());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3500ms) << "one second without data ends it, not the answer";
}

TEST_F(HttpRequestTest, WithoutAClientNothingComesBack) {
    Service().HttpClient.reset();
    EXPECT_TRUE(request("/empty").isNothing());
}

TEST(HasValue, FollowsTheTable) {
    EXPECT_FALSE(HasValue(JsonValue::null()));
    EXPECT_FALSE(HasValue(JsonValue::nothing()));
    EXPECT_FALSE(HasValue(JsonValue(0)));
    EXPECT_FALSE(HasValue(JsonValue(-1)));
    EXPECT_FALSE(HasValue(JsonValue(u"")));
    EXPECT_TRUE(HasValue(JsonValue(2)));
    EXPECT_TRUE(HasValue(JsonValue(u"0")));
    EXPECT_TRUE(HasValue(JsonValue(std::make_shared<json::Dictionary>())));
    EXPECT_TRUE(HasValue(JsonValue()));
    EXPECT_TRUE(HasValue(JsonValue(false)));
    EXPECT_TRUE(HasValue(JsonValue(json::Decimal::FromText("0.5"))));
}

TEST(IsSuccess, ComparesStatusWithOneAsANumber) {
    auto envelope = [](JsonValue status) {
        auto d = std::make_shared<json::Dictionary>();
        d->Add(u"status", std::move(status));
        return JsonValue(d);
    };
    EXPECT_TRUE(IsSuccess(envelope(JsonValue(1))));
    EXPECT_TRUE(IsSuccess(envelope(JsonValue(json::Decimal::FromText("1.0")))));
    EXPECT_TRUE(IsSuccess(envelope(JsonValue(u"1"))));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue(0))));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue(u"ok"))));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue(true))));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue::null())));
    EXPECT_FALSE(IsSuccess(JsonValue::nothing()));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue(u""))));
    EXPECT_FALSE(IsSuccess(envelope(JsonValue(u"   "))));
}

TEST(FieldText, GivesTheTextAFieldStandsFor) {
    EXPECT_EQ(FieldText(JsonValue(u"林")), u"林");
    EXPECT_EQ(FieldText(JsonValue(json::Decimal::FromText("1733616000"))), u"1733616000");
    EXPECT_EQ(FieldText(JsonValue(json::Decimal::FromText("-2.50"))), u"-2.5");
    EXPECT_EQ(FieldText(JsonValue(true)), u"True");
    EXPECT_EQ(FieldText(JsonValue::null()), u"");
    EXPECT_EQ(FieldText(JsonValue()), u"");
    EXPECT_EQ(FieldText(JsonValue(std::make_shared<json::Dictionary>())), u"");
}

TEST(BareCodeMessage, KnowsTheTenCodes) {
    EXPECT_EQ(BareCodeMessage(u"-1"), u"机构ID、用户名或密码错误");
    EXPECT_EQ(BareCodeMessage(u"-10\r\n"), u"通道错误");
    EXPECT_EQ(BareCodeMessage(u"-11"), u"");
    EXPECT_EQ(BareCodeMessage(u"{}"), u"");
}

} // namespace
} // namespace kivo::service
