#pragma once

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace kivo::platform {

/// @brief A script the shown page runs for the program, out of reach of the page's own script:
/// `source` is a JavaScript function of one argument; `name` says what it does (a fake browser
/// answers by it).
struct PageScript {
    const char* name;
    const char* source;
};

/// @brief What a page script gave: its result, or why it failed; and the address and title of the
/// document it ran in.
struct PageScriptResult {
    bool ok = false;
    QJsonValue value;
    QString error;
    QString url;
    QString title;
};

/// @brief How a load of the shown page ended: loaded, or why not.
struct LoadOutcome {
    /// @brief Restarted: the page's navigation was dropped without an error (another navigation
    /// crossed it) and the browser started it again; what it loads is reported as usual.
    enum class Kind {
        Loaded,
        NoConnection,
        NameNotResolved,
        TimedOut,
        HttpError,
        Certificate,
        Proxy,
        RendererEnded,
        Other,
        Restarted
    };
    Kind kind = Kind::Loaded;
    int httpStatus = 0; // for HttpError
    QString url;
    QString proxy; // for Proxy: the proxy that could not be reached or refused, as "host:port"
};

/// @brief A file a page sends (an export, an attachment). The browser drops it unless `save` is
/// called before the hook that handed it over returns.
class Download {
public:
    virtual ~Download() = default;
    /// @brief The file name the service gives, as it gives it.
    virtual QString suggestedName() const = 0;
    /// @brief Saves the file at `path`. `progress` gets the bytes received and the total (-1 when
    /// unknown); `finished` is called once: true when the whole file is at `path`, else with why.
    virtual void save(const QString& path, std::function<void(qint64 received, qint64 total)> progress,
                      std::function<void(bool complete, const QString& error)> finished) = 0;
    virtual void cancel() = 0;
};

/// @brief A notification a page shows through the Web Notifications API.
class PageNotification {
public:
    virtual ~PageNotification() = default;
    virtual QString title() const = 0;
    virtual QString message() const = 0;
    /// @brief The page's icon for it; null when the page gave none.
    virtual QImage icon() const = 0;
    /// @brief Notifications of one tag replace each other; empty for none.
    virtual QString tag() const = 0;
    virtual QString origin() const = 0;
    /// @brief Hands the user's click to the page (its onclick).
    virtual void click() = 0;
    /// @brief Set by the receiver: the page closed the notification (or replaced it).
    std::function<void()> closedByPage;
};

/// @brief A dialog a page asks for: alert(), confirm(), prompt(), or the question before it is left
/// (its beforeunload handler), with the page's text as the page wrote it.
struct PageDialogRequest {
    enum class Kind { Alert, Confirm, Prompt, Leave };
    Kind kind = Kind::Alert;
    QString text;
    QString value; // a prompt's default answer
    QString url;   // the page that asks
};

/// @brief The user's answer: whether they said yes (OK), and a prompt's text.
struct PageDialogAnswer {
    bool accepted = false;
    QString value;
};

/// @brief An embedded web browser as the windows use it: navigate, write a document, and read
/// and write the shown document's body.
class Browser {
public:
    virtual ~Browser() = default;

    /// @brief The widget to place in a window.
    virtual QWidget* widget() = 0;
    virtual void navigate(const QString& url) = 0;
    /// @brief The address of the page shown (or being loaded).
    virtual QString url() const = 0;
    /// @brief Replaces the document with `html`, as if written into a blank page whose address
    /// is `baseUrl` (relative addresses and cookies then belong to that site).
    virtual void writeDocument(const QString& html, const QString& baseUrl) = 0;
    virtual void setBodyStyle(const QString& property, const QString& value) = 0;
    virtual void setBodyInnerHtml(const QString& html) = 0;
    /// @brief Shows `html` as a page of its own with the address about:blank (no site's cookies);
    /// false when it is more than the browser can take.
    virtual bool showMarkup(const QString& html) = 0;
    /// @brief Runs `script` with `argument` in the shown document once it has loaded, and hands
    /// the result to `done` later (never before this returns; never when the page goes away first).
    virtual void runPageScript(const PageScript& script, const QJsonObject& argument,
                               std::function<void(const PageScriptResult&)> done) = 0;
    /// @brief An address by which a page of the service can show a local file (a picture).
    virtual QString localFileUrl(const QString& path) const = 0;

    /// @brief Called before every navigation of the page and of its frames, with the address as
    /// the page wrote it, the origin of the frame that navigated (empty when the browser cannot
    /// vouch for it), its post data and extra headers (as far as the browser shows them);
    /// setting `cancel` stops the navigation and leaves the page where it is.
    using BeforeNavigate = std::function<void(const QString& url, const QString& origin, const QString& postData,
                                              const QString& headers, bool& cancel)>;
    virtual void setBeforeNavigate(BeforeNavigate hook) = 0;

    /// @brief Called when a load of the page (not of a frame) has ended, loaded or failed; not for
    /// a load that another navigation interrupted.
    using LoadFinished = std::function<void(const LoadOutcome& outcome)>;
    virtual void setLoadFinished(LoadFinished hook) = 0;

    /// @brief Called when the page asks for a new window (a target="_blank" link, window.open);
    /// no window opens by itself.
    using NewWindow = std::function<void(const QString& url)>;
    virtual void setNewWindow(NewWindow hook) = 0;
    /// @brief Called when the page's renderer process ended abnormally, with why and its exit code.
    using RendererEnded = std::function<void(const QString& reason, int exitCode)>;
    virtual void setRendererEnded(RendererEnded hook) = 0;

    /// @brief Called when the page sends a file; see Download.
    using DownloadRequested = std::function<void(const std::shared_ptr<Download>& download)>;
    virtual void setDownloadRequested(DownloadRequested hook) = 0;

    /// @brief Finds `text` on the page from the current match on (backwards when `backward`) and
    /// marks the matches; the empty text ends the search. `done` gets the number of matches and
    /// the current one (from 1; 0 when none).
    using FindDone = std::function<void(int matches, int current)>;
    virtual void find(const QString& text, bool backward, FindDone done) = 0;
    /// @brief Prints the page through the desktop's print dialog.
    virtual void print() = 0;

    virtual void reload() = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    /// @brief The notifications of pages whose origin `allowed` accepts go to `shown`; every
    /// other origin's permission is refused. Without a hook no page may notify.
    using NotificationShown = std::function<void(const std::shared_ptr<PageNotification>& notification)>;
    virtual void setNotifications(std::function<bool(const QString& origin)> allowed, NotificationShown shown) = 0;
    /// @brief Answers the page's dialogs; the browser's own dialogs without a hook.
    using PageDialogs = std::function<PageDialogAnswer(const PageDialogRequest& request)>;
    virtual void setPageDialogs(PageDialogs hook) = 0;
    /// @brief Called when the page's title changes.
    using TitleChanged = std::function<void(const QString& title)>;
    virtual void setTitleChanged(TitleChanged hook) = 0;

    /// @brief The page's zoom factor (1 is 100 %).
    virtual void setZoom(double factor) = 0;
    virtual double zoom() const = 0;
};

/// @brief Makes the browsers of the windows: the real one in the program, a fake in window tests.
using BrowserFactory = std::function<std::unique_ptr<Browser>(QWidget* parent)>;

/// @brief The factory the windows use; set once at start.
BrowserFactory& Browsers();

} // namespace kivo::platform
