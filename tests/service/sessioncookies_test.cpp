#include "recordingcookiestore.h"
#include "service/httprequest.h"
#include "service/queryencoding.h"
#include "service/sessioncookies.h"

#include <gtest/gtest.h>

namespace kivo::service {
namespace {

TEST(ParseSetCookieLines, TakesNameAndValueOfEachLineInOrder) {
    const std::string headers = "Content-Type: application/json\r\n"
                                "Set-Cookie: SID=abc; path=/; HttpOnly\r\n"
                                "Set-Cookie: token=YWJj==\r\n"
                                "set-cookie: lower=kept\r\n"
                                "SET-COOKIE: upper=kept\r\n"
                                "Set-Cookie: SID=def\r\n";
    EXPECT_EQ(ParseSetCookieLines(headers),
              (std::vector<CookiePair>{
                  {"SID", "abc"}, {"token", "YWJj=="}, {"lower", "kept"}, {"upper", "kept"}, {"SID", "def"}}))
        << "header names carry no case";
}

TEST(ParseSetCookieLines, NoCookiesAndOddLines) {
    EXPECT_TRUE(ParseSetCookieLines("").empty());
    EXPECT_TRUE(ParseSetCookieLines("Content-Length: 2\r\n").empty());
    // Lines without ": " or pairs without "=" are skipped; the others still arrive.
    EXPECT_EQ(ParseSetCookieLines("Set-Cookie:x=1\r\nSet-Cookie: flag\r\nSet-Cookie: a=b: c\nSet-Cookie: e=\r\n"),
              (std::vector<CookiePair>{{"a", "b"}, {"e", ""}}));
}

class FakeSession : public platform::HttpSession {
public:
    std::optional<platform::HttpResponse> send(const std::string&, const std::string&) override { return {}; }
    std::optional<platform::HttpResponse> get(const std::string&) override { return {}; }
    std::string allResponseHeaders() const override { return headers; }
    std::string headers;
};

TEST(CopySessionCookies, StoresUnderTheBaseAddressWhenNoneIsGiven) {
    auto session = std::make_shared<FakeSession>();
    session->headers = "Set-Cookie: SID=abc; path=/\r\nSet-Cookie: b=2\r\n";
    auto store = std::make_shared<tools::RecordingCookieStore>();
    Service() = {"http://127.0.0.1:1", session, store, {}};

    std::string address;
    EXPECT_TRUE(CopySessionCookies(address));
    EXPECT_EQ(address, "http://127.0.0.1:1");
    std::string other = "http://example.test";
    CopySessionCookies(other);
    EXPECT_EQ(store->cookies, (std::vector<tools::RecordingCookieStore::Cookie>{{"http://127.0.0.1:1", "SID", "abc"},
                                                                                {"http://127.0.0.1:1", "b", "2"},
                                                                                {"http://example.test", "SID", "abc"},
                                                                                {"http://example.test", "b", "2"}}));
    Service() = {};
}

TEST(EncodeQueryValue, KeepsWhatTheUserTyped) {
    EXPECT_EQ(EncodeQueryValue("abc-_.~019XYZ"), "abc-_.~019XYZ");
    EXPECT_EQ(EncodeQueryValue("p&ss#w=rd +%"), "p%26ss%23w%3Drd%20%2B%25");
    EXPECT_EQ(EncodeQueryValue("林"), "%E6%9E%97");
    EXPECT_EQ(EncodeQueryValue(""), "");
}

} // namespace
} // namespace kivo::service
