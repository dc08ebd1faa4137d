#pragma once

#include <QEvent>
#include <QObject>

namespace kivo::test {

/// Counts the events of one type that reach `watched` while it lives.
class EventCounter : public QObject {
public:
    EventCounter(QObject* watched, QEvent::Type type, int& count) : watched_(watched), type_(type), count_(count) {
        watched_->installEventFilter(this);
    }
    ~EventCounter() override { watched_->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) {
            ++count_;
        }
        return false;
    }

private:
    QObject* watched_;
    QEvent::Type type_;
    int& count_;
};

} // namespace kivo::test
