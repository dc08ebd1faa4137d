#include "updatecommand.h"

namespace kivo::tools {

void printUpdateCheck(const platform::PackageVersions& versions, std::ostream& out) {
    out << "installed " << (versions.installed.empty() ? "none" : versions.installed) << "\n"
        << "available " << (versions.available.empty() ? "none" : versions.available) << "\n";
}

int runUpdateCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "usage: kivoctl update-check\n";
        return 2;
    }
    printUpdateCheck(platform::PackageVersions::AskNow(), out);
    return 0;
}

} // namespace kivo::tools
