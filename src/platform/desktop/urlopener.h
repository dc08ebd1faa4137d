#pragma once

#include <QString>

#include <functional>

namespace kivo::platform {

/// @brief Opens an address in the user's default browser; tests put a recorder in its place.
class UrlOpener {
public:
    static void open(const QString& url);
    static void setHandler(std::function<void(const QString&)> handler);
};

} // namespace kivo::platform
