// The menu icon cache against a local server: what is stored, what is refused, what is read
// back from disk without a request.
#include "mainwin/menuiconanswer.h"
#include "mainwin/menuiconcache.h"
#include "mainwin/menuiconpath.h"
#include "platform/net/curlhttpsession.h"
#include "tempfolder.h"
#include "testserver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kivo::mainwin {
namespace {

namespace fs = std::filesystem;
using Outcome = MenuIconCache::Outcome;

class IconCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests;
            paths.push_back(req.path);
            if (req.path == "/m/missing.png") {
                res.status = 404;
                res.set_content("<html>页面不存在</html>", "text/html");
            } else if (req.path == "/m/broken.png") {
                res.status = 500;
                res.set_content("error", "text/plain");
            } else if (req.path == "/m/notapicture.png") {
                res.set_content(R"({"status":0,"msg":"busy"})", "image/png");
            } else if (req.path == "/m/riff.png") {
                res.set_content("RIFF", "image/webp"); // four bytes of a WebP header, cut
            } else if (req.path == "/m/partial.png") {
                res.status = 206;
                res.set_content(body, "image/png");
            } else if (req.path == "/m/html.png") {
                res.set_content("<!doctype html><html>维护中</html>", "text/html");
            } else if (req.path == "/m/empty.png") {
                res.set_content("", "image/png");
            } else if (req.path == "/m/slow.png") {
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                res.set_content(body, "image/png");
            } else {
                res.set_content(body, "image/png");
            }
        });
        server_.start();
    }

    MenuIconCache cache(std::chrono::milliseconds limit = MenuIconCache::kTimeLimit) {
        return MenuIconCache(
            folder_.path(), server_.url(),
            std::make_shared<platform::CurlHttpSession>(platform::HttpTimeouts{limit, limit, limit, limit}));
    }
    const fs::path& app() const { return folder_.path(); }
    // Nothing but folders: no icon and no half-written file was left behind.
    bool noFilesWritten() const {
        for (const auto& entry : fs::recursive_directory_iterator(app())) {
            if (!entry.is_directory()) {
                return false;
            }
        }
        return true;
    }

    test::TestServer server_;
    test::TempFolder folder_{"iconcache"};
    std::atomic<int> requests{0};
    std::vector<std::string> paths;
    std::string body = std::string("\x89PNG\r\n\x1A\n", 8) + "first";
};

TEST_F(IconCacheTest, DownloadsOnceIntoTheMirroredTreeThenReadsFromDisk) {
    MenuIconCache icons = cache();
    const std::string local = icons.FetchMenuIcon("/static/menu/home.png");
    EXPECT_EQ(icons.lastOutcome(), Outcome::Downloaded);
    EXPECT_EQ(local, (app() / "static" / "menu" / "home.png").string());
    EXPECT_EQ(test::ReadFile(local), body);
    EXPECT_EQ(paths, std::vector<std::string>{"/static/menu/home.png"});

    body = "changed on the service";
    EXPECT_EQ(cache().FetchMenuIcon("/static/menu/home.png"), local) << "a later run too";
    EXPECT_EQ(requests, 1) << "a cached icon touches no network";
    EXPECT_EQ(test::ReadFile(local), std::string("\x89PNG\r\n\x1A\n", 8) + "first");
    EXPECT_EQ(icons.FetchMenuIcon(""), "");
    EXPECT_EQ(icons.lastOutcome(), Outcome::Empty);
}

TEST_F(IconCacheTest, OnlyASuccessfulAnswerWithABodyIsStored) {
    MenuIconCache icons = cache();
    for (const char* path : {"/m/missing.png", "/m/broken.png", "/m/empty.png", "/m/notapicture.png", "/m/riff.png",
                             "/m/partial.png", "/m/html.png"}) {
        EXPECT_EQ(icons.FetchMenuIcon(path), "") << path;
        EXPECT_EQ(icons.lastOutcome(), Outcome::Failed) << path;
    }
    EXPECT_TRUE(noFilesWritten());
    EXPECT_EQ(icons.FetchMenuIcon("/m/missing.png"), "") << "a failure is tried again, not cached";
    EXPECT_EQ(requests, 8);
}

