#include "platform/web/webenginecookiestore.h"

#include <QNetworkCookie>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

namespace kivo::platform {

void WebEngineCookieStore::setCookie(const std::string& url, const std::string& name, const std::string& value) {
    QNetworkCookie cookie(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    cookie.setPath("/"); // a session cookie (no expiry) for the whole site
    QWebEngineProfile::defaultProfile()->cookieStore()->setCookie(cookie, QUrl(QString::fromStdString(url)));
}

} // namespace kivo::platform
