#pragma once

#include "platform/web/browser.h"

#include <QFile>

namespace kivo::test {

// A download the test drives: it writes what arrives at the path it was given, as the browser
// would, and ends when told.
class FakeDownload : public platform::Download {
public:
    explicit FakeDownload(QString name) : name_(std::move(name)) {}

    QString suggestedName() const override { return name_; }
    void save(const QString& path, std::function<void(qint64, qint64)> progress,
              std::function<void(bool, const QString&)> finished) override {
        path_ = path;
        progress_ = std::move(progress);
        finished_ = std::move(finished);
    }
    void cancel() override {
        cancelled = true;
        end(false, "cancelled");
    }

    void arrive(const QByteArray& bytes, qint64 total) {
        QFile file(path_);
        file.open(QIODevice::Append);
        file.write(bytes);
        file.close();
        received_ += bytes.size();
        progress_(received_, total);
    }
    void end(bool complete, const QString& error = {}) {
        if (auto finished = std::exchange(finished_, {})) {
            finished(complete, error);
        }
    }
    const QString& path() const { return path_; }
    bool cancelled = false;

private:
    QString name_;
    QString path_;
    qint64 received_ = 0;
    std::function<void(qint64, qint64)> progress_;
    std::function<void(bool, const QString&)> finished_;
};

} // namespace kivo::test
