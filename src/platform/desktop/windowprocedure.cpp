#include "platform/desktop/windowprocedure.h"

#include <QApplication>
#include <QEvent>
#include <QWindowStateChangeEvent>

namespace kivo::platform {

WindowProcedure::WindowProcedure(QWidget* window, Procedure procedure)
    : QObject(window), window_(window), procedure_(std::move(procedure)) {
    window->installEventFilter(this);
    // Screens that come, go or change their mode are display changes too.
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &WindowProcedure::displayChanged);
    connect(qApp, &QGuiApplication::screenAdded, this, &WindowProcedure::displayChanged);
    connect(qApp, &QGuiApplication::screenRemoved, this, &WindowProcedure::displayChanged);
}

WindowProcedure::~WindowProcedure() {
    if (window_) {
        window_->removeEventFilter(this);
    }
}

void WindowProcedure::detach() {
    if (window_) {
        window_->removeEventFilter(this);
        window_ = nullptr;
    }
    deleteLater();
}

QWidget* WindowProcedure::windowOf(WindowHandle handle) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (handleOf(w) == handle) {
            return w;
        }
    }
    return nullptr;
}

WindowPos WindowProcedure::placement(unsigned flags) const {
    const QRect g = window_->geometry();
    return {handleOf(window_), 0, g.x(), g.y(), g.width(), g.height(), flags};
}

std::intptr_t WindowProcedure::handOn(QWidget* target, QEvent* event) {
    QEvent* outer = passing_;
    passing_ = event;
    QCoreApplication::sendEvent(target, event);
    passing_ = outer;
    return 0;
}

std::intptr_t WindowProcedure::deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                       const CallPrevious& previous) {
    return procedure_({handleOf(window_), message, wParam, lParam}, previous);
}

void WindowProcedure::displayChanged() {
    if (window_) {
        deliver(msg::WM_DISPLAYCHANGE, 0, 0, [] { return std::intptr_t{0}; });
    }
}

bool WindowProcedure::eventFilter(QObject* watched, QEvent* event) {
    if (!window_ || watched != window_ || event == passing_) {
        return false;
    }
    QWidget* target = window_; // the procedure may be detached while it runs
    const auto sizeParam = [target] {
        return static_cast<std::intptr_t>((target->height() & 0xFFFF) << 16 | (target->width() & 0xFFFF));
    };
    const auto sizeType = [target] {
        return target->isMinimized() ? msg::SIZE_MINIMIZED
                                     : (target->isMaximized() ? msg::SIZE_MAXIMIZED : msg::SIZE_RESTORED);
    };
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide: {
        const unsigned flags = event->type() == QEvent::Move ? msg::SWP_NOSIZE
                               : event->type() == QEvent::Show
                                   ? (msg::SWP_SHOWWINDOW | msg::SWP_NOMOVE | msg::SWP_NOSIZE)
                                   : (msg::SWP_HIDEWINDOW | msg::SWP_NOMOVE | msg::SWP_NOSIZE);
        WindowPos pos = placement(flags);
        deliver(msg::WM_WINDOWPOSCHANGED, 0, reinterpret_cast<std::intptr_t>(&pos),
                [&] { return handOn(target, event); });
        return true;
    }
    case QEvent::Resize: {
        // As on the desktop the window code was written for, the placement change brings the
        // size message with it.
        WindowPos pos = placement(msg::SWP_NOMOVE);
        deliver(msg::WM_WINDOWPOSCHANGED, 0, reinterpret_cast<std::intptr_t>(&pos),
                [&] { return deliver(msg::WM_SIZE, sizeType(), sizeParam(), [&] { return handOn(target, event); }); });
        return true;
    }
    case QEvent::WindowStateChange: {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
        const bool wasMaximized = change->oldState().testFlag(Qt::WindowMaximized);
        if (target->isMinimized() != wasMinimized || target->isMaximized() != wasMaximized) {
            deliver(msg::WM_SIZE, sizeType(), sizeParam(), [&] { return handOn(target, event); });
            return true;
        }
        return false;
    }
    case QEvent::ScreenChangeInternal:
        deliver(msg::WM_DISPLAYCHANGE, 0, 0, [&] { return handOn(target, event); });
        return true;
    case QEvent::StyleChange:
    case QEvent::ThemeChange:
    case QEvent::ApplicationPaletteChange:
        deliver(msg::WM_THEMECHANGED, 0, 0, [&] { return handOn(target, event); });
        return true;
    default:
        return false;
    }
}

} // namespace kivo::platform
