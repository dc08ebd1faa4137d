#pragma once

#include <string>

namespace kivo::platform {

/// @brief Where the embedded browser keeps its cookies. A cookie set here has no expiry date
/// (it lasts for the run) and is sent with every request to `url`'s site.
class CookieStore {
public:
    virtual ~CookieStore() = default;
    virtual void setCookie(const std::string& url, const std::string& name, const std::string& value) = 0;
};

} // namespace kivo::platform
