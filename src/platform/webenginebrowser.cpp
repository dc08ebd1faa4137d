#include "platform/webenginebrowser.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace kivo::platform {

namespace {
// A JavaScript string literal for any text.
QString literal(const QString& text) {
    QString out = "'";
    for (const QChar c : text) {
        if (c == '\'' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c.unicode() == 0x2028 || c.unicode() == 0x2029) {
            out += QString("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
        } else {
            out += c;
        }
    }
    return out + "'";
}
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    loaded_ = QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool) {
        loading_ = false;
        const QStringList scripts = std::exchange(pending_, {});
        for (const QString& script : scripts) {
            view_->page()->runJavaScript(script);
        }
    });
}

WebEngineBrowser::~WebEngineBrowser() { QObject::disconnect(loaded_); }

QWidget* WebEngineBrowser::widget() { return view_; }

void WebEngineBrowser::navigate(const QString& url) {
    loading_ = true;
    pending_.clear();
    view_->load(QUrl(url));
}

void WebEngineBrowser::writeDocument(const QString& html, const QString& baseUrl) {
    loading_ = true;
    pending_.clear();
    view_->setHtml(html, QUrl(baseUrl.endsWith('/') ? baseUrl : baseUrl + "/"));
}

void WebEngineBrowser::runScript(const QString& script) {
    if (loading_) {
        pending_ << script;
    } else {
        view_->page()->runJavaScript(script);
    }
}

void WebEngineBrowser::setBodyStyle(const QString& property, const QString& value) {
    runScript(QString("document.body && (document.body.style[%1] = %2);").arg(literal(property), literal(value)));
}

void WebEngineBrowser::setBodyInnerHtml(const QString& html) {
    runScript(QString("document.body && (document.body.innerHTML = %1);").arg(literal(html)));
}

QString WebEngineBrowser::localFileUrl(const QString& path) const {
    // A service page may not reach file: addresses; a small picture travels inline instead.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024) {
        return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
    }
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    return "data:" + type + ";base64," + QString::fromLatin1(file.readAll().toBase64());
}

} // namespace kivo::platform
