#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace kivo::chrome {

/// The first window's pictures, decoded on a worker thread while the program does its other
/// start-up work. LoadPicture and LoadResourceImage take them from here while it holds them,
/// waiting only for one not decoded yet. (Reading the font list on a second thread as well
/// did not bring the first frame sooner.)
class WindowPreparation {
public:
    /// Starts decoding `paths` (as PicturePath and ResourceImagePath give them), in their order.
    /// The application must exist.
    explicit WindowPreparation(const QStringList& paths);
    /// Releases.
    ~WindowPreparation();
    WindowPreparation(const WindowPreparation&) = delete;
    WindowPreparation& operator=(const WindowPreparation&) = delete;

    /// The picture at `path` once decoded; nothing when it is not one of those prepared, or
    /// they were released.
    static std::optional<QImage> Take(const QString& path);
    /// Lets go of the pictures (the window holds what it kept) and waits for the worker.
    void Release();

private:
    void work(const QStringList& paths);

    std::mutex mutex_;
    std::condition_variable changed_;
    QHash<QString, QImage> done_;
    QStringList pending_;
    bool released_ = false;
    std::thread worker_;
};

} // namespace kivo::chrome
