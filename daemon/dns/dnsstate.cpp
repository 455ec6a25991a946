#include "dnsstate.h"

#include "resolvconffile.h"

#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool DnsState::lock(bool wait)
{
    if (lockFd >= 0) {
        return true;
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    // The folder itself is the lock: nothing is left in it once every
    // tunnel is down.
    lockFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (lockFd < 0) {
        return false;
    }
    while (flock(lockFd, wait ? LOCK_EX : LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            close(lockFd);
            lockFd = -1;
            return false;
        }
    }
    return true;
}

void DnsState::unlock()
{
    if (lockFd >= 0) {
        close(lockFd);
        lockFd = -1;
    }
}

bool DnsState::writeRecord(const std::string& device, const TunnelRecord& record)
{
    std::string text = "backend " + record.backend + "\n";
    for (const std::string& server : record.dns.servers) {
        text += "server " + server + "\n";
    }
    for (const std::string& domain : record.dns.domains) {
        text += "domain " + domain + "\n";
    }
    mkdir(folder.c_str(), 0700);
    return writeFileAtomically(recordPath(device), text, 0600);
}

std::optional<TunnelRecord> DnsState::readRecord(const std::string& device) const
{
    const std::optional<std::string> text = readWholeFile(recordPath(device));
    if (!text) {
        return std::nullopt;
    }
    TunnelRecord record;
    std::istringstream lines(*text);
    std::string key;
    std::string value;
    while (lines >> key >> value) {
        if (key == "backend") {
            record.backend = value;
        } else if (key == "server" && isNameServerAddress(value)) {
            record.dns.servers.push_back(value);
        } else if (key == "domain" && isSearchDomain(value)) {
            record.dns.domains.push_back(value);
        }
    }
    if (record.backend.empty()) {
        return std::nullopt;
    }
    return record;
}

void DnsState::removeRecord(const std::string& device)
{
    unlink(recordPath(device).c_str());
}

pid_t DnsState::guardPid(const std::string& device) const
{
    const std::optional<std::string> text = readWholeFile(guardPath(device));
    if (!text) {
        return 0;
    }
    char* end = nullptr;
    const long pid = std::strtol(text->c_str(), &end, 10);
    return pid > 1 && pid < (1L << 22) ? static_cast<pid_t>(pid) : 0;
}

bool DnsState::setGuardPid(const std::string& device, pid_t pid)
{
    return writeFileAtomically(guardPath(device), std::to_string(pid) + "\n", 0600);
}

void DnsState::clearGuardPid(const std::string& device)
{
    unlink(guardPath(device).c_str());
}
