#include "platform/script/scripttext.h"

namespace kivo::script {

std::u16string LowerCase(std::u16string text) {
    for (auto& c : text) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            c = static_cast<char16_t>(c + 32);
        }
    }
    return text;
}

std::u16string UpperCase(std::u16string text) {
    for (auto& c : text) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            c = static_cast<char16_t>(c - 32);
        }
    }
    return text;
}

} // namespace kivo::script
