// kivoctl: the maintainer's diagnostics tool.
#include "jsoncommand.h"

#include <cstring>
#include <iostream>

namespace {

constexpr const char* kUsage = "usage: kivoctl COMMAND [ARGS...]\n"
                               "\n"
                               "commands:\n"
                               "  json    parse JSON from standard input; print its JSON text and the parser's log\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::cout << kUsage;
        return argc < 2 ? 2 : 0;
    }
    const std::string command = argv[1];
    if (command == "json") {
        std::ios::sync_with_stdio(false);
        return kivo::tools::runJsonCommand(std::cin, std::cout);
    }
    std::cerr << "kivoctl: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
