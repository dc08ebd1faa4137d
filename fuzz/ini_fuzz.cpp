// Writes one key into arbitrary INI text and checks the round trip: the value reads back, and
// every other line of the file is still there, in its order.
#include "platform/files/inifile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using kivo::platform::IniFile;
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kivo-ini-fuzz-" + std::to_string(::getpid()) + ".ini");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    if (!IniFile::write(file, "SysRunParameter", "stick", "fuzzed")) {
        return 0;
    }
    if (IniFile::read(file, "SysRunParameter", "stick") != "fuzzed") {
        std::abort();
    }
    // The old lines stand in the new file as a subsequence, save the one line replaced.
    const auto before = lines(text);
    const auto after = lines(readAll(file));
    size_t j = 0;
    size_t missing = 0;
    for (const std::string& line : before) {
        while (j < after.size() && after[j] != line) {
            ++j;
        }
        if (j == after.size()) {
            ++missing;
            j = 0;
            continue;
        }
        ++j;
    }
    if (missing > 1) {
        std::abort();
    }
    return 0;
}
