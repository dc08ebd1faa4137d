#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kivo::tools {

// `kivoctl request [--base-url URL] PATH...`: sends each path over the one client, in order, and
// prints the JSON text of the answer (or "nothing"), then "cookie NAME=VALUE" for each cookie the
// hand-off stores.
int runRequestCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `kivoctl config [--base-url URL] [--app-dir DIR]`: the start-up's configuration download with
// the stored stamp, then the run-parameter file as it stands.
int runConfigCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kivo::tools
