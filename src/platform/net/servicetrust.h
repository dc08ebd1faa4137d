#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

namespace kivo::platform {

/// @brief What the browser engine accepts besides the certificates it trusts itself: on the service's
/// own host only, a chain that Qt's verification finds sound for that host, with the authorities of
/// Qt's default TLS configuration (the system's and the run's authority file, ShareNetworkWithBrowser).
class ServiceTrust {
public:
    /// @brief The host whose certificates are judged; every other host's certificate error is refused.
    static void SetServiceHost(const QString& host);
    static QString ServiceHost();
    static bool Accepts(const QUrl& url, const QList<QSslCertificate>& chain);
};

} // namespace kivo::platform
