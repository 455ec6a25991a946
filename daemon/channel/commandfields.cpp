#include "commandfields.h"

#include <cstring>

namespace {

const unsigned char* bytesOf(const MessagePacket& packet)
{
    return reinterpret_cast<const unsigned char*>(&packet);
}

// Wide units are read with memcpy: some fields start at odd offsets.
WideUnit unitAt(const MessagePacket& packet, size_t offset, size_t index)
{
    WideUnit unit;
    std::memcpy(&unit, bytesOf(packet) + offset + index * sizeof(WideUnit), sizeof(unit));
    return unit;
}

bool flagAt(const MessagePacket& packet, size_t index)
{
    return bytesOf(packet)[kFirewallParamsOffset + index] != 0;
}

} // namespace

std::optional<std::string> decodeLowBytes(const MessagePacket& packet, size_t offset, size_t units)
{
    std::string text;
    for (size_t i = 0; i < units; ++i) {
        const WideUnit unit = unitAt(packet, offset, i);
        if (unit == 0) {
            return text;
        }
        text += static_cast<char>(unit & 0xffu);
    }
    return std::nullopt;
}

std::optional<std::string> decodeAscii(const MessagePacket& packet, size_t offset, size_t units,
                                       size_t maxBytes)
{
    std::string text;
    for (size_t i = 0; i < units; ++i) {
        const WideUnit unit = unitAt(packet, offset, i);
        if (unit == 0) {
            return text;
        }
        if (unit > 0x7f || text.size() >= maxBytes) {
            return std::nullopt;
        }
        text += static_cast<char>(unit);
    }
    return std::nullopt;
}

std::optional<FirewallRequest> decodeFirewallRequest(const MessagePacket& packet)
{
    auto ips = decodeLowBytes(packet, kAllowIpListOffset, kAllowIpListUnits);
    auto interfaceName = decodeLowBytes(packet, kInterfaceToSkipOffset, kInterfaceToSkipUnits);
    if (!ips || !interfaceName) {
        return std::nullopt;
    }
    FirewallRequest request;
    request.ips = std::move(*ips);
    request.interfaceName = std::move(*interfaceName);
    request.killConnect = flagAt(packet, 0);
    request.blockIPv6 = flagAt(packet, 1);
    request.allowLocal = flagAt(packet, 2);
    request.changeTimezone = flagAt(packet, 3);
    request.blockDNS = flagAt(packet, 4);
    return request;
}

std::optional<TimezoneRequest> decodeTimezoneRequest(const MessagePacket& packet)
{
    const unsigned char* field = bytesOf(packet) + kTimezoneIanaOffset;
    const void* end = std::memchr(field, 0, kTimezoneIanaBytes);
    if (end == nullptr) {
        return std::nullopt;
    }
    TimezoneRequest request;
    request.restore = bytesOf(packet)[kTimezoneRestoreOffset] != 0;
    request.timezoneIANA.assign(reinterpret_cast<const char*>(field),
                                static_cast<const unsigned char*>(end) - field);
    return request;
}

std::optional<std::string> decodeOpenvpnParams(const MessagePacket& packet)
{
    return decodeAscii(packet, kOpenvpnParamsOffset, kOpenvpnParamsUnits, kMaxOpenvpnParamsBytes);
}

std::optional<std::string> decodeUpdatePathName(const MessagePacket& packet)
{
    return decodeAscii(packet, kUpdatePathNameOffset, kUpdatePathNameUnits, kMaxUpdatePathBytes);
}
