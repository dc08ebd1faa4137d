#pragma once

#include "platform/desktop/trayicon.h"

#include <QStringList>

namespace kivo::test {

// A notification-area icon that writes down what it was asked to do, one line per call, into
// a log that may be shared with other recorders.
class FakeTrayIcon : public platform::TrayIcon {
public:
    explicit FakeTrayIcon(QStringList& log) : log_(log) {}

    void add(const Record& record, unsigned flags) override {
        log_ << "add " + describe(record, flags);
        last = record;
    }
    void modify(const Record& record, unsigned flags) override {
        log_ << "modify " + describe(record, flags);
        last = record;
    }
    Record last; // what the icon shows now
    void remove() override { log_ << "remove"; }

    void act(Activation a) {
        if (activated) {
            activated(a);
        }
    }

private:
    static QString describe(const Record& r, unsigned flags) {
        return QStringLiteral("flags=%1 icon=%2 tip=%3 info=%4/%5/%6")
            .arg(flags, 0, 16)
            .arg(r.icon.isNull() ? "none" : "set", r.toolTip, r.infoTitle, r.info)
            .arg(r.infoFlags);
    }
    QStringList& log_;
};

} // namespace kivo::test
