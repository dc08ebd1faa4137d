#include "chrome/failureaddress.h"

#include <QUrl>

namespace kivo::chrome {

QString ShownAddress(const QString& url) {
    const QUrl address(url);
    if (address.host().isEmpty()) {
        return {};
    }
    QString shown =
        address.host() + (address.port() >= 0 ? ":" + QString::number(address.port()) : QString()) + address.path();
    // A decoded path may hold line breaks or other control characters: the panel shows one line.
    shown.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
    if (shown.size() > kShownAddressLength) {
        shown = shown.left(kShownAddressLength - 1) + QStringLiteral("…");
    }
    return shown;
}

} // namespace kivo::chrome
