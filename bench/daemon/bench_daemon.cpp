// Usage (root): bench_daemon [PATH-TO-KESTROVAD] [ROUNDS]
// Targets: a round trip under 1 ms, resident memory under 4 MiB per process.
#include "support/daemonharness.h"
#include "support/packetbuilder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

long residentKiB(pid_t pid)
{
    const std::string status = harness::readFile("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : atol(status.c_str() + at + 6);
}

} // namespace

int main(int argc, char** argv)
{
    std::string program = argc > 1 ? argv[1] : KESTROVAD_PROGRAM;
    const int rounds = argc > 2 ? atoi(argv[2]) : 2000;
    if (geteuid() != 0) {
        fprintf(stderr, "bench_daemon: run as root (it uses private namespaces)\n");
        return 2;
    }
    // The namespace's own /tmp hides a daemon built under /tmp: it is run
    // from a copy.
    if (!harness::enterPrivateNamespaces(&program)) {
        return 1;
    }
    harness::Daemon daemon(program);
    if (!daemon.start()) {
        fprintf(stderr, "bench_daemon: the daemon did not start\n");
        return 1;
    }
    const auto packet = makePacket(AA_COMMAND_FIREWALL_SUPPORTED);
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(rounds));
    int failures = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        const auto reply = harness::exchange(*packet);
        const auto end = std::chrono::steady_clock::now();
        if (!reply || reply->result != 1) {
            ++failures;
            continue;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&micros](double q) {
        return micros.empty() ? 0.0 : micros[static_cast<size_t>(q * static_cast<double>(micros.size() - 1))];
    };
    printf("command 5 round trip over %zu exchanges (%d failed): median %.1f us, p90 %.1f us, p99 %.1f us "
           "(target < 1000 us)\n",
           micros.size(), failures, at(0.5), at(0.9), at(0.99));
    printf("resident memory: monitor %ld KiB, worker %ld KiB (target < 4096 KiB)\n",
           residentKiB(daemon.monitorPid()), residentKiB(daemon.workerPid()));
    daemon.stop();
    return 0;
}
