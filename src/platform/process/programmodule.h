#pragma once

#include <QString>

class QLibrary;

namespace kivo::platform {

/// @brief Loads the program's module `name` (without its suffix) from beside the program (a build
/// folder) or from the library folder of an installation (../lib/kivo); null when neither loads.
/// The module stays loaded for the rest of the run.
QLibrary* LoadProgramModule(const QString& name);

} // namespace kivo::platform
