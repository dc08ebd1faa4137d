// Where the main window lies and how large it is: maximised or not, and its place between runs.
#include "chrome/windowhelpers.h"
#include "mainwin/home.h"
#include "mainwin/pagenotices.h"
#include "mainwin/windowplace.h"
#include "platform/desktop/twips.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>

Q_LOGGING_CATEGORY(lcPlace, "kivo.mainwin.homeplace")

namespace kivo::mainwin {

using platform::TwipsToPixels;

QPointer<QScreen>& home::FallbackScreen() {
    static QPointer<QScreen> screen;
    return screen;
}

void home::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && notices_) {
        notices_->windowSeen();
    }
    if (event->type() == QEvent::WindowStateChange) {
        FollowWindowState();
        if (isMinimized()) {
            RememberPlace();
        }
    }
}

void home::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (notices_) {
        notices_->windowSeen();
    }
}

void home::hideEvent(QHideEvent* event) {
    Form::hideEvent(event);
    RememberPlace();
}

// ---- place and size ----

void home::FollowWindowState() {
    const bool maximised = isMaximized() || isFullScreen();
    home_max->setPicture(chrome::LoadPicture(maximised ? "restore_white" : "max_white"));
    home_max->setAccessibleName(maximised ? "还原" : "最大化");
    resizeFrame_->setActive(!maximised);
}

void home::ToggleMaximised() {
    if (isMaximized()) {
        showNormal();
    } else {
        showMaximized();
    }
}

void home::RememberPlace() {
    if (normalPlace_.isValid()) {
        WindowPlace{normalPlace_, windowState().testFlag(Qt::WindowMaximized)}.write();
    }
}

void home::moveEvent(QMoveEvent* event) {
    Form::moveEvent(event);
    followNormalPlace();
}

void home::followNormalPlace() {
    // Kept here rather than asked of the window system, which not every platform answers.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        normalPlace_ = geometry();
    }
    // Written shortly after, not at the end only: a power cut or a kill keeps the last move.
    if (placeWrite_ != nullptr && isVisible() && !placeWrite_->isActive()) {
        placeWrite_->start();
    }
}

void home::RestorePlace() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->geometry();
    }
    const std::optional<WindowPlace> place = WindowPlace::Read();
    if (place && place->fits(screens, minimumSize(), TwipsToPixels(kHeaderHeight))) {
        setGeometry(place->normal);
        normalPlace_ = place->normal;
        if (place->maximised) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
        return;
    }
    if (place) {
        qCInfo(lcPlace) << "the main window's last place is off every screen or too small; centred";
    }
    resize(minimumSize());
    normalPlace_ = geometry();
    const QScreen* screen = FallbackScreen() ? FallbackScreen().data() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
        normalPlace_ = geometry();
    }
}

} // namespace kivo::mainwin
