// The texts of the kill switch's files. Everything that goes into them has
// been validated and written in canonical form by the caller (AddressList).
#pragma once

#include <string>
#include <vector>

namespace FirewallScripts {

// While the kill switch holds, DNS queries leave only through loopback and
// the tunnel: every other query, to the LAN or to an allowed address too, is
// dropped by this chain, which the OUTPUT chain consults before it accepts
// any address. Only while a connection is being set up is it opened.
constexpr const char* kDnsChain = "KESTROVA-DNS";

// The chain's declaration and rules, as iptables-restore lines.
std::string dnsChain(const std::string& interfaceToSkip, bool open);

// "/fw.sh": loopback, the tunnel interface (when not empty) and the allowed
// addresses are accepted, then every policy becomes DROP; one atomic
// iptables-restore --noflush load that appends to the existing chains. DNS
// outside the tunnel is closed unless `dnsOpen`.
std::string blockIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                      bool dnsOpen = false);
// "/fw_change.sh": the allowed addresses or the tunnel interface changed
// while the block is on. One atomic --noflush load that appends the accept
// rules the new list adds and deletes those it drops, so no allowed address
// is blocked for a moment and the user's rules stay untouched. Empty when
// the new list holds the same rules. A new interface also reloads the DNS
// chain (open or closed as `dnsOpen` says). With `openDns` the same load also
// opens DNS and DHCP as "/fw_dns.sh" would (and is never empty).
std::string changeIPv4(const std::string& loadedInterface, const std::vector<std::string>& loadedAddresses,
                       const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                       bool dnsOpen, bool openDns = false);
// "/fwoff.sh": flush and ACCEPT policies, one load.
std::string unblockIPv4();
// "/fw_dns.sh": open DNS and DHCP past the kill switch (block false), or
// close the DNS chain and remove those rules again.
std::string dns(bool block, const std::string& interfaceToSkip);
// "/fw_local_devs.sh": accept the 192.168.0.0/16 LAN, or remove those rules.
std::string localDevices(bool allow);
// "/fw_v6.sh" (DROP) and "/fwoff_v6.sh" (ACCEPT), ip6tables-restore input.
std::string ipv6(bool block);

// "/fw_restore.sh": the whole kill switch of a previous worker as one load
// that replaces the filter table (no --noflush), so the rules of the worker
// that died stay in force until the new set is in place.
std::string restoreIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses,
                        bool dnsOpened, bool localDevicesAllowed);

// The filter table with ACCEPT policies, appended to a saved rule set that
// has no filter table of its own, so that loading the saved set always
// clears the kill switch.
std::string acceptFilterTable();

} // namespace FirewallScripts
