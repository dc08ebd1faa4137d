#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cmath>

namespace kivo::platform {

/// @brief Window geometry is kept in twips; the screen works in device-independent pixels.
inline constexpr int kTwipsPerPixel = 15;

/// @brief Twips to pixels, to the nearest pixel.
inline int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace kivo::platform

#include <QWidget>

namespace kivo::platform {

/// @brief Places a widget by twips, as the window definitions give positions.
inline void MoveTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsRect(left, top, width, height));
}
inline int LeftTwips(const QWidget* widget) {
    return PixelsToTwips(widget->x());
}
inline int TopTwips(const QWidget* widget) {
    return PixelsToTwips(widget->y());
}
inline int WidthTwips(const QWidget* widget) {
    return PixelsToTwips(widget->width());
}
inline int HeightTwips(const QWidget* widget) {
    return PixelsToTwips(widget->height());
}

} // namespace kivo::platform
