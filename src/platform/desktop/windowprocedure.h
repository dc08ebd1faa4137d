#pragma once

#include "platform/desktop/windowmessage.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace kivo::platform {

/// @brief Turns a top-level widget's Qt events into the window messages the window code works
/// with and hands each to a procedure, as a subclassed window procedure would see them:
/// move, resize, show and hide as WM_WINDOWPOSCHANGED; resize and minimise/restore as WM_SIZE;
/// screen changes as WM_DISPLAYCHANGE; style and palette changes as WM_THEMECHANGED.
///
/// The procedure gets the message and a function that runs the widget's own handling of the
/// event (the previous procedure) and returns its result; a procedure that does not call it
/// swallows the event.
class WindowProcedure : public QObject {
    Q_OBJECT
public:
    using CallPrevious = std::function<std::intptr_t()>;
    using Procedure = std::function<std::intptr_t(const WindowMessage&, const CallPrevious&)>;

    WindowProcedure(QWidget* window, Procedure procedure);
    ~WindowProcedure() override;

    static WindowHandle handleOf(const QWidget* window) { return reinterpret_cast<WindowHandle>(window); }
    /// @brief The live top-level widget behind a handle, or null.
    static QWidget* windowOf(WindowHandle handle);

    /// @brief Delivers a screen colour-depth change, which Qt has no event for.
    void displayChanged();

    /// @brief Gives the window back its own handling at once and deletes this object later.
    void detach();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Passes one message through the procedure; `previous` is what runs when the procedure calls
    // the previous procedure.
    std::intptr_t deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, const CallPrevious& previous);
    // Lets the widget handle `event` itself, past this filter.
    std::intptr_t handOn(QWidget* target, QEvent* event);
    WindowPos placement(unsigned flags) const;

    QPointer<QWidget> window_;
    Procedure procedure_;
    QEvent* passing_ = nullptr; // the event being handed on, which this filter lets through
};

} // namespace kivo::platform
