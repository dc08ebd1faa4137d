// Feeds arbitrary header text to the Set-Cookie line parser: every pair it returns has a name
// without "=" and nothing spans a line break.
#include "service/sessioncookies.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view headers(reinterpret_cast<const char*>(data), size);
    for (const auto& pair : kivo::service::ParseSetCookieLines(headers)) {
        if (pair.name.find('=') != std::string::npos || pair.name.find('\n') != std::string::npos ||
            pair.value.find('\n') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
