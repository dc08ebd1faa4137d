#include "happcommand.h"
#include "inicommand.h"
#include "jsoncommand.h"
#include "service/httprequest.h"
#include "updatecommand.h"
#include "servicecommands.h"
#include "testserver.h"
#include "workbenchservice.h"

#include <filesystem>
#include <thread>

#include <cstdio>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>

namespace kivo::tools {
namespace {

struct CommandRun {
    int status;
    std::string output;
};

CommandRun runJson(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    const int status = runJsonCommand(in, out);
    return {status, out.str()};
}

TEST(KivoctlJson, PrintsTheTreeThenTheLogAsKept) {
    const CommandRun run = runJson("{\"name\":\"首页\",\"b\":tru}");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "{\"name\":\"\\u9996\\u9875\",\"b\":false,\"tru}\":}\n"
                          "Invalid Boolean at position 18 : tru}\r\n"
                          "Missing '}': \"name\":\"首页\",\"b\":tru}\r\n");
}

TEST(KivoctlJson, NothingGivesAnEmptyLineAndStatusOne) {
    const CommandRun run = runJson("  42 ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "\nInvalid JSON");
}

} // namespace
} // namespace kivo::tools

namespace kivo::tools {
namespace {

TEST(KivoctlIni, SetThenGet) {
    const std::string file = ::testing::TempDir() + "kivoctl-ini-" + std::to_string(::getpid()) + ".ocx";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runIniCommand({"set", file, "SysRunParameter", "stick", "1"}, out, err), 0);
    EXPECT_EQ(runIniCommand({"get", file, "SysRunParameter", "stick"}, out, err), 0);
    EXPECT_EQ(runIniCommand({"get", file, "SysRunParameter", "missing"}, out, err), 0);
    EXPECT_EQ(out.str(), "1\n\n");
    EXPECT_EQ(runIniCommand({"get", file}, out, err), 2);
    std::remove(file.c_str());
}

TEST(KivoctlRequest, PrintsEachAnswerAndTheCookiesHandedOver) {
    test::TestServer server;
    server.server().Post("/a", [](const auto&, auto& res) {
        res.set_header("Set-Cookie", "SID=s1; path=/");
        res.set_content(R"({"status":1,"data":"好"})", "application/json");
    });
    server.server().Post("/b", [](const auto&, auto& res) { res.set_content("<html></html>", "text/html"); });
    server.start();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runRequestCommand({"--base-url", server.url(), "--proxy", "none", "/a", "/b"}, out, err), 0);
    EXPECT_EQ(out.str(), "{\"status\":1,\"data\":\"\\u597D\"}\ncookie SID=s1\nnothing\n") << "data only";
    EXPECT_EQ(err.str(), "proxy none (from --proxy)\ntrust system\n");
    service::Service() = {};
}

} // namespace
} // namespace kivo::tools

namespace kivo::tools {
namespace {

TEST(KivoctlHapp, PrintsCallsThenOkErrorOrPass) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runHappCommand({"happ://MyCMD.CMD%20%22sys%22/", "happ://CMD(%22loading%22)", "http://x/",
                              "happ://CMD%20%22select%22,%20%22order%22,%2042/"},
                             out, err),
              0);
    EXPECT_EQ(out.str(), "CMD\t\"sys\"\t\"\"\t\"\"\t\"\"\t\"\"\t\"\"\nok\n"
                         "error 1032: Invalid character\n"
                         "pass\n"
                         "CMD\t\"select\"\t\"order\"\t\"42\"\t\"\"\t\"\"\t\"\"\nok\n");
}

