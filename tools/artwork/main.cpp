// kivo-artwork: draws every picture Kivo ships (the JPEG resources, the PNG pictures of the
// windows, the application icon and the frames of the loading animation) at their exact sizes.
// scripts/make-artwork runs it and turns the frames into img/loding.gif.
#include "painting.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>
#include <vector>

using namespace kivo::artwork;

namespace {

// ---- 12 x 12 menu glyphs on white ----
QImage glyph(int size, const Glyph& f) {
    return lineGlyph(size, f, kBlue, 0.11, false, 8);
}

void menuGlyphs() {
    save(glyph(12,
               [](QPainter& p, double s) { // 101 settings: a gear
                   p.drawEllipse(QPointF(s / 2, s / 2), s * 0.17, s * 0.17);
                   for (int i = 0; i < 8; ++i) {
                       const double a = i * M_PI / 4;
                       p.drawLine(QPointF(s / 2 + std::cos(a) * s * 0.28, s / 2 + std::sin(a) * s * 0.28),
                                  QPointF(s / 2 + std::cos(a) * s * 0.42, s / 2 + std::sin(a) * s * 0.42));
                   }
                   p.drawEllipse(QPointF(s / 2, s / 2), s * 0.3, s * 0.3);
               }),
         "artwork/101.jpg", 95);
    save(glyph(11,
               [](QPainter& p, double s) { // 102 update: circular arrow
                   p.drawArc(QRectF(s * 0.15, s * 0.15, s * 0.7, s * 0.7), 60 * 16, 280 * 16);
                   QPainterPath head;
                   head.moveTo(s * 0.62, s * 0.08);
                   head.lineTo(s * 0.82, s * 0.22);
                   head.lineTo(s * 0.6, s * 0.34);
                   p.drawPath(head);
               }),
         "artwork/102.jpg", 95);
    save(glyph(12,
               [](QPainter& p, double s) { // 103 exit: power symbol
                   p.drawArc(QRectF(s * 0.16, s * 0.2, s * 0.68, s * 0.68), 120 * 16, 300 * 16);
                   p.drawLine(QPointF(s / 2, s * 0.1), QPointF(s / 2, s * 0.5));
               }),
         "artwork/103.jpg", 95);
    save(glyph(12,
               [](QPainter& p, double s) { // 104 customer service: headset
                   p.drawArc(QRectF(s * 0.16, s * 0.12, s * 0.68, s * 0.7), 0, 180 * 16);
                   p.setBrush(kBlue);
                   p.drawRoundedRect(QRectF(s * 0.12, s * 0.45, s * 0.16, s * 0.28), s * 0.05, s * 0.05);
                   p.drawRoundedRect(QRectF(s * 0.72, s * 0.45, s * 0.16, s * 0.28), s * 0.05, s * 0.05);
               }),
         "artwork/104.jpg", 95);
    save(glyph(12,
               [](QPainter& p, double s) { // 105 forum: speech bubble
                   QPainterPath bubble;
                   bubble.addRoundedRect(QRectF(s * 0.1, s * 0.14, s * 0.8, s * 0.56), s * 0.14, s * 0.14);
                   bubble.moveTo(s * 0.3, s * 0.7);
                   bubble.lineTo(s * 0.26, s * 0.9);
                   bubble.lineTo(s * 0.48, s * 0.7);
                   p.drawPath(bubble);
               }),
         "artwork/105.jpg", 95);
    save(glyph(12,
               [](QPainter& p, double s) { // 106 website: globe
                   p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
                   p.drawEllipse(QRectF(s * 0.32, s * 0.1, s * 0.36, s * 0.8));
                   p.drawLine(QPointF(s * 0.1, s / 2), QPointF(s * 0.9, s / 2));
               }),
         "artwork/106.jpg", 95);
}

// ---- header strip and sign-in background ----
void header() {
    QImage image = canvas(1, 131, false);
    draw(image, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 131);
        g.setColorAt(0, QColor(0x1E, 0x9F, 0xEC));
        g.setColorAt(0.72, kSky.darker(104));
        g.setColorAt(0.73, kBlue.lighter(108)); // the top menu band below the profile
        g.setColorAt(1, kBlue);
        p.fillRect(0, 0, 1, 131, g);
    });
    save(image, "artwork/107.jpg", 96);
}

