#include "bridge/bridgeorigins.h"

#include <QRegularExpression>
#include <QUrl>

namespace kivo::bridge {

BridgeOrigins::BridgeOrigins(const std::string& baseUrl, const std::string& extra) {
    QStringList origins = QString::fromStdString(extra).split(QRegularExpression("[\\s,;]+"), Qt::SkipEmptyParts);
    origins.prepend(QString::fromStdString(baseUrl));
    for (const QString& origin : origins) {
        const QString normal = OriginOf(origin);
        if (!normal.isEmpty()) {
            allowed_ << normal;
        }
    }
}

BridgeOrigins BridgeOrigins::ForService(const std::string& baseUrl) {
    return BridgeOrigins(baseUrl, KIVO_BRIDGE_ORIGINS);
}

QString BridgeOrigins::OriginOf(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        return {};
    }
    const int port = url.port(scheme == "https" ? 443 : 80);
    return scheme + "://" + url.host().toLower() + ":" + QString::number(port);
}

bool BridgeOrigins::allows(const QString& origin) const {
    const QString normal = OriginOf(origin);
    return !normal.isEmpty() && allowed_.contains(normal);
}

} // namespace kivo::bridge
