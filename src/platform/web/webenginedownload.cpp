#include "platform/web/webenginedownload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineDownloadRequest>

#include <utility>

namespace kivo::platform {

WebEngineDownload::WebEngineDownload(QWebEngineDownloadRequest* request) : request_(request) {}

QString WebEngineDownload::suggestedName() const {
    return request_ ? request_->suggestedFileName() : QString();
}

void WebEngineDownload::save(const QString& path, std::function<void(qint64, qint64)> progress,
                             std::function<void(bool, const QString&)> finished) {
    finished_ = std::move(finished);
    if (!request_) {
        end(false, "the download has gone");
        return;
    }
    const QFileInfo target(path);
    request_->setDownloadDirectory(target.absolutePath());
    request_->setDownloadFileName(target.fileName());
    QWebEngineDownloadRequest* request = request_;
    auto report = [request, progress] { progress(request->receivedBytes(), request->totalBytes()); };
    QObject::connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, request, report);
    QObject::connect(request, &QWebEngineDownloadRequest::totalBytesChanged, request, report);
    QObject::connect(
        request, &QWebEngineDownloadRequest::isFinishedChanged, request, [self = weak_from_this(), request] {
            const auto download = self.lock();
            if (!download || !request->isFinished()) {
                return;
            }
            const auto state = request->state();
            download->end(state == QWebEngineDownloadRequest::DownloadCompleted,
                          state == QWebEngineDownloadRequest::DownloadCancelled ? QString("cancelled")
                                                                                : request->interruptReasonString());
        });
    request->accept();
}

void WebEngineDownload::cancel() {
    if (request_) {
        request_->cancel();
    }
    end(false, "cancelled");
}

void WebEngineDownload::brokenOff(QWebEngineDownloadRequest* again) {
    const bool known = again->interruptReason() != QWebEngineDownloadRequest::NoReason;
    const QString reason = known ? again->interruptReasonString() : QString("连接中断");
    again->cancel();
    end(false, reason);
}

void WebEngineDownload::end(bool complete, const QString& error) {
    auto finished = std::exchange(finished_, {});
    if (!finished) {
        return; // once
    }
    if (!complete && request_) {
        // The engine keeps its own intermediate file for a resume, which never comes (the file
        // at the path itself is the caller's).
        const QString path = QDir(request_->downloadDirectory()).filePath(request_->downloadFileName());
        for (const QString& leftover : {path + ".download", path + ".crdownload"}) {
            QFile::remove(leftover);
        }
    }
    finished(complete, error);
}

} // namespace kivo::platform
