#pragma once

#include "platform/browser.h"

#include <QMetaObject>
#include <QStringList>

class QWebEngineView;

namespace kivo::platform {

/// @brief The Browser over a QWebEngineView in the default profile (whose cookie store takes
/// the service's session cookies). Body edits wait until a written document has loaded.
class WebEngineBrowser : public Browser {
public:
    explicit WebEngineBrowser(QWidget* parent);
    ~WebEngineBrowser() override;

    QWidget* widget() override;
    void navigate(const QString& url) override;
    void writeDocument(const QString& html, const QString& baseUrl) override;
    void setBodyStyle(const QString& property, const QString& value) override;
    void setBodyInnerHtml(const QString& html) override;
    QString localFileUrl(const QString& path) const override;
    void setBeforeNavigate(BeforeNavigate hook) override;

    /// @brief Registers the "happ" scheme; call before the application object exists.
    static void RegisterSchemes();

    QWebEngineView* view() const { return view_; }

private:
    void runScript(const QString& script);

    QWebEngineView* view_; // owned by its parent widget
    QMetaObject::Connection loaded_;
    bool loading_ = false;
    QStringList pending_;
};

} // namespace kivo::platform
