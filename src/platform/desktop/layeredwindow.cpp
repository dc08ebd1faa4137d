#include "platform/desktop/layeredwindow.h"

#include <QIcon>
#include <QPainter>

namespace kivo::platform {

LayeredWindow::LayeredWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                         Qt::NoDropShadowWindowHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    // A null icon of its own, or the window would send the program's large icon to the display
    // again, for a window that has no place in a task bar.
    setWindowIcon(QIcon());
}

void LayeredWindow::updateLayered(const QImage& image, QPoint topLeft, int constantAlpha) {
    image_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    constantAlpha_ = constantAlpha & 0xFF;
    ++imageUpdates_;
    setGeometry(QRect(topLeft, image_.size()));
    update();
}

void LayeredWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(constantAlpha_ / 255.0);
    painter.drawImage(0, 0, image_);
}

} // namespace kivo::platform
