#include "chrome/menustyle.h"

#include "chrome/fonts.h"

#include <QMenu>

namespace kivo::chrome {

void DressMenu(QMenu* menu) {
    menu->setFont(WindowFont(kYaHei, 9));
    menu->setStyleSheet("QMenu { background: white; border: 1px solid #DDE3EA; padding: 4px 0; }"
                        "QMenu::item { padding: 6px 28px 6px 14px; color: #333333; }"
                        "QMenu::item:selected { background: #E6F4FD; color: #127FC2; }"
                        "QMenu::icon { padding-left: 10px; }"
                        "QMenu::separator { height: 1px; background: #EDEDED; margin: 4px 10px; }");
}

} // namespace kivo::chrome
