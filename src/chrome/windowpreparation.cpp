#include "chrome/windowpreparation.h"

namespace kivo::chrome {

namespace {

WindowPreparation*& current() {
    static WindowPreparation* preparation = nullptr;
    return preparation;
}

} // namespace

WindowPreparation::WindowPreparation(const QStringList& paths) : pending_(paths) {
    current() = this;
    worker_ = std::thread([this, paths] { work(paths); });
}

WindowPreparation::~WindowPreparation() {
    Release();
}

void WindowPreparation::work(const QStringList& paths) {
    for (const QString& path : paths) {
        QImage picture(path);
        std::lock_guard lock(mutex_);
        if (released_) {
            return;
        }
        pending_.removeOne(path);
        done_.insert(path, std::move(picture));
        changed_.notify_all();
    }
}

std::optional<QImage> WindowPreparation::Take(const QString& path) {
    WindowPreparation* preparation = current();
    if (preparation == nullptr) {
        return std::nullopt;
    }
    std::unique_lock lock(preparation->mutex_);
    preparation->changed_.wait(lock, [&] { return !preparation->pending_.contains(path); });
    const auto found = preparation->done_.constFind(path);
    return found == preparation->done_.cend() ? std::nullopt : std::optional<QImage>(*found);
}

void WindowPreparation::Release() {
    {
        std::lock_guard lock(mutex_);
        if (current() == this) {
            current() = nullptr;
        }
        released_ = true;
        pending_.clear();
        done_.clear();
        changed_.notify_all();
    }
    if (worker_.joinable()) {
        worker_.join();
    }
}

} // namespace kivo::chrome
