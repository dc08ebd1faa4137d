#pragma once

class QMenu;

namespace kivo::chrome {

/// Gives a pop-up menu the windows' looks: white, roomy rows, the brand blue under the mouse.
void DressMenu(QMenu* menu);

} // namespace kivo::chrome
