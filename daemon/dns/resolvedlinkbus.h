// systemd-resolved's link settings over the system bus, on one connection
// opened at the first use, instead of a resolvectl process per setting:
// each of those starts, loads its libraries and connects anew, and the up
// of a tunnel makes several while OpenVPN waits.
#pragma once

#include "systembus.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class ResolvedLinkBus
{
public:
    virtual ~ResolvedLinkBus() = default;
    // Sets what is given of one link: its servers (numeric addresses), its
    // domains in resolvectl's notation ("~" before a routing-only one, "~."
    // for every name) and its default route. False when the bus cannot be
    // used or resolved refuses any of it.
    virtual bool setLink(const std::string& link, const std::optional<std::vector<std::string>>& servers,
                         const std::optional<std::vector<std::string>>& domains,
                         std::optional<bool> defaultRoute) = 0;
    // Every link resolved knows, by name, with one of its settings as
    // resolvectl lists it for `verb`: "dns" (the servers), "domain" (in the
    // notation above) or "default-route" ("yes" or "no"). Nothing when the
    // bus cannot tell.
    using Links = std::map<std::string, std::vector<std::string>>;
    virtual std::optional<Links> list(const std::string& verb) = 0;
};

class SystemResolvedLinkBus : public ResolvedLinkBus
{
public:
    SystemResolvedLinkBus() = default;
    ~SystemResolvedLinkBus() override;
    SystemResolvedLinkBus(const SystemResolvedLinkBus&) = delete;
    SystemResolvedLinkBus& operator=(const SystemResolvedLinkBus&) = delete;

    bool setLink(const std::string& link, const std::optional<std::vector<std::string>>& servers,
                 const std::optional<std::vector<std::string>>& domains,
                 std::optional<bool> defaultRoute) override;
    std::optional<Links> list(const std::string& verb) override;

private:
    bool call(const char* member, int index, const std::optional<std::vector<std::string>>& values, bool on);

    SystemBus system;
};