void signInBackground() {
    QImage image = canvas(900, 602, false);
    draw(image, [](QPainter& p) {
        QLinearGradient sky(0, 0, 900, 602);
        sky.setColorAt(0, QColor(0x1B, 0x9B, 0xEA));
        sky.setColorAt(1, QColor(0x0E, 0x5F, 0xA8));
        p.fillRect(0, 0, 900, 602, sky);
        // soft light shapes
        for (const auto& [x, y, r, a] :
             {std::tuple{120, 520, 260, 38}, {820, 80, 220, 30}, {760, 560, 160, 22}, std::tuple{60, 60, 120, 20}}) {
            QRadialGradient glow(x, y, r);
            glow.setColorAt(0, QColor(255, 255, 255, a));
            glow.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(QPointF(x, y), r, r);
        }
        // gentle waves along the bottom
        for (int i = 0; i < 3; ++i) {
            QPainterPath wave;
            const double base = 500 + i * 26;
            wave.moveTo(0, base);
            for (int x = 0; x <= 900; x += 10) {
                wave.lineTo(x, base + std::sin((x / 900.0) * 2 * M_PI + i) * (14 - i * 3));
            }
            wave.lineTo(900, 602);
            wave.lineTo(0, 602);
            p.fillPath(wave, QColor(255, 255, 255, 16 + i * 6));
        }
        // brand
        p.setPen(Qt::white);
        p.setFont(font(26, QFont::DemiBold));
        p.drawText(QRectF(40, 28, 400, 40), Qt::AlignLeft | Qt::AlignVCenter, "Velmora 工作台");
        p.setPen(QColor(255, 255, 255, 200));
        p.setFont(font(13));
        p.drawText(QRectF(42, 66, 400, 24), Qt::AlignLeft | Qt::AlignVCenter, "连接团队 · 协同办公 · 数据随行");
        p.setPen(QColor(255, 255, 255, 170));
        p.setFont(font(12));
        p.drawText(QRectF(0, 560, 900, 24), Qt::AlignCenter, "© Velmora  安全登录 · 数据加密传输");
    });
    save(image, "artwork/108.jpg", 92);
}

// ---- sign-in buttons and panels ----
void roundedButton(const QString& name, int w, int h, const QString& text, QColor top, QColor bottom) {
    QImage image = canvas(w, h, false);
    draw(image, [&](QPainter& p) {
        p.fillRect(0, 0, w, h, Qt::white);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 5, 5);
        if (!text.isEmpty()) {
            p.setPen(Qt::white);
            p.setFont(font(16, QFont::Medium));
            p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, text);
        }
    });
    save(image, name, 95);
}

void field(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(0xB8, 0xCC, 0xF2), 1));
    p.setBrush(kField);
    p.drawRoundedRect(r, 4, 4);
}

void panel(const QString& name, const std::function<void(QPainter&)>& fields) {
    QImage image = canvas(372, 260, false);
    draw(image, [&](QPainter& p) {
        p.fillRect(0, 0, 372, 260, Qt::white);
        fields(p);
    });
    save(image, name, 94);
}

