#include "service/sessioncookies.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cctype>

Q_LOGGING_CATEGORY(lcSetCookie, "kivo.service.setcookielines")

namespace kivo::service {

namespace {

bool containsSetCookie(std::string_view line) {
    constexpr std::string_view name = "set-cookie";
    const auto it = std::search(line.begin(), line.end(), name.begin(), name.end(),
                                [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return it != line.end();
}

} // namespace

std::vector<CookiePair> ParseSetCookieLines(std::string_view headers) {
    std::vector<CookiePair> pairs;
    size_t start = 0;
    while (start <= headers.size()) {
        const size_t end = std::min(headers.find('\n', start), headers.size());
        std::string_view line = headers.substr(start, end - start);
        start = end + 1;
        // Header names carry no case: proxies and HTTP/2 lower-case them.
        if (!containsSetCookie(line)) {
            continue;
        }
        // The carriage return that ended the header line is no part of the cookie.
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const size_t colon = line.find(": ");
        if (colon == std::string_view::npos) {
            qCInfo(lcSetCookie) << "skipping a Set-Cookie line without \": \"";
            continue;
        }
        std::string_view cookie = line.substr(colon + 2);
        cookie = cookie.substr(0, cookie.find(": "));
        cookie = cookie.substr(0, cookie.find(';'));
        const size_t eq = cookie.find('=');
        if (eq == std::string_view::npos) {
            qCInfo(lcSetCookie) << "skipping a Set-Cookie pair without \"=\"";
            continue;
        }
        pairs.push_back({std::string(cookie.substr(0, eq)), std::string(cookie.substr(eq + 1))});
    }
    return pairs;
}

} // namespace kivo::service
