// Start-up's run parameters and configuration cache, against the stand-in service and against
// a server that answers whatever a case needs.
#include "platform/net/curlhttpsession.h"
#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "service/json/collection.h"
#include "service/json/jsonparser.h"
#include "service/json/textcodec.h"
#include "service/sessioncookies.h"
#include "startup/configuration.h"
#include "startup/runparameters.h"
#include "tempfolder.h"
#include "testserver.h"
#include "workbenchservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

namespace kivo::startup {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        State() = {};
        State().options.appDir = dir_;
        service::Service() = {};
        service::Service().HttpClient = std::make_shared<platform::CurlHttpSession>();
        service::Service().cookieStore = std::make_shared<tools::RecordingCookieStore>();
    }
    void TearDown() override { service::Service() = {}; }

    std::string file() const { return test::ReadFile(RunParameterFile()); }

    // Serves getConfig with a fixed body and remembers the stamps it was sent.
    void serveConfig(const std::string& body) {
        server_.server().Post("/desktop/site/getConfig", [this, body](const httplib::Request& req, auto& res) {
            stamps_.push_back(req.get_param_value("time"));
            res.set_content(body, "application/json");
        });
        server_.start();
        State().options.baseUrl = server_.url();
    }

    test::TempFolder folder_{"kivo-startup"};
    const fs::path& dir_ = folder_.path();
    test::TestServer server_;
    std::vector<std::string> stamps_;
};

TEST_F(StartupTest, FirstRunSendsZeroAndCachesTheThreeKeysInOrder) {
    serveConfig(
        R"({"status":1,"data":{"time":"T2","leftMenu":[{"name":"客户","mark":"c"}],"topMenu":[{"name":"首页"}]}})");
    LoadRunParameters();
    EXPECT_EQ(stamps_, std::vector<std::string>{"0"});
    EXPECT_EQ(service::Service().BaseUrl, server_.url());
    EXPECT_EQ(file(), "[SysRunParameter]\n"
                      "topMenu=[{\"name\":\"\\u9996\\u9875\"}]\n"
                      "leftMenu=[{\"name\":\"\\u5BA2\\u6237\",\"mark\":\"c\"}]\n"
                      "updateTime=T2\n");
    EXPECT_EQ(State().stick, "");
    EXPECT_EQ(State().endStatus, "");

    // The next start sends the cached stamp.
    LoadRunParameters();
    EXPECT_EQ(stamps_, (std::vector<std::string>{"0", "T2"}));
}

TEST_F(StartupTest, AnswersWithoutDataWriteNothing) {
    serveConfig(R"({"status":1,"data":""})");
    LoadRunParameters();
    EXPECT_FALSE(fs::exists(RunParameterFile()));
}

TEST_F(StartupTest, DataZeroWritesNothing) {
    serveConfig(R"({"status":1,"data":0})");
    LoadRunParameters();
    EXPECT_FALSE(fs::exists(RunParameterFile()));
}

TEST_F(StartupTest, DataThatIsNoObjectLeavesTheCachedMenus) {
    const std::string cached = "[SysRunParameter]\ntopMenu=[{\"name\":\"A\"}]\nleftMenu=[]\nupdateTime=T1\n";
    std::ofstream(dir_ / "SysRunParameter.ocx") << cached;
    std::string answer;
    server_.server().Post("/desktop/site/getConfig",
                          [&answer](const auto&, auto& res) { res.set_content(answer, "application/json"); });
    server_.start();
    State().options.baseUrl = server_.url();
    for (const char* body : {R"({"status":1,"data":"menus"})", R"({"status":1,"data":true})",
                             R"({"status":1,"data":7})", R"({"status":1,"data":[1,2]})"}) {
        answer = body;
        LoadRunParameters();
        EXPECT_EQ(file(), cached) << body;
    }
}

TEST_F(StartupTest, FailureStatusWritesNothing) {
    serveConfig(R"({"status":0,"data":{"time":"T","topMenu":[],"leftMenu":[]},"msg":"busy"})");
    LoadRunParameters();
    EXPECT_FALSE(fs::exists(RunParameterFile()));
}

TEST_F(StartupTest, UnreachableServiceLeavesTheCacheAsItWas) {
    std::ofstream(dir_ / "SysRunParameter.ocx") << "[SysRunParameter]\nupdateTime=T1\nstick=1\nendStatus=1\n";
    State().options.baseUrl = "http://127.0.0.1:1";
    LoadRunParameters();
    EXPECT_EQ(file(), "[SysRunParameter]\nupdateTime=T1\nstick=1\nendStatus=1\n");
    EXPECT_EQ(State().stick, "1");
    EXPECT_EQ(State().endStatus, "1");
}

