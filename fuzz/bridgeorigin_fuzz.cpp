// Checks the bridge's origin parsing on arbitrary addresses and origin lists: an origin is
// "scheme://host:port" of http or https or nothing, and no origin list lets "null" or the empty
// origin through.
#include "bridge/bridgeorigins.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t cut = text.find('\n');
    const std::string base = text.substr(0, cut);
    const std::string extra = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    static const QRegularExpression origin(R"(^https?://[^/?#\s]+:\d{1,5}$)");
    for (const std::string& address : {base, extra}) {
        const QString of = kivo::bridge::BridgeOrigins::OriginOf(QString::fromStdString(address));
        if (!of.isEmpty() && !origin.match(of).hasMatch()) {
            std::abort();
        }
    }
    const kivo::bridge::BridgeOrigins origins(base, extra);
    if (origins.allows("null") || origins.allows("")) {
        std::abort();
    }
    (void)origins.allows(QString::fromStdString(extra));
    return 0;
}
