#include "chrome/resizeframe.h"

#include <QMouseEvent>
#include <QWindow>

namespace kivo::chrome {

namespace {

bool systemResize(QWindow* window, Qt::Edges edges) {
    return window != nullptr && window->startSystemResize(edges);
}

ResizeFrame::Starter& starter() {
    static ResizeFrame::Starter start = &systemResize;
    return start;
}

// Corners take a little more than the band along each edge, so that they are easy to hit.
constexpr int kCorner = 2 * ResizeFrame::kBand;

struct GripKind {
    Qt::Edges edges;
    Qt::CursorShape cursor;
};

constexpr std::array<GripKind, 8> kGrips{{
    {Qt::LeftEdge, Qt::SizeHorCursor},
    {Qt::RightEdge, Qt::SizeHorCursor},
    {Qt::TopEdge, Qt::SizeVerCursor},
    {Qt::BottomEdge, Qt::SizeVerCursor},
    {Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
    {Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
    {Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
    {Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
}};

} // namespace

// One invisible strip or corner of the band.
class ResizeFrame::Grip : public QWidget {
public:
    Grip(ResizeFrame* frame, QWidget* window, const GripKind& kind) : QWidget(window), frame_(frame), edges_(kind.edges) {
        setCursor(kind.cursor);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    Qt::Edges edges() const { return edges_; }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            frame_->press(edges_, event->globalPosition().toPoint());
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override { frame_->drag(event->globalPosition().toPoint()); }
    void mouseReleaseEvent(QMouseEvent*) override { frame_->dragging_ = {}; }

private:
    ResizeFrame* frame_;
    Qt::Edges edges_;
};

void ResizeFrame::SetStarter(Starter start) {
    starter() = start ? std::move(start) : Starter(&systemResize);
}

ResizeFrame::ResizeFrame(QWidget* window) : QObject(window), window_(window) {
    setObjectName("resizeFrame");
    for (size_t i = 0; i < kGrips.size(); ++i) {
        grips_[i] = new Grip(this, window, kGrips[i]);
        grips_[i]->setObjectName(QString("resizeGrip%1").arg(i));
    }
    place();
}

void ResizeFrame::setActive(bool active) {
    active_ = active;
    dragging_ = {};
    place();
}

void ResizeFrame::place() {
    const int w = window_->width();
    const int h = window_->height();
    const int b = kBand;
    const QRect places[] = {
        {0, kCorner, b, h - 2 * kCorner},     {w - b, kCorner, b, h - 2 * kCorner}, {kCorner, 0, w - 2 * kCorner, b},
        {kCorner, h - b, w - 2 * kCorner, b}, {0, 0, kCorner, kCorner},              {w - kCorner, h - kCorner, kCorner, kCorner},
        {w - kCorner, 0, kCorner, kCorner},   {0, h - kCorner, kCorner, kCorner},
    };
    for (size_t i = 0; i < grips_.size(); ++i) {
        Grip* grip = grips_[i];
        // A corner is an L along its two edges, not a square over the window's controls.
        grip->setGeometry(places[i]);
        if (i >= 4) {
            const QRect r = places[i];
            QRegion shape(0, 0, r.width(), r.height());
            const Qt::Edges e = grip->edges();
            const QRect inner(e.testFlag(Qt::LeftEdge) ? b : 0, e.testFlag(Qt::TopEdge) ? b : 0, r.width() - b,
                              r.height() - b);
            grip->setMask(shape.subtracted(inner));
        }
        grip->setVisible(active_);
        grip->raise();
    }
}

void ResizeFrame::press(Qt::Edges edges, const QPoint& global) {
    if (!active_) {
        return;
    }
    if (starter()(window_->windowHandle(), edges)) {
        return;
    }
    dragging_ = edges;
    pressedAt_ = global;
    startGeometry_ = window_->geometry();
}

void ResizeFrame::drag(const QPoint& global) {
    if (!dragging_) {
        return;
    }
    const QPoint moved = global - pressedAt_;
    const QSize least = window_->minimumSize();
    QRect to = startGeometry_;
    if (dragging_.testFlag(Qt::LeftEdge)) {
        to.setLeft(std::min(to.left() + moved.x(), to.right() + 1 - least.width()));
    }
    if (dragging_.testFlag(Qt::RightEdge)) {
        to.setRight(std::max(to.right() + moved.x(), to.left() - 1 + least.width()));
    }
    if (dragging_.testFlag(Qt::TopEdge)) {
        to.setTop(std::min(to.top() + moved.y(), to.bottom() + 1 - least.height()));
    }
    if (dragging_.testFlag(Qt::BottomEdge)) {
        to.setBottom(std::max(to.bottom() + moved.y(), to.top() - 1 + least.height()));
    }
    window_->setGeometry(to);
}

} // namespace kivo::chrome