TEST_F(StartupTest, LongMenusReadBackWholeAndParse) {
    std::string items;
    for (int i = 0; i < 200; ++i) {
        items += (i > 0 ? "," : "") + std::string(R"({"name":"员工考勤)") + std::to_string(i) +
                 R"(","url":"/desktop/staff/index"})";
    }
    serveConfig(R"({"status":"1","data":{"time":7,"topMenu":[],"leftMenu":[)" + items + "]}}");
    LoadRunParameters();
    const std::string cached = ReadIniValue(RunParameterFile(), kRunParameterSection, "leftMenu");
    EXPECT_GT(cached.size(), 4096u);
    const json::JsonValue menu = json::JsonParse(json::Utf8ToUtf16(cached));
    ASSERT_TRUE(menu.isCollection());
    EXPECT_EQ(menu.collection()->Count(), 200);
    EXPECT_EQ(ReadIniValue(RunParameterFile(), kRunParameterSection, "updateTime"), "7");
}

TEST_F(StartupTest, StandInServiceSendsTheConfigurationOnceAndSetsASessionCookie) {
    devservice::WorkbenchService stand(KIVO_DEVSERVICE_DATA);
    const int port = stand.bind(0);
    ASSERT_GT(port, 0);
    std::thread serving([&] { stand.run(); });
    State().options.baseUrl = "http://127.0.0.1:" + std::to_string(port);

    LoadRunParameters();
    const std::string first = file();
    EXPECT_NE(first.find("topMenu=[{\"name\":\"\\u9996\\u9875\""), std::string::npos);
    service::CopySessionCookies();
    const auto& cookies =
        std::static_pointer_cast<tools::RecordingCookieStore>(service::Service().cookieStore)->cookies;
    ASSERT_EQ(cookies.size(), 1u);
    EXPECT_EQ(cookies[0].name, "KIVOSESSID");
    EXPECT_EQ(cookies[0].url, State().options.baseUrl);

    LoadRunParameters(); // same stamp: nothing new
    EXPECT_EQ(file(), first);
    service::Service().HttpClient.reset(); // closes the kept-alive connection
    stand.stop();
    serving.join();
}

} // namespace
} // namespace kivo::startup

namespace kivo::startup {
namespace {

class BackgroundDownload : public StartupTest {
protected:
    // getConfig answers once the test lets it.
    void serveWhenReleased() {
        // The handler keeps its own copy: it may still wait while the fixture is torn down.
        server_.server().Post("/desktop/site/getConfig", [released = released_](const httplib::Request&, auto& res) {
            released.wait();
            res.set_content(R"({"status":1,"data":{"time":"T2","leftMenu":[],"topMenu":[{"name":"A"}]}})",
                            "application/json");
        });
        server_.start();
        State().options.baseUrl = server_.url();
    }
    void TearDown() override {
        release_.set_value();
        AwaitConfiguration();
        StartupTest::TearDown();
    }

    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
};

TEST_F(BackgroundDownload, NothingWaitsForTheServiceAndWaitersRunAtTheEnd) {
    serveWhenReleased();
    LoadRunParameters(true); // returns while the service has not answered
    std::atomic<int> done = 0;
    WhenConfigurationDownloaded([&] { ++done; });
    EXPECT_EQ(done, 0);
    EXPECT_EQ(file(), "") << "nothing cached yet";

    release_.set_value();
    release_ = {}; // TearDown releases a fresh one
    AwaitConfiguration();
    EXPECT_EQ(done, 1);
    EXPECT_NE(file().find("updateTime=T2"), std::string::npos);
    WhenConfigurationDownloaded([&] { ++done; });
    EXPECT_EQ(done, 2) << "with no download running, at once";
}

// In the program the download starts with the event loop, not while the first window is built.
TEST_F(StartupTest, InTheProgramTheDownloadStartsWithTheEventLoop) {
    serveConfig(R"({"status":1,"data":{"time":"T9","leftMenu":[],"topMenu":[{"name":"A"}]}})");
    int argc = 1;
    char name[] = "kivo";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    LoadRunParameters(true);
    bool done = false;
    WhenConfigurationDownloaded([&] { done = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // time enough for a request made at once
    EXPECT_EQ(file(), "") << "nothing asked before the event loop runs";
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_TRUE(done);
    AwaitConfiguration();
    EXPECT_NE(file().find("updateTime=T9"), std::string::npos);
}

TEST_F(BackgroundDownload, AnAbortedSessionEndsTheDownloadLongBeforeItsTimeOut) {
    service::Service().HttpClient = std::make_shared<platform::CurlHttpSession>(
        platform::HttpTimeouts{std::chrono::seconds(20), std::chrono::seconds(20), std::chrono::seconds(20)});
    serveWhenReleased();
    LoadRunParameters(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the request is under way
    const auto start = std::chrono::steady_clock::now();
    service::Service().HttpClient->abort();
    AwaitConfiguration();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(file(), "");
}

} // namespace
} // namespace kivo::startup
