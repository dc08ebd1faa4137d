#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kivo::tools {

/// kivoctl autostart enable|disable|status [--exe PATH]: the session autostart entry, through
/// the same code as the settings window. 0 on success, 1 when it failed, 2 for wrong arguments.
int runAutostartCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kivo::tools
