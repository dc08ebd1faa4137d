#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

class QWindow;

namespace kivo::chrome {

/// The edges of a borderless window that resize it: a band inside each edge and corner with the
/// resize cursors, whose press hands the resize to the window system (snapping and its keyboard
/// resize come with it). Where the system cannot take it over, the band resizes the window
/// itself while the button is held. The band lies over the window's other controls.
class ResizeFrame : public QObject {
    Q_OBJECT
public:
    /// How a press starts the system's resize; false when the system cannot (tests record here).
    using Starter = std::function<bool(QWindow* window, Qt::Edges edges)>;
    static void SetStarter(Starter start);

    static constexpr int kBand = 6;

    explicit ResizeFrame(QWidget* window);

    /// Off while the window is maximised: its edges are the screen's.
    void setActive(bool active);
    /// Lays the band along the window's current edges and above its other controls.
    void place();

private:
    class Grip;
    void press(Qt::Edges edges, const QPoint& global);
    void drag(const QPoint& global);

    QWidget* window_;
    std::array<Grip*, 8> grips_{};
    bool active_ = true;
    // The window's own resize, where the system does not take it.
    Qt::Edges dragging_;
    QPoint pressedAt_;
    QRect startGeometry_;
};

} // namespace kivo::chrome
