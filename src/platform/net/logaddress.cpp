#include "platform/net/logaddress.h"

namespace kivo::platform {

std::string AddressForLog(std::string_view url) {
    const size_t cut = url.find_first_of("?#");
    std::string shown(url.substr(0, cut));
    const size_t scheme = shown.find("://");
    if (scheme != std::string::npos) {
        const size_t hostStart = scheme + 3;
        const size_t pathStart = shown.find('/', hostStart);
        const size_t at = shown.rfind('@', pathStart == std::string::npos ? std::string::npos : pathStart);
        if (at != std::string::npos && at >= hostStart) {
            shown.erase(hostStart, at + 1 - hostStart);
        }
    }
    if (cut != std::string_view::npos && url[cut] == '?') {
        shown += "?…";
    }
    return shown;
}

} // namespace kivo::platform
