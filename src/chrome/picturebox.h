#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kivo::chrome {

/// A container that paints a background colour and, stretched over it, a picture; it reports
/// mouse-downs so that windows can be dragged by it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setBackColor(const QColor& colour);

signals:
    void MouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QColor back_;
};

} // namespace kivo::chrome
