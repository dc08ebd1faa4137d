#include "mainwin/findbar.h"

#include "chrome/fonts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QToolButton>

namespace kivo::mainwin {

namespace {

QToolButton* tool(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setFixedSize(24, 24);
    b->setStyleSheet("QToolButton { color: #555555; border: none; border-radius: 3px; font-size: 13px; }"
                     "QToolButton:hover { background: #E6F4FD; color: #127FC2; }"
                     "QToolButton:disabled { color: #C8C8C8; }");
    return b;
}

} // namespace

FindBar::FindBar(QWidget* parent, platform::Browser& web)
    : QWidget(parent), web_(web), text_(new QLineEdit(this)), count_(new QLabel(this)),
      previous_(tool(this, "findPrevious", "▲", "上一个 (Shift+Enter)")),
      next_(tool(this, "findNext", "▼", "下一个 (Enter)")), close_(tool(this, "findClose", "✕", "关闭 (Esc)")) {
    setObjectName("findBar");
    setFixedSize(330, 40);
    text_->setObjectName("findText");
    text_->setPlaceholderText("在页面中查找");
    text_->setFont(chrome::WindowFont(chrome::kYaHei, 9));
    text_->setStyleSheet("QLineEdit { border: 1px solid #D5DCE3; border-radius: 3px; padding: 2px 6px; color: #333333;"
                         " selection-background-color: #1B9BEA; }"
                         "QLineEdit:focus { border-color: #1B9BEA; }");
    count_->setObjectName("findCount");
    count_->setFont(chrome::WindowFont(chrome::kYaHei, 9));
    count_->setStyleSheet("color: #888888;");
    count_->setMinimumWidth(44);
    count_->setAlignment(Qt::AlignCenter);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 7, 6, 7);
    row->setSpacing(4);
    row->addWidget(text_, 1);
    row->addWidget(count_);
    row->addWidget(previous_);
    row->addWidget(next_);
    row->addWidget(close_);
    connect(text_, &QLineEdit::textChanged, this, [this] { find(false); });
    connect(previous_, &QToolButton::clicked, this, &FindBar::previous);
    connect(next_, &QToolButton::clicked, this, &FindBar::next);
    connect(close_, &QToolButton::clicked, this, &FindBar::close);
    showCount(0, 0);
    hide();
}

void FindBar::open() {
    show();
    raise();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
    if (!text_->text().isEmpty()) {
        find(false);
    }
}

void FindBar::close() {
    hide();
    ++searches_;
    web_.find(QString(), false, {}); // the marks go with the bar
    if (parentWidget()) {
        parentWidget()->setFocus();
    }
}

void FindBar::find(bool backward) {
    const int search = ++searches_;
    const QString text = text_->text();
    if (text.isEmpty()) {
        web_.find(QString(), false, {});
        showCount(0, 0);
        count_->clear();
        return;
    }
    QPointer<FindBar> self = this;
    web_.find(text, backward, [self, search](int matches, int current) {
        if (self && search == self->searches_) {
            self->showCount(matches, current);
        }
    });
}

void FindBar::showCount(int matches, int current) {
    count_->setText(QStringLiteral("%1/%2").arg(current).arg(matches));
    count_->setStyleSheet(matches == 0 && !text_->text().isEmpty() ? "color: #D9534F;" : "color: #888888;");
    previous_->setEnabled(matches > 1);
    next_->setEnabled(matches > 1);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        find(event->modifiers() & Qt::ShiftModifier);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FindBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xD5, 0xDC, 0xE3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

} // namespace kivo::mainwin
