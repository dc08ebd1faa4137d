#pragma once

#include "platform/web/browser.h"
#include "platform/web/pageloads.h"

#include <QMetaObject>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QPrinter;
class QWebEngineView;

namespace kivo::platform {

/// @brief The Browser over a QWebEngineView in the default profile (whose cookie store takes
/// the service's session cookies). Body edits and page scripts wait until a document being
/// loaded has loaded.
class WebEngineBrowser : public Browser {
public:
    explicit WebEngineBrowser(QWidget* parent);
    ~WebEngineBrowser() override;

    QWidget* widget() override;
    void navigate(const QString& url) override;
    QString url() const override;
    void writeDocument(const QString& html, const QString& baseUrl) override;
    void setBodyStyle(const QString& property, const QString& value) override;
    void setBodyInnerHtml(const QString& html) override;
    bool showMarkup(const QString& html) override;
    void runPageScript(const PageScript& script, const QJsonObject& argument,
                       std::function<void(const PageScriptResult&)> done) override;
    QString localFileUrl(const QString& path) const override;
    void setBeforeNavigate(BeforeNavigate hook) override;
    void setLoadFinished(LoadFinished hook) override;
    void setNewWindow(NewWindow hook) override;
    void setPageDialogs(PageDialogs hook) override;
    void setRendererEnded(RendererEnded hook) override;
    void setDownloadRequested(DownloadRequested hook) override;
    void find(const QString& text, bool backward, FindDone done) override;
    void print() override;
    void reload() override;
    void back() override;
    void forward() override;
    void setZoom(double factor) override;
    double zoom() const override;
    void setNotifications(std::function<bool(const QString& origin)> allowed, NotificationShown shown) override;
    void setTitleChanged(TitleChanged hook) override;

    /// @brief Registers the "happ" scheme; call before the application object exists.
    static void RegisterSchemes();

    QWebEngineView* view() const { return view_; }

private:
    void runScript(const QString& script);
    // Runs `step` now, or once the document being loaded has loaded.
    void whenLoaded(std::function<void()> step);

    QWebEngineView* view_; // owned by its parent widget
    QMetaObject::Connection loaded_;
    QMetaObject::Connection permissions_;
    QMetaObject::Connection title_;
    bool presents_ = false; // this browser receives the profile's notifications
    QMetaObject::Connection outcome_;
    QMetaObject::Connection newWindow_;
    QMetaObject::Connection rendererEnded_;
    QMetaObject::Connection downloads_;
    std::unique_ptr<QPrinter> printer_;                     // while a print runs
    std::map<quint32, std::weak_ptr<Download>> handedOver_; // by the engine's number
    bool loading_ = false;
    // The address navigate() was last asked for while it has not been left for another by the
    // page itself, and how often its dropped navigation was started again.
    PageLoads loads_; // what was asked for last, and what a load's end means
    std::vector<std::function<void()>> pending_;
};

} // namespace kivo::platform
