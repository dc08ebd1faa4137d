// kivoctl: the maintainer's diagnostics tool.
#include "autostartcommand.h"
#include "happcommand.h"
#include "inicommand.h"
#include "jsoncommand.h"
#include "menucommands.h"
#include "servicecommands.h"
#include "updatecommand.h"

#include <QCoreApplication>

#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: kivoctl COMMAND [ARGS...]\n"
    "\n"
    "commands:\n"
    "  json                      parse JSON from standard input; print its JSON text and the\n"
    "                            parser's log\n"
    "  ini get FILE SECTION KEY  print a value of an INI file\n"
    "  ini set FILE SECTION KEY VALUE\n"
    "                            write a value into an INI file\n"
    "  request [--base-url URL] [--proxy URL|none] [--ca-file FILE] PATH...\n"
    "                            send service requests as the program would; print each\n"
    "                            answer and the cookies handed to the browser (the proxy and\n"
    "                            the authorities used go to standard error)\n"
    "  happ [--base-url URL] [--origin ORIGIN] URL...\n"
    "                            run page addresses through the page bridge as a frame of\n"
    "                            ORIGIN sends them; print the commands they send, or refused\n"
    "  config [--base-url URL] [--app-dir DIR]\n"
    "                            download the menu configuration as start-up does; print the\n"
    "                            run-parameter file\n"
    "  menu --config FILE [--base-url URL] [--size W,H] STEP...\n"
    "                            run menu steps (build, top:I, left:I, hover, toggle,\n"
    "                            cmd:WORD[:ARG], resize:W,H) through the menu model; print\n"
    "                            what each does and the state after it\n"
    "  icon [--base-url URL] [--app-dir DIR] PATH...\n"
    "                            fetch menu icons through the icon cache; print the outcome\n"
    "                            and the local file of each\n"
    "  autostart enable|disable|status [--exe PATH]\n"
    "                            the entry that starts PATH (default: this program) with the\n"
    "                            desktop session\n"
    "  update-check              the installed version and the newer one the package sources\n"
    "                            offer: \"installed VERSION|none\", \"available VERSION|none\"\n";

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
    const std::vector<std::string> rest(argv + 2, argv + argc);
    // The network commands may read the desktop's proxy settings through Qt, which needs an
    // application object on newer Qt versions (else it warns on the error output); the update
    // check asks where the program runs from.
    std::optional<QCoreApplication> app;
    if (command == "request" || command == "config" || command == "icon" || command == "update-check") {
        app.emplace(argc, argv);
    }
    if (command == "ini") {
        return kivo::tools::runIniCommand(rest, std::cout, std::cerr);
    }
    if (command == "request") {
        return kivo::tools::runRequestCommand(rest, std::cout, std::cerr);
    }
    if (command == "happ") {
        return kivo::tools::runHappCommand(rest, std::cout, std::cerr);
    }
    if (command == "update-check") {
        return kivo::tools::runUpdateCheckCommand(rest, std::cout, std::cerr);
    }
    if (command == "autostart") {
        return kivo::tools::runAutostartCommand(rest, std::cout, std::cerr);
    }
    if (command == "menu") {
        return kivo::tools::runMenuCommand(rest, std::cout, std::cerr);
    }
    if (command == "icon") {
        return kivo::tools::runIconCommand(rest, std::cout, std::cerr);
    }
    if (command == "config") {
        return kivo::tools::runConfigCommand(rest, std::cout, std::cerr);
    }
    std::cerr << "kivoctl: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
