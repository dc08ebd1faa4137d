#include "mainwin/menuiconanswer.h"

#include <string_view>

namespace kivo::mainwin {

bool IsIconAnswer(long status, const std::string& body) {
    if (status != 200 || body.empty() || body.size() > kIconAnswerLimit) {
        return false;
    }
    const std::string_view bytes = body;
    auto starts = [bytes](std::string_view magic) { return bytes.starts_with(magic); };
    // A WebP file is a RIFF file whose form type, at byte 8, says WEBP; a shorter one is no picture.
    const bool webp = starts("RIFF") && bytes.size() >= 12 && bytes.substr(8, 4) == "WEBP";
    return starts("\x89PNG\r\n\x1A\n") || starts("\xFF\xD8\xFF") || starts("GIF87a") || starts("GIF89a") ||
           starts("BM") || starts(std::string_view("\0\0\1\0", 4)) || webp || starts("<svg") || starts("<?xml");
}

} // namespace kivo::mainwin
