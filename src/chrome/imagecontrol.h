#pragma once

#include <QImage>
#include <QWidget>

namespace kivo::chrome {

/// The image control of the windows: shows one picture with per-pixel alpha, stretched to its
/// size, and reports clicks (also where it shows no picture), mouse-downs and mouse-moves with
/// its array index (-1 for a single control).
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    /// Shows `picture` in place of the current one (a null image shows nothing).
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    /// Loads and shows a picture file; a missing, empty or undecodable file shows nothing.
    void LoadFile(const QString& path);

    /// Draws the picture whole at its own aspect ratio, centred, instead of stretched (icons).
    void setFit(bool fit) {
        fit_ = fit;
        update();
    }
    bool fit() const { return fit_; }

    /// Draws the picture clipped to a circle (avatars).
    void setRound(bool round) {
        round_ = round;
        update();
    }

    int index() const { return index_; }
    void setIndex(int index) { index_ = index; }

    /// Acts as a click does (the keyboard's Enter and Space, a screen reader's press).
    Q_INVOKABLE void Activate() { emit Click(index_); }

signals:
    void Click(int index);
    void MouseDown(int index, Qt::MouseButton button);
    void MouseMove(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    int index_ = -1;
    bool pressed_ = false;
    bool round_ = false;
    bool fit_ = false;
};

} // namespace kivo::chrome
