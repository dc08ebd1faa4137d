#include "platform/process/freememory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("RssAnon:", 0) == 0) {
            return std::stol(line.substr(8));
        }
    }
    return -1;
}

// Many small blocks live on the heap, not in maps of their own: freeing them keeps the pages
// with the program until they are handed back.
TEST(FreeMemory, FreedHeapPagesGoBackToTheSystem) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "only the GNU C library's own allocator keeps freed pages";
#endif
    constexpr int kBlocks = 64 * 1024;
    constexpr int kSize = 1024;
    std::vector<std::unique_ptr<char[]>> blocks(kBlocks);
    for (auto& block : blocks) {
        block.reset(new char[kSize]);
        std::fill_n(block.get(), kSize, 'k');
    }
    // The last block stays: the freed ones are below it, where trimming the heap's top cannot
    // reach them.
    for (int i = 0; i + 1 < kBlocks; ++i) {
        blocks[i].reset();
    }
    const long before = residentKb();
    kivo::platform::ReturnFreeMemory();
    const long after = residentKb();
    ASSERT_GT(before, 0);
    EXPECT_LT(after, before - 32 * 1024) << "before " << before << " kB, after " << after << " kB";
}

} // namespace
