#pragma once

#include "platform/browser.h"

#include <QLabel>
#include <QStringList>

namespace kivo::test {

// A browser that only remembers what it was asked to do, one line per call.
class FakeBrowser : public platform::Browser {
public:
    explicit FakeBrowser(QWidget* parent) : widget_(new QLabel(parent)) {}

    QWidget* widget() override { return widget_; }
    void navigate(const QString& url) override { calls << "navigate " + url; }
    void writeDocument(const QString& html, const QString& baseUrl) override {
        calls << "write " + html + " @ " + baseUrl;
    }
    void setBodyStyle(const QString& property, const QString& value) override {
        calls << "style " + property + "=" + value;
    }
    void setBodyInnerHtml(const QString& html) override { calls << "inner " + html; }
    QString localFileUrl(const QString& path) const override { return path; }
    void setBeforeNavigate(BeforeNavigate hook) override { beforeNavigate = std::move(hook); }

    // A navigation as the page would start it; true when it went ahead.
    bool pageNavigates(const QString& url, const QString& postData = {}, const QString& headers = {}) {
        bool cancel = false;
        if (beforeNavigate) {
            beforeNavigate(url, postData, headers, cancel);
        }
        return !cancel;
    }
    BeforeNavigate beforeNavigate;

    QStringList calls;

private:
    QWidget* widget_;
};

} // namespace kivo::test
