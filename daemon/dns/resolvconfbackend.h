// resolvconf: the tunnel gets a record of its own, and resolvconf's file
// holds only the tunnel's servers (never the LAN's behind them as a
// fall-back). On undo the record goes and resolvconf rebuilds its file from
// the records as they are then.
#pragma once

#include "commandrunner.h"
#include "filebackend.h"

class ResolvconfBackend : public ResolverBackend
{
public:
    ResolvconfBackend(CommandRunner& runner, FileBackend file) : runner(runner), file(std::move(file)) {}

    std::string name() const override { return "resolvconf"; }
    bool apply(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool enforce(const std::string& device, const DnsSettings& dns, std::string* why) override;
    bool undo(const std::string& device, std::string* why) override;
    std::vector<std::string> watchedFolders() const override { return file.watchedFolders(); }

    static std::string recordName(const std::string& device) { return device + ".kestrova"; }

private:
    CommandRunner& runner;
    FileBackend file;
};
