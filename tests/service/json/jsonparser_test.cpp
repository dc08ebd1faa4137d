#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonparser.h"
#include "service/json/jsonwriter.h"
#include "service/json/runtimeerror.h"
#include "service/json/textcodec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kivo::json {
namespace {

struct ParseCase {
    std::string name;
    std::string input;
    std::string text; // expected JsonText, or "nothing"
    std::string log;
    int inputLines = 0;
};

std::vector<ParseCase> loadCases(const std::string& path) {
    std::ifstream file(path);
    std::vector<ParseCase> cases;
    std::string line;
    bool inInput = false;
    while (std::getline(file, line)) {
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({line.substr(4), "", "", "", 0});
            inInput = true;
        } else if (cases.empty() || (!inInput && (line.empty() || line[0] == '#'))) {
            continue;
        } else if (line.rfind("-->", 0) == 0) {
            cases.back().text = line.size() > 4 ? line.substr(4) : "";
            inInput = false;
        } else if (line.rfind("log: ", 0) == 0) {
            cases.back().log += line.substr(5) + "\r\n";
        } else if (line.rfind("log= ", 0) == 0) {
            cases.back().log += line.substr(5);
        } else if (inInput) {
            ParseCase& c = cases.back();
            if (c.inputLines++ > 0) {
                c.input += '\n';
            }
            c.input += line;
        }
    }
    return cases;
}

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCases : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCases, GivesTheExpectedTreeAndLog) {
    const ParseCase& c = GetParam();
    const JsonValue root = JsonParse(Utf8ToUtf16(c.input));
    const std::string log = Utf16ToUtf8(JsonErrors());
    if (c.text == "nothing") {
        EXPECT_TRUE(root.isNothing());
    } else {
        EXPECT_EQ(Utf16ToUtf8(JsonText(root)), c.text);
    }
    EXPECT_EQ(log, c.log);

    // What the serializer writes of a clean parse, the parser reads back to the same text.
    if (!root.isNothing() && log.empty()) {
        const std::u16string once = JsonText(root);
        const JsonValue again = JsonParse(once);
        EXPECT_EQ(JsonText(again), once);
    }
}

INSTANTIATE_TEST_SUITE_P(DataFile, ParseCases, ::testing::ValuesIn(loadCases(KIVO_TEST_DATA_DIR "/json/parse.cases")),
                         [](const auto& info) {
                             std::string name;
                             for (char ch : info.param.name) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name + "_" + std::to_string(info.index);
                         });

TEST(JsonParse, ValueModelReadsAsDocumented) {
    const JsonValue root = JsonParse(u"{\"b\":[10,\"x\",null,true],\"a\":{\"k\":-2.5}}");
    ASSERT_TRUE(root.isDictionary());
    const auto dict = root.dictionary();
    EXPECT_EQ(dict->Count(), 2);
    EXPECT_EQ(dict->keys(), (std::vector<std::u16string>{u"b", u"a"}));
    EXPECT_TRUE(dict->Item(u"missing").isEmpty());
    EXPECT_TRUE(dict->Item(u"B").isEmpty());

    const auto list = dict->Item(u"b").collection();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Item(1).number(), Decimal(10));
    EXPECT_EQ(list->Item(2).text(), u"x");
    EXPECT_TRUE(list->Item(3).isNull());
    EXPECT_TRUE(list->Item(4).boolean());
    EXPECT_THROW(list->Item(0), RuntimeError);
    EXPECT_THROW(list->Item(5), RuntimeError);

    EXPECT_EQ(dict->Item(u"a").dictionary()->Item(u"k").number(), Decimal::FromText("-2.50"));
}

TEST(JsonParse, LogIsEmptiedByTheNextParse) {
    JsonParse(u"abc");
    EXPECT_EQ(JsonErrors(), u"Invalid JSON");
    JsonParse(u"{}");
    EXPECT_EQ(JsonErrors(), u"");
}

TEST(JsonParse, HostileNestingStopsAtTheDepthLimit) {
    const std::u16string deep(100000, u'[');
    const JsonValue root = JsonParse(deep);
    ASSERT_TRUE(root.isCollection());
    int depth = 1;
    for (auto c = root.collection(); c->Count() > 0; c = c->Item(1).collection()) {
        ++depth;
    }
    EXPECT_EQ(depth, JsonParser::kMaxDepth);
    EXPECT_EQ(JsonErrors(), u"Nesting deeper than 512 levels at position 513\r\n");
}

TEST(JsonParse, NestingInsideObjectsStopsAtTheSameLimit) {
    std::u16string deep;
    for (int i = 0; i < 600; ++i) {
        deep += u"{\"a\":";
    }
    const JsonValue root = JsonParse(deep + u"1" + std::u16string(600, u'}'));
    ASSERT_TRUE(root.isDictionary());
    int depth = 1;
    auto d = root.dictionary();
    while (d->Item(u"a").isDictionary()) {
        d = d->Item(u"a").dictionary();
        ++depth;
    }
    EXPECT_EQ(depth, JsonParser::kMaxDepth);
    EXPECT_EQ(d->Count(), 0) << "the innermost kept object is empty";
}

TEST(JsonParse, NumbersBeyondSixtyFourBitsAreKeptExactly) {
    const JsonValue root = JsonParse(u"[99999999999999999999, 18446744073709551616, -18446744073709551617]");
    ASSERT_TRUE(root.isCollection());
    EXPECT_EQ(root.collection()->Item(1).number().toString(), "99999999999999999999");
    EXPECT_EQ(root.collection()->Item(2).number().toString(), "18446744073709551616");
    EXPECT_EQ(root.collection()->Item(3).number().toString(), "-18446744073709551617");
}

TEST(JsonParse, BrokenTextCannotGrowTheLogWithoutBound) {
    // Each bad literal quotes the whole rest of the text; left alone this is quadratic.
    std::u16string text = u"{";
    for (int i = 0; i < 20000; ++i) {
        text += u"a:tru ";
    }
    JsonParse(text);
    EXPECT_LE(JsonErrors().size(), JsonParser::kMaxLog + text.size());
    EXPECT_GT(JsonErrors().size(), 0u);
}

TEST(JsonParse, LongStringsWithEscapesAreKeptWhole) {
    std::u16string body;
    for (int i = 0; i < 20000; ++i) {
        body += u"ab\\n";
    }
    const JsonValue root = JsonParse(u"[\"" + body + u"\"]");
    EXPECT_EQ(root.collection()->Item(1).text().size(), 60000u);
}

} // namespace
} // namespace kivo::json
