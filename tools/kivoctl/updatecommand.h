#pragma once

#include "platform/packages/packageversions.h"

#include <ostream>
#include <string>
#include <vector>

namespace kivo::tools {

/// kivoctl update-check: what Kivo knows of its versions, as two lines: "installed VERSION" (or
/// "installed none") and "available VERSION" when the package sources offer a newer one (else
/// "available none").
int runUpdateCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
void printUpdateCheck(const platform::PackageVersions& versions, std::ostream& out);

} // namespace kivo::tools
