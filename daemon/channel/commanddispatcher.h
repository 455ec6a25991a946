// One command packet in, one reply out: a table from command code to handler.
// Each handler decodes its fields, validates them, acts and returns a truthful
// result; every unknown code gets nine zero bytes.
#pragma once

#include "daemonprotocol.h"
#include "peeridentity.h"

#include <map>
#include <mutex>
#include <optional>
#include <sys/types.h>

class DaemonServices;

class CommandDispatcher
{
public:
    CommandDispatcher(DaemonServices& services, AccessPolicy policy = AccessPolicy());

    // peerUid: nullopt when the kernel could not tell who sent the packet;
    // such a packet is refused.
    MessageReply processMessagePacket(const MessagePacket& packet, std::optional<uid_t> peerUid);

    // Commands and worker start-up touch the same firewall state, scripts and
    // timezone; this one lock serialises them. It is never held while a file
    // that a caller named is read: such a read may hang.
    std::mutex& stateLock() { return lock; }

private:
    using Handler = bool (CommandDispatcher::*)(const MessagePacket&, uid_t);
    struct Entry
    {
        Handler handler;
        // The handler takes the lock itself, or not at all: it reads the
        // caller's file first, or it only reads what never changes, so a
        // client's "is it supported" never waits behind a slow firewall load.
        bool locksItself;
    };

    bool firewallOn(const MessagePacket& packet, uid_t peerUid);
    bool firewallOff(const MessagePacket& packet, uid_t peerUid);
    bool firewallChange(const MessagePacket& packet, uid_t peerUid);
    bool constantTrue(const MessagePacket& packet, uid_t peerUid);
    bool timezoneSupported(const MessagePacket& packet, uid_t peerUid);
    bool timezoneChange(const MessagePacket& packet, uid_t peerUid);
    bool runOpenvpn(const MessagePacket& packet, uid_t peerUid);
    bool updateInstall(const MessagePacket& packet, uid_t peerUid);

    bool applyFirewall(const MessagePacket& packet, bool change, uid_t peerUid);
    // While the kill switch is on, only who switched it on, root and the
    // active session's user may change it or switch it off; *takesOver is
    // set when the caller takes it from another account.
    bool mayChangeKillSwitch(uid_t peerUid, const char* command, bool* takesOver);
    // Whether `peerUid` may act on what `owner` holds (`what`: "kill switch",
    // "tunnel"): the owner, root and the user of the active session may.
    bool mayTakeOver(uid_t peerUid, uid_t owner, const char* command, const char* what);
    // One tunnel per machine: another account's tunnel refuses the command,
    // or ends first when the caller may take it over.
    bool makeRoomForTunnel(uid_t peerUid);

    DaemonServices& services;
    AccessPolicy policy;
    std::map<int32_t, Entry> handlers;
    std::mutex lock;
};
