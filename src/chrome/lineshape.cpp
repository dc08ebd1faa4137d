#include "chrome/lineshape.h"

#include "platform/desktop/twips.h"

#include <algorithm>

namespace kivo::chrome {

using platform::TwipsToPixels;

LineShape::LineShape(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    // A line is drawing, not a control: the mouse goes to what lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::setLine(int x1, int y1, int x2, int y2) {
    setGeometry(TwipsToPixels(std::min(x1, x2)), TwipsToPixels(std::min(y1, y2)),
                std::max(1, TwipsToPixels(std::abs(x2 - x1))), std::max(1, TwipsToPixels(std::abs(y2 - y1))));
}

void LineShape::setColor(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

} // namespace kivo::chrome
