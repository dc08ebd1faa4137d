#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kivo::tools {

// `kivoctl happ URL...`: runs each address through the page bridge's interception, in one
// engine, with a recording "MyCMD". Per address: one line "CMD" + TAB-separated JSON texts of
// the six arguments per call, then "ok", "error NUMBER: DESCRIPTION", or "pass" when the address
// is not intercepted.
int runHappCommand(const std::vector<std::string>& urls, std::ostream& out);

} // namespace kivo::tools
