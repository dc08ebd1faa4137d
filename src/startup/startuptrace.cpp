#include "startup/startuptrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace kivo::startup {

namespace {

// Milliseconds since boot at which a process started (/proc/PID/stat's start time); -1 when unknown.
double processStartMs(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')'); // the command name may hold spaces
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) {
            return std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
        }
    }
    return -1;
}

double sinceBootMs() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

void Trace(const char* stage) {
    static const bool on = std::getenv("KIVO_STARTUP_TRACE") != nullptr;
    if (!on) {
        return;
    }
    static const double start = processStartMs("self");
    std::fprintf(stderr, "kivo startup: %.0f %s\n", sinceBootMs() - start, stage);
}

double SinceStartOf(int pid) {
    const double start = processStartMs(std::to_string(pid));
    return start < 0 ? -1 : sinceBootMs() - start;
}

} // namespace kivo::startup
