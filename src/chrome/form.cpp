#include "chrome/form.h"

#include "chrome/formregistry.h"
#include "platform/desktop/twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace kivo::chrome {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

Form::Form(const QString& name, Qt::WindowFlags extraFlags)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | extraFlags), name_(name) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() {
    FormRegistry::instance().remove(this);
}

void Form::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    FormRegistry::instance().add(this);
    onLoad();
}

void Form::Unload() {
    if (!loaded_ || unloading_) {
        return;
    }
    unloading_ = true;
    onUnload();
    hide();
    loaded_ = false;
    deleteLater();
    FormRegistry::instance().remove(this);
}

void Form::closeEvent(QCloseEvent* event) {
    // Closing stays in the window's own hands: it unloads or hides itself as it sees fit.
    event->ignore();
    if (loaded_ && !unloading_) {
        onCloseRequested();
    }
}

void Form::Move(int left, int top, int width, int height) {
    const int w = width < 0 ? QWidget::width() : TwipsToPixels(width);
    const int h = height < 0 ? QWidget::height() : TwipsToPixels(height);
    setGeometry(TwipsToPixels(left), TwipsToPixels(top), w, h);
}

int Form::Left() const {
    return PixelsToTwips(x());
}
int Form::Top() const {
    return PixelsToTwips(y());
}
int Form::Width() const {
    return PixelsToTwips(QWidget::width());
}
int Form::Height() const {
    return PixelsToTwips(QWidget::height());
}

void Form::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(QWidget::width() / 2, QWidget::height() / 2));
}

void Form::StartDrag() {
    if (QWindow* window = windowHandle()) {
        window->startSystemMove();
    }
}

void Form::ApplyStick(const std::string& stick) {
    if (stick == "1") {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (wasVisible) {
            show(); // changing the flags hides a shown window
        }
    }
}

void Form::SetOwner(QWidget* owner) {
    if (owner == nullptr) {
        return;
    }
    winId();
    owner->winId();
    windowHandle()->setTransientParent(owner->windowHandle());
}

void Form::BringUp() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

} // namespace kivo::chrome
