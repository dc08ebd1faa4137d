#pragma once

#include "service/json/jsonvalue.h"

#include <string>
#include <string_view>

namespace kivo::json {

class ValueArray;

/// @brief Compact JSON text of any value: no blanks; every character outside printable ASCII is
/// written as a \u escape with upper-case digits, and "/" as "\/". Dictionary keys are written as
/// they are, unescaped. The empty value and a reference to nothing give the empty text.
std::u16string JsonText(const JsonValue& value);

/// @brief The body of a JSON string literal for `text`, without the quotes.
std::u16string EscapeText(std::u16string_view text);

/// @brief JSON text of a native array of values: nested arrays, one level per dimension.
std::u16string ArrayText(const ValueArray& array);

} // namespace kivo::json
