#pragma once

#include <QLabel>

namespace kivo::chrome {

/// A label that reports clicks and mouse-downs, as the windows' labels do (links, "-").
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = {}, QWidget* parent = nullptr);

    /// Acts as a click does (the keyboard's Enter and Space, a screen reader's press).
    Q_INVOKABLE void Activate() { emit Click(); }

signals:
    void Click();
    void MouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace kivo::chrome
