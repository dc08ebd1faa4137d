#pragma once

#include <string>
#include <string_view>

namespace kivo::platform {

/// @brief An address as log lines may show it: scheme, host, port and path. A query becomes
/// "?…", and a fragment and any user name or password are left out, since sign-in values
/// travel there.
std::string AddressForLog(std::string_view url);

} // namespace kivo::platform
