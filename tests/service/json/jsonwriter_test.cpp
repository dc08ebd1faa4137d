#include "service/json/collection.h"
#include "service/json/dictionary.h"
#include "service/json/jsonwriter.h"
#include "service/json/valuearray.h"

#include <gtest/gtest.h>

namespace kivo::json {
namespace {

TEST(JsonText, EscapesEverythingOutsidePrintableAscii) {
    EXPECT_EQ(JsonText(JsonValue(u"\"\\/\t\u4E2D")), u"\"\\\"\\\\\\/\\t\\u4E2D\"");
    EXPECT_EQ(EscapeText(u"\u00E9\uFFFF\u007F\u0001 ~"), u"\\u00E9\\uFFFF\\u007F\\u0001 ~");
    EXPECT_EQ(EscapeText(u"\b\f\n\r"), u"\\b\\f\\n\\r");
    EXPECT_EQ(EscapeText(u"\U0001D11E"), u"\\uD834\\uDD1E");
    EXPECT_EQ(EscapeText(u""), u"");
}

TEST(JsonText, WritesEveryKind) {
    EXPECT_EQ(JsonText(JsonValue(std::make_shared<Dictionary>())), u"{}");
    EXPECT_EQ(JsonText(JsonValue(std::make_shared<Collection>())), u"[]");
    EXPECT_EQ(JsonText(JsonValue::null()), u"null");
    EXPECT_EQ(JsonText(JsonValue()), u"");
    EXPECT_EQ(JsonText(JsonValue::nothing()), u"");
    EXPECT_EQ(JsonText(JsonValue(true)), u"true");
    EXPECT_EQ(JsonText(JsonValue(false)), u"false");
    EXPECT_EQ(JsonText(JsonValue(Decimal::FromText("1.5"))), u"1.5");
    EXPECT_EQ(JsonText(JsonValue(Decimal::FromText("-0.25"))), u"-0.25");
}

TEST(JsonText, KeepsInsertionOrderAndWritesKeysAsTheyAre) {
    auto dict = std::make_shared<Dictionary>();
    dict->Add(u"name", JsonValue(u"\u9996\u9875"));
    dict->Add(u"leftMenu", JsonValue(1));
    EXPECT_EQ(JsonText(JsonValue(dict)), u"{\"name\":\"\\u9996\\u9875\",\"leftMenu\":1}");

    auto odd = std::make_shared<Dictionary>();
    odd->Add(u"a\"b", JsonValue(1));
    EXPECT_EQ(JsonText(JsonValue(odd)), u"{\"a\"b\":1}");
}

TEST(ArrayText, WritesEachDimensionAsANestedArray) {
    auto grid = std::make_shared<ValueArray>(std::vector<ValueArray::Bounds>{{0, 1}, {1, 3}});
    int n = 0;
    for (int i = 0; i <= 1; ++i) {
        for (int j = 1; j <= 3; ++j) {
            grid->set({i, j}, JsonValue(++n));
        }
    }
    grid->set({1, 2}, JsonValue()); // an element with no text keeps its separators
    EXPECT_EQ(ArrayText(*grid), u"[[1,2,3],[4,,6]]");
    EXPECT_EQ(JsonText(JsonValue(grid)), u"[[1,2,3],[4,,6]]");

    ValueArray empty({{0, -1}});
    EXPECT_EQ(ArrayText(empty), u"[]");
}

} // namespace
} // namespace kivo::json
