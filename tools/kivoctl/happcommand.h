#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kivo::tools {

// `kivoctl happ [--base-url URL] [--origin ORIGIN] URL...`: runs each address through the page
// bridge's interception, in one engine, with a recording "MyCMD", as a frame of ORIGIN (default:
// the base address's origin) sends it. Per address: one line "CMD" + TAB-separated JSON texts
// of the six arguments per call, then "ok", "error NUMBER: DESCRIPTION", "refused" when the
// origin may not send commands, or "pass" when the address is not intercepted.
int runHappCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kivo::tools
