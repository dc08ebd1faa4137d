// Checks arbitrary icon paths: whatever the check lets through names a file below the folder,
// rooted at "/", with no empty, "." or ".." segment, no backslash and no control character.
#include "mainwin/menuiconpath.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string kept = kivo::mainwin::MenuIconPath(path, "http://svc.test:8765");
    if (kept.empty()) {
        return 0;
    }
    if (kept.front() != '/' || kept.back() == '/' || kept.find("//") != std::string::npos ||
        kept.find("/./") != std::string::npos || kept.find("/../") != std::string::npos ||
        kept.ends_with("/.") || kept.ends_with("/..") || kept.find('\\') != std::string::npos) {
        std::abort();
    }
    for (const char c : kept) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            std::abort();
        }
    }
    return 0;
}
