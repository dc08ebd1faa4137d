#include "service/json/cstringbuilder.h"
#include "service/json/runtimeerror.h"

#include <gtest/gtest.h>

#include <functional>

namespace kivo::json {
namespace {

int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(cStringBuilder, GrowsByWholeChunks) {
    cStringBuilder sb;
    EXPECT_EQ(sb.Capacity(), 0);
    EXPECT_EQ(sb.ChunkSize(), 8192);
    const std::u16string text(8193, u'q');
    sb.Append(text);
    EXPECT_EQ(sb.Capacity(), 16384);
    EXPECT_EQ(sb.Length(), 8193);
    EXPECT_EQ(sb.toString(), text);
    sb.Append(u"");
    EXPECT_EQ(sb.Length(), 8193);
    sb.AppendNL(u"x");
    EXPECT_EQ(sb.toString().substr(8193), u"x\r\n");
}

TEST(cStringBuilder, TheStringAndClear) {
    cStringBuilder sb;
    sb.ChunkSize(4);
    sb.TheString(u"abcdefghij");
    EXPECT_EQ(sb.Capacity(), 12);
    EXPECT_EQ(sb.toString(), u"abcdefghij");
    sb.TheString(u"xy");
    EXPECT_EQ(sb.toString(), u"xy");
    EXPECT_EQ(sb.Capacity(), 12);
    sb.TheString(u"");
    EXPECT_EQ(sb.Capacity(), 0);
    sb.Append(u"abc");
    sb.Clear();
    EXPECT_EQ(sb.Length(), 0);
    EXPECT_EQ(sb.Capacity(), 0);
    EXPECT_EQ(sb.ChunkSize(), 4);
}

TEST(cStringBuilder, InsertAndRemove) {
    cStringBuilder sb;
    sb.Append(u"ab");
    sb.Insert(0, u"x");
    EXPECT_EQ(sb.toString(), u"xab");
    sb.Insert(3, u"!");
    EXPECT_EQ(sb.toString(), u"xab!");
    EXPECT_EQ(errorNumber([&] { sb.Insert(5, u"y"); }), 9);
    EXPECT_EQ(sb.toString(), u"xab!");

    sb.TheString(u"abc");
    sb.Remove(1, 1);
    EXPECT_EQ(sb.toString(), u"ac");
    EXPECT_EQ(errorNumber([&] { sb.Remove(2, 2); }), 9);
    EXPECT_EQ(errorNumber([&] { sb.Remove(3, 0); }), 9);
    EXPECT_EQ(sb.toString(), u"ac");
    const int capacity = sb.Capacity();
    sb.Remove(0, 2);
    EXPECT_EQ(sb.toString(), u"");
    EXPECT_EQ(sb.Capacity(), capacity);
}

TEST(cStringBuilder, InsertOfItsOwnContent) {
    cStringBuilder sb;
    sb.ChunkSize(1);
    sb.Append(u"abc");
    const std::u16string_view own = sb.view();
    sb.Insert(1, own); // the view dangles once the buffer grows unless copied first
    EXPECT_EQ(sb.toString(), u"aabcbc");
}

TEST(cStringBuilder, RejectsNegativeArgumentsAndBadChunks) {
    cStringBuilder sb;
    sb.Append(u"abc");
    EXPECT_EQ(errorNumber([&] { sb.Insert(-1, u"x"); }), 5);
    EXPECT_EQ(errorNumber([&] { sb.Remove(-1, 1); }), 5);
    EXPECT_EQ(errorNumber([&] { sb.Remove(1, -1); }), 5);
    EXPECT_EQ(errorNumber([&] { sb.ChunkSize(0); }), 5);
    EXPECT_EQ(errorNumber([&] { sb.ChunkSize(-8); }), 5);
    EXPECT_EQ(errorNumber([&] { sb.ChunkSize(0x40000000); }), 6);
    EXPECT_EQ(sb.ChunkSize(), 8192);
    EXPECT_EQ(sb.toString(), u"abc");
}

TEST(cStringBuilder, CaseInsensitiveFindDoesNotFoldSigns) {
    cStringBuilder sb;
    sb.Append(u"12 ÷ 4");
    EXPECT_EQ(sb.Find(u"×", 0, 1), 0) << "× and ÷ differ by one bit, not by case";
    cStringBuilder other;
    other.Append(u"3 × 4");
    EXPECT_EQ(other.Find(u"÷", 0, 1), 0);
    EXPECT_EQ(other.Find(u"×", 0, 1), 3);
}

TEST(cStringBuilder, Find) {
    cStringBuilder sb;
    sb.Append(u"Hello hello");
    EXPECT_EQ(sb.Find(u"hello"), 7);
    EXPECT_EQ(sb.Find(u"hello", 0, 1), 1);
    EXPECT_EQ(sb.Find(u"HELLO", 2, 1), 7);
    EXPECT_EQ(sb.Find(u"lo", 6), 10);
    EXPECT_EQ(sb.Find(u"x"), 0);
    // Spaces left over in the capacity beyond the content are never found.
    sb.TheString(u"abc");
    EXPECT_EQ(sb.Find(u"c "), 0);
    EXPECT_EQ(sb.Find(u"C", 0, 1), 3);
}

TEST(cStringBuilder, HeapMinimizeLeavesAtMostOneChunk) {
    cStringBuilder sb;
    sb.Append(std::u16string(24576, u'a'));
    sb.Remove(10, 24566);
    EXPECT_EQ(sb.Capacity(), 24576);
    sb.HeapMinimize();
    EXPECT_EQ(sb.Capacity(), 8192);
    EXPECT_EQ(sb.toString(), std::u16string(10, u'a'));
    sb.HeapMinimize();
    EXPECT_EQ(sb.Capacity(), 8192);
}

} // namespace
} // namespace kivo::json
