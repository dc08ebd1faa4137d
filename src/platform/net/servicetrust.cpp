#include "platform/net/servicetrust.h"

#include <QLoggingCategory>
#include <QSslError>

Q_LOGGING_CATEGORY(lcTrust, "kivo.platform.servicetrust")

namespace kivo::platform {

namespace {

QString& serviceHost() {
    static QString host;
    return host;
}

} // namespace

void ServiceTrust::SetServiceHost(const QString& host) {
    serviceHost() = host.toLower();
}

QString ServiceTrust::ServiceHost() {
    return serviceHost();
}

bool ServiceTrust::Accepts(const QUrl& url, const QList<QSslCertificate>& chain) {
    const QString host = url.host().toLower();
    if (chain.isEmpty() || url.scheme() != QLatin1String("https") || host.isEmpty() || host != serviceHost()) {
        return false;
    }
    // The chain as the server sent it, leaf first; the authority is looked up, not taken from it.
    QList<QSslCertificate> sent = chain;
    if (sent.size() > 1 && sent.back().isSelfSigned()) {
        sent.removeLast();
    }
    const QList<QSslError> errors = QSslCertificate::verify(sent, host);
    for (const QSslError& error : errors) {
        qCWarning(lcTrust) << "certificate of" << host << "refused:" << error.errorString();
    }
    return errors.isEmpty();
}

} // namespace kivo::platform
