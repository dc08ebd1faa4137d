#include "platform/net/picturefetch.h"

#include "platform/net/curlhttpsession.h"

#include <QFile>
#include <QUrl>

#include <memory>

namespace kivo::platform {

std::optional<QByteArray> FetchPictureBytes(const QString& path, HttpSession* session) {
    if (path.startsWith("http://", Qt::CaseInsensitive) || path.startsWith("https://", Qt::CaseInsensitive)) {
        static CurlHttpSession own(
            HttpTimeouts{std::chrono::seconds(10), std::chrono::seconds(10), std::chrono::seconds(10)}, {},
            CurlHttpSession::kPictureLimit);
        const auto response = (session != nullptr ? session : &own)->get(path.toStdString());
        if (!response || response->status != 200 || response->body.empty() ||
            response->body.size() > CurlHttpSession::kPictureLimit) {
            return std::nullopt;
        }
        return QByteArray::fromStdString(response->body);
    }
    const QString file = path.startsWith("file:", Qt::CaseInsensitive) ? QUrl(path).toLocalFile() : path;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return in.readAll();
}

} // namespace kivo::platform