void signInPieces() {
    roundedButton("artwork/109.jpg", 138, 40, {}, kSky, kBlue);
    roundedButton("artwork/110.jpg", 312, 40, "登  录", kSky, kBlue);
    // SMS panel: mobile number beside the code button, the code below
    panel("artwork/114.jpg", [](QPainter& p) {
        field(p, QRectF(32.5, 90.5, 164, 40));
        field(p, QRectF(32.5, 136.5, 308, 40));
        // Behind the code button: the greyed button that shows while the countdown runs (the
        // blue picture over it is hidden then, and the white countdown text sits on this).
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xA9, 0xB6, 0xC6));
        p.drawRoundedRect(QRectF(204, 90, 138, 40), 5, 5);
    });
    panel("artwork/113.jpg", [](QPainter& p) {
        field(p, QRectF(32.5, 90.5, 308, 40));
        field(p, QRectF(32.5, 136.5, 308, 40));
    });
    panel("artwork/111.jpg", [](QPainter& p) {
        // a frame around the QR code with corner marks
        const QRectF r(80, 16, 216, 216);
        p.setPen(QPen(QColor(0xE3, 0xE8, 0xEF), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r, 8, 8);
        p.setPen(QPen(kSky, 3, Qt::SolidLine, Qt::RoundCap));
        const double k = 18;
        for (const auto& [x, y, dx, dy] : {std::tuple{r.left(), r.top(), 1, 1},
                                           {r.right(), r.top(), -1, 1},
                                           std::tuple{r.left(), r.bottom(), 1, -1},
                                           {r.right(), r.bottom(), -1, -1}}) {
            p.drawLine(QPointF(x, y), QPointF(x + dx * k, y));
            p.drawLine(QPointF(x, y), QPointF(x, y + dy * k));
        }
    });
}

