#pragma once

#include <string>
#include <string_view>

namespace kivo::platform {

/// @brief Decodes a response body by the charset of its Content-Type ("text/html; charset=GBK"):
/// UTF-8 when none is named or the name is unknown; a leading UTF-8 byte order mark is dropped.
std::u16string DecodeResponseText(std::string_view body, std::string_view contentType);

/// @brief The charset named in a Content-Type value, lower-cased; empty when none.
std::string CharsetOf(std::string_view contentType);

} // namespace kivo::platform
