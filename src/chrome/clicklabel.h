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
    /// Draws the caption centred by its ink rather than by the font's line box, so that a short
    /// glyph ("-") stays inside a low label whatever the font's ascent and descent.
    void setInkCentred(bool centred);

signals:
    void Click();
    void MouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    bool inkCentred_ = false;
};

} // namespace kivo::chrome
