#pragma once

#include "chrome/ashadow.h"
#include "chrome/form.h"

#include <memory>

namespace kivo::settings {

/// The about window: which version is in use, and that it is the latest. It asks the service
/// nothing; its texts are fixed.
class version : public chrome::Form {
    Q_OBJECT
public:
    /// Shows the one about window, loading it first when it is not loaded; `owner` may be null
    /// (the tray menu) or the main window.
    static version* Show(QWidget* owner = nullptr);
    static version* Existing();

protected:
    version();
    void onLoad() override;
    void onUnload() override;
    void onCloseRequested() override { Close(); }

private:
    void build();
    void Close();

    std::unique_ptr<chrome::aShadow> shadow_;
};

} // namespace kivo::settings
