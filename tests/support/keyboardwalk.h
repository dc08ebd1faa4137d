#pragma once

// Walking a window with the keyboard as a person does, and what a screen reader hears.
#include "activewindow.h"

#include <QAccessible>
#include <functional>
#include <QApplication>
#include <QStringList>
#include <QWidget>
#include <QtTest/QTest>

namespace kivo::test {

// What a screen reader announces for `control`.
inline QString accessibleName(QWidget* control) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a != nullptr ? a->text(QAccessible::Name) : QString();
}

inline QAccessible::Role accessibleRole(QWidget* control) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a != nullptr ? a->role() : QAccessible::NoRole;
}

// The controls Tab reaches in `window`, once round, by object name, starting from the one
// named `from` (the walk goes round until it meets it again); a control without an accessible
// name is listed as "!name".
inline QStringList tabWalk(QWidget* window, const QString& from, int most = 40) {
    test::activate(window);
    QStringList seen;
    for (int i = 0; i < 2 * most; ++i) {
        QWidget* at = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window;
        QTest::keyClick(at, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == nullptr) {
            break;
        }
        const QString name = accessibleName(now).isEmpty() ? "!" + now->objectName() : now->objectName();
        if (now->objectName() == from && !seen.isEmpty()) {
            break;
        }
        if (!seen.isEmpty() || now->objectName() == from) {
            seen << name;
        }
        if (seen.size() > most) {
            break;
        }
    }
    return seen;
}

// Presses `key` on the control that has the focus.
// The shown controls that take the focus yet have no name, as a screen reader walks the window's
// accessible tree (their object names); and, in `fields`, every shown text field it meets.
inline QStringList namelessFocusable(QWidget* window, QStringList* fields = nullptr) {
    QStringList nameless;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node, int depth) {
        if (node == nullptr || depth > 30) {
            return;
        }
        const QAccessible::State state = node->state();
        auto* widget = qobject_cast<QWidget*>(node->object());
        if (!state.invisible && widget != nullptr && widget->isVisible()) {
            if (state.focusable && node->text(QAccessible::Name).trimmed().isEmpty()) {
                nameless << widget->objectName();
            }
            if (fields != nullptr && node->role() == QAccessible::EditableText) {
                *fields << widget->objectName();
            }
        }
        for (int i = 0; i < node->childCount(); ++i) {
            walk(node->child(i), depth + 1);
        }
    };
    walk(QAccessible::queryAccessibleInterface(window), 0);
    return nameless;
}

inline void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace kivo::test
