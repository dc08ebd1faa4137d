#include "tray/badgeicon.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <set>

namespace kivo::tray {

QString BadgeText(int count) {
    return count <= 0 ? QString() : count > 99 ? QStringLiteral("99+") : QString::number(count);
}

int BadgeTextPixels(int side, const QString& text) {
    return std::max(8, side * (text.size() > 2 ? 36 : 44) / 100);
}

QIcon BadgeIcon(const QIcon& icon, int count) {
    if (count <= 0) {
        return icon;
    }
    const QString text = BadgeText(count);
    std::set<int> sizes{16, 22, 24, 32, 48, 64, 128};
    for (const QSize& size : icon.availableSizes()) {
        sizes.insert(size.width());
    }
    QIcon badged;
    for (const int side : sizes) {
        QPixmap pixmap = icon.pixmap(side, side);
        if (pixmap.isNull()) {
            pixmap = QPixmap(side, side);
            pixmap.fill(Qt::transparent);
        }
        pixmap = pixmap.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        // A pill over the top right, at least 60 % of the icon high so that it reads at 16 pixels.
        QFont font("Noto Sans");
        font.setBold(true);
        font.setPixelSize(BadgeTextPixels(side, text));
        const QFontMetricsF metrics(font);
        const double height = std::max(side * 0.6, metrics.height() * 0.95);
        const double width = std::min<double>(side, std::max(height, metrics.horizontalAdvance(text) + height * 0.45));
        const QRectF pill(side - width, 0, width, height);
        p.setPen(QPen(Qt::white, std::max(1.0, side / 32.0)));
        p.setBrush(QColor(0xE5, 0x39, 0x35));
        p.drawRoundedRect(pill, height / 2, height / 2);
        p.setPen(Qt::white);
        p.setFont(font);
        p.drawText(pill, Qt::AlignCenter, text);
        p.end();
        badged.addPixmap(pixmap);
    }
    return badged;
}

} // namespace kivo::tray
