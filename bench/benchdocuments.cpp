#include "benchdocuments.h"

#include <array>
#include <cstdint>

namespace kivo::bench {

namespace {

// A small linear congruential generator: the same documents on every machine.
struct Lcg {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

constexpr std::array kWords = {"工作台", "客户", "订单", "报表", "审批", "消息", "设置", "财务", "库存", "合同",
                               "日程",   "公告", "统计", "员工", "考勤", "项目", "采购", "销售", "资料", "管理"};

} // namespace

std::string menuDocument(size_t bytes) {
    Lcg rng;
    std::string out = R"({"status":1,"msg":"","data":{"time":"1733616000","topMenu":[)";
    bool first = true;
    for (int i = 1; out.size() < bytes; ++i) {
        if (!first) {
            out += ',';
        }
        first = false;
        const std::string id = std::to_string(i);
        std::string name = kWords[rng.below(kWords.size())];
        name += kWords[rng.below(kWords.size())];
        out += R"({"id":)" + id + R"(,"name":")" + name + id + R"(","pic":"/upload/menu/)" + id +
               R"(.png","pic_grey":"/upload/menu/)" + id + R"(_grey.png","pic_blue":"/upload/menu/)" + id +
               R"(_blue.png","url":"/desktop/module/index?id=)" + id + R"(&tab=)" + std::to_string(rng.below(9)) +
               R"(","mark":"m)" + id + R"(","current":)" + std::to_string(rng.below(2)) + R"(,"leftMenu":)" +
               std::to_string(rng.below(2)) + R"(,"sort":)" + std::to_string(rng.below(1000)) + R"(,"weight":)" +
               std::to_string(rng.below(100)) + "." + std::to_string(rng.below(100)) + "}";
    }
    out += "]}}";
    return out;
}

std::string mixedDocument(size_t bytes) {
    Lcg rng;
    std::string out = "[";
    bool first = true;
    while (out.size() < bytes) {
        if (!first) {
            out += ',';
        }
        first = false;
        const std::string n = std::to_string(rng.next());
        out += R"({"id":)" + n + R"(,"price":-)" + std::to_string(rng.below(100000)) + "." +
               std::to_string(rng.below(1000)) + R"(,"ratio":)" + std::to_string(rng.below(10)) + "." +
               std::to_string(rng.next()) + R"(e-3,"ok":)" + (rng.below(2) != 0 ? "true" : "false") +
               R"(,"none":null,"text":"line one\nline \"two\"\tcaf\u00e9 \/path\\x )" +
               kWords[rng.below(kWords.size())] +
               R"(","tags":["a","b\u4e2d",[1,2,[3,{"deep":{"deeper":[]}}]]],"nested":{"x":{"y":{"z":)" + n +
               R"(}},"list":[0.5,-7,1e2,12345678901234567890]}})";
    }
    out += "]";
    return out;
}

} // namespace kivo::bench
