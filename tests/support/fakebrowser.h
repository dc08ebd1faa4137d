#pragma once

#include "platform/web/browser.h"

#include <QJsonArray>
#include <QLabel>
#include <QStringList>
#include <QTimer>

#include <optional>
#include <vector>

namespace kivo::test {

// A form control of the fake document; what a real one lacks is left out (a text box has no
// options, a list no checked state).
struct FakeField {
    QString name;
    std::optional<QString> value;
    std::optional<bool> checked;
    std::vector<std::pair<QString, QString>> options; // value, text
    int selectedIndex = -1;
    bool isList = false;
};

// The document a fake browser shows: enough of one for the page field members.
struct FakeDocument {
    QString url = "http://127.0.0.1/page";
    QString title;
    QString source;
    QStringList links;
    QStringList images;
    std::vector<std::vector<FakeField>> forms;
};

// A browser that only remembers what it was asked to do, one line per call, and answers page
// scripts from its fake document.
class FakeBrowser : public platform::Browser {
public:
    explicit FakeBrowser(QWidget* parent) : widget_(new QLabel(parent)) {
        widget_->setFocusPolicy(Qt::StrongFocus); // as a page takes the focus
    }

    QWidget* widget() override { return widget_; }
    void navigate(const QString& url) override {
        calls << "navigate " + url;
        url_ = url;
    }
    QString url() const override { return url_; }
    QString url_;
    void writeDocument(const QString& html, const QString& baseUrl) override {
        calls << "write " + html + " @ " + baseUrl;
    }
    void setBodyStyle(const QString& property, const QString& value) override {
        calls << "style " + property + "=" + value;
    }
    void setBodyInnerHtml(const QString& html) override { calls << "inner " + html; }
    bool showMarkup(const QString& html) override {
        if (html.size() > markupLimit) {
            return false;
        }
        calls << "markup " + html;
        document = FakeDocument{"about:blank", {}, "<html><head></head><body>" + html + "</body></html>", {}, {}, {}};
        return true;
    }
    void runPageScript(const platform::PageScript& script, const QJsonObject& argument,
                       std::function<void(const platform::PageScriptResult&)> done) override {
        calls << QString("script ") + script.name;
        if (silent) {
            return;
        }
        platform::PageScriptResult result = answer(script.name, argument);
        QTimer::singleShot(0, widget_, [done, result] { done(result); });
    }
    QString localFileUrl(const QString& path) const override { return path; }
    void setBeforeNavigate(BeforeNavigate hook) override { beforeNavigate = std::move(hook); }
    void setLoadFinished(LoadFinished hook) override { loadFinished = std::move(hook); }

    // The end of a load as the browser would report it.
    void finishLoad(const platform::LoadOutcome& outcome) {
        if (loadFinished) {
            loadFinished(outcome);
        }
    }
    LoadFinished loadFinished;
    void setNewWindow(NewWindow hook) override { newWindow = std::move(hook); }
    void setPageDialogs(PageDialogs hook) override { pageDialogs = std::move(hook); }
    void setRendererEnded(RendererEnded hook) override { rendererEnded = std::move(hook); }
    void setDownloadRequested(DownloadRequested hook) override { downloadRequested = std::move(hook); }
    void find(const QString& text, bool backward, FindDone done) override {
        calls << QString("find%1 %2").arg(backward ? "<" : "").arg(text);
        if (done) {
            // Every occurrence in the document's source counts; the current one moves on.
            const int matches = text.isEmpty() || !document ? 0 : static_cast<int>(document->source.count(text));
            findCurrent = matches == 0 ? 0 : (findCurrent + (backward ? matches - 2 : 0)) % matches + 1;
            QTimer::singleShot(0, widget_, [done, matches, current = findCurrent] { done(matches, current); });
        }
    }
    void print() override { calls << "print"; }
    void setNotifications(std::function<bool(const QString&)> allowed, NotificationShown shown) override {
        notificationsAllowed = std::move(allowed);
        notificationShown = std::move(shown);
    }
    void setTitleChanged(TitleChanged hook) override { titleChanged = std::move(hook); }
    std::function<bool(const QString&)> notificationsAllowed;
    NotificationShown notificationShown;
    TitleChanged titleChanged;
    DownloadRequested downloadRequested;
    int findCurrent = 0;
    void reload() override { calls << "reload"; }
    void back() override { calls << "back"; }
    void forward() override { calls << "forward"; }
    void setZoom(double factor) override { zoom_ = factor; }
    double zoom() const override { return zoom_; }
    NewWindow newWindow;
    PageDialogs pageDialogs;
    RendererEnded rendererEnded;
    double zoom_ = 1;

    // A navigation as a frame of `origin` would start it; true when it went ahead.
    bool pageNavigates(const QString& url, const QString& postData = {}, const QString& headers = {}) {
        bool cancel = false;
        if (beforeNavigate) {
            beforeNavigate(url, frameOrigin, postData, headers, cancel);
        }
        return !cancel;
    }
    QString frameOrigin = "http://127.0.0.1"; // the frame that navigates
    BeforeNavigate beforeNavigate;

    QStringList calls;
    std::optional<FakeDocument> document; // none: nothing shown yet
    bool silent = false;                  // page scripts never answer (a page that never loads)
    qsizetype markupLimit = 2 * 1024 * 1024;

private:
    platform::PageScriptResult answer(const QString& name, const QJsonObject& a) {
        if (!document) {
            return {false, {}, "no document yet", {}, {}};
        }
        platform::PageScriptResult r{true, {}, {}, document->url, document->title};
        auto fail = [&r](const QString& why) {
            r.ok = false;
            r.error = why;
            return r;
        };
        auto pick = [](const QStringList& list, int i) { return i >= 0 && i < list.size() ? list[i] : QString(); };
        const int form = a.value("form").toInt(-1);
        if (a.contains("form") && (form < 0 || form >= static_cast<int>(document->forms.size()))) {
            return fail("no form at index " + QString::number(form));
        }
        if (name == "formFields") {
            QJsonArray fields;
            for (const FakeField& f : document->forms[form]) {
                QJsonArray options;
                for (const auto& [value, text] : f.options) {
                    options.append(QJsonObject{{"value", value}, {"text", text}});
                }
                fields.append(QJsonObject{{"name", f.name},
                                          {"value", f.value ? QJsonValue(*f.value) : QJsonValue()},
                                          {"checked", f.checked ? QJsonValue(*f.checked) : QJsonValue()},
                                          {"selectedIndex", f.isList ? QJsonValue(f.selectedIndex) : QJsonValue()},
                                          {"options", f.isList ? QJsonValue(options) : QJsonValue()}});
            }
            r.value = fields;
        } else if (name == "setField" || name == "selectOption") {
            FakeField& f = document->forms[form].at(a.value("element").toInt());
            if (name == "selectOption") {
                f.selectedIndex = a.value("option").toInt();
            } else if (a.value("property").toString() == "value") {
                f.value = a.value("value").toString();
            } else {
                f.checked = a.value("value").toBool();
            }
        } else if (name == "link" || name == "image") {
            const QString found = pick(name == "link" ? document->links : document->images, a.value("index").toInt());
            if (found.isEmpty()) {
                return fail("no " + name + " at index " + QString::number(a.value("index").toInt()));
            }
            r.value = found;
        } else if (name == "source") {
            r.value = document->source;
        } else if (name == "title") {
            r.value = document->title;
        }
        return r;
    }

    QWidget* widget_;
};

} // namespace kivo::test
