#pragma once

// What every picture of the artwork tool is drawn with: the brand colours, a canvas, saving,
// fonts and line glyphs.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>

namespace kivo::artwork {

inline const QColor kBlue(0x12, 0x7F, 0xC2);
inline const QColor kSky(0x1B, 0x9B, 0xEA);
inline const QColor kMist(0xED, 0xED, 0xED);
inline const QColor kField(205, 221, 250);

/// Where the pictures go (the tool's argument).
QString& OutDir();
/// How many times larger than their size the pictures are drawn (2 for screens of twice the
/// density); save() then names them name@2x.
int& Scale();
QImage canvas(int w, int h, bool alpha);
/// Writes `image` to OutDir()/name; `quality` is a JPEG's (a PNG is always compressed).
void save(const QImage& image, const QString& name, int quality = 92);
void draw(QImage& image, const std::function<void(QPainter&)>& f);
QFont font(double pixelSize, int weight = QFont::Normal);

using Glyph = std::function<void(QPainter&, double)>;
/// A line glyph, drawn `oversample` times larger with a stroke of `stroke` of its size and
/// scaled down for clean edges.
QImage lineGlyph(int size, const Glyph& f, const QColor& colour, double stroke, bool transparent, int oversample);

/// The stand-in service's pictures: the demo avatar and the menu icons of its configuration.
void servicePictures();

} // namespace kivo::artwork
