#include "platform/web/webenginebrowser.h"

#include "platform/net/servicetrust.h"
#include "platform/web/notificationgate.h"
#include "platform/web/notificationpermission.h"
#include "platform/web/webenginedownload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMimeDatabase>
#include <QNetworkProxy>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineNotification>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <algorithm>
#include <array>

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
// An address such as happ://MyCMD.CMD%20%22sys%22/ (a host holding "%") does not survive
// QUrl, so the page itself hands it over: a script in the application world catches every
// navigation to happ:// and navigates to "happ:" + the whole address percent-encoded instead,
// with the origin of the frame that navigated and a token of this run. Page script cannot read
// the token, so it cannot claim another frame's origin; acceptNavigationRequest reads both back.
const char* kHappScript = R"JS(
(function () {
    if (!window.navigation) return;
    navigation.addEventListener('navigate', function (event) {
        var to = event.destination && event.destination.url;
        if (to && to.slice(0, 7).toLowerCase() === 'happ://') {
            event.preventDefault();
            window.location.href = 'happ:' + encodeURIComponent(to) + '?origin=' +
                encodeURIComponent(location.origin) + '&token=%1';
        }
    });
})();
)JS";

const QString& runToken() {
    static const QString token = QUuid::createUuid().toString(QUuid::Id128);
    return token;
}

// Nothing is ever loaded from happ: addresses.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override { job->fail(QWebEngineUrlRequestJob::RequestDenied); }
};

void prepareProfile(QWebEngineProfile* profile) {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    profile->installUrlSchemeHandler("happ", new RefusingSchemeHandler(profile));
    // The service's pages are asked for in Chinese, whatever the desktop's language.
    profile->setHttpAcceptLanguage(QStringLiteral("zh-CN,zh;q=0.9"));
    QWebEngineScript script;
    script.setName("kivo-happ");
    script.setSourceCode(QString::fromLatin1(kHappScript).arg(runToken()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    profile->scripts()->insert(script);
}

class InterceptingPage : public QWebEnginePage {
public:
    InterceptingPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}
    void setHook(Browser::BeforeNavigate hook) { hook_ = std::move(hook); }
    /// Told of every navigation of the main frame that goes ahead.
    std::function<void(const QUrl&)> mainFrameGoes;
    /// Answers alert(), confirm(), prompt() and the leave-page question instead of the engine's
    /// own dialogs.
    Browser::PageDialogs dialogs;

protected:
    void javaScriptAlert(const QUrl& origin, const QString& text) override {
        if (!dialogs) {
            QWebEnginePage::javaScriptAlert(origin, text);
            return;
        }
        dialogs({PageDialogRequest::Kind::Alert, text, {}, url().toString()});
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override {
        if (!dialogs) {
            return QWebEnginePage::javaScriptConfirm(origin, text);
        }
        // The engine asks its leave-page question through here too, with its own (English) text.
        const bool leave = text.startsWith(QLatin1String("Are you sure you want to leave this page?"));
        return dialogs({leave ? PageDialogRequest::Kind::Leave : PageDialogRequest::Kind::Confirm, leave ? QString() : text,
                        {}, url().toString()})
            .accepted;
    }
    bool javaScriptPrompt(const QUrl& origin, const QString& text, const QString& value, QString* result) override {
        if (!dialogs) {
            return QWebEnginePage::javaScriptPrompt(origin, text, value, result);
        }
        const PageDialogAnswer answer = dialogs({PageDialogRequest::Kind::Prompt, text, value, url().toString()});
        if (answer.accepted && result != nullptr) {
            *result = answer.value;
        }
        return answer.accepted;
    }

    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        const bool goes = decide(url);
        if (goes && isMainFrame && mainFrameGoes && type != NavigationTypeRedirect) {
            mainFrameGoes(url);
        }
        return goes;
    }

private:
    bool decide(const QUrl& url) {
        if (!hook_) {
            return url.scheme() != QLatin1String("happ");
        }
        bool cancel = false;
        if (url.scheme() == QLatin1String("happ")) {
            // The raw address, as the page wrote it, and the origin our script vouches for.
            const QString raw = QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
            const QUrlQuery query(url);
            const bool vouched = query.queryItemValue("token") == runToken();
            const QString origin = vouched ? query.queryItemValue("origin", QUrl::FullyDecoded) : QString();
            hook_(raw.startsWith(QLatin1String("happ://")) ? raw : url.toString(), origin, QString(), QString(),
                  cancel);
            return false;
        }
        // Post data and extra headers of a navigation are not shown by this browser.
        hook_(url.toString(), QString(), QString(), QString(), cancel);
        return !cancel;
    }

    Browser::BeforeNavigate hook_;
};

} // namespace

