#pragma once

#include "platform/web/browser.h"

#include <QImage>
#include <QString>

#include <utility>

namespace kivo::test {

/// A page's notification that counts the clicks handed back to its page.
struct FakeNotification : platform::PageNotification {
    explicit FakeNotification(QString title, QString tag = {}, QString origin = "http://127.0.0.1")
        : title_(std::move(title)), tag_(std::move(tag)), origin_(std::move(origin)) {}
    QString title() const override { return title_; }
    QString message() const override { return "正文"; }
    QImage icon() const override { return {}; }
    QString tag() const override { return tag_; }
    QString origin() const override { return origin_; }
    void click() override { ++clicks; }
    QString title_, tag_, origin_;
    int clicks = 0;
};

} // namespace kivo::test
