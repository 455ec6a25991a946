#include "firewallstate.h"

#include "addresslist.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kMagic = "kestrova-firewall-state 1";

bool parseFlag(const std::string& value, bool& out)
{
    if (value != "0" && value != "1")
        return false;
    out = value == "1";
    return true;
}

bool parseUid(const std::string& value, std::optional<uid_t>& out)
{
    if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long uid = std::stoull(value);
    // (uid_t)-1 stands for "no uid" in the kernel's interfaces.
    if (uid >= static_cast<uid_t>(-1))
        return false;
    out = static_cast<uid_t>(uid);
    return true;
}

constexpr unsigned kRequiredKeys = (1u << 7) - 1;

} // namespace

std::string FirewallState::serialize() const
{
    std::ostringstream s;
    s << kMagic << "\n";
    s << "ipv4Blocked " << ipv4Blocked << "\n";
    s << "ipv6Blocked " << ipv6Blocked << "\n";
    s << "localDevicesAllowed " << localDevicesAllowed << "\n";
    s << "dnsBlocked " << dnsBlocked << "\n";
    s << "dnsOpened " << dnsOpened << "\n";
    s << "interface " << interfaceName << "\n";
    s << "addresses " << AddressList::join(addresses) << "\n";
    if (owner)
        s << "owner " << *owner << "\n";
    return s.str();
}

std::optional<FirewallState> FirewallState::parse(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kMagic)
        return std::nullopt;
    FirewallState st;
    const char* const keys[] = {"ipv4Blocked", "ipv6Blocked", "localDevicesAllowed", "dnsBlocked",
                                "dnsOpened",   "interface",   "addresses",           "owner"};
    unsigned seen = 0;
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            return std::nullopt;
        const std::string key = line.substr(0, space);
        const std::string value = line.substr(space + 1);
        unsigned bit = 0;
        while (bit < 8 && key != keys[bit])
            ++bit;
        if (bit == 8 || (seen & (1u << bit)) != 0)
            return std::nullopt;
        seen |= 1u << bit;
        bool ok = true;
        if (key == "ipv4Blocked")
            ok = parseFlag(value, st.ipv4Blocked);
        else if (key == "ipv6Blocked")
            ok = parseFlag(value, st.ipv6Blocked);
        else if (key == "localDevicesAllowed")
            ok = parseFlag(value, st.localDevicesAllowed);
        else if (key == "dnsBlocked")
            ok = parseFlag(value, st.dnsBlocked);
        else if (key == "dnsOpened")
            ok = parseFlag(value, st.dnsOpened);
        else if (key == "interface") {
            st.interfaceName = value;
            ok = value.empty() || AddressList::isValidInterfaceName(value);
        } else if (key == "addresses") {
            auto list = AddressList::parse(value);
            ok = list.has_value();
            if (ok)
                st.addresses = *list;
        } else
            ok = parseUid(value, st.owner);
        if (!ok)
            return std::nullopt;
    }
    if ((seen & kRequiredKeys) != kRequiredKeys)
        return std::nullopt;
    return st;
}

bool FirewallState::save(const std::string& path) const
{
    const std::string tmp = path + ".tmp";
    const std::string text = serialize();
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = close(fd) == 0 && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

std::optional<FirewallState> FirewallState::load(const std::string& path)
{
    std::ifstream f(path);
    if (!f)
        return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return parse(s.str());
}

bool FirewallState::operator==(const FirewallState& o) const
{
    return ipv4Blocked == o.ipv4Blocked && ipv6Blocked == o.ipv6Blocked &&
           localDevicesAllowed == o.localDevicesAllowed && dnsBlocked == o.dnsBlocked &&
           dnsOpened == o.dnsOpened && interfaceName == o.interfaceName && addresses == o.addresses &&
           owner == o.owner;
}
