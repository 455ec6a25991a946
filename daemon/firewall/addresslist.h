// The allowed-address list and the tunnel interface name of the kill switch,
// checked before any of it reaches an iptables rule.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace AddressList {

// Splits `text` at ";" and returns each IPv4 address (with an optional prefix
// length 0-32) in canonical form, in order. Empty items are skipped. Any other
// item that is not such an address refuses the whole list (nullopt).
std::optional<std::vector<std::string>> parse(const std::string& text);

// One item: "198.51.100.7" or "198.51.100.0/24"; nullopt when invalid.
std::optional<std::string> canonicalAddress(const std::string& item);

// The canonical items joined by ";".
std::string join(const std::vector<std::string>& addresses);

// A network interface name we are willing to write into a rule: 1 to 15 of
// [A-Za-z0-9_.-], not starting with a dash.
bool isValidInterfaceName(const std::string& name);

} // namespace AddressList
