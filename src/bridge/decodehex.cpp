#include "bridge/decodehex.h"

namespace kivo::bridge {

std::u16string DecodeHex(std::u16string_view szString) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text(szString);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t code[3] = {u'%', kHex[byte >> 4], kHex[byte & 15]};
        const std::u16string_view pattern(code, 3);
        const char16_t replacement = byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD';
        if (text.find(pattern) == std::u16string::npos) {
            continue;
        }
        std::u16string next;
        next.reserve(text.size());
        size_t at = 0;
        for (size_t hit = text.find(pattern); hit != std::u16string::npos; hit = text.find(pattern, at)) {
            next.append(text, at, hit - at);
            next.push_back(replacement);
            at = hit + 3;
        }
        next.append(text, at, std::u16string::npos);
        text = std::move(next);
    }
    return text;
}

} // namespace kivo::bridge
