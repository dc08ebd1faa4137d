#include "tray/notifybar.h"

#include <QCursor>

namespace kivo::tray {

using platform::TrayIcon;

namespace {
constexpr unsigned kEverything = TrayIcon::Message | TrayIcon::Icon | TrayIcon::Tip;
}

NotifyBar::NotifyBar(QObject* parent) : QObject(parent) {
    if (platform::TrayIcons()) {
        icon_ = platform::TrayIcons()();
    }
    if (icon_) {
        icon_->activated = [this](TrayIcon::Activation a) { activated(a); };
    }
}

NotifyBar::~NotifyBar() {
    setNotifyBoxVisible(false);
}

// While the icon is not shown a change is only remembered for the next add; while it is
// shown it goes out at once, alone.
void NotifyBar::change(unsigned flag) {
    if (!shown_) {
        flags_ |= flag;
        return;
    }
    flags_ = flag;
    if (icon_) {
        icon_->modify(record_, flags_);
    }
}

void NotifyBar::setIcon(const QIcon& icon) {
    record_.icon = icon;
    change(TrayIcon::Icon);
}

void NotifyBar::setCallBackMessage(int message) {
    callBackMessage_ = message;
    change(TrayIcon::Message);
}

void NotifyBar::setToolTipText(const QString& text) {
    QString tip = text.trimmed();
    while (tip.toUtf8().size() > kTipBytes) {
        tip.chop(tip.size() >= 2 && tip.at(tip.size() - 1).isLowSurrogate() ? 2 : 1);
    }
    record_.toolTip = tip;
    change(TrayIcon::Tip);
}

void NotifyBar::NotifyMsgBox(const QString& message, const QString& title, int icon) {
    record_.info = message;
    record_.infoTitle = title;
    record_.infoFlags = icon;
    change(TrayIcon::Info);
}

void NotifyBar::setNotifyBoxVisible(bool visible) {
    if (visible) {
        setCallBackMessage(callBackMessage_);
        shown_ = true;
        // Every add carries the icon, the tooltip and the callback, whatever was hidden before.
        flags_ |= kEverything;
        if (icon_) {
            icon_->add(record_, flags_);
        }
        return;
    }
    flags_ = 0;
    if (shown_ && icon_) {
        icon_->remove();
    }
    shown_ = false;
}

void NotifyBar::TaskbarCreated() {
    if (shown_) {
        flags_ = kEverything;
        if (icon_) {
            icon_->add(record_, flags_);
        }
    }
}

void NotifyBar::activated(TrayIcon::Activation activation) {
    const QPoint at = QCursor::pos();
    switch (activation) {
    case TrayIcon::Activation::Click:
        emit NotifyClick(LB_Click, at);
        break;
    case TrayIcon::Activation::DoubleClick:
        emit NotifyClick(DoubleClick, at);
        break;
    case TrayIcon::Activation::Context:
        emit NotifyClick(RB_Click, at);
        break;
    case TrayIcon::Activation::Other:
        break;
    }
}

} // namespace kivo::tray
