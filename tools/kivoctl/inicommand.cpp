#include "inicommand.h"

#include "startup/runparameters.h"

#include <ostream>

namespace kivo::tools {

int runIniCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 4 && args[0] == "get") {
        out << startup::ReadIniValue(args[1], args[2], args[3]) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[0] == "set") {
        if (startup::WriteIniValue(args[1], args[2], args[3], args[4]) == 0) {
            err << "kivoctl: cannot write " << args[1] << '\n';
            return 1;
        }
        return 0;
    }
    err << "usage: kivoctl ini get FILE SECTION KEY\n       kivoctl ini set FILE SECTION KEY VALUE\n";
    return 2;
}

} // namespace kivo::tools
