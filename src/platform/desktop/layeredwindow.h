#pragma once

#include <QImage>
#include <QWidget>

namespace kivo::platform {

/// @brief A per-pixel-alpha top-level window owned by another window: frameless, translucent,
/// never activated, and transparent to the mouse (clicks reach what lies beneath). It shows a
/// premultiplied ARGB32 image (bytes blue, green, red, alpha) under a constant opacity.
class LayeredWindow : public QWidget {
    Q_OBJECT
public:
    explicit LayeredWindow(QWidget* owner);

    /// @brief Places the window at `topLeft` with the image's size and shows the image with
    /// `constantAlpha` (0-255) applied to every pixel.
    void updateLayered(const QImage& image, QPoint topLeft, int constantAlpha);

    const QImage& image() const { return image_; }
    int constantAlpha() const { return constantAlpha_; }
    /// @brief How many times the image was replaced: a move alone never replaces it.
    int imageUpdates() const { return imageUpdates_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    int constantAlpha_ = 255;
    int imageUpdates_ = 0;
};

} // namespace kivo::platform
