#pragma once

#include <QLabel>

namespace kivo::chrome {

/// A label that reports clicks and mouse-downs, as the windows' labels do (links, "-").
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = {}, QWidget* parent = nullptr);

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
