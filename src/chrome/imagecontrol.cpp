#include "chrome/imagecontrol.h"

#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kivo::chrome {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void ImageControl::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ImageControl::LoadFile(const QString& path) {
    QImage image;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        image.loadFromData(file.readAll());
    }
    setPicture(image);
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    if (round_) {
        QPainterPath circle;
        circle.addEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
        painter.setClipPath(circle);
    }
    if (fit_) {
        const QSizeF fitted = QSizeF(picture_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted),
                          picture_);
        return;
    }
    painter.drawImage(rect(), picture_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    emit MouseDown(index_, event->button());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit Click(index_);
    }
}

void ImageControl::mouseMoveEvent(QMouseEvent*) {
    emit MouseMove(index_);
}

} // namespace kivo::chrome
