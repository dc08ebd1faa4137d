#include "chrome/clicklabel.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace kivo::chrome {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    emit MouseDown(event->button());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit Click();
    }
}

void ClickLabel::setInkCentred(bool centred) {
    inkCentred_ = centred;
    update();
}

void ClickLabel::paintEvent(QPaintEvent* event) {
    if (!inkCentred_) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QRectF ink = QFontMetricsF(font()).tightBoundingRect(text());
    painter.drawText(QRectF(rect()).center() - ink.center(), text());
}

} // namespace kivo::chrome
