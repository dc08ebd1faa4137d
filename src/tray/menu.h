#pragma once

#include "chrome/form.h"

#include <QMenu>

#include <functional>

namespace kivo::tray {

/// The hidden window that owns the main window's drop-down menu (menu): settings, the about
/// window, exit, the consultant, the forum and the website.
class menu : public chrome::Form {
    Q_OBJECT
public:
    /// The one menu window, loaded on first use.
    static menu* Instance();

    /// How "设置" and "检测更新" show their windows, owned by `owner` (main.cpp installs both).
    static void SetShowSettings(std::function<void(QWidget* owner)> show);
    static void SetShowAbout(std::function<void(QWidget* owner)> show);

    QMenu* men() const { return men_; }
    /// Pops the menu up with its top-left corner at `position` (screen pixels).
    void Popup(const QPoint& position);

    /// The consultant's QQ number from the service's answer, or empty when it is not a whole
    /// number or 5 to 12 ASCII digits.
    static QString ConsultantNumber();

protected:
    menu();
    void onLoad() override;

private:
    void Consultant();

    QMenu* men_ = nullptr;
};

} // namespace kivo::tray