TEST(IconAnswer, OnlyAWholePictureOfStatus200IsStored) {
    const std::string png("\x89PNG\r\n\x1A\n....", 12);
    EXPECT_TRUE(IsIconAnswer(200, png));
    EXPECT_FALSE(IsIconAnswer(206, png)) << "a part of a picture";
    EXPECT_FALSE(IsIconAnswer(201, png));
    EXPECT_FALSE(IsIconAnswer(200, "<!doctype html><html>not found</html>")) << "an error page answered with 200";
    EXPECT_TRUE(IsIconAnswer(200, std::string("RIFF\x10\0\0\0WEBPVP8 ", 16)));
    for (const std::string& cut : {std::string("RIFF"), std::string("RIFF\x10\0\0\0WEB", 11), std::string("RIFF1234")}) {
        EXPECT_FALSE(IsIconAnswer(200, cut)) << "a cut RIFF header, no exception: " << cut.size();
    }
    EXPECT_FALSE(IsIconAnswer(200, std::string("RIFF\x10\0\0\0WAVEfmt ", 16))) << "another RIFF form";
    EXPECT_TRUE(IsIconAnswer(200, "GIF89a\x10\0\x10\0")) << "a GIF";
    EXPECT_TRUE(IsIconAnswer(200, std::string("\0\0\1\0\1\0\x10\x10", 8))) << "an ICO";
    EXPECT_TRUE(IsIconAnswer(200, std::string(kIconAnswerLimit - 8, 'x').insert(0, png.substr(0, 8))));
    EXPECT_FALSE(IsIconAnswer(200, std::string(kIconAnswerLimit + 1 - 8, 'x').insert(0, png.substr(0, 8))));
}

TEST_F(IconCacheTest, ASlowAnswerIsGivenUp) {
    MenuIconCache icons = cache(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(icons.FetchMenuIcon("/m/slow.png"), "");
    EXPECT_EQ(icons.lastOutcome(), Outcome::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
    EXPECT_TRUE(noFilesWritten());
}

TEST_F(IconCacheTest, PathsThatLeaveTheTreeAreRefused) {
    MenuIconCache icons = cache();
    for (const std::string& path : std::vector<std::string>{
             "/../outside.png", "/m/../../outside.png", "/m/./x.png", "/m//x.png", "m/x.png", "/m\\x.png", "/m/", "/",
             std::string("/m/x\0.png", 9), "/m/x\n.png", "http://elsewhere.test/m/x.png", "//elsewhere.test/x.png",
             "/m/x\x7f.png"}) {
        EXPECT_EQ(icons.FetchMenuIcon(path), "") << path;
        EXPECT_EQ(icons.lastOutcome(), Outcome::Refused) << path;
    }
    EXPECT_EQ(requests, 0);
    EXPECT_TRUE(noFilesWritten());
    // The path check refuses these itself, before any folder check could.
    for (const std::string& path : {std::string("/m/x\x7f.png"), std::string("/m/../x.png"), std::string("/m/..")}) {
        EXPECT_EQ(MenuIconPath(path, "http://svc.test"), "") << path;
    }
    EXPECT_EQ(MenuIconPath("/m/..x.png", "http://svc.test"), "/m/..x.png") << "dots inside a name are fine";
}

TEST_F(IconCacheTest, AnAddressUnderTheServiceIsItsPath) {
    MenuIconCache icons = cache();
    const std::string local = icons.FetchMenuIcon(server_.url() + "/m/abs.png");
    EXPECT_EQ(local, (app() / "m" / "abs.png").string());
    EXPECT_EQ(paths, std::vector<std::string>{"/m/abs.png"}) << "the base address is not sent twice";
}

TEST_F(IconCacheTest, ALinkOutOfTheFolderOrAFileInTheWayFailsQuietly) {
    test::TempFolder outside("iconcache-outside");
    fs::create_directory_symlink(outside.path(), app() / "linked");
    MenuIconCache icons = cache();
    EXPECT_EQ(icons.FetchMenuIcon("/linked/x.png"), "");
    EXPECT_EQ(icons.lastOutcome(), Outcome::Refused);
    EXPECT_TRUE(fs::is_empty(outside.path()));

    std::ofstream(app() / "static") << "a file where a folder should be";
    EXPECT_EQ(icons.FetchMenuIcon("/static/menu/x.png"), "");
    EXPECT_EQ(icons.lastOutcome(), Outcome::Failed);
    EXPECT_EQ(requests, 0);
}

} // namespace
} // namespace kivo::mainwin
