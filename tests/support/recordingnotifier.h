#pragma once

#include "platform/desktop/desktopnotifier.h"

#include <QStringList>

#include <functional>

namespace kivo::test {

/// A desktop notification service that records "title|body" of what it shows and hands out its
/// click callback, so that a test can click a notification.
struct RecordingNotifier : platform::DesktopNotifier {
    RecordingNotifier(QStringList& shown, std::function<void(unsigned)>*& click) : shown_(shown) {
        click = &clicked;
    }
    unsigned notify(const Notice& notice, unsigned) override {
        shown_ << notice.title + "|" + notice.body;
        return static_cast<unsigned>(shown_.size());
    }
    void close(unsigned) override {}
    QStringList& shown_;
};

} // namespace kivo::test
