#include "platform/responsivewait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>

#include <exception>
#include <thread>
#include <vector>

namespace kivo::platform {

namespace {

// Code up the stack of a waiting request may still use an object that asked to be deleted (a
// menu whose entry started the request, a window that unloads): deletions wait for the end.
class DeletionHold : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DeferredDelete) {
            held_.emplace_back(watched);
            return true;
        }
        return false;
    }
    void release() {
        for (const QPointer<QObject>& object : held_) {
            if (object) {
                QCoreApplication::postEvent(object, new QDeferredDeleteEvent);
            }
        }
        held_.clear();
    }

private:
    std::vector<QPointer<QObject>> held_;
};

int running = 0;

} // namespace

void RunResponsively(const std::function<void()>& work) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread()) {
        work();
        return;
    }
    static DeletionHold hold;
    if (running++ == 0) {
        app->installEventFilter(&hold);
    }
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop may not have started yet, and quit() before exec() would be lost.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    QGuiApplication::restoreOverrideCursor();
    if (--running == 0) {
        app->removeEventFilter(&hold);
        hold.release();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

bool WorkRunning() {
    return running > 0;
}

} // namespace kivo::platform
