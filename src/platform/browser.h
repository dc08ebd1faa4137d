#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace kivo::platform {

/// @brief An embedded web browser as the windows use it: navigate, write a document, and read
/// and write the shown document's body.
class Browser {
public:
    virtual ~Browser() = default;

    /// @brief The widget to place in a window.
    virtual QWidget* widget() = 0;
    virtual void navigate(const QString& url) = 0;
    /// @brief Replaces the document with `html`, as if written into a blank page whose address
    /// is `baseUrl` (relative addresses and cookies then belong to that site).
    virtual void writeDocument(const QString& html, const QString& baseUrl) = 0;
    virtual void setBodyStyle(const QString& property, const QString& value) = 0;
    virtual void setBodyInnerHtml(const QString& html) = 0;
    /// @brief An address by which a page of the service can show a local file (a picture).
    virtual QString localFileUrl(const QString& path) const = 0;

    /// @brief Called before every navigation of the page and of its frames, with the address as
    /// the page wrote it, its post data and extra headers (as far as the browser shows them);
    /// setting `cancel` stops the navigation and leaves the page where it is.
    using BeforeNavigate =
        std::function<void(const QString& url, const QString& postData, const QString& headers, bool& cancel)>;
    virtual void setBeforeNavigate(BeforeNavigate hook) = 0;
};

/// @brief Makes the browsers of the windows: the real one in the program, a fake in window tests.
using BrowserFactory = std::function<std::unique_ptr<Browser>(QWidget* parent)>;

/// @brief The factory the windows use; set once at start.
BrowserFactory& Browsers();

} // namespace kivo::platform
