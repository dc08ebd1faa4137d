#pragma once

#include <string>
#include <string_view>

namespace kivo::service {

/// @brief Percent-encodes a query value given as UTF-8: everything but letters, digits and
/// "-", "_", ".", "~" becomes %XX, so "&", "#", "+", "=" and blanks arrive as typed.
std::string EncodeQueryValue(std::string_view utf8);

} // namespace kivo::service
