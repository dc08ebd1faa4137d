#pragma once

#include "chrome/form.h"

namespace kivo::tray {

/// The hidden window that keeps the program alive between windows (tray_form). Its icon and
/// menu arrive with the notification-area work.
class TrayForm : public chrome::Form {
    Q_OBJECT
public:
    TrayForm();
};

} // namespace kivo::tray
