// What kestrova-dns keeps under its state folder (/run/kestrova) between
// the up, the guard and the down of one tunnel: which backend was applied,
// the guard's pid, and one lock (on the folder) that orders them all, so a down that runs
// while the guard acts, or an up that follows a down at once, never sees a
// half-applied setting.
#pragma once

#include "tunneldns.h"

#include <optional>
#include <string>
#include <sys/types.h>

struct TunnelRecord
{
    std::string backend;
    DnsSettings dns;
};

class DnsState
{
public:
    explicit DnsState(std::string folder = "/run/kestrova") : folder(std::move(folder)) {}

    const std::string& path() const { return folder; }
    // Blocks until the lock is held (without `wait`, false at once when
    // another process holds it); false when the folder cannot be used.
    bool lock(bool wait = true);
    void unlock();
    // The held lock's descriptor (-1 when not held): a forked child that
    // keeps it open holds the lock on after its parent ends.
    int lockDescriptor() const { return lockFd; }

    bool writeRecord(const std::string& device, const TunnelRecord& record);
    std::optional<TunnelRecord> readRecord(const std::string& device) const;
    void removeRecord(const std::string& device);

    // The guard of the device, as recorded; 0 when there is none.
    pid_t guardPid(const std::string& device) const;
    bool setGuardPid(const std::string& device, pid_t pid);
    void clearGuardPid(const std::string& device);

private:
    std::string recordPath(const std::string& device) const { return folder + "/dns." + device; }
    std::string guardPath(const std::string& device) const { return folder + "/guard." + device + ".pid"; }

    std::string folder;
    int lockFd = -1;
};
