// Checks the icon answer check on arbitrary answers: it never throws or reads past the body, and
// what it stores is a whole answer of status 200 within the limit that starts as a picture does.
#include "mainwin/menuiconanswer.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the status, the rest is the body.
    static constexpr long kStatuses[] = {200, 206, 204, 301, 404, 500, 0, -1};
    const long status = kStatuses[data[0] % 8];
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool stored = kivo::mainwin::IsIconAnswer(status, body);
    if (stored && (status != 200 || body.empty() || body.size() > kivo::mainwin::kIconAnswerLimit)) {
        std::abort();
    }
    if (stored && body.starts_with("RIFF") && body.size() < 12) {
        std::abort(); // a cut RIFF header is no WebP picture
    }
    return 0;
}
