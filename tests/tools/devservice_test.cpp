// The stand-in service's own start: a data file it cannot use is named in one line, with status 2.
#include "tempfolder.h"
#include "workbenchservice.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace kivo::devservice {
namespace {

// The program's error output and exit status for a data folder.
std::pair<std::string, int> start(const std::filesystem::path& data) {
    const std::string command = std::string(KIVO_DEVSERVICE_BINARY) + " --port 0 --data '" + data.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe) != nullptr) {
        output += chunk.data();
    }
    const int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(StandInService, ADataFileItCannotUseIsNamedInOneLine) {
    test::TempFolder folder{"devservice-data"};
    const std::string file = (folder.path() / "workbench.json").string();
    EXPECT_EQ(start(folder.path()), std::make_pair("kivo-devservice: cannot read its data file " + file + "\n", 2));

    std::ofstream(folder.path() / "workbench.json") << "{\"config\": ";
    const auto [output, status] = start(folder.path());
    EXPECT_EQ(status, 2);
    EXPECT_EQ(output.rfind("kivo-devservice: its data file " + file + " is not JSON: ", 0), 0u) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;

    EXPECT_EQ(WorkbenchService(KIVO_DEVSERVICE_DATA).dataProblem(), "") << "the bundled data is read";
}

} // namespace
} // namespace kivo::devservice
