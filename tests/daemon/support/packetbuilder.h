// Builds command packets the way the client fills them: the whole record
// cleared, wide fields as 32-bit code points, the zone as UTF-8 bytes.
#pragma once

#include "commandfields.h"
#include "daemonprotocol.h"

#include <cstring>
#include <memory>
#include <string>

inline std::unique_ptr<MessagePacket> makePacket(int32_t command)
{
    auto packet = std::make_unique<MessagePacket>();
    std::memset(packet.get(), 0, sizeof(MessagePacket));
    packet->command = command;
    return packet;
}

inline void putWide(MessagePacket& packet, size_t offset, const std::u32string& text)
{
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&packet);
    std::memcpy(bytes + offset, text.data(), text.size() * sizeof(char32_t));
}

inline void putWideAscii(MessagePacket& packet, size_t offset, const std::string& text)
{
    putWide(packet, offset, std::u32string(text.begin(), text.end()));
}

inline void putZone(MessagePacket& packet, bool restore, const std::string& zone)
{
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&packet);
    bytes[kTimezoneRestoreOffset] = restore ? 1 : 0;
    std::memcpy(bytes + kTimezoneIanaOffset, zone.data(), zone.size());
}

inline void putFlags(MessagePacket& packet, bool kill, bool ipv6, bool local, bool timezone, bool dns)
{
    packet.firewall.params.kill_connect = kill;
    packet.firewall.params.block_ipv6 = ipv6;
    packet.firewall.params.allow_local_ip = local;
    packet.firewall.params.change_timezone = timezone;
    packet.firewall.params.block_dns = dns;
}

// The option string the client builds for a profile path and management port
// (with openvpn connecting to the port: `connects`).
inline std::string clientOptions(const std::string& profile, int port, bool connects = false)
{
    return "--config \"" + profile + "\" --management 127.0.0.1 " + std::to_string(port) +
           (connects ? " --management-client" : "") +
           " --management-query-passwords  --script-security 2  --up "
           "/usr/share/kestrova/script/update-resolv-conf.sh  --down "
           "/usr/share/kestrova/script/update-resolv-conf.sh ";
}
