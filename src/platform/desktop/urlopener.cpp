#include "platform/desktop/urlopener.h"

#include "platform/net/logaddress.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

Q_LOGGING_CATEGORY(lcOpener, "kivo.platform.urlopener")

namespace kivo::platform {

namespace {
std::function<void(const QString&)>& handler() {
    static std::function<void(const QString&)> h;
    return h;
}
} // namespace

void UrlOpener::setHandler(std::function<void(const QString&)> h) {
    handler() = std::move(h);
}

void UrlOpener::open(const QString& url) {
    if (handler()) {
        handler()(url);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl(url))) {
        qCWarning(lcOpener) << "no application opens" << AddressForLog(url.toStdString()).c_str();
    }
}

} // namespace kivo::platform