void WebEngineBrowser::RegisterSchemes() {
    QWebEngineUrlScheme happ("happ");
    happ.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    happ.setFlags({});
    QWebEngineUrlScheme::registerScheme(happ);
}

namespace {

// "scheme://host:port" as the bridge's origins are written.
QString originText(const QUrl& origin) {
    return origin.toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
}

PageLoads::Ending endingOf(const QWebEngineLoadingInfo& info) {
    using Domain = PageLoads::Domain;
    const auto status = info.status();
    Domain domain = Domain::Other;
    switch (info.errorDomain()) {
    case QWebEngineLoadingInfo::NoErrorDomain:
        domain = Domain::None;
        break;
    case QWebEngineLoadingInfo::InternalErrorDomain:
        domain = Domain::Internal;
        break;
    case QWebEngineLoadingInfo::ConnectionErrorDomain:
        domain = Domain::Connection;
        break;
    case QWebEngineLoadingInfo::CertificateErrorDomain:
        domain = Domain::Certificate;
        break;
    case QWebEngineLoadingInfo::HttpStatusCodeDomain:
        domain = Domain::Http;
        break;
    case QWebEngineLoadingInfo::DnsErrorDomain:
        domain = Domain::Dns;
        break;
    default:
        break;
    }
    return {status == QWebEngineLoadingInfo::LoadSucceededStatus ? PageLoads::Status::Succeeded
            : status == QWebEngineLoadingInfo::LoadStoppedStatus ? PageLoads::Status::Stopped
                                                                 : PageLoads::Status::Failed,
            info.url(), domain, info.errorCode()};
}

} // namespace

void WebEngineBrowser::setLoadFinished(LoadFinished hook) {
    QObject::disconnect(outcome_);
    if (!hook) {
        return;
    }
    outcome_ = QObject::connect(
        view_->page(), &QWebEnginePage::loadingChanged, view_, [this, hook = std::move(hook)](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                return;
            }
            const QNetworkProxy proxy = QNetworkProxy::applicationProxy();
            const PageLoads::Decision decision =
                loads_.ended(endingOf(info), QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port()));
            if (decision.restart) {
                QTimer::singleShot(0, view_, [this, target = loads_.target()] {
                    if (target == loads_.target()) {
                        view_->load(target);
                    }
                });
            }
            if (decision.report) {
                hook(*decision.report);
            }
        });
}

void WebEngineBrowser::setNewWindow(NewWindow hook) {
    QObject::disconnect(newWindow_);
    if (hook) {
        // The request is left unanswered: no second view opens.
        newWindow_ = QObject::connect(
            view_->page(), &QWebEnginePage::newWindowRequested, view_,
            [hook = std::move(hook)](QWebEngineNewWindowRequest& request) { hook(request.requestedUrl().toString()); });
    }
}

void WebEngineBrowser::setRendererEnded(RendererEnded hook) {
    QObject::disconnect(rendererEnded_);
    if (hook) {
        rendererEnded_ = QObject::connect(
            view_->page(), &QWebEnginePage::renderProcessTerminated, view_,
            [hook = std::move(hook)](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                static const char* reasons[] = {"normal", "abnormal", "crashed", "killed"};
                if (status != QWebEnginePage::NormalTerminationStatus) {
                    hook(QString::fromLatin1(reasons[std::clamp(static_cast<int>(status), 0, 3)]), exitCode);
                }
            });
    }
}

