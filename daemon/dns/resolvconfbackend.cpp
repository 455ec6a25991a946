#include "resolvconfbackend.h"

bool ResolvconfBackend::apply(const std::string& device, const DnsSettings& dns, std::string* why)
{
    std::string record;
    for (const std::string& server : dns.servers) {
        record += "nameserver " + server + "\n";
    }
    if (!dns.domains.empty()) {
        record += "search";
        for (const std::string& domain : dns.domains) {
            record += " " + domain;
        }
        record += "\n";
    }
    if (runner.run({"resolvconf", "-a", recordName(device)}, record).exitCode != 0) {
        *why = "resolvconf -a failed";
        return false;
    }
    return file.apply(device, dns, why);
}

bool ResolvconfBackend::enforce(const std::string& device, const DnsSettings& dns, std::string* why)
{
    return file.enforce(device, dns, why);
}

bool ResolvconfBackend::undo(const std::string& device, std::string* why)
{
    runner.run({"resolvconf", "-d", recordName(device)});
    runner.run({"resolvconf", "-u"});
    // resolvconf rebuilt its file from the records as they are: our file is
    // gone and the saved copy is stale. Where it did not (updates
    // suspended, say), the copy goes back over our own content.
    return file.undo(device, why);
}
