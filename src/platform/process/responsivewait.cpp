#include "platform/process/responsivewait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kivo::platform {

namespace {

// Code up the stack of a waiting caller may still use an object that asked to be deleted (a
// menu whose entry started a request, a window that unloads): deletions wait for the end.
class DeletionHold : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DeferredDelete) {
            held_.emplace_back(watched);
            return true;
        }
        return false;
    }
    // Each held object goes with a stand-in that asks for its deletion now, so that it is deleted
    // when the event loop comes back as after any deleteLater() of this moment. The object itself
    // cannot ask again: Qt posts one deferred deletion per object, and its first was swallowed.
    void release() {
        for (const QPointer<QObject>& object : held_) {
            if (object) {
                auto* standIn = new QObject;
                QObject::connect(standIn, &QObject::destroyed, [object] { delete object.data(); });
                standIn->deleteLater();
            }
        }
        held_.clear();
    }

private:
    std::vector<QPointer<QObject>> held_;
};

// The end of one wait, shared with a `finished` that may come late or from another thread.
struct WaitEnd {
    std::mutex mutex;
    QEventLoop* loop = nullptr;
    bool finished = false;
};

int running = 0;

} // namespace

bool WaitResponsively(const std::function<void(std::function<void()> finished)>& start,
                      std::chrono::milliseconds limit) {
    auto* app = QCoreApplication::instance();
    static DeletionHold hold;
    if (running++ == 0) {
        app->installEventFilter(&hold);
    }
    const bool gui = qobject_cast<QGuiApplication*>(app) != nullptr;
    if (gui) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    }
    QEventLoop loop;
    auto end = std::make_shared<WaitEnd>();
    end->loop = &loop;
    start([end] {
        const std::lock_guard lock(end->mutex);
        end->finished = true;
        if (end->loop != nullptr) {
            // Queued: the loop may not run yet, and quit() before exec() would be lost.
            QMetaObject::invokeMethod(end->loop, &QEventLoop::quit, Qt::QueuedConnection);
        }
    });
    QTimer timeout;
    if (limit.count() > 0) {
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(limit);
    }
    // Only the end of the work or the time limit quits this loop.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    bool finished = false;
    {
        const std::lock_guard lock(end->mutex);
        finished = end->finished;
        end->loop = nullptr;
    }
    if (gui) {
        QGuiApplication::restoreOverrideCursor();
    }
    if (--running == 0) {
        app->removeEventFilter(&hold);
        hold.release();
    }
    return finished;
}

void RunResponsively(const std::function<void()>& work) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    std::exception_ptr failure;
    std::thread worker;
    WaitResponsively([&](std::function<void()> finished) {
        worker = std::thread([&work, &failure, finished = std::move(finished)] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            finished();
        });
    });
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

bool WorkRunning() {
    return running > 0;
}

} // namespace kivo::platform
