#pragma once

#include "platform/web/browser.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QWebEngineDownloadRequest;

namespace kivo::platform {

/// @brief A download of the engine's, handed to the page's owner to save where it chooses.
class WebEngineDownload : public Download, public std::enable_shared_from_this<WebEngineDownload> {
public:
    explicit WebEngineDownload(QWebEngineDownloadRequest* request);

    QString suggestedName() const override;
    void save(const QString& path, std::function<void(qint64, qint64)> progress,
              std::function<void(bool, const QString&)> finished) override;
    void cancel() override;
    /// The engine broke the download off and asked to take it up again (`again`): it ends here.
    void brokenOff(QWebEngineDownloadRequest* again);

private:
    void end(bool complete, const QString& error);

    QPointer<QWebEngineDownloadRequest> request_;
    std::function<void(bool, const QString&)> finished_;
};

} // namespace kivo::platform
