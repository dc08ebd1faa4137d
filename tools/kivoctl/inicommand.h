#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kivo::tools {

// `kivoctl ini get FILE SECTION KEY` prints the value and a newline;
// `kivoctl ini set FILE SECTION KEY VALUE` writes it. 0 on success, 1 when the write failed,
// 2 for wrong arguments.
int runIniCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kivo::tools
