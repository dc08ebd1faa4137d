#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace kivo::chrome {

/// Makes a drawn control (image control, click label, picture box) usable from the keyboard
/// and by a screen reader: Tab reaches it (a mouse click does not move the focus to it, so the
/// mouse works as before), Enter and Space act as a click, and it has an accessible name and
/// role with a press action.
void MakeActionable(QWidget* control, const QString& name, QAccessible::Role role = QAccessible::Button);

/// Gives a control a person reads, or an area, an accessible name and role; it takes no focus.
void Describe(QWidget* control, const QString& name, QAccessible::Role role);

/// Leaves a control that only dresses another (a hint over an input box) out of what a screen
/// reader meets: its parent does not list it and it takes no focus. The mouse sees it as before.
void LeaveOutOfAccessibleTree(QWidget* control);

/// A browser that only shows a picture (a QR code): a screen reader meets its panel under the
/// picture's name, not an unnamed page.
void PresentAsPicture(QWidget* browser, const QString& name);

/// Marks a tab or menu item as the selected one (or not) for a screen reader.
void SetSelected(QWidget* control, bool selected);
bool IsSelected(const QWidget* control);

/// A control that draws its own focus (a browser page): the mark stays off it.
void KeepOwnFocusMark(QWidget* control);

/// Tab goes through `order` in its order.
void SetTabOrder(const QList<QWidget*>& order);

/// Tells a screen reader that `control` appeared as an alert (an error strip).
void AnnounceAlert(QWidget* control);

/// Moves the focus to `control` as the keyboard does, so that the focus mark shows.
void FocusByKeyboard(QWidget* control);

/// Moves the focus to `control` on the program's own account (after a tab switch): with the
/// mark when the keyboard was in use in that window, without it otherwise.
void PassFocus(QWidget* control);

/// Escape closes `window` as its close button does.
void CloseOnEscape(QWidget* window, std::function<void()> close);

/// Installs, once, what the above rely on: the accessibility of the drawn controls and the
/// focus mark, a thin outline in the accent colour around the control that has the focus,
/// drawn only when the keyboard moved the focus there.
void InstallKeyboardAccess();

} // namespace kivo::chrome
