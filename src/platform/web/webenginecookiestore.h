#pragma once

#include "platform/net/cookiestore.h"

namespace kivo::platform {

/// @brief The embedded browser's own cookie store (the default profile's): a cookie set here
/// goes with every later page and picture request to the site of `url`.
class WebEngineCookieStore : public CookieStore {
public:
    void setCookie(const std::string& url, const std::string& name, const std::string& value) override;
};

} // namespace kivo::platform