TEST(KivoctlHapp, AnotherOriginIsRefused) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runHappCommand({"--base-url", "https://wb.example.com", "--origin", "https://ads.example.net",
                              "happ://CMD(%22sys%22)/", "http://x/"},
                             out, err),
              0);
    EXPECT_EQ(out.str(), "refused\npass\n") << "no CMD line: the statement never ran";
    out.str("");
    EXPECT_EQ(runHappCommand({"--base-url", "https://wb.example.com", "happ://CMD(%22sys%22)/"}, out, err), 0);
    EXPECT_EQ(out.str(), "CMD\t\"sys\"\t\"\"\t\"\"\t\"\"\t\"\"\t\"\"\nok\n") << "the base origin by default";
    EXPECT_EQ(runHappCommand({"--origin"}, out, err), 2);
}

} // namespace
} // namespace kivo::tools

namespace kivo::tools {
namespace {

TEST(KivoctlConfig, DownloadsLikeStartUpAndPrintsTheFile) {
    devservice::WorkbenchService stand(KIVO_DEVSERVICE_DATA);
    const int port = stand.bind(0);
    std::thread serving([&] { stand.run(); });
    const std::string dir = ::testing::TempDir() + "kivoctl-config-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runConfigCommand({"--base-url", "http://127.0.0.1:" + std::to_string(port), "--app-dir", dir}, out, err),
              0);
    EXPECT_EQ(out.str().rfind("[SysRunParameter]\ntopMenu=[{\"name\":\"\\u9996\\u9875\"", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("\nupdateTime=1733616000\n"), std::string::npos);
    service::Service() = {};
    stand.stop();
    serving.join();
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kivo::tools

#include "autostartcommand.h"
#include "tempfolder.h"

namespace kivo::tools {
namespace {

TEST(KivoctlAutostart, EnableStatusDisableAndAFailureThatKeepsTheEntry) {
    test::TempFolder config("kivoctl-autostart");
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    const std::string entry = (config.path() / "autostart" / "my kivo.desktop").string();
    auto run = [](std::vector<std::string> args, std::string& out) {
        std::ostringstream o;
        std::ostringstream e;
        const int status = runAutostartCommand(args, o, e);
        out = o.str() + e.str();
        return status;
    };
    std::string out;
    EXPECT_EQ(run({"status", "--exe", "/opt/my kivo"}, out), 0);
    EXPECT_EQ(out, "disabled\n");
    EXPECT_EQ(run({"enable", "--exe", "/opt/my kivo"}, out), 0);
    EXPECT_EQ(out, entry + "\n");
    EXPECT_EQ(run({"status", "--exe", "/opt/my kivo"}, out), 0);
    EXPECT_EQ(out, "enabled " + entry + "\n");

    // The folder made unusable: enabling another fails with one line, the entry stays.
    std::filesystem::rename(config.path() / "autostart", config.path() / "kept");
    std::ofstream(config.path() / "autostart") << "in the way";
    EXPECT_EQ(run({"enable", "--exe", "/opt/other"}, out), 1);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_EQ(out.rfind("kivoctl: ", 0), 0u) << out;
    std::filesystem::remove(config.path() / "autostart");
    std::filesystem::rename(config.path() / "kept", config.path() / "autostart");

    EXPECT_EQ(run({"disable", "--exe", "/opt/my kivo"}, out), 0);
    EXPECT_EQ(out, entry + "\n");
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_EQ(run({"toggle"}, out), 2);
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace kivo::tools

namespace kivo::tools {
namespace {

TEST(KivoctlUpdateCheck, TwoLinesForScriptsAndNothingKnownFromABuildFolder) {
    std::ostringstream out;
    printUpdateCheck({"0.1", "0.2", true}, out);
    EXPECT_EQ(out.str(), "installed 0.1\navailable 0.2\n");
    out.str("");
    printUpdateCheck({"0.2", "", false}, out);
    EXPECT_EQ(out.str(), "installed 0.2\navailable none\n");
    // This test program runs from the build folder: no package's, so apt is not asked.
    out.str("");
    std::ostringstream err;
    EXPECT_EQ(runUpdateCheckCommand({}, out, err), 0);
    EXPECT_EQ(out.str(), "installed none\navailable none\n");
    EXPECT_EQ(runUpdateCheckCommand({"--now"}, out, err), 2);
}

} // namespace
} // namespace kivo::tools
