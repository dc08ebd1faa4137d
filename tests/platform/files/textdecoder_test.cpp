#include "platform/files/textdecoder.h"

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

TEST(TextDecoder, ReadsTheCharsetOfTheContentType) {
    EXPECT_EQ(CharsetOf("application/json"), "");
    EXPECT_EQ(CharsetOf("text/html; charset=GBK"), "gbk");
    EXPECT_EQ(CharsetOf("text/html;Charset=\"utf-8\""), "utf-8");
}

TEST(TextDecoder, DecodesByCharset) {
    EXPECT_EQ(DecodeResponseText("{\"a\":\"\xE4\xB8\xAD\"}", ""), u"{\"a\":\"\u4E2D\"}");
    EXPECT_EQ(DecodeResponseText("\xEF\xBB\xBF{}", "application/json; charset=utf-8"), u"{}");
    // 中文 in GBK, labelled either way services label it.
    EXPECT_EQ(DecodeResponseText("\xD6\xD0\xCE\xC4", "text/html; charset=GBK"), u"\u4E2D\u6587");
    EXPECT_EQ(DecodeResponseText("\xD6\xD0\xCE\xC4", "text/html; charset=gb2312"), u"\u4E2D\u6587");
    // A character beyond GBK, in four-byte GB18030.
    EXPECT_EQ(DecodeResponseText("\x95\x32\x82\x36", "text/plain; charset=GB18030"), u"\U00020000");
}

TEST(TextDecoder, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(DecodeResponseText("a\xFF"
                                 "b",
                                 ""),
              u"a\uFFFDb");
    EXPECT_EQ(DecodeResponseText("a", "text/plain; charset=no-such-charset"), u"a");
}

} // namespace
} // namespace kivo::platform
