#include "platform/browsernetwork.h"

#include "platform/proxychoice.h"
#include "platform/servicetrust.h"

#include <QNetworkProxy>
#include <QSslConfiguration>

namespace kivo::platform {

bool ShareNetworkWithBrowser(const std::string& serviceUrl, const HttpNetwork& network) {
    QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
    bool read = true;
    if (!network.caFile.empty()) {
        const QList<QSslCertificate> added = QSslCertificate::fromPath(QString::fromStdString(network.caFile));
        read = !added.isEmpty();
        authorities += added;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(authorities);
    QSslConfiguration::setDefaultConfiguration(tls);
    ServiceTrust::SetServiceHost(QUrl(QString::fromStdString(serviceUrl)).host());
    // The engine follows the desktop's settings only while Qt is told to; the choice already weighed them.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    QNetworkProxy::setApplicationProxy(ApplicationProxyOf(network.proxy));
    return read;
}

} // namespace kivo::platform
