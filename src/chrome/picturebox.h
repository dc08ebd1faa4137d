#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kivo::chrome {

/// A container that paints a background colour and, stretched over it, a picture; it reports
/// mouse-downs (so that windows can be dragged by it), clicks and mouse moves.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setBackColor(const QColor& colour);
    const QColor& backColor() const { return back_; }

    /// Acts as a click does (the keyboard's Enter and Space, a screen reader's press).
    Q_INVOKABLE void Activate() { emit Click(); }

signals:
    void MouseDown(Qt::MouseButton button);
    void Click();
    void MouseMove();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QColor back_;
    bool pressed_ = false;
};

} // namespace kivo::chrome
