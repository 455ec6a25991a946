// How long switching the kill switch on takes with long allowed-address lists:
// the atomic restore load that the daemon uses, against the same rules as
// separate iptables calls. Target: under 100 ms for 5,000 addresses.
//
// The process first moves itself into a new network and mount namespace, so
// the rules it loads can never reach the machine's own network.
#include "firewall.h"
#include "firewallrunner.h"
#include "managementportguards.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <net/if.h>
#include <sched.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string addressList(int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i)
            s += ';';
        s += "198.18." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
    }
    return s;
}

bool onlyLoopback()
{
    struct if_nameindex* names = if_nameindex();
    if (!names)
        return false;
    bool only = true;
    for (struct if_nameindex* n = names; n->if_index != 0; ++n)
        only = only && std::strcmp(n->if_name, "lo") == 0;
    if_freenameindex(names);
    return only;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The same rules as the kill switch, one iptables process per rule.
std::string separateCallsScript(const std::vector<std::string>& addresses)
{
    std::string s = "set -e\n";
    s += "iptables -A FORWARD -i lo -j ACCEPT\niptables -A INPUT -i lo -j ACCEPT\niptables -A OUTPUT -o lo "
         "-j ACCEPT\n";
    s += "iptables -A FORWARD -i tun0 -j ACCEPT\niptables -A INPUT -i tun0 -j ACCEPT\n"
         "iptables -A OUTPUT -o tun0 -j ACCEPT\n";
    for (const auto& a : addresses)
        s += "iptables -A OUTPUT -d " + a + " -j ACCEPT\niptables -A INPUT -s " + a + " -j ACCEPT\n";
    s += "iptables -P INPUT DROP\niptables -P OUTPUT DROP\niptables -P FORWARD DROP\n";
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const bool skipSeparate = argc > 1 && std::strcmp(argv[1], "--skip-separate") == 0;
    if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0 || !onlyLoopback()) {
        std::perror("bench_firewall: cannot enter a private network namespace (run as root)");
        return 1;
    }
    char dirTemplate[] = "/tmp/kestrova-bench-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    auto runner = std::make_shared<SystemFirewallRunner>(120000);
    FireWall fw(dir, runner, false);
    fw.setInterfaceToSkip("tun0");
    fw.reset();

    std::printf("%-10s %22s %26s\n", "addresses", "firewallOn (restore)", "separate iptables calls");
    for (int count : {100, 1000, 5000}) {
        const std::string list = addressList(count);
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i) {
            const auto start = Clock::now();
            const bool ok = fw.firewallOn(list, true, false, false, true);
            runs.push_back(ms(Clock::now() - start));
            if (!ok || !fw.firewallOff()) {
                std::fprintf(stderr, "bench_firewall: the kill switch failed to load\n");
                return 1;
            }
        }

        std::string separate = "skipped";
        if (!skipSeparate) {
            std::vector<std::string> addresses;
            for (size_t p = 0, e; p <= list.size(); p = e + 1) {
                e = list.find(';', p);
                e = e == std::string::npos ? list.size() : e;
                addresses.push_back(list.substr(p, e - p));
            }
            const std::string script = dir + "/separate.sh";
            std::ofstream(script) << separateCallsScript(addresses);
            const auto start = Clock::now();
            const int status = runner->run({"sh", script}, {}, {}, nullptr);
            const double t = ms(Clock::now() - start);
            separate = status == 0 ? std::to_string(static_cast<long>(t)) + " ms" : "failed";
            fw.reset();
        }
        std::printf("%-10d %19.1f ms %26s\n", count, median(runs), separate.c_str());
        std::fflush(stdout);
    }

    // The two firewall steps of every connect: the management port's guard
    // (a new port each time) and closing DNS once connected. Timed with the
    // real programs, then counted with stand-ins first in PATH that note
    // each start of iptables or iptables-restore.
    ManagementPortGuards guards(runner, dir + "/guards");
    int port = 40000;
    const auto connectSteps = [&](std::vector<double>* guard, std::vector<double>* dns) {
        std::string why;
        auto start = Clock::now();
        if (!guards.reserve(++port, 1000, &why)) {
            std::fprintf(stderr, "bench_firewall: guard: %s\n", why.c_str());
            return false;
        }
        guard->push_back(ms(Clock::now() - start));
        guards.attach(port, 1000, getpid());
        if (!fw.firewallChange("203.0.113.10", true, false, false, false))
            return false;
        start = Clock::now();
        const bool ok = fw.firewallChange("203.0.113.10", true, false, false, true);
        dns->push_back(ms(Clock::now() - start));
        return ok;
    };
    std::vector<double> guard, dns;
    for (int i = 0; i < 20; ++i) {
        if (!connectSteps(&guard, &dns)) {
            std::fprintf(stderr, "bench_firewall: a connect step failed\n");
            return 1;
        }
    }
    const std::string shims = dir + "/shims";
    mkdir(shims.c_str(), 0700);
    for (const char* name : {"iptables", "iptables-restore"}) {
        const std::string path = shims + "/" + name;
        std::ofstream(path) << "#!/bin/sh\necho " << name << " >>" << shims << "/log\nexec /usr/sbin/" << name
                            << " \"$@\"\n";
        chmod(path.c_str(), 0755);
    }
    const char* path = getenv("PATH");
    setenv("PATH", (shims + ":" + (path ? path : "/usr/sbin:/usr/bin:/sbin:/bin")).c_str(), 1);
    const auto started = [&]() {
        std::ifstream in(shims + "/log");
        int n = 0;
        for (std::string line; std::getline(in, line);)
            ++n;
        unlink((shims + "/log").c_str());
        return n;
    };
    // The guard's count alone, then the DNS opening and closing of a connect.
    std::string why;
    guards.reserve(++port, 1000, &why);
    const int guardStarts = started();
    guards.attach(port, 1000, getpid());
    fw.firewallChange("203.0.113.10", true, false, false, false);
    started();
    fw.firewallChange("203.0.113.10", true, false, false, true);
    const int dnsStarts = started();
    std::printf("management-port guard, new port: median %.1f ms, %d program(s)\n", median(guard),
                guardStarts);
    std::printf("DNS closed after connecting:     median %.1f ms, %d program(s)\n", median(dns), dnsStarts);
    fw.firewallOff();

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
