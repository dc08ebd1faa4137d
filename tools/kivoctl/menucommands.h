#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kivo::tools {

/// kivoctl menu --config FILE [--base-url URL] [--size W,H] STEP...: runs the steps through the
/// menu model and prints what each does and where everything stands after it.
int runMenuCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// kivoctl icon [--base-url URL] [--app-dir DIR] PATH...: fetches menu icons through the cache.
int runIconCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kivo::tools
