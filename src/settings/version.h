#pragma once

#include "chrome/ashadow.h"
#include "chrome/form.h"
#include "settings/updatetexts.h"

#include <memory>

namespace kivo::settings {

/// The about window: which version is in use, and whether a newer one is out, as the system's
/// package manager says (never the service).
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
    void ShowUpdateTexts(const UpdateTexts& texts);

    std::unique_ptr<chrome::aShadow> shadow_;
};

} // namespace kivo::settings
