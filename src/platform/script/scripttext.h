#pragma once

#include <string>

namespace kivo::script {

/// @brief The interpreter's one case folding: ASCII and the Latin-1 letters (not × and ÷), by
/// which names are compared and LCase, UCase and text comparison work.
std::u16string LowerCase(std::u16string text);
std::u16string UpperCase(std::u16string text);

} // namespace kivo::script
