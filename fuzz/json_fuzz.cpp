// Feeds arbitrary text to the parser, then checks that what the serializer writes of the result
// parses again and serializes to the same text.
#include "service/json/jsonparser.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    using namespace kivo::json;
    if (size == 0) {
        return 0;
    }
    // The first byte picks how the rest is read: UTF-8 text, or raw UTF-16 code units (which
    // reach lone surrogates and every other code unit UTF-8 cannot carry).
    std::u16string text;
    if (data[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
    } else {
        text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    }
    const JsonValue root = JsonParse(text);
    const std::u16string written = JsonText(root);
    if (JsonErrors().empty() && !root.isNothing()) {
        // Only clean parses round-trip: an empty member value has no text of its own.
        if (JsonText(JsonParse(written)) != written) {
            std::abort();
        }
    }
    return 0;
}
