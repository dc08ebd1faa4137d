#include "tray/trayform.h"

namespace kivo::tray {

TrayForm::TrayForm() : Form("tray_form", Qt::Tool) {
    setWindowTitle("Kivo");
}

} // namespace kivo::tray