void WebEngineBrowser::setDownloadRequested(DownloadRequested hook) {
    QObject::disconnect(downloads_);
    if (!hook) {
        return;
    }
    // The profile is every browser's; each takes the downloads of its own page.
    downloads_ = QObject::connect(view_->page()->profile(), &QWebEngineProfile::downloadRequested, view_,
                                  [this, hook = std::move(hook)](QWebEngineDownloadRequest* request) {
                                      if (request->page() != view_->page()) {
                                          return;
                                      }
                                      // The engine takes a broken download up again by itself,
                                      // asking anew: it counts as failed instead (a resumed file
                                      // may not be whole).
                                      auto& known = handedOver_[request->id()];
                                      if (auto download = known.lock()) {
                                          std::static_pointer_cast<WebEngineDownload>(download)->brokenOff(request);
                                          return;
                                      }
                                      auto download = std::make_shared<WebEngineDownload>(request);
                                      known = download;
                                      hook(download);
                                  });
}

namespace {

class WebEngineNotification : public PageNotification {
public:
    explicit WebEngineNotification(std::unique_ptr<QWebEngineNotification> notification)
        : notification_(std::move(notification)) {
        QObject::connect(notification_.get(), &QWebEngineNotification::closed, notification_.get(), [this] {
            if (closedByPage) {
                closedByPage();
            }
        });
    }
    ~WebEngineNotification() override {
        notification_.release()->deleteLater(); // it may be emitting its closed() right now
    }
    QString title() const override { return notification_->title(); }
    QString message() const override { return notification_->message(); }
    QImage icon() const override { return notification_->icon(); }
    QString tag() const override { return notification_->tag(); }
    QString origin() const override { return originText(notification_->origin()); }
    void click() override { notification_->click(); }

private:
    std::unique_ptr<QWebEngineNotification> notification_;
};

// The profile has one presenter for all its pages: the browser that last asked for
// notifications receives them.
Browser::NotificationShown& presenterTarget() {
    static Browser::NotificationShown target;
    return target;
}

} // namespace

void WebEngineBrowser::setNotifications(std::function<bool(const QString& origin)> allowed, NotificationShown shown) {
    QObject::disconnect(permissions_);
    QWebEnginePage* page = view_->page();
    permissions_ = AnswerNotificationPermissions(
        page, view_, [allowed](const QUrl& origin) { return allowed && allowed(originText(origin)); });
    if (!shown) {
        return;
    }
    presents_ = true;
    presenterTarget() = GateNotifications(allowed, shown);
    page->profile()->setNotificationPresenter([](std::unique_ptr<QWebEngineNotification> notification) {
        if (presenterTarget()) {
            presenterTarget()(std::make_shared<WebEngineNotification>(std::move(notification)));
        }
    });
}

void WebEngineBrowser::setTitleChanged(TitleChanged hook) {
    QObject::disconnect(title_);
    if (hook) {
        title_ = QObject::connect(view_, &QWebEngineView::titleChanged, view_, std::move(hook));
    }
}

void WebEngineBrowser::find(const QString& text, bool backward, FindDone done) {
    const QWebEnginePage::FindFlags flags = backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
    view_->page()->findText(text, flags, [done = std::move(done)](const QWebEngineFindTextResult& result) {
        if (done) {
            done(result.numberOfMatches(), result.activeMatch());
        }
    });
}

void WebEngineBrowser::print() {
    if (printer_) {
        return; // one print at a time
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), view_);
    dialog.setWindowTitle("打印");
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    printer_ = std::move(printer);
    view_->print(printer_.get());
}

void WebEngineBrowser::reload() {
    view_->reload();
}

void WebEngineBrowser::back() {
    view_->back();
}

void WebEngineBrowser::forward() {
    view_->forward();
}

void WebEngineBrowser::setZoom(double factor) {
    view_->setZoomFactor(factor);
}

double WebEngineBrowser::zoom() const {
    return view_->zoomFactor();
}

void WebEngineBrowser::setPageDialogs(PageDialogs hook) {
    static_cast<InterceptingPage*>(view_->page())->dialogs = std::move(hook);
}

void WebEngineBrowser::setBeforeNavigate(BeforeNavigate hook) {
    static_cast<InterceptingPage*>(view_->page())->setHook(std::move(hook));
}

