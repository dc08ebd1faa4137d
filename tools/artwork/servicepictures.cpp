// The stand-in service's pictures: the demo avatar and the menu icons of its configuration.
#include "painting.h"

#include <QPainterPath>
#include <QtMath>

#include <vector>

namespace kivo::artwork {

namespace {

// ---- menu icons of the stand-in service's configuration ----
// Line glyphs on a transparent ground, drawn at twice the size they show at: white for the top
// bar on the blue header, grey for a left item and blue for the selected one.

const std::vector<std::pair<QString, Glyph>>& menuGlyphTable() {
    static const std::vector<std::pair<QString, Glyph>> table = {
        {"home",
         [](QPainter& p, double s) {
             QPainterPath roof;
             roof.moveTo(s * 0.12, s * 0.5);
             roof.lineTo(s * 0.5, s * 0.16);
             roof.lineTo(s * 0.88, s * 0.5);
             p.drawPath(roof);
             p.drawPolyline(QPolygonF({QPointF(s * 0.24, s * 0.42), QPointF(s * 0.24, s * 0.86),
                                       QPointF(s * 0.76, s * 0.86), QPointF(s * 0.76, s * 0.42)}));
             p.drawLine(QPointF(s * 0.5, s * 0.86), QPointF(s * 0.5, s * 0.64));
         }},
        {"desk",
         [](QPainter& p, double s) {
             p.drawRoundedRect(QRectF(s * 0.1, s * 0.16, s * 0.8, s * 0.52), s * 0.06, s * 0.06);
             p.drawLine(QPointF(s * 0.5, s * 0.68), QPointF(s * 0.5, s * 0.84));
             p.drawLine(QPointF(s * 0.3, s * 0.86), QPointF(s * 0.7, s * 0.86));
         }},
        {"message",
         [](QPainter& p, double s) {
             QPainterPath bubble;
             bubble.addRoundedRect(QRectF(s * 0.1, s * 0.16, s * 0.8, s * 0.56), s * 0.14, s * 0.14);
             p.drawPath(bubble);
             p.drawLine(QPointF(s * 0.32, s * 0.72), QPointF(s * 0.26, s * 0.9));
             p.drawLine(QPointF(s * 0.26, s * 0.9), QPointF(s * 0.5, s * 0.72));
             for (double x : {0.32, 0.5, 0.68}) {
                 p.drawPoint(QPointF(s * x, s * 0.44));
             }
         }},
        {"apps",
         [](QPainter& p, double s) {
             for (double x : {0.12, 0.56}) {
                 for (double y : {0.12, 0.56}) {
                     p.drawRoundedRect(QRectF(s * x, s * y, s * 0.32, s * 0.32), s * 0.07, s * 0.07);
                 }
             }
         }},
        {"customer",
         [](QPainter& p, double s) {
             p.drawEllipse(QPointF(s * 0.5, s * 0.34), s * 0.18, s * 0.18);
             p.drawArc(QRectF(s * 0.16, s * 0.6, s * 0.68, s * 0.6), 0, 180 * 16);
         }},
        {"order",
         [](QPainter& p, double s) {
             p.drawRoundedRect(QRectF(s * 0.2, s * 0.1, s * 0.6, s * 0.8), s * 0.06, s * 0.06);
             for (double y : {0.32, 0.5, 0.68}) {
                 p.drawLine(QPointF(s * 0.34, s * y), QPointF(s * 0.66, s * y));
             }
         }},
        {"approve",
         [](QPainter& p, double s) {
             p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
             p.drawPolyline(
                 QPolygonF({QPointF(s * 0.3, s * 0.5), QPointF(s * 0.45, s * 0.65), QPointF(s * 0.7, s * 0.36)}));
         }},
        {"report",
         [](QPainter& p, double s) {
             p.drawLine(QPointF(s * 0.12, s * 0.88), QPointF(s * 0.88, s * 0.88));
             p.drawLine(QPointF(s * 0.28, s * 0.76), QPointF(s * 0.28, s * 0.5));
             p.drawLine(QPointF(s * 0.5, s * 0.76), QPointF(s * 0.5, s * 0.2));
             p.drawLine(QPointF(s * 0.72, s * 0.76), QPointF(s * 0.72, s * 0.38));
         }},
        {"stock",
         [](QPainter& p, double s) {
             QPainterPath box;
             box.moveTo(s * 0.5, s * 0.1);
             box.lineTo(s * 0.86, s * 0.28);
             box.lineTo(s * 0.86, s * 0.72);
             box.lineTo(s * 0.5, s * 0.9);
             box.lineTo(s * 0.14, s * 0.72);
             box.lineTo(s * 0.14, s * 0.28);
             box.closeSubpath();
             p.drawPath(box);
             p.drawPolyline(
                 QPolygonF({QPointF(s * 0.14, s * 0.28), QPointF(s * 0.5, s * 0.46), QPointF(s * 0.86, s * 0.28)}));
             p.drawLine(QPointF(s * 0.5, s * 0.46), QPointF(s * 0.5, s * 0.9));
         }},
        {"finance",
         [](QPainter& p, double s) {
             p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
             p.drawPolyline(
                 QPolygonF({QPointF(s * 0.36, s * 0.28), QPointF(s * 0.5, s * 0.46), QPointF(s * 0.64, s * 0.28)}));
             p.drawLine(QPointF(s * 0.5, s * 0.46), QPointF(s * 0.5, s * 0.74));
             p.drawLine(QPointF(s * 0.36, s * 0.5), QPointF(s * 0.64, s * 0.5));
             p.drawLine(QPointF(s * 0.36, s * 0.62), QPointF(s * 0.64, s * 0.62));
         }},
        {"staff",
         [](QPainter& p, double s) {
             p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
             p.drawPolyline(
                 QPolygonF({QPointF(s * 0.5, s * 0.26), QPointF(s * 0.5, s * 0.5), QPointF(s * 0.68, s * 0.62)}));
         }},
        {"notice",
         [](QPainter& p, double s) {
             QPainterPath bell;
             bell.moveTo(s * 0.2, s * 0.72);
             bell.cubicTo(s * 0.3, s * 0.6, s * 0.24, s * 0.18, s * 0.5, s * 0.16);
             bell.cubicTo(s * 0.76, s * 0.18, s * 0.7, s * 0.6, s * 0.8, s * 0.72);
             bell.closeSubpath();
             p.drawPath(bell);
             p.drawArc(QRectF(s * 0.4, s * 0.72, s * 0.2, s * 0.16), 180 * 16, 180 * 16);
         }},
        {"system",
         [](QPainter& p, double s) {
             p.drawEllipse(QPointF(s / 2, s / 2), s * 0.14, s * 0.14);
             p.drawEllipse(QPointF(s / 2, s / 2), s * 0.3, s * 0.3);
             for (int i = 0; i < 8; ++i) {
                 const double a = i * M_PI / 4;
                 p.drawLine(QPointF(s / 2 + std::cos(a) * s * 0.3, s / 2 + std::sin(a) * s * 0.3),
                            QPointF(s / 2 + std::cos(a) * s * 0.42, s / 2 + std::sin(a) * s * 0.42));
             }
         }},
    };
    return table;
}

QImage menuIcon(const Glyph& glyph, int size, const QColor& colour) {
    return lineGlyph(size, glyph, colour, 0.085, true, 4);
}

void menuIcons() {
    const QColor grey(0x9A, 0x9A, 0x9A);
    for (const auto& [name, glyph] : menuGlyphTable()) {
        if (name == "home" || name == "desk" || name == "message" || name == "apps") {
            save(menuIcon(glyph, 30, Qt::white), "service/menu/" + name + ".png");
        } else {
            save(menuIcon(glyph, 44, grey), "service/menu/" + name + "_grey.png");
            save(menuIcon(glyph, 44, kSky), "service/menu/" + name + "_blue.png");
        }
    }
}

} // namespace

void servicePictures() {
    QImage avatar = canvas(128, 128, false);
    draw(avatar, [](QPainter& p) {
        QLinearGradient g(0, 0, 128, 128);
        g.setColorAt(0, QColor(0xFF, 0xB3, 0x47));
        g.setColorAt(1, QColor(0xF0, 0x7C, 0x2E));
        p.fillRect(0, 0, 128, 128, g);
        p.setPen(Qt::white);
        p.setFont(font(64, QFont::Medium));
        p.drawText(QRect(0, 0, 128, 124), Qt::AlignCenter, "林");
    });
    save(avatar, "service/avatar/demo.png");
    menuIcons();
}

} // namespace kivo::artwork
