#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kivo::service {

/// @brief A cookie's name and value as a Set-Cookie header line gives them.
struct CookiePair {
    std::string name;
    std::string value;
    bool operator==(const CookiePair&) const = default;
};

/// @brief The name-value pairs of the Set-Cookie lines in a response's header text, in order.
/// Attributes are dropped; a value is whatever follows the first "=", with the line's carriage
/// return removed. Lines without ": " or pairs without "=" are skipped.
std::vector<CookiePair> ParseSetCookieLines(std::string_view headers);

/// @brief Copies the cookies of the client's last response into the browser's cookie store under
/// `address`; an empty address means the base address, which is also written back. Always true.
bool CopySessionCookies(std::string& address);
/// @brief The same under the base address, for callers that have no address of their own.
bool CopySessionCookies();

} // namespace kivo::service