// ---- PNG pictures of the windows ----
void pictures() {
    QImage card = canvas(372, 344, true);
    draw(card, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(0, 0, 372, 344), 6, 6);
        p.setBrush(kSky);
        p.drawRect(QRectF(0, 45, 372, 3)); // the selected tab's underline shows where no overlay lies
    });
    save(card, "pictures/card.png");

    QImage tab = canvas(124, 48, true);
    draw(tab, [](QPainter& p) {
        p.fillRect(0, 0, 124, 48, QColor(0xF3, 0xF6, 0xFA));
        p.fillRect(0, 47, 124, 1, QColor(0xE3, 0xE8, 0xEF));
    });
    save(tab, "pictures/tab_off.png");

    QImage heading = canvas(105, 31, true);
    draw(heading, [](QPainter& p) {
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.setFont(font(18, QFont::DemiBold));
        p.drawText(QRect(0, 0, 105, 31), Qt::AlignCenter, "欢迎登录");
    });
    save(heading, "pictures/heading.png");

    auto cross = [](QColor colour, const QString& name) {
        QImage image = canvas(48, 48, true);
        draw(image, [&](QPainter& p) {
            p.setPen(QPen(colour, 6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(8, 8, 40, 40);
            p.drawLine(40, 8, 8, 40);
        });
        save(image.scaled(12 * Scale(), 12 * Scale(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), name);
    };
    cross(QColor(0x99, 0x99, 0x99), "pictures/close_grey.png");
    cross(Qt::white, "pictures/close_white.png");

    QImage menu = canvas(48, 48, true);
    draw(menu, [](QPainter& p) {
        p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
        for (int y : {10, 24, 38}) {
            p.drawLine(6, y, 42, y);
        }
    });
    save(menu.scaled(12 * Scale(), 12 * Scale(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
         "pictures/menu_white.png");

    // Maximise: one window outline; restore: two overlapping ones, as desktops draw them.
    auto frames = [](bool restore, const QString& name) {
        QImage image = canvas(48, 48, true);
        draw(image, [&](QPainter& p) {
            p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            if (restore) {
                p.drawPolyline(QPolygonF({QPointF(16, 10), QPointF(39, 10), QPointF(39, 32)}));
                p.drawRect(QRectF(8.5, 18.5, 22, 21));
            } else {
                p.drawRect(QRectF(8.5, 8.5, 31, 31));
            }
        });
        save(image.scaled(12 * Scale(), 12 * Scale(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), name);
    };
    frames(false, "pictures/max_white.png");
    frames(true, "pictures/restore_white.png");

    QImage error = canvas(312, 30, true);
    draw(error, [](QPainter& p) {
        p.setPen(QPen(QColor(0xFF, 0xCC, 0xC7), 1));
        p.setBrush(QColor(0xFF, 0xF1, 0xF0));
        p.drawRoundedRect(QRectF(0.5, 0.5, 311, 29), 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 72, 63));
        p.drawEllipse(QRectF(20, 7, 16, 16));
        p.setPen(Qt::white);
        p.setFont(font(12, QFont::Bold));
        p.drawText(QRectF(20, 7, 16, 16), Qt::AlignCenter, "!");
    });
    save(error, "pictures/error_strip.png");

    QImage refresh = canvas(42, 14, true);
    draw(refresh, [](QPainter& p) {
        p.setPen(QPen(kSky, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(1.5, 2, 10, 10), 60 * 16, 280 * 16);
        p.drawLine(QPointF(9.6, 1.6), QPointF(10.8, 4.6));
        p.drawLine(QPointF(10.8, 4.6), QPointF(7.6, 4.8));
        p.setPen(kSky);
        p.setFont(font(11));
        p.drawText(QRectF(14, 0, 28, 14), Qt::AlignLeft | Qt::AlignVCenter, "刷新");
    });
    save(refresh, "pictures/refresh.png");

    QImage logo = canvas(71, 13, true);
    draw(logo, [](QPainter& p) {
        p.setPen(Qt::white);
        p.setFont(font(12, QFont::Bold));
        p.drawText(QRect(0, -1, 71, 15), Qt::AlignLeft | Qt::AlignVCenter, "VELMORA");
    });
    save(logo, "pictures/logo.png");

    QImage frame = canvas(94, 94, true);
    draw(frame, [](QPainter& p) {
        p.setPen(QPen(QColor(255, 255, 255, 220), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 2, 90, 90));
    });
    save(frame, "pictures/avatar_frame.png");

    // The page-failure panel: a cloud whose plug has come apart.
    QImage failed = canvas(120, 96, true);
    draw(failed, [](QPainter& p) {
        QPainterPath cloud;
        for (const QRectF& part : {QRectF(14, 28, 40, 40), QRectF(34, 10, 52, 52), QRectF(70, 30, 38, 38)}) {
            QPainterPath circle;
            circle.addEllipse(part);
            cloud = cloud.united(circle);
        }
        QPainterPath base;
        base.addRoundedRect(QRectF(30, 44, 64, 24), 12, 12);
        cloud = cloud.united(base);
        p.setPen(QPen(kSky, 2.5));
        p.setBrush(QColor(0xE8, 0xF4, 0xFD));
        p.drawPath(cloud);
        p.setPen(QPen(kSky, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(60, 68), QPointF(60, 72)); // the cord from the cloud
        p.drawLine(QPointF(56, 78), QPointF(56, 81)); // the plug's pins
        p.drawLine(QPointF(64, 78), QPointF(64, 81));
        p.drawLine(QPointF(60, 92), QPointF(60, 96)); // the cord on, to the network
        p.setPen(Qt::NoPen);
        p.setBrush(kSky);
        p.drawRoundedRect(QRectF(52, 71, 16, 8), 2, 2); // the plug
        p.drawRoundedRect(QRectF(52, 85, 16, 8), 2, 2); // the socket, apart from it
        p.setPen(QPen(QColor(0xF0, 0x6A, 0x5A), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(73, 80), QPointF(80, 77)); // sparks in the gap
        p.drawLine(QPointF(73, 84), QPointF(80, 87));
        p.drawLine(QPointF(47, 80), QPointF(40, 77));
        p.drawLine(QPointF(47, 84), QPointF(40, 87));
    });
    save(failed, "pictures/page_failed.png");
}

// ---- about window pieces ----
void aboutPieces() {
    QImage banner = canvas(445, 145, false);
    draw(banner, [](QPainter& p) {
        QLinearGradient g(0, 0, 445, 145);
        g.setColorAt(0, kSky);
        g.setColorAt(1, kBlue);
        p.fillRect(0, 0, 445, 145, g);
        QRadialGradient glow(380, 20, 140);
        glow.setColorAt(0, QColor(255, 255, 255, 50));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(380, 20), 140, 140);
        // The emblem on the left; the window writes its name and state on the right half.
        const QRectF tile(92, 30, 86, 86);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 28));
        p.drawRoundedRect(tile.translated(0, 4), 20, 20);
        p.setBrush(Qt::white);
        p.drawRoundedRect(tile, 20, 20);
        QLinearGradient k(tile.topLeft(), tile.bottomRight());
        k.setColorAt(0, kSky);
        k.setColorAt(1, kBlue);
        p.setPen(QPen(QBrush(k), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double x = tile.left(), y = tile.top(), w = tile.width();
        p.drawLine(QPointF(x + w * 0.33, y + w * 0.24), QPointF(x + w * 0.33, y + w * 0.76));
        p.drawLine(QPointF(x + w * 0.70, y + w * 0.24), QPointF(x + w * 0.38, y + w * 0.52));
        p.drawLine(QPointF(x + w * 0.45, y + w * 0.47), QPointF(x + w * 0.72, y + w * 0.76));
        // a thin rule between the emblem and the texts
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        p.drawLine(QPointF(206.5, 38), QPointF(206.5, 108));
    });
    save(banner, "artwork/115.jpg", 93);
    roundedButton("artwork/112.jpg", 91, 31, {}, kSky, kBlue);
    QImage button(QStringLiteral("%1/artwork/112.jpg").arg(OutDir()));
    draw(button, [](QPainter& p) {
        p.setPen(Qt::white);
        p.setFont(font(14, QFont::Medium));
        p.drawText(QRect(0, 0, 91, 31), Qt::AlignCenter, "关 闭");
    });
    save(button, "artwork/112.jpg", 95);
}

// ---- application icon and loading animation ----
void icons() {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage icon = canvas(size, size, true);
        draw(icon, [size](QPainter& p) {
            const double s = size;
            QLinearGradient g(0, 0, s, s);
            g.setColorAt(0, kSky);
            g.setColorAt(1, kBlue);
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.22, s * 0.22);
            // a white "K" of two strokes
            p.setPen(QPen(Qt::white, std::max(1.6, s * 0.13), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(s * 0.33, s * 0.24), QPointF(s * 0.33, s * 0.76));
            p.drawLine(QPointF(s * 0.70, s * 0.24), QPointF(s * 0.38, s * 0.52));
            p.drawLine(QPointF(s * 0.45, s * 0.47), QPointF(s * 0.72, s * 0.76));
        });
        save(icon, QStringLiteral("icons/kivo-%1.png").arg(size));
    }
}

void loadingFrames() {
    const int frames = 12;
    for (int i = 0; i < frames; ++i) {
        QImage frame = canvas(48, 48, false);
        draw(frame, [i](QPainter& p) {
            p.fillRect(0, 0, 48, 48, Qt::white);
            for (int k = 0; k < 12; ++k) {
                const double a = (k * 30 - i * 30) * M_PI / 180.0;
                const int alpha = 255 - ((k * 255) / 12);
                p.setPen(QPen(QColor(0x1B, 0x9B, 0xEA, std::max(alpha, 40)), 4, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(24 + std::cos(a) * 10, 24 + std::sin(a) * 10),
                           QPointF(24 + std::cos(a) * 18, 24 + std::sin(a) * 18));
            }
        });
        save(frame, QStringLiteral("frames/loding-%1.png").arg(i, 2, 10, QChar('0')));
    }
}

// Everything the windows draw, at the current scale.
void windowPictures() {
    menuGlyphs();
    header();
    signInBackground();
    signInPieces();
    pictures();
    aboutPieces();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kivo-artwork OUTPUT-DIR\n");
        return 2;
    }
    OutDir() = QString::fromLocal8Bit(argv[1]);
    windowPictures();
    icons();
    loadingFrames();
    servicePictures();
    // The windows' pictures again at twice their size, for screens of twice the density.
    Scale() = 2;
    windowPictures();
    return 0;
}
