#include "chrome/keyboardaccess.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace kivo::chrome {

namespace {

constexpr const char* kRole = "kivoAccessibleRole";
constexpr const char* kSelected = "kivoSelected";
constexpr const char* kActionable = "kivoActionable";
constexpr const char* kOwnMark = "kivoOwnFocusMark";
constexpr const char* kLeftOut = "kivoLeftOutOfAccessibleTree";
constexpr const char* kHasLeftOut = "kivoHasLeftOutChildren";
const QColor kAccent(0x1B, 0x9B, 0xEA);

bool isDrawnControl(const QObject* object) {
    return object->inherits("kivo::chrome::ImageControl") || object->inherits("kivo::chrome::ClickLabel") ||
           object->inherits("kivo::chrome::PictureBox");
}

// The children a screen reader meets: every child widget but those left out of its tree.
QList<QWidget*> accessibleChildren(const QWidget* parent) {
    QList<QWidget*> children;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && !child->isWindow() && !child->property(kLeftOut).toBool()) {
            children << child;
        }
    }
    return children;
}

// A control whose tree leaves out some of its children.
class PanelAccessible : public QAccessibleWidget {
public:
    PanelAccessible(QWidget* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}
    int childCount() const override { return static_cast<int>(accessibleChildren(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = accessibleChildren(widget());
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr ? -1
                                : static_cast<int>(accessibleChildren(widget()).indexOf(
                                      qobject_cast<QWidget*>(child->object())));
    }
};

// What is left out, should a screen reader come to it all the same: nothing to read or to focus.
class LeftOutAccessible : public QAccessibleWidget {
public:
    explicit LeftOutAccessible(QWidget* control) : QAccessibleWidget(control, QAccessible::NoRole) {}
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }
    QString text(QAccessible::Text) const override { return {}; }
    int childCount() const override { return 0; }
};

// What a screen reader sees of a drawn control: the role and name it was given, whether it is
// selected, and a press that acts as a click.
class DrawnControlAccessible : public PanelAccessible {
public:
    explicit DrawnControlAccessible(QWidget* control)
        : PanelAccessible(control, static_cast<QAccessible::Role>(control->property(kRole).isValid()
                                                                      ? control->property(kRole).toInt()
                                                                      : QAccessible::Graphic)) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (widget()->property(kSelected).isValid()) {
            s.selectable = true;
            s.selected = widget()->property(kSelected).toBool();
        }
        return s;
    }
    QStringList actionNames() const override {
        return widget()->property(kActionable).toBool() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->property(kActionable).toBool()) {
            QMetaObject::invokeMethod(widget(), "Activate");
        }
    }
};

QAccessibleInterface* drawnControlFactory(const QString&, QObject* object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (isDrawnControl(object) && object->property(kRole).isValid()) {
        return new DrawnControlAccessible(widget);
    }
    if (object->property(kLeftOut).toBool()) {
        return new LeftOutAccessible(widget);
    }
    if (object->property(kHasLeftOut).toBool()) {
        return new PanelAccessible(widget, QAccessible::Client);
    }
    return nullptr;
}

// The outline around the control with the focus, on top of its window and letting the mouse
// through; shown only after the keyboard moved the focus.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget* window) : QWidget(window) {
        setObjectName("focusMark");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }
    void follow(QWidget* control) {
        target_ = control;
        place();
        show();
        raise();
    }
    void place() {
        if (!target_) {
            hide();
            return;
        }
        const QRect area(target_->mapTo(parentWidget(), QPoint(0, 0)), target_->size());
        setGeometry(area.adjusted(-3, -3, 3, 3).intersected(parentWidget()->rect()));
    }
    QWidget* target() const { return target_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
        // White inside the accent line, so that the mark shows on the blue header too.
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
        painter.setPen(QPen(kAccent, 2));
        painter.drawRoundedRect(outer, 3, 3);
    }

private:
    QPointer<QWidget> target_;
};

