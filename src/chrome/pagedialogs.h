#pragma once

#include "platform/web/browser.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>

namespace kivo::chrome {

/// The dialogs a page asks for (alert, confirm, prompt, the leave-page question), drawn by Kivo:
/// titled with the program's name, never the page's address; the page's text as plain text;
/// "确定" (Enter) and "取消" (Escape); owned by the window that shows the page. A page that asks
/// again and again may be silenced: from the third dialog within kLoopWindowMs the dialog offers
/// to stop this page's dialogs, which are then answered "no" without a word until another page asks.
class PageDialogs {
public:
    static constexpr const char* kTitle = "VelmoraKivo";
    static constexpr int kLoopCount = 3;
    static constexpr int kLoopWindowMs = 10000;

    /// `owner`: a widget in the window the dialogs belong to (the browser's).
    explicit PageDialogs(QWidget* owner, std::function<qint64()> clock = {});
    platform::PageDialogAnswer ask(const platform::PageDialogRequest& request);

private:
    QPointer<QWidget> owner_;
    std::function<qint64()> clock_;
    std::deque<qint64> recent_;
    QString silencedPage_;
};

/// Gives `browser` Kivo's page dialogs, owned by the window of its widget.
void InstallPageDialogs(platform::Browser& browser);

} // namespace kivo::chrome
