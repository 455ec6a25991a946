// The texts of the kill switch's files. Everything that goes into them has
// been validated and written in canonical form by the caller (AddressList).
#pragma once

#include <string>
#include <vector>

namespace FirewallScripts {

// "/fw.sh": loopback, the tunnel interface (when not empty) and the allowed
// addresses are accepted, then every policy becomes DROP; one atomic
// iptables-restore --noflush load that appends to the existing chains.
std::string blockIPv4(const std::string& interfaceToSkip, const std::vector<std::string>& addresses);
// "/fw_change.sh": the allowed addresses or the tunnel interface changed
// while the block is on. One atomic --noflush load that appends the accept
// rules the new list adds and deletes those it drops, so no allowed address
// is blocked for a moment and the user's rules stay untouched. Empty when
// the new list holds the same rules.
std::string changeIPv4(const std::string& loadedInterface, const std::vector<std::string>& loadedAddresses,
                       const std::string& interfaceToSkip, const std::vector<std::string>& addresses);
// "/fwoff.sh": flush and ACCEPT policies, one load.
std::string unblockIPv4();
// "/fw_dns.sh": open DNS and DHCP (block false), or remove those rules again.
std::string dns(bool block);
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
