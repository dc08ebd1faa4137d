#pragma once

#include <string_view>

namespace kivo::platform {

/// @brief Orders two Debian package versions ([epoch:]upstream[-revision]) as dpkg does: epochs
/// first, then the upstream part and the revision, each compared in runs of non-digits (where `~`
/// sorts before everything, even the end) and digits. Negative, zero or positive.
int CompareDebianVersions(std::string_view a, std::string_view b);

} // namespace kivo::platform
