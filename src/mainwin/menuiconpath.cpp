#include "mainwin/menuiconpath.h"

#include <algorithm>

namespace kivo::mainwin {

std::string MenuIconPath(const std::string& iconPath, const std::string& baseUrl) {
    std::string path = iconPath;
    // An absolute address is one of ours only when it lies under the service.
    if (path.find("://") != std::string::npos) {
        if (baseUrl.empty() || path.compare(0, baseUrl.size(), baseUrl) != 0) {
            return {};
        }
        path.erase(0, baseUrl.size());
    }
    if (path.size() < 2 || path.front() != '/') {
        return {};
    }
    for (const char c : path) {
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return {};
        }
    }
    // Every segment must name something: no "", "." or ".." between the slashes.
    size_t start = 1;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return {};
        }
        start = end + 1;
    }
    return path;
}

} // namespace kivo::mainwin
