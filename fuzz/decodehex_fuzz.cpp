// Decodes arbitrary happ statements: the result never grows, and text without "%" stays as it is.
#include "bridge/decodehex.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    const std::u16string decoded = kivo::bridge::DecodeHex(text);
    if (decoded.size() > text.size() || (text.find(u'%') == std::u16string::npos && decoded != text)) {
        std::abort();
    }
    return 0;
}
