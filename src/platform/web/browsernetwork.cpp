#include "platform/web/browsernetwork.h"

#include "platform/net/proxychoice.h"
#include "platform/net/servicetrust.h"

#include <QNetworkProxy>
#include <QSslConfiguration>

namespace kivo::platform {

bool ShareNetworkWithBrowser(const std::string& serviceUrl, const HttpNetwork& network) {
    // Reading the system's authorities costs the first window time: done only when some are added
    // (or to drop those added before).
    static bool added = false;
    bool read = true;
    if (!network.caFile.empty() || added) {
        const QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
        const QList<QSslCertificate> fromFile = network.caFile.empty()
                                                    ? QList<QSslCertificate>()
                                                    : QSslCertificate::fromPath(QString::fromStdString(network.caFile));
        read = network.caFile.empty() || !fromFile.isEmpty();
        added = !fromFile.isEmpty();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(authorities + fromFile);
        QSslConfiguration::setDefaultConfiguration(tls);
    }
    ServiceTrust::SetServiceHost(QUrl(QString::fromStdString(serviceUrl)).host());
    // The engine follows the desktop's settings only while Qt is told to; the choice already weighed them.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    QNetworkProxy::setApplicationProxy(ApplicationProxyOf(network.proxy));
    return read;
}

} // namespace kivo::platform
