#pragma once

#include "platform/web/browser.h"

#include <QElapsedTimer>
#include <QObject>
#include <QWidget>

#include <functional>
#include <string>

namespace kivo::mainwin {

class FindBar;

/// What makes the workbench browser behave as a browser: a page's new windows (the service's
/// own addresses load in place, any other goes to the user's browser), a renderer that ends
/// (reloaded once; a second end within a minute counts as a failed load), and the keys of the
/// main window: Ctrl+Plus, Ctrl+Minus and Ctrl+0 zoom (kept in the run-parameter file as
/// "zoom"), Alt+Left and Alt+Right go back and forward, F5 and Ctrl+R reload, Ctrl+F opens the
/// find bar, Ctrl+P prints.
class PageControls : public QObject {
public:
    PageControls(QWidget* window, platform::Browser& web, std::string baseUrl,
                 std::function<void(const platform::LoadOutcome&)> failed);

    void zoomIn();
    void zoomOut();
    void resetZoom();
    FindBar* findBar() const { return findBar_; }

    /// The zoom steps, as browsers have them.
    static double NextZoom(double current, int direction);

private:
    void applyZoom(double factor);
    void newWindow(const QString& url);
    void rendererEnded(const QString& reason, int exitCode);

    platform::Browser& web_;
    std::string baseUrl_;
    std::function<void(const platform::LoadOutcome&)> failed_;
    QElapsedTimer lastEnd_;
    FindBar* findBar_;
};

} // namespace kivo::mainwin
