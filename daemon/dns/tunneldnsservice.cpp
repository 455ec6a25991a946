#include "tunneldnsservice.h"

#include "resolvconffile.h"

#include <csignal>

namespace {

bool isOurGuard(pid_t pid)
{
    const std::optional<std::string> comm = readWholeFile("/proc/" + std::to_string(pid) + "/comm");
    return comm && *comm == "kestrova-dns\n";
}

} // namespace

void TunnelDnsService::stopGuard(const std::string& device)
{
    const pid_t pid = state.guardPid(device);
    state.clearGuardPid(device);
    if (pid > 0 && isOurGuard(pid)) {
        kill(pid, SIGTERM);
    }
}

bool TunnelDnsService::up(const TunnelEvent& event, std::unique_ptr<ResolverBackend>* backend,
                          std::string* why)
{
    if (!state.lock()) {
        *why = "cannot use " + state.path();
        return false;
    }
    stopGuard(event.device);
    const std::string chosen = system.choose();
    // Up again after a restart: the setting stays in place, unless the
    // machine's resolver owner changed meanwhile.
    const std::optional<TunnelRecord> earlier = state.readRecord(event.device);
    if (earlier && earlier->backend != chosen) {
        if (auto old = system.make(earlier->backend)) {
            std::string ignored;
            old->undo(event.device, &ignored);
        }
        state.removeRecord(event.device);
    }
    // Where the owner refuses (NetworkManager without the device, say), the
    // file is written instead.
    std::vector<std::string> candidates = {chosen};
    if (chosen != "file" && chosen != "resolvconf") {
        candidates.push_back(system.hasResolvconf() ? "resolvconf" : "file");
    }
    for (const std::string& name : candidates) {
        std::unique_ptr<ResolverBackend> candidate = system.make(name);
        std::string failure;
        if (candidate && candidate->apply(event.device, event.dns, &failure)) {
            if (!state.writeRecord(event.device, {name, event.dns})) {
                candidate->undo(event.device, &failure);
                *why = "cannot record the setting under " + state.path();
                break;
            }
            *backend = std::move(candidate);
            return true;
        }
        if (candidate) {
            candidate->undo(event.device, &failure);
        }
        *why += (why->empty() ? "" : "; ") + name + ": " + failure;
    }
    state.unlock();
    return false;
}

bool TunnelDnsService::down(const std::string& device, std::string* why)
{
    if (!state.lock()) {
        *why = "cannot use " + state.path();
        return false;
    }
    stopGuard(device);
    bool ok = true;
    if (const std::optional<TunnelRecord> record = state.readRecord(device)) {
        if (auto backend = system.make(record->backend)) {
            ok = backend->undo(device, why);
        }
        state.removeRecord(device);
    }
    state.unlock();
    return ok;
}
