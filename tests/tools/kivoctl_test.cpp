#include "jsoncommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kivo::tools {
namespace {

struct CommandRun {
    int status;
    std::string output;
};

CommandRun runJson(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    const int status = runJsonCommand(in, out);
    return {status, out.str()};
}

TEST(KivoctlJson, PrintsTheTreeThenTheLogAsKept) {
    const CommandRun run = runJson("{\"name\":\"首页\",\"b\":tru}");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "{\"name\":\"\\u9996\\u9875\",\"b\":false,\"tru}\":}\n"
                          "Invalid Boolean at position 18 : tru}\r\n"
                          "Missing '}': \"name\":\"首页\",\"b\":tru}\r\n");
}

TEST(KivoctlJson, NothingGivesAnEmptyLineAndStatusOne) {
    const CommandRun run = runJson("  42 ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "\nInvalid JSON");
}

} // namespace
} // namespace kivo::tools
