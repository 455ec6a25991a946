#include "commanddispatcher.h"

#include "commandfields.h"
#include "daemonlog.h"
#include "daemonservices.h"
#include "namevalidators.h"
#include "openvpnoptions.h"

#include <cstring>
#include <syslog.h>

namespace {

const char* boolText(bool value)
{
    return value ? "true" : "false";
}

MessageReply replyOf(bool result)
{
    MessageReply reply;
    std::memset(&reply, 0, sizeof(reply));
    reply.result = result ? 1 : 0;
    return reply;
}

} // namespace

CommandDispatcher::CommandDispatcher(DaemonServices& services_, AccessPolicy policy_)
    : services(services_), policy(std::move(policy_))
{
    handlers = {
        {AA_COMMAND_FIREWALL_ON, {&CommandDispatcher::firewallOn, false}},
        {AA_COMMAND_FIREWALL_OFF, {&CommandDispatcher::firewallOff, false}},
        {AA_COMMAND_FIREWALL_CHANGE, {&CommandDispatcher::firewallChange, false}},
        {AA_COMMAND_FIREWALL_SUPPORTED, {&CommandDispatcher::constantTrue, true}},
        {AA_COMMAND_FIREWALL_ENABLE_ON_START, {&CommandDispatcher::constantTrue, true}},
        {AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED, {&CommandDispatcher::timezoneSupported, true}},
        {AA_COMMAND_TIMEZONE_CHANGE, {&CommandDispatcher::timezoneChange, false}},
        {AA_COMMAND_RUN_OPENVPN, {&CommandDispatcher::runOpenvpn, true}},
        {AA_COMMAND_UPDATE_INSTALL, {&CommandDispatcher::updateInstall, true}},
    };
}

MessageReply CommandDispatcher::processMessagePacket(const MessagePacket& packet,
                                                     std::optional<uid_t> peerUid)
{
    const int32_t command = packet.command;
    printDiagnostic("Receive command: %d\n", static_cast<int>(command));
    WriteLog("Receive command: %d\n", static_cast<int>(command));
    if (!peerUid) {
        logSystem(LOG_WARNING, "Refused command %d: the sender's socket is closed or its owner unknown",
                  static_cast<int>(command));
        return replyOf(false);
    }
    WriteLog("Command %d from uid %u", static_cast<int>(command), static_cast<unsigned>(*peerUid));
    const auto handler = handlers.find(command);
    if (handler == handlers.end()) {
        return replyOf(false);
    }
    if (!policy.allows(*peerUid, command)) {
        logSystem(LOG_WARNING, "Refused command %d from uid %u: not allowed", static_cast<int>(command),
                  static_cast<unsigned>(*peerUid));
        return replyOf(false);
    }
    const Entry& entry = handler->second;
    if (entry.locksItself) {
        return replyOf((this->*entry.handler)(packet, *peerUid));
    }
    std::lock_guard<std::mutex> guard(lock);
    return replyOf((this->*entry.handler)(packet, *peerUid));
}

bool CommandDispatcher::mayTakeOver(uid_t peerUid, uid_t owner, const char* command, const char* what)
{
    if (peerUid == 0 || owner == peerUid) {
        return true;
    }
    const std::optional<uid_t> active = services.activeSessionUser();
    if (active && *active == peerUid) {
        logSystem(LOG_NOTICE, "%s: uid %u, the user of the active session, takes over the %s of uid %u",
                  command, static_cast<unsigned>(peerUid), what, static_cast<unsigned>(owner));
        return true;
    }
    logSystem(LOG_WARNING, "%s refused for uid %u: the %s belongs to uid %u", command,
              static_cast<unsigned>(peerUid), what, static_cast<unsigned>(owner));
    return false;
}

bool CommandDispatcher::mayChangeKillSwitch(uid_t peerUid, const char* command, bool* takesOver)
{
    *takesOver = false;
    const std::optional<uid_t> owner = services.firewallOwner();
    if (!owner) {
        return true;
    }
    if (!mayTakeOver(peerUid, *owner, command, "kill switch")) {
        return false;
    }
    // Root acts on a user's kill switch without taking it from them.
    *takesOver = peerUid != 0 && *owner != peerUid;
    return true;
}

bool CommandDispatcher::makeRoomForTunnel(uid_t peerUid)
{
    // Root's own tunnels neither block nor end anyone's.
    if (peerUid == 0) {
        return true;
    }
    for (uid_t owner : services.tunnelOwners()) {
        if (owner == peerUid) {
            continue;
        }
        if (!mayTakeOver(peerUid, owner, "AA_COMMAND_RUN_OPENVPN", "tunnel")) {
            return false;
        }
        if (!services.stopTunnels(owner)) {
            logSystem(LOG_WARNING, "AA_COMMAND_RUN_OPENVPN: the tunnel of uid %u would not end",
                      static_cast<unsigned>(owner));
            return false;
        }
    }
    return true;
}

