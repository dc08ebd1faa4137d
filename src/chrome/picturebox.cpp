#include "chrome/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace kivo::chrome {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::setBackColor(const QColor& colour) {
    back_ = colour;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (back_.isValid()) {
        painter.fillRect(rect(), back_);
    }
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button());
}

} // namespace kivo::chrome
