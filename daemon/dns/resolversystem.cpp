#include "resolversystem.h"

#include "filebackend.h"
#include "networkmanagerbackend.h"
#include "resolvconfbackend.h"
#include "resolvedbackend.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

bool ResolverSystem::networkManagerRuns()
{
    return networkManager.ownsResolver();
}

// The socket is left behind by a resolved that died: it counts only when
// somebody accepts on it.
bool ResolverSystem::resolvedRuns()
{
    if (!runner.available("resolvectl")) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (paths.resolvedSocket.size() >= sizeof address.sun_path) {
        return false;
    }
    std::strcpy(address.sun_path, paths.resolvedSocket.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

bool ResolverSystem::hasResolvconf()
{
    return runner.available("resolvconf");
}

bool ResolverSystem::plainFileOwns()
{
    return !networkManager.mayRun() && !resolvedRuns() && !hasResolvconf();
}

std::string ResolverSystem::choose()
{
    // NetworkManager 1.42 gives resolved no servers of a device it did not
    // set up itself: where it configures resolved, resolved's own links are
    // set, and kept so by the guard.
    if (networkManagerRuns() && !(networkManager.dnsMode() == "systemd-resolved" && resolvedRuns())) {
        return "networkmanager";
    }
    if (resolvedRuns()) {
        return "resolved";
    }
    if (hasResolvconf()) {
        return "resolvconf";
    }
    return "file";
}

std::unique_ptr<ResolverBackend> ResolverSystem::make(const std::string& name)
{
    FileBackend file(ResolvConfFile(paths.resolvConf), paths.stateDir);
    ResolvedBackend resolved(runner, paths.stateDir);
    resolved.useBus(resolvedBus);
    if (name == "networkmanager") {
        return std::make_unique<NetworkManagerBackend>(networkManager, std::move(file), std::move(resolved));
    }
    if (name == "resolved") {
        return std::make_unique<ResolvedBackend>(std::move(resolved));
    }
    if (name == "resolvconf") {
        return std::make_unique<ResolvconfBackend>(runner, std::move(file));
    }
    if (name == "file") {
        return std::make_unique<FileBackend>(std::move(file));
    }
    return nullptr;
}
