#include "bridge/hacmd.h"
#include "bridge/hyperapp.h"
#include "fakebrowser.h"

#include <gtest/gtest.h>

namespace kivo::bridge {
namespace {

TEST(DecodeHex, TwoHundredFiftySixPassesInOrder) {
    EXPECT_EQ(HyperApp::DecodeHex(u"MyCMD.CMD%20%22sys%22"), u"MyCMD.CMD \"sys\"");
    EXPECT_EQ(HyperApp::DecodeHex(u"%2541"), u"A") << "a decoded % starts a later pass";
    EXPECT_EQ(HyperApp::DecodeHex(u"%2520"), u"%20") << "pass 20 has run already";
    EXPECT_EQ(HyperApp::DecodeHex(u"%2f%2F"), u"%2f/") << "lower-case digits stay";
    EXPECT_EQ(HyperApp::DecodeHex(u"a%00b"), std::u16string(u"a\0b", 3));
    EXPECT_EQ(HyperApp::DecodeHex(u"%E4%B8%AD"), u"\uFFFD\uFFFD\uFFFD") << "bytes one by one";
    EXPECT_EQ(HyperApp::DecodeHex(u"%%4%G1%"), u"%%4%G1%");
    EXPECT_EQ(HyperApp::DecodeHex(u"%252525"), u"%2525") << "no pass reads its own output";
    EXPECT_EQ(HyperApp::DecodeHex(u"%80"), u"\uFFFD") << "the first byte above ASCII";
    EXPECT_EQ(HyperApp::DecodeHex(u"%7F"), u"\u007F") << "the last ASCII byte stays itself";
}

class Interception : public ::testing::Test {
protected:
    void SetUp() override {
        HACMD::SetCommandHandler([this](const HACMD::Arguments& args) { commands.push_back(args[0]); });
        ASSERT_TRUE(bridge.Init(&browser));
        bridge.AllowOrigins(BridgeOrigins("http://127.0.0.1", ""));
        bridge.AddObject(u"MyCMD", std::make_shared<HACMD>());
    }
    void TearDown() override { HACMD::SetCommandHandler({}); }

    QWidget parent;
    test::FakeBrowser browser{&parent};
    HyperApp bridge;
    std::vector<std::u16string> commands;
};

TEST_F(Interception, HappAddressesRunAndStayWhereTheyAre) {
    EXPECT_FALSE(browser.pageNavigates("happ://MyCMD.CMD%20%22sys%22/"));
    EXPECT_FALSE(browser.pageNavigates("happ://CMD(%22loading%22)/"));
    EXPECT_EQ(commands, (std::vector<std::u16string>{u"sys", u"loading"}));
    EXPECT_FALSE(bridge.lastError().has_value());
}

TEST_F(Interception, WithoutTheFinalSlashTheTextRunsUndecoded) {
    EXPECT_FALSE(browser.pageNavigates("happ://CMD(%22loading%22)"));
    EXPECT_TRUE(commands.empty());
    ASSERT_TRUE(bridge.lastError().has_value());
    EXPECT_EQ(bridge.lastError()->number(), 1032);
}

TEST_F(Interception, OtherAddressesGoOnAndUpdateTheLastRequest) {
    EXPECT_TRUE(browser.pageNavigates("HAPP://CMD(%22a%22)/"));
    EXPECT_TRUE(browser.pageNavigates("Happ://CMD(%22a%22)/"));
    EXPECT_TRUE(browser.pageNavigates("http://127.0.0.1/desktop/site/index", "a=1", "X-Test: 1"));
    EXPECT_EQ(bridge.GetLastPostData(), "a=1");
    EXPECT_EQ(bridge.GetLastHeaders(), "X-Test: 1");
    EXPECT_FALSE(browser.pageNavigates("happ:///"));
    EXPECT_EQ(bridge.GetLastPostData(), "") << "every navigation replaces it";
    EXPECT_FALSE(bridge.lastError().has_value()) << "the empty statement runs";
    EXPECT_TRUE(commands.empty());
}

TEST_F(Interception, AFailingStatementIsReportedAndTheNextOneRuns) {
    EXPECT_FALSE(browser.pageNavigates("happ://CMD%20x%20/%200/"));
    EXPECT_EQ(bridge.lastError()->number(), 11);
    EXPECT_FALSE(browser.pageNavigates("happ://x%20=%20%22kept%22/"));
    EXPECT_FALSE(browser.pageNavigates("happ://CMD%20x/"));
    EXPECT_EQ(commands, std::vector<std::u16string>{u"kept"}) << "one global scope for all statements";
}

TEST(HyperAppInit, FailsWithoutABrowser) {
    HyperApp bridge;
    EXPECT_FALSE(bridge.Init(nullptr));
}

} // namespace
} // namespace kivo::bridge

namespace kivo::bridge {
namespace {

TEST(BridgeOrigins, OnlyTheServiceAndTheBuildsExtraOrigins) {
    const BridgeOrigins origins("http://127.0.0.1:8765", "https://maps.example.com, http://intra.example.com:8080");
    EXPECT_TRUE(origins.allows("http://127.0.0.1:8765"));
    EXPECT_TRUE(origins.allows("HTTP://127.0.0.1:8765")) << "scheme and host compare without case";
    EXPECT_FALSE(origins.allows("http://127.0.0.1:8766")) << "another port";
    EXPECT_FALSE(origins.allows("https://127.0.0.1:8765")) << "another scheme";
    EXPECT_TRUE(origins.allows("https://maps.example.com")) << "an extra origin, its default port";
    EXPECT_TRUE(origins.allows("https://maps.example.com:443"));
    EXPECT_FALSE(origins.allows("https://sub.maps.example.com")) << "a sub-domain is another origin";
    EXPECT_TRUE(origins.allows("http://intra.example.com:8080"));
    EXPECT_FALSE(origins.allows("")) << "an unknown origin";
    EXPECT_FALSE(origins.allows("null")) << "a sandboxed frame";
    EXPECT_FALSE(BridgeOrigins().allows("http://127.0.0.1:8765")) << "nothing until allowed";
    EXPECT_TRUE(BridgeOrigins("https://wb.example.com/", "").allows("https://wb.example.com"));
    // The build's list separated by semicolons; other schemes are no origins of pages.
    const BridgeOrigins listed("http://127.0.0.1:8765", "https://a.example;http://b.example:8080;ftp://c.example");
    EXPECT_TRUE(listed.allows("https://a.example"));
    EXPECT_TRUE(listed.allows("http://b.example:8080"));
    EXPECT_FALSE(listed.allows("ftp://c.example"));
    EXPECT_FALSE(listed.allows("ftp://c.example:21"));
}

TEST_F(Interception, AStatementFromAnotherOriginNeverRuns) {
    browser.frameOrigin = "http://ads.example.net";
    EXPECT_FALSE(browser.pageNavigates("happ://MyCMD.CMD%20%22sys%22/")) << "still cancelled: the page stays";
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(bridge.refused());
    browser.frameOrigin = "";
    EXPECT_FALSE(browser.pageNavigates("happ://CMD(%22sys%22)/"));
    EXPECT_TRUE(commands.empty()) << "an origin nobody vouched for";
    browser.frameOrigin = "http://127.0.0.1";
    EXPECT_FALSE(browser.pageNavigates("happ://CMD(%22sys%22)/"));
    EXPECT_EQ(commands, std::vector<std::u16string>{u"sys"});
    EXPECT_FALSE(bridge.refused());
}

} // namespace
} // namespace kivo::bridge
