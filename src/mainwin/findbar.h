#pragma once

#include "platform/web/browser.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kivo::mainwin {

/// The small bar that finds text on the workbench page: it searches as the text is typed, Enter
/// and the arrow buttons go to the next match, Shift+Enter to the previous one, and it shows the
/// current match and their number; Escape or its close button ends the search.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(QWidget* parent, platform::Browser& web);

    /// Shows the bar with the focus in its text, all of it selected.
    void open();
    void close();
    void next() { find(false); }
    void previous() { find(true); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void find(bool backward);
    void showCount(int matches, int current);

    platform::Browser& web_;
    QLineEdit* text_;
    QLabel* count_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* close_;
    int searches_ = 0; // only the newest search's answer counts
};

} // namespace kivo::mainwin
