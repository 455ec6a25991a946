#include "processinfo.h"

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

std::optional<unsigned long long> processStartTime(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    const size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string state;
    fields >> state;
    std::string skipped;
    // From the state (field 3) to the start time (field 22).
    for (int field = 4; field < 22; ++field) {
        fields >> skipped;
    }
    unsigned long long started = 0;
    if (!(fields >> started) || state == "Z") {
        return std::nullopt;
    }
    return started;
}

namespace {

bool isRunning(pid_t pid, unsigned long long started)
{
    const auto now = processStartTime(pid);
    return now && *now == started;
}

bool endedWithin(pid_t pid, unsigned long long started, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (isRunning(pid, started)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace

bool stopProcess(pid_t pid, unsigned long long started, std::chrono::milliseconds grace)
{
    if (pid <= 0 || !isRunning(pid, started)) {
        return true;
    }
    kill(pid, SIGTERM);
    if (endedWithin(pid, started, grace)) {
        return true;
    }
    if (isRunning(pid, started)) {
        kill(pid, SIGKILL);
    }
    return endedWithin(pid, started, std::chrono::milliseconds(1000));
}
