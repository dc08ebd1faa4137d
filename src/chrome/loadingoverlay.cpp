#include "chrome/loadingoverlay.h"

#include <QPainter>

namespace kivo::chrome {

LoadingOverlay::LoadingOverlay(const QString& animation, QWidget* parent) : QWidget(parent), movie_(animation) {
    movie_.setCacheMode(QMovie::CacheAll);
    connect(&movie_, &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
}

void LoadingOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QPixmap frame = movie_.currentPixmap();
    if (!frame.isNull()) {
        const QSize size = frame.deviceIndependentSize().toSize();
        painter.drawPixmap(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size), frame);
    }
}

void LoadingOverlay::showEvent(QShowEvent*) {
    movie_.start();
}

void LoadingOverlay::hideEvent(QHideEvent*) {
    movie_.stop();
}

} // namespace kivo::chrome
