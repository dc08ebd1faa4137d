#include "platform/packages/debianversion.h"

#include <cctype>
#include <string>

namespace kivo::platform {

namespace {

struct Parts {
    long long epoch = 0;
    std::string_view upstream;
    std::string_view revision;
};

Parts split(std::string_view version) {
    Parts parts;
    if (const auto colon = version.find(':'); colon != std::string_view::npos) {
        for (const char c : version.substr(0, colon)) {
            if (std::isdigit(static_cast<unsigned char>(c)) != 0 && parts.epoch < 1'000'000'000) {
                parts.epoch = parts.epoch * 10 + (c - '0');
            }
        }
        version.remove_prefix(colon + 1);
    }
    if (const auto dash = version.rfind('-'); dash != std::string_view::npos) {
        parts.revision = version.substr(dash + 1);
        version = version.substr(0, dash);
    }
    parts.upstream = version;
    return parts;
}

// A character's weight among non-digits: `~` before the end, the end before letters, letters
// before everything else.
int weight(char c) {
    if (c == '~') {
        return -1;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
        return c;
    }
    return c + 256;
}

int compareParts(std::string_view a, std::string_view b) {
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        // The non-digit run, character by character.
        while ((i < a.size() && !isDigit(a[i])) || (j < b.size() && !isDigit(b[j]))) {
            const int wa = i < a.size() && !isDigit(a[i]) ? weight(a[i]) : 0;
            const int wb = j < b.size() && !isDigit(b[j]) ? weight(b[j]) : 0;
            if (wa != wb) {
                return wa < wb ? -1 : 1;
            }
            ++i;
            ++j;
        }
        // The digit run, as a number: leading zeros do not count.
        while (i < a.size() && a[i] == '0') {
            ++i;
        }
        while (j < b.size() && b[j] == '0') {
            ++j;
        }
        size_t ea = i;
        size_t eb = j;
        while (ea < a.size() && isDigit(a[ea])) {
            ++ea;
        }
        while (eb < b.size() && isDigit(b[eb])) {
            ++eb;
        }
        if (ea - i != eb - j) {
            return ea - i < eb - j ? -1 : 1;
        }
        if (const int c = a.substr(i, ea - i).compare(b.substr(j, eb - j)); c != 0) {
            return c < 0 ? -1 : 1;
        }
        i = ea;
        j = eb;
    }
    return 0;
}

} // namespace

int CompareDebianVersions(std::string_view a, std::string_view b) {
    const Parts pa = split(a);
    const Parts pb = split(b);
    if (pa.epoch != pb.epoch) {
        return pa.epoch < pb.epoch ? -1 : 1;
    }
    if (const int c = compareParts(pa.upstream, pb.upstream); c != 0) {
        return c;
    }
    return compareParts(pa.revision, pb.revision);
}

} // namespace kivo::platform
