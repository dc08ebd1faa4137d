// The client verifies the service's certificate: a certificate nobody vouches for gives nothing,
// and the same service is reached once its authority is named.
#include "platform/net/curlhttpsession.h"
#include "service/httprequest.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <thread>

namespace kivo::service {
namespace {

class TlsService : public ::testing::Test {
protected:
    void SetUp() override {
        server_.Post("/desktop/site/getConfig",
                     [](const auto&, auto& res) { res.set_content(R"({"status":1})", "application/json"); });
        server_.set_keep_alive_max_count(1);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    void TearDown() override {
        Service().HttpClient.reset();
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/desktop/site/getConfig"; }

    httplib::SSLServer server_{KIVO_TEST_DATA_DIR "/tls/service.crt", KIVO_TEST_DATA_DIR "/tls/service.key"};
    std::thread thread_;
    int port_ = 0;
};

TEST_F(TlsService, AnUnknownAuthorityIsRefused) {
    Service().HttpClient = std::make_shared<platform::CurlHttpSession>();
    EXPECT_TRUE(HttpRequest(url(), "").isNothing());
}

TEST_F(TlsService, TheNamedAuthorityIsTrusted) {
    Service().HttpClient = std::make_shared<platform::CurlHttpSession>(
        platform::HttpTimeouts{}, platform::HttpNetwork{KIVO_TEST_DATA_DIR "/tls/service.crt", ""});
    EXPECT_TRUE(IsSuccess(HttpRequest(url(), "")));
}

} // namespace
} // namespace kivo::service