WebEngineBrowser::WebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent)) {
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    prepareProfile(profile);
    auto* page = new InterceptingPage(profile, view_);
    // A page that goes elsewhere by itself (a link, a form) is not brought back to the target.
    page->mainFrameGoes = [this](const QUrl& url) { loads_.goes(url); };
    view_->setPage(page);
    // The service's own certificate may come from the run's authority file, which the engine does not read.
    QObject::connect(page, &QWebEnginePage::certificateError, page, [](QWebEngineCertificateError error) {
        if (ServiceTrust::Accepts(error.url(), error.certificateChain())) {
            error.acceptCertificate();
        } else {
            error.rejectCertificate();
        }
    });
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // A page's window.print() and the print key come to the same dialog.
    QObject::connect(view_, &QWebEngineView::printRequested, view_, [this] { print(); });
    QObject::connect(view_, &QWebEngineView::printFinished, view_, [this](bool) { printer_.reset(); });
    loaded_ = QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool) {
        loading_ = false;
        for (const auto& step : std::exchange(pending_, {})) {
            step();
        }
    });
}

WebEngineBrowser::~WebEngineBrowser() {
    QObject::disconnect(loaded_);
    QObject::disconnect(outcome_);
    QObject::disconnect(newWindow_);
    QObject::disconnect(rendererEnded_);
    QObject::disconnect(downloads_);
    QObject::disconnect(permissions_);
    QObject::disconnect(title_);
    if (presents_) {
        presenterTarget() = {}; // its receiver goes with us
    }
    static_cast<InterceptingPage*>(view_->page())->setHook({}); // the hook may refer to our owner
}

QWidget* WebEngineBrowser::widget() {
    return view_;
}

void WebEngineBrowser::navigate(const QString& url) {
    loading_ = true;
    pending_.clear();
    loads_.asked(QUrl(url));
    view_->load(loads_.target());
}

QString WebEngineBrowser::url() const {
    return view_->url().toString();
}

void WebEngineBrowser::writeDocument(const QString& html, const QString& baseUrl) {
    loads_.forget();
    loading_ = true;
    pending_.clear();
    view_->setHtml(html, QUrl(baseUrl.endsWith('/') ? baseUrl : baseUrl + "/"));
}

void WebEngineBrowser::whenLoaded(std::function<void()> step) {
    if (loading_) {
        pending_.push_back(std::move(step));
    } else {
        step();
    }
}

void WebEngineBrowser::runScript(const QString& script) {
    whenLoaded([this, script] { view_->page()->runJavaScript(script); });
}

bool WebEngineBrowser::showMarkup(const QString& html) {
    // The browser takes a document as a data: address, percent-encoded, of at most 2 MB.
    constexpr qsizetype kLimit = 2 * 1024 * 1024;
    if (QByteArrayLiteral("data:text/html;charset=UTF-8,").size() + html.toUtf8().toPercentEncoding().size() > kLimit) {
        return false;
    }
    loads_.forget();
    loading_ = true;
    pending_.clear();
    view_->setHtml(html, QUrl("about:blank"));
    return true;
}

void WebEngineBrowser::runPageScript(const PageScript& script, const QJsonObject& argument,
                                     std::function<void(const PageScriptResult&)> done) {
    // The argument travels as a JSON literal, never as script text; the answer comes back as
    // JSON text, which carries any value the function returns.
    const QString source = QString(R"JS((function () {
    var answer = {url: location.href, title: document.title};
    try {
        var value = (%1)(%2);
        answer.ok = true;
        answer.value = value === undefined ? null : value;
    } catch (e) {
        answer.ok = false;
        answer.error = String(e && e.message || e);
    }
    return JSON.stringify(answer);
})())JS")
                               .arg(QString::fromUtf8(script.source),
                                    QString::fromUtf8(QJsonDocument(argument).toJson(QJsonDocument::Compact)));
    QPointer<QWebEnginePage> page = view_->page();
    whenLoaded([page, source, done = std::move(done)] {
        if (!page) {
            return;
        }
        if (page->url().isEmpty()) {
            QTimer::singleShot(0, page, [done] { done({false, {}, "the browser shows no document yet", {}, {}}); });
            return;
        }
        page->runJavaScript(source, QWebEngineScript::ApplicationWorld, [done](const QVariant& result) {
            const QJsonObject answer = QJsonDocument::fromJson(result.toString().toUtf8()).object();
            PageScriptResult outcome;
            outcome.ok = answer.value("ok").toBool();
            outcome.value = answer.value("value");
            outcome.error = answer.isEmpty() ? QString("the page gave no answer") : answer.value("error").toString();
            outcome.url = answer.value("url").toString();
            outcome.title = answer.value("title").toString();
            done(outcome);
        });
    });
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
