#pragma once

#include "platform/net/cookiestore.h"

#include <vector>

namespace kivo::tools {

/// @brief A cookie store that only remembers what it was given, in order: for tests and for
/// kivoctl, where no browser runs.
class RecordingCookieStore : public platform::CookieStore {
public:
    struct Cookie {
        std::string url;
        std::string name;
        std::string value;
        bool operator==(const Cookie&) const = default;
    };

    void setCookie(const std::string& url, const std::string& name, const std::string& value) override {
        cookies.push_back({url, name, value});
    }

    std::vector<Cookie> cookies;
};

} // namespace kivo::tools