bool CommandDispatcher::applyFirewall(const MessagePacket& packet, bool change, uid_t peerUid)
{
    const char* name = change ? "AA_COMMAND_FIREWALL_CHANGE" : "AA_COMMAND_FIREWALL_ON";
    bool takesOver = false;
    if (!mayChangeKillSwitch(peerUid, name, &takesOver)) {
        return false;
    }
    const auto request = decodeFirewallRequest(packet);
    if (!request) {
        logSystem(LOG_WARNING, "%s refused: a text field has no terminator", name);
        return false;
    }
    if (!isValidInterfaceName(request->interfaceName)) {
        logSystem(LOG_WARNING, "%s refused: bad interface name %s", name,
                  printableForLog(request->interfaceName).c_str());
        return false;
    }
    services.setInterfaceToSkip(request->interfaceName);
    const bool result = change
                            ? services.firewallChange(request->ips, request->killConnect, request->blockIPv6,
                                                      request->allowLocal, request->blockDNS, peerUid)
                            : services.firewallOn(request->ips, request->killConnect, request->blockIPv6,
                                                  request->allowLocal, request->blockDNS, peerUid);
    WriteLog("%s | Kill connect = %s | block_ipv6 = %s | allow_local_ip = %s | change_timezone = %s | "
             "block_dns = %s",
             name, boolText(request->killConnect), boolText(request->blockIPv6),
             boolText(request->allowLocal), boolText(request->changeTimezone), boolText(request->blockDNS));
    if (takesOver) {
        services.setFirewallOwner(peerUid);
    }
    return result;
}

bool CommandDispatcher::firewallOn(const MessagePacket& packet, uid_t peerUid)
{
    return applyFirewall(packet, false, peerUid);
}

bool CommandDispatcher::firewallChange(const MessagePacket& packet, uid_t peerUid)
{
    return applyFirewall(packet, true, peerUid);
}

bool CommandDispatcher::firewallOff(const MessagePacket&, uid_t peerUid)
{
    bool takesOver = false;
    if (!mayChangeKillSwitch(peerUid, "AA_COMMAND_FIREWALL_OFF", &takesOver)) {
        return false;
    }
    const bool result = services.firewallOff();
    WriteLog("AA_COMMAND_FIREWALL_OFF");
    return result;
}

bool CommandDispatcher::constantTrue(const MessagePacket&, uid_t)
{
    return true;
}

bool CommandDispatcher::timezoneSupported(const MessagePacket&, uid_t)
{
    WriteLog("AA_COMMAND_TIMEZONE_CHANGE_SUPPORTED");
    return services.timezoneSupported();
}

bool CommandDispatcher::timezoneChange(const MessagePacket& packet, uid_t)
{
    const auto request = decodeTimezoneRequest(packet);
    if (!request) {
        logSystem(LOG_WARNING, "AA_COMMAND_TIMEZONE_CHANGE refused: the zone has no terminator");
        return services.timezoneSupported();
    }
    WriteLog("AA_COMMAND_TIMEZONE_CHANGE | restore timezone = %s | timezone = %s", boolText(request->restore),
             printableForLog(request->timezoneIANA).c_str());
    // The reply is the "supported" flag in every case, as the client expects;
    // a refused name is logged by the worker and changes nothing.
    if (request->restore) {
        services.timezoneRestore();
        return services.timezoneSupported();
    }
    return services.timezoneChange(request->timezoneIANA);
}

bool CommandDispatcher::runOpenvpn(const MessagePacket& packet, uid_t peerUid)
{
    const auto params = decodeOpenvpnParams(packet);
    if (!params) {
        logSystem(LOG_WARNING, "AA_COMMAND_RUN_OPENVPN refused: options not ASCII, too long or unterminated");
        return false;
    }
    const auto options = parseOpenvpnOptions(*params);
    if (!options) {
        logSystem(LOG_WARNING, "AA_COMMAND_RUN_OPENVPN refused options: %s",
                  printableForLog(*params, 1024).c_str());
        return false;
    }
    printDiagnostic("execite openvpn cmd: %s\n", params->c_str());
    WriteLog("execite openvpn cmd: %s\n", printableForLog(*params, 1024).c_str());
    std::string why;
    const auto profile = services.readProfile(*options, peerUid, &why);
    if (!profile) {
        logSystem(LOG_WARNING, "AA_COMMAND_RUN_OPENVPN refused: %s", printableForLog(why).c_str());
        return false;
    }
    std::lock_guard<std::mutex> guard(lock);
    if (!makeRoomForTunnel(peerUid)) {
        return false;
    }
    if (!services.runOpenvpn(*options, *profile, peerUid, &why)) {
        logSystem(LOG_WARNING, "AA_COMMAND_RUN_OPENVPN failed: %s", printableForLog(why).c_str());
        return false;
    }
    return true;
}

bool CommandDispatcher::updateInstall(const MessagePacket& packet, uid_t peerUid)
{
    const auto path = decodeUpdatePathName(packet);
    if (!path || !isPlainAbsolutePath(*path)) {
        logSystem(LOG_WARNING, "AA_COMMAND_UPDATE_INSTALL refused: bad package path");
        return false;
    }
    // The package is checked before anything is switched off: a refused
    // package must leave the kill switch as it was, not open the machine
    // while the client still believes it is protected. The job waits a few
    // seconds before it installs, so the port is free in time.
    const auto staged = services.stageUpdate(*path, peerUid);
    if (!staged) {
        logSystem(LOG_WARNING, "AA_COMMAND_UPDATE_INSTALL refused package %s",
                  printableForLog(*path).c_str());
        return false;
    }
    std::lock_guard<std::mutex> guard(lock);
    if (!services.startUpdate(*staged)) {
        logSystem(LOG_WARNING, "AA_COMMAND_UPDATE_INSTALL could not start the job for %s",
                  printableForLog(*path).c_str());
        return false;
    }
    services.firewallOff();
    services.releaseListeningSocket();
    WriteLog("AA_COMMAND_UPDATE_INSTALL %s", printableForLog(*path).c_str());
    return true;
}
