#pragma once

#include <string>
#include <string_view>

namespace kivo::bridge {

/// @brief Decodes the %XX escapes of a happ statement in 256 passes, one per byte value in
/// ascending order, upper-case hex digits only; bytes 80 to FF become U+FFFD.
std::u16string DecodeHex(std::u16string_view text);

} // namespace kivo::bridge
