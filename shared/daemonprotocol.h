// The command channel between the desktop client and the root daemon.
//
// Both programs are built from this one header and there is no version field
// or negotiation, so every offset below is part of the wire format. The records
// are packed; some wide fields start at odd offsets.
#pragma once

#include <cstddef>
#include <cstdint>

// The daemon listens here; the client only ever connects to 127.0.0.1.
constexpr int kDaemonPort = 23589;
constexpr const char* kDaemonAddress = "127.0.0.1";

// Seconds: the client waits this long for each receive of the reply, the
// daemon this long for each receive of the packet and for sending the reply.
constexpr int kClientReplyTimeoutSec = 5;
constexpr int kDaemonIoTimeoutSec = 2;

enum AA_COMMAND : int32_t
{
    AA_COMMAND_FIREWALL_ON = 1,
    AA_COMMAND_FIREWALL_OFF = 2,
    AA_COMMAND_FIREWALL_CHANGE = 3,
    AA_COMMAND_FIREWALL_SUPPORTED = 5,
    AA_COMMAND_FIREWALL_ENABLE_ON_START = 6,
    AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED = 7,
    AA_COMMAND_TIMEZONE_CHANGE = 8,
    AA_COMMAND_RUN_OPENVPN = 9,
    AA_COMMAND_UPDATE_INSTALL = 10,
};

// Field sizes in units (wide fields) or bytes (timezoneIANA).
constexpr size_t kAllowIpListUnits = 10240;
constexpr size_t kInterfaceToSkipUnits = 512;
constexpr size_t kTimezoneIanaBytes = 512;
constexpr size_t kOpenvpnParamsUnits = 16000;
constexpr size_t kUpdatePathNameUnits = 16000;

// One wide unit: a Unicode code point (UCS-4), host byte order.
using WideUnit = uint32_t;

#pragma pack(push, 1)

// Each flag is one byte, 0 or 1. Kept as bytes rather than bool so that a
// stray value from the wire can never be an invalid bool.
struct FIREWALL_PARAMETERS
{
    uint8_t kill_connect;
    uint8_t block_ipv6;
    uint8_t allow_local_ip;
    uint8_t change_timezone;
    uint8_t block_dns;
};

struct FirewallArgs
{
    WideUnit allowIpList[kAllowIpListUnits];
    WideUnit interfaceToSkip[kInterfaceToSkipUnits];
    FIREWALL_PARAMETERS params;
};

struct TimezoneArgs
{
    uint8_t restore;
    char timezoneIANA[kTimezoneIanaBytes];
};

struct OpenVpnArgs
{
    WideUnit openvpnParams[kOpenvpnParamsUnits];
};

struct UpdateArgs
{
    uint8_t reserved;
    WideUnit updatePathName[kUpdatePathNameUnits];
};

struct MessagePacket
{
    int32_t command;
    union {
        FirewallArgs firewall;
        TimezoneArgs timezone;
        OpenVpnArgs openvpn;
        UpdateArgs update;
        uint8_t raw[64001];
    };
};

struct MessageReply
{
    uint8_t result;
    uint8_t reserved[8];
};

#pragma pack(pop)

static_assert(sizeof(FIREWALL_PARAMETERS) == 5, "firewall flags are five bytes");
static_assert(sizeof(MessagePacket) == 64005, "MessagePacket is 64005 bytes on the wire");
static_assert(sizeof(MessageReply) == 9, "MessageReply is 9 bytes on the wire");
static_assert(offsetof(MessagePacket, command) == 0, "command offset");
static_assert(offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, allowIpList) == 4, "allowIpList");
static_assert(offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, interfaceToSkip) == 40964,
              "interfaceToSkip");
static_assert(offsetof(MessagePacket, firewall) + offsetof(FirewallArgs, params) == 43012, "params");
static_assert(offsetof(MessagePacket, timezone) + offsetof(TimezoneArgs, restore) == 4, "restore");
static_assert(offsetof(MessagePacket, timezone) + offsetof(TimezoneArgs, timezoneIANA) == 5, "timezoneIANA");
static_assert(offsetof(MessagePacket, openvpn) + offsetof(OpenVpnArgs, openvpnParams) == 4, "openvpnParams");
static_assert(offsetof(MessagePacket, update) + offsetof(UpdateArgs, reserved) == 4, "reserved");
static_assert(offsetof(MessagePacket, update) + offsetof(UpdateArgs, updatePathName) == 5,
              "updatePathName starts at the odd offset 5");
static_assert(offsetof(FIREWALL_PARAMETERS, block_dns) == 4, "block_dns is the fifth flag");
