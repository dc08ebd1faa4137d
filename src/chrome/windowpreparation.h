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

/// What the first window needs read before it can show, read on two worker threads while the
/// program does its other start-up work: its pictures, and the font list, which the first text
/// box would otherwise read on the GUI thread. LoadPicture and LoadResourceImage take the
/// pictures from here while it holds them, waiting only for one not decoded yet.
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
    /// Lets go of the pictures (the window holds what it kept) and waits for the workers.
    void Release();

private:
    void work(const QStringList& paths);

    std::mutex mutex_;
    std::condition_variable changed_;
    QHash<QString, QImage> done_;
    QStringList pending_;
    bool released_ = false;
    std::thread worker_;
    std::thread fonts_;
};

} // namespace kivo::chrome
