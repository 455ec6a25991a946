// Decoding of the argument fields of a MessagePacket. Every decoder reads only
// inside its field and refuses a field that has no terminator, so nothing a
// client sends can make the daemon read past a field or act on a cut text.
#pragma once

#include "daemonprotocol.h"

#include <optional>
#include <string>

struct FirewallRequest
{
    std::string ips;           // allowIpList, low byte of every unit
    std::string interfaceName; // interfaceToSkip, low byte of every unit
    bool killConnect = false;
    bool blockIPv6 = false;
    bool allowLocal = false;
    bool changeTimezone = false;
    bool blockDNS = false;
};

struct TimezoneRequest
{
    bool restore = false;
    std::string timezoneIANA;
};

// Longest texts that the daemon converts, in bytes without the terminator.
constexpr size_t kMaxOpenvpnParamsBytes = 1023;
constexpr size_t kMaxUpdatePathBytes = 511;

// Byte offsets of the fields inside the packet.
constexpr size_t kAllowIpListOffset = 4;
constexpr size_t kInterfaceToSkipOffset = 40964;
constexpr size_t kFirewallParamsOffset = 43012;
constexpr size_t kTimezoneRestoreOffset = 4;
constexpr size_t kTimezoneIanaOffset = 5;
constexpr size_t kOpenvpnParamsOffset = 4;
constexpr size_t kUpdatePathNameOffset = 5;

// Wide field -> 8-bit text taking the low byte of each unit, up to the first
// zero unit; nullopt when the field holds no zero unit.
std::optional<std::string> decodeLowBytes(const MessagePacket& packet, size_t offset, size_t units);

// Wide field -> ASCII text, as the C locale's wide-to-multibyte conversion
// does it; nullopt when a unit is not ASCII, when there is no zero unit or
// when the text is longer than maxBytes.
std::optional<std::string> decodeAscii(const MessagePacket& packet, size_t offset, size_t units,
                                       size_t maxBytes);

std::optional<FirewallRequest> decodeFirewallRequest(const MessagePacket& packet);
std::optional<TimezoneRequest> decodeTimezoneRequest(const MessagePacket& packet);
std::optional<std::string> decodeOpenvpnParams(const MessagePacket& packet);
std::optional<std::string> decodeUpdatePathName(const MessagePacket& packet);
