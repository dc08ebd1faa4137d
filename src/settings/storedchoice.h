#pragma once

#include <optional>
#include <string_view>

namespace kivo::settings {

/// The choice a stored run parameter stands for: 1 for exactly "1", 0 for "0" or the empty
/// text (nothing stored yet), and nothing for any other text, which the settings window shows
/// as the default choice without writing it back.
std::optional<int> StoredChoice(std::string_view stored);

} // namespace kivo::settings
