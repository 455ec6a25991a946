// resolv.conf written by us: it holds only the tunnel's servers. The
// machine's own file is saved as the swap displaces it (see ResolvConfFile),
// and put back on undo only over our own content: anything else in the
// file was written after it and is the machine's setting now.
#pragma once

#include "resolvconffile.h"
#include "resolverbackend.h"

class FileBackend : public ResolverBackend
{
public:
    FileBackend(ResolvConfFile file, std::string stateDir)
        : file(std::move(file)), stateDir(std::move(stateDir))
    {
    }

    std::string name() const override { return "file"; }
    bool apply(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool enforce(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool undo(const std::string& device, std::string* why) override;
    std::vector<std::string> watchedFolders() const override;
    // The owner writes its own file again: the kept copy is stale.
    void forget(const std::string& device);

    static std::string render(const std::string& device, const DnsSettings& dns);
    // Written by us, for any tunnel.
    static bool isOurs(const std::string& content);
    static bool isOursFor(const std::string& content, const std::string& device);
    // The device an own file was written for.
    static std::string ownerOf(const std::string& content);
    std::string savedCopyPath(const std::string& device) const;

private:
    bool keepDisplaced(const std::string& device, const std::optional<std::string>& displaced);

    ResolvConfFile file;
    std::string stateDir;
};
