// The main window from the keyboard: names for screen readers, F6 round its areas (the top bar,
// the left menu, the page) and Tab in reading order.
#include "chrome/keyboardaccess.h"
#include "mainwin/home.h"
#include "mainwin/menubars.h"

#include <QApplication>
#include <QShortcut>

namespace kivo::mainwin {

void home::makeKeyboardUsable() {
    chrome::MakeActionable(aicAlphaImage2, "主菜单", QAccessible::ButtonMenu);
    chrome::MakeActionable(home_min, "最小化");
    chrome::MakeActionable(home_max, "最大化");
    chrome::MakeActionable(home_close, "关闭");
    chrome::Describe(avatar, "头像", QAccessible::Graphic);
    chrome::Describe(aicAlphaImage1, "Velmora", QAccessible::Graphic);
    if (web) {
        chrome::KeepOwnFocusMark(web->widget()); // the page marks its own focus
        web->widget()->setAccessibleName("工作台页面");
    }
    // F6 and Shift+F6 go round the top bar, the left menu and the page.
    for (const auto& [keys, step] :
         {std::pair{QKeySequence(Qt::Key_F6), 1}, std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { CycleFocusArea(step); });
    }
}

void home::CycleFocusArea(int step) {
    QWidget* const page = web ? web->widget() : nullptr;
    QWidget* const areas[] = {bars_->topEntry(), bars_->leftEntry(), page};
    QWidget* focus = QApplication::focusWidget();
    int now = bars_->inTopBar(focus)                                 ? 0
              : bars_->inLeftMenu(focus)                             ? 1
              : (page && page->isAncestorOf(focus)) || focus == page ? 2
                                                                     : -1;
    if (now < 0) {
        now = step > 0 ? 2 : 0; // from elsewhere: forwards to the top bar, backwards to the page
    }
    for (int k = 1; k <= 3; ++k) {
        QWidget* next = areas[((now + step * k) % 3 + 3) % 3];
        if (next != nullptr && next->isVisible()) {
            next->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void home::UpdateTabOrder() {
    // Reading order: the header's buttons, the bars, the page.
    QList<QWidget*> order{aicAlphaImage2, home_min, home_max, home_close};
    order << bars_->focusOrder();
    if (web) {
        order << web->widget();
    }
    chrome::SetTabOrder(order);
}

} // namespace kivo::mainwin
