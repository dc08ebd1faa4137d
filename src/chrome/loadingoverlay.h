#pragma once

#include <QMovie>
#include <QWidget>

namespace kivo::chrome {

/// The loading animation over a window's browser: a white area with an animated picture in its
/// centre. The animation runs only while the overlay shows.
class LoadingOverlay : public QWidget {
    Q_OBJECT

public:
    LoadingOverlay(const QString& animation, QWidget* parent);

    const QMovie& movie() const { return movie_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QMovie movie_;
};

} // namespace kivo::chrome
