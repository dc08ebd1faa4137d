#pragma once

#include <QColor>
#include <QWidget>

namespace kivo::chrome {

/// A straight horizontal or vertical line of the window definitions, one pixel thick, given by
/// its end points in twips.
class LineShape : public QWidget {
    Q_OBJECT
public:
    explicit LineShape(QWidget* parent = nullptr);

    void setLine(int x1, int y1, int x2, int y2);
    void setColor(const QColor& colour);
};

} // namespace kivo::chrome
