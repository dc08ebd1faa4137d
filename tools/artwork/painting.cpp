#include "painting.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace kivo::artwork {

QString& OutDir() {
    static QString dir;
    return dir;
}

int& Scale() {
    static int scale = 1;
    return scale;
}

QImage canvas(int w, int h, bool alpha) {
    QImage image(w * Scale(), h * Scale(), alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(alpha ? Qt::transparent : Qt::white);
    return image;
}

void save(const QImage& image, const QString& name, int quality) {
    QString file = name;
    if (Scale() != 1) { // name@2x.png beside name.png
        file.insert(file.lastIndexOf('.'), QStringLiteral("@%1x").arg(Scale()));
    }
    const QString path = OutDir() + "/" + file;
    QDir().mkpath(QFileInfo(path).path());
    // Qt reads a PNG's quality as its compression: any quality stores it uncompressed.
    if (!image.save(path, nullptr, path.endsWith(".png") ? -1 : quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void draw(QImage& image, const std::function<void(QPainter&)>& f) {
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    p.scale(Scale(), Scale()); // drawings keep their coordinates at any scale
    f(p);
}

QFont font(double pixelSize, int weight) {
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QImage lineGlyph(int size, const Glyph& f, const QColor& colour, double stroke, bool transparent, int oversample) {
    const int big = size * oversample;
    QImage image = canvas(big, big, transparent);
    draw(image, [&](QPainter& p) {
        p.setPen(QPen(colour, big * stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        f(p, big);
    });
    return image.scaled(size * Scale(), size * Scale(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace kivo::artwork