// The window's mark, when the keyboard has shown one there.
FocusMark* markIn(const QWidget* window) {
    return static_cast<FocusMark*>(window->findChild<QWidget*>("focusMark", Qt::FindDirectChildrenOnly));
}

// Watches focus and key events application-wide: keyboard focus moves show the mark, mouse
// presses and other focus moves hide it; Enter and Space act on actionable drawn controls.
class KeyboardWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::FocusIn: {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool keyboard =
                reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
            if (keyboard && !widget->property(kOwnMark).toBool() && widget->window() != widget) {
                FocusMark* mark = markIn(widget->window());
                (mark != nullptr ? mark : new FocusMark(widget->window()))->follow(widget);
            } else {
                hideMark(widget->window());
            }
            break;
        }
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason) {
                hideMark(widget->window());
            }
            break;
        case QEvent::MouseButtonPress:
            hideMark(widget->window());
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Hide:
            if (FocusMark* mark = markIn(widget->window()); mark && mark->isVisible() && mark->target() == widget) {
                event->type() == QEvent::Hide ? mark->hide() : mark->place();
            }
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool press =
                key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
            if (press && key->modifiers() == Qt::NoModifier && widget->property(kActionable).toBool() &&
                isDrawnControl(widget)) {
                QMetaObject::invokeMethod(widget, "Activate");
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    static void hideMark(const QWidget* window) {
        if (FocusMark* mark = markIn(window)) {
            mark->hide();
        }
    }
};

} // namespace

void InstallKeyboardAccess() {
    static bool installed = false;
    if (installed || QCoreApplication::instance() == nullptr) {
        return;
    }
    installed = true;
    QAccessible::installFactory(drawnControlFactory);
    auto* watcher = new KeyboardWatcher;
    watcher->setParent(QCoreApplication::instance()); // goes with the application
    QCoreApplication::instance()->installEventFilter(watcher);
}

void MakeActionable(QWidget* control, const QString& name, QAccessible::Role role) {
    InstallKeyboardAccess();
    control->setFocusPolicy(Qt::TabFocus);
    control->setProperty(kActionable, true);
    Describe(control, name, role);
}

void Describe(QWidget* control, const QString& name, QAccessible::Role role) {
    InstallKeyboardAccess();
    control->setProperty(kRole, static_cast<int>(role));
    control->setAccessibleName(name);
}

void LeaveOutOfAccessibleTree(QWidget* control) {
    InstallKeyboardAccess();
    control->setProperty(kLeftOut, true);
    control->setFocusPolicy(Qt::NoFocus);
    if (QWidget* parent = control->parentWidget()) {
        parent->setProperty(kHasLeftOut, true);
    }
}

void PresentAsPicture(QWidget* browser, const QString& name) {
    // The engine's own accessible view would bring the page's unnamed document along: the
    // browser is left out and the panel holding it carries the picture's name.
    LeaveOutOfAccessibleTree(browser);
    browser->setAccessibleName(name);
    if (QWidget* panel = browser->parentWidget()) {
        Describe(panel, name, QAccessible::Pane);
    }
}

void SetSelected(QWidget* control, bool selected) {
    const QVariant before = control->property(kSelected);
    control->setProperty(kSelected, selected);
    if (before.isValid() && before.toBool() == selected) {
        return;
    }
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(control, changed);
    QAccessible::updateAccessibility(&event);
}

void AnnounceAlert(QWidget* control) {
    QAccessibleEvent event(control, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

bool IsSelected(const QWidget* control) {
    return control->property(kSelected).toBool();
}

void KeepOwnFocusMark(QWidget* control) {
    control->setProperty(kOwnMark, true);
}

void SetTabOrder(const QList<QWidget*>& order) {
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void FocusByKeyboard(QWidget* control) {
    control->setFocus(Qt::TabFocusReason);
}

void CloseOnEscape(QWidget* window, std::function<void()> close) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(close));
}

void PassFocus(QWidget* control) {
    const FocusMark* mark = markIn(control->window());
    control->setFocus(mark != nullptr && mark->isVisible() ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

} // namespace kivo::chrome
