#include "filebackend.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kMark = "# Written by Kestrova while the VPN tunnel ";
const std::string kMarkEnd = " is up";

} // namespace

std::string FileBackend::render(const std::string& device, const DnsSettings& dns)
{
    std::string text = kMark + device + kMarkEnd + "\n";
    for (const std::string& server : dns.servers) {
        text += "nameserver " + server + "\n";
    }
    if (!dns.domains.empty()) {
        text += "search";
        for (const std::string& domain : dns.domains) {
            text += " " + domain;
        }
        text += "\n";
    }
    return text;
}

bool FileBackend::isOurs(const std::string& content)
{
    return content.compare(0, kMark.size(), kMark) == 0;
}

std::string FileBackend::ownerOf(const std::string& content)
{
    if (!isOurs(content)) {
        return {};
    }
    const size_t end = content.find(kMarkEnd + "\n", kMark.size());
    return end == std::string::npos ? std::string() : content.substr(kMark.size(), end - kMark.size());
}

bool FileBackend::isOursFor(const std::string& content, const std::string& device)
{
    return ownerOf(content) == device;
}

std::string FileBackend::savedCopyPath(const std::string& device) const
{
    return stateDir + "/resolv.conf.saved." + device;
}

// What the swap displaced: the machine's own file is the copy to put back.
// Our own content stays out of it: it is ours for this tunnel after a
// restart without down (the copy from before is kept), or another tunnel's,
// whose copy of the machine's file this tunnel takes over.
bool FileBackend::keepDisplaced(const std::string& device, const std::optional<std::string>& displaced)
{
    mkdir(stateDir.c_str(), 0700);
    if (!displaced) {
        return writeFileAtomically(savedCopyPath(device), "", 0600);
    }
    if (!isOurs(*displaced)) {
        return writeFileAtomically(savedCopyPath(device), *displaced, 0600);
    }
    const std::string other = ownerOf(*displaced);
    if (other == device || other.empty()) {
        return true;
    }
    const std::optional<std::string> theirs = readWholeFile(savedCopyPath(other));
    if (theirs && !readWholeFile(savedCopyPath(device))) {
        return writeFileAtomically(savedCopyPath(device), *theirs, 0600);
    }
    return true;
}

bool FileBackend::apply(const std::string& device, const DnsSettings& dns, std::string* why)
{
    bool ok = false;
    const std::optional<std::string> displaced = file.swapIn(render(device, dns), &ok);
    if (!ok) {
        *why = "cannot write " + file.target();
        return false;
    }
    if (!keepDisplaced(device, displaced)) {
        *why = "cannot save the machine's resolver file under " + stateDir;
        return false;
    }
    return true;
}

bool FileBackend::enforce(const std::string& device, const DnsSettings& dns, std::string* why)
{
    const std::optional<std::string> now = file.read();
    if (now && *now == render(device, dns)) {
        return true;
    }
    return apply(device, dns, why);
}

bool FileBackend::undo(const std::string& device, std::string* why)
{
    const std::string savedPath = savedCopyPath(device);
    const std::optional<std::string> saved = readWholeFile(savedPath);
    if (!saved) {
        return true;
    }
    const std::optional<std::string> now = file.read();
    if (now && isOursFor(*now, device)) {
        bool ok = false;
        const std::optional<std::string> displaced = file.swapIn(*saved, &ok);
        if (!ok) {
            *why = "cannot restore " + file.target();
            return false;
        }
        // Written by somebody else between the read and the swap: that is
        // newer than the copy and goes back.
        if (displaced && !isOursFor(*displaced, device)) {
            file.swapIn(*displaced, &ok);
        }
    }
    unlink(savedPath.c_str());
    return true;
}

std::vector<std::string> FileBackend::watchedFolders() const
{
    // The link's folder too: an owner may replace the link itself.
    std::vector<std::string> folders;
    for (const std::string& path : {file.linkPath(), file.target()}) {
        const size_t slash = path.rfind('/');
        const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        if (folders.empty() || folders.front() != folder) {
            folders.push_back(folder);
        }
    }
    return folders;
}

void FileBackend::forget(const std::string& device)
{
    unlink(savedCopyPath(device).c_str());
}
