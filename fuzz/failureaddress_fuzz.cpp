// Checks how the failure panel renders arbitrary failed addresses: one short line of host, port
// and path, with nothing of the query, the fragment or the user's password.
#include "chrome/failureaddress.h"

#include <QUrl>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString url = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString shown = kivo::chrome::ShownAddress(url);
    if (shown.size() > kivo::chrome::kShownAddressLength) {
        std::abort();
    }
    for (const QChar c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            std::abort();
        }
    }
    // Exactly host, port and path, nothing else of the address (its query, fragment, user name
    // or password), cut at the end when long.
    const QUrl address(url);
    QString whole = address.host().isEmpty() ? QString()
                                             : address.host() +
                                                   (address.port() >= 0 ? ":" + QString::number(address.port()) : "") +
                                                   address.path();
    whole.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
    const bool cut = whole.size() > kivo::chrome::kShownAddressLength;
    if (cut ? !(shown.endsWith(QStringLiteral("…")) && whole.startsWith(shown.chopped(1))) : shown != whole) {
        std::abort();
    }
    return 0;
}
