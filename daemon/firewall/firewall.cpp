#include "firewall.h"

#include "addresslist.h"
#include "firewallrunner.h"
#include "firewallscripts.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace {

const char* const kBlockIPv4File = "/fw.sh";
const char* const kUnblockIPv4File = "/fwoff.sh";
const char* const kDnsFile = "/fw_dns.sh";
const char* const kLocalDevicesFile = "/fw_local_devs.sh";
const char* const kBlockIPv6File = "/fw_v6.sh";
const char* const kUnblockIPv6File = "/fwoff_v6.sh";
const char* const kRestoreIPv4File = "/fw_restore.sh";
const char* const kChangeIPv4File = "/fw_change.sh";

std::string describe(const std::vector<std::string>& argv, const std::string& in, const std::string& out)
{
    std::string s;
    for (const auto& a : argv)
        s += (s.empty() ? "" : " ") + a;
    if (!in.empty())
        s += " < " + in;
    if (!out.empty())
        s += " > " + out;
    return s;
}

bool hasFilterTable(const std::string& path)
{
    std::ifstream f(path);
    std::string line;
    while (std::getline(f, line)) {
        if (line == "*filter")
            return true;
    }
    return false;
}

} // namespace

FireWall::FireWall() : FireWall(kDefaultDir, std::make_shared<SystemFirewallRunner>()) {}

FireWall::FireWall(std::string dir, std::shared_ptr<FirewallRunner> runner_, bool verbose_)
    : fwFilesDir(std::move(dir)), runner(std::move(runner_)), verbose(verbose_)
{
    struct stat st;
    if (stat(fwFilesDir.c_str(), &st) != 0) {
        trace("Firewall create dir for config: %s\n", fwFilesDir.c_str());
        if (mkdir(fwFilesDir.c_str(), 0700) != 0)
            syslog(LOG_ERR, "[Firewall] Cannot create %s: %s", fwFilesDir.c_str(), strerror(errno));
    }
}

FireWall::~FireWall() = default;

void FireWall::trace(const char* format, ...) const
{
    if (!verbose)
        return;
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

void FireWall::setInterfaceToSkip(const std::string& interfaceName)
{
    std::lock_guard<std::mutex> lock(mutex);
    interfaceToSkip = interfaceName;
}

bool FireWall::firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                          bool blockDNS, uid_t caller)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        trace("firewallOn: %s\n", interfaceToSkip.c_str());
    }
    return firewallChange(ips, killConnect, blockIPv6, allowLocal, blockDNS, caller);
}

bool FireWall::firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                              bool blockDNS, uid_t caller)
{
    std::lock_guard<std::mutex> lock(mutex);
    trace("firewall change: %s\n", interfaceToSkip.c_str());
    const auto addresses = AddressList::parse(ips);
    if (!addresses) {
        syslog(LOG_WARNING, "[Firewall] Refused: invalid address in the allowed list");
        trace("[Firewall] Refused: invalid address in the allowed list\n");
        return false;
    }
    if (!interfaceToSkip.empty() && !AddressList::isValidInterfaceName(interfaceToSkip)) {
        syslog(LOG_WARNING, "[Firewall] Refused: invalid interface name");
        trace("[Firewall] Refused: invalid interface name\n");
        return false;
    }
    if (unknown && !clearUnknownState())
        return false;
    const bool wasOn = ipv4Blocked || ipv6Blocked;
    const bool ok = applyChange(*addresses, killConnect, blockIPv6, allowLocal, blockDNS);
    if (!wasOn && (ipv4Blocked || ipv6Blocked)) {
        ownerUid = caller;
        persist();
    }
    return ok;
}

bool FireWall::firewallOff()
{
    std::lock_guard<std::mutex> lock(mutex);
    trace("firewallOff, is enable: %d\n", 1);
    if (unknown && !clearUnknownState())
        return false;
    return applyChange({}, false, false, false, false);
}

std::optional<uid_t> FireWall::owner() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return ownerUid;
}

void FireWall::setOwner(uid_t uid)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (ipv4Blocked || ipv6Blocked || unknown) {
        ownerUid = uid;
        persist();
    }
}

bool FireWall::clearUnknownState()
{
    syslog(LOG_NOTICE, "[Firewall] The rules in force are unknown: clearing the kill switch first");
    trace("[Firewall] The rules in force are unknown: clearing the kill switch first\n");
    // The user's own rules replace whatever the kill switch left, when they
    // were saved; otherwise the tables are cleared as at a fresh start.
    const auto restoreOrClear = [this](const std::string& rulesFile, bool (FireWall::*restoreUser)(),
                                       bool (FireWall::*clear)()) {
        const bool saved = access((fwFilesDir + rulesFile).c_str(), R_OK) == 0;
        return (saved && (this->*restoreUser)()) || (this->*clear)();
    };
    const bool v4 =
        restoreOrClear(ipv4RulesFile, &FireWall::restoreUserIPv4Setting, &FireWall::firewallOffBlockIPv4);
    const bool v6 =
        restoreOrClear(ipv6RulesFile, &FireWall::restoreUserIPv6Setting, &FireWall::firewallOffBlockIPv6);
    if (!v4 || !v6)
        return false;
    unknown = false;
    resetDeferred = false;
    ipv4Blocked = false;
    ipv6Blocked = false;
    localDevicesAllowed = false;
    dnsOpened = false;
    ownerUid.reset();
    persist();
    return true;
}

bool FireWall::applyChange(const std::vector<std::string>& addresses, bool killConnect, bool blockIPv6,
                           bool allowLocal, bool blockDNS)
{
    bool ok = true;

    if (killConnect != ipv4Blocked) {
        if (killConnect) {
            // The user's rules are saved first: without them, switching off
            // could not give them back, so the block does not go on either.
            if (dumpUserIPv4Settings() && firewallOnBlockIPv4(addresses))
                ipv4Blocked = true;
            else
                ok = false;
        } else {
            if (!restoreUserIPv4Setting()) {
                // The saved rules would not load; never leave the machine
                // blocked after an off command, clear the kill switch instead.
                ok = false;
                if (!firewallOffBlockIPv4())
                    return false;
            }
            ipv4Blocked = false;
            localDevicesAllowed = false;
            dnsOpened = false;
            dnsBlocked = false;
        }
    } else if (killConnect && (addresses != loadedAddresses || interfaceToSkip != loadedInterface)) {
        // The client sends a fresh list before every connection, led by the
        // server it is about to reach: with thousands of servers not all fit,
        // so a list kept from when the block went on could lock that one out.
        // Opening DNS for the connection goes into the same load.
        if (!firewallChangeIPv4(addresses, ipv4Blocked && !blockDNS && !dnsOpened))
            ok = false;
    }

    if (killConnect && ipv4Blocked) {
        // Measured against the rules in force, not against the previous
        // command: the rules after a command are what it asked for.
        if (blockDNS == dnsOpened) {
            if (firewallOnBlockDNS(blockDNS))
                dnsOpened = !blockDNS;
            else
                ok = false;
        }
        dnsBlocked = !dnsOpened;
        if (allowLocal != localDevicesAllowed) {
            if (firewallAllowLocalDevices(allowLocal))
                localDevicesAllowed = allowLocal;
            else
                ok = false;
        }
    }

    // The tunnel carries IPv4 only: a kill switch that left IPv6 open would let
    // every IPv6 packet pass outside the tunnel, so while it holds, IPv6 is
    // blocked too, whatever the separate IPv6 choice says.
    blockIPv6 = blockIPv6 || ipv4Blocked;
    if (blockIPv6 != ipv6Blocked) {
        if (blockIPv6) {
            if (dumpUserIPv6Settings() && firewallOnBlockIPv6())
                ipv6Blocked = true;
            else
                ok = false;
        } else {
            if (!restoreUserIPv6Setting()) {
                ok = false;
                if (!firewallOffBlockIPv6()) {
                    persist();
                    return false;
                }
            }
            ipv6Blocked = false;
        }
    }

    if (!ipv4Blocked && !ipv6Blocked)
        ownerUid.reset();
    persist();
    return ok;
}

void FireWall::reset()
{
    std::lock_guard<std::mutex> lock(mutex);
    struct stat st;
    const bool exists = stat(stateFile().c_str(), &st) == 0;
    const auto saved = FirewallState::load(stateFile());
    // A state that cannot be read may stand for a kill switch that is on.
    if (exists && (!saved || saved->anyOn())) {
        resetDeferred = true;
        syslog(LOG_NOTICE,
               "[Firewall] A kill switch was on: its rules stay until the worker knows what to do");
        trace("[Firewall] A kill switch was on: its rules stay until the worker knows what to do\n");
        return;
    }
    if (!clearRules())
        unknown = true;
}

bool FireWall::clearRules()
{
    resetDeferred = false;
    const bool v4 = firewallOffBlockIPv4();
    const bool v6 = firewallOffBlockIPv6();
    return v4 && v6;
}

bool FireWall::restoreSavedState()
{
    std::lock_guard<std::mutex> lock(mutex);
    struct stat st;
    if (stat(stateFile().c_str(), &st) != 0) {
        // Nothing was ever switched on.
        if (resetDeferred && !clearRules())
            unknown = true;
        return !unknown;
    }
    const auto saved = FirewallState::load(stateFile());
    if (!saved) {
        // Whatever the previous worker left in place stays: closed rather
        // than open on a state we cannot read, until a command clears it.
        syslog(LOG_ERR, "[Firewall] Saved kill-switch state is damaged: %s", stateFile().c_str());
        unknown = true;
        return false;
    }
    if (!saved->anyOn()) {
        if (resetDeferred && !clearRules())
            unknown = true;
        return !unknown;
    }
    syslog(LOG_NOTICE, "[Firewall] Restoring the kill switch of the previous worker");
    trace("[Firewall] Restoring the kill switch of the previous worker\n");

    // One load each that replaces the whole table: the previous worker's
    // rules stay in force until the new ones are in. The user's own rules are
    // still in the rules files from when the block went on; they are not
    // saved again (that would save the kill switch as the user's rules).
    bool ok = true;
    dnsBlocked = saved->dnsBlocked;
    ownerUid = saved->owner;
    if (saved->ipv4Blocked) {
        interfaceToSkip = saved->interfaceName;
        const std::string text = FirewallScripts::restoreIPv4(saved->interfaceName, saved->addresses,
                                                              saved->dnsOpened, saved->localDevicesAllowed);
        if (writeAndRunScript(kRestoreIPv4File, text)) {
            ipv4Blocked = true;
            dnsOpened = saved->dnsOpened;
            localDevicesAllowed = saved->localDevicesAllowed;
            loadedInterface = saved->interfaceName;
            loadedAddresses = saved->addresses;
        } else {
            ok = false;
        }
    } else if (resetDeferred) {
        ok = firewallOffBlockIPv4();
    }
    if (saved->ipv6Blocked) {
        ipv6Blocked = firewallOnBlockIPv6();
        ok = ipv6Blocked && ok;
    } else if (resetDeferred) {
        ok = firewallOffBlockIPv6() && ok;
    }
    resetDeferred = false;
    if (ok)
        persist();
    else
        unknown = true;
    return ok;
}

void FireWall::forgetSavedState()
{
    std::lock_guard<std::mutex> lock(mutex);
    unlink(stateFile().c_str());
    if (resetDeferred && !clearRules())
        unknown = true;
}

FirewallState FireWall::state() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return current();
}

FirewallState FireWall::current() const
{
    FirewallState st;
    st.ipv4Blocked = ipv4Blocked;
    st.ipv6Blocked = ipv6Blocked;
    st.localDevicesAllowed = localDevicesAllowed;
    st.dnsBlocked = dnsBlocked;
    st.dnsOpened = dnsOpened;
    if (ipv4Blocked) {
        st.interfaceName = loadedInterface;
        st.addresses = loadedAddresses;
    }
    st.owner = ownerUid;
    return st;
}

void FireWall::persist()
{
    if (!current().save(stateFile()))
        syslog(LOG_ERR, "[Firewall] Cannot save the kill-switch state to %s", stateFile().c_str());
}

bool FireWall::firewallOnBlockIPv4(const std::vector<std::string>& addresses)
{
    // The block goes on with DNS closed; opening it is a step of its own.
    if (!writeAndRunScript(kBlockIPv4File, FirewallScripts::blockIPv4(interfaceToSkip, addresses)))
        return false;
    dnsOpened = false;
    loadedInterface = interfaceToSkip;
    loadedAddresses = addresses;
    return true;
}

bool FireWall::firewallChangeIPv4(const std::vector<std::string>& addresses, bool openDns)
{
    const std::string change = FirewallScripts::changeIPv4(loadedInterface, loadedAddresses, interfaceToSkip,
                                                           addresses, dnsOpened, openDns);
    if (!change.empty() && !writeAndRunScript(kChangeIPv4File, change))
        return false;
    loadedInterface = interfaceToSkip;
    loadedAddresses = addresses;
    if (openDns) {
        dnsOpened = true;
        // The package's removal takes the DNS rules out by the lines of
        // "/fw_dns.sh", as if it had loaded them.
        if (!writeFile(fwFilesDir + kDnsFile, FirewallScripts::dns(false, interfaceToSkip)))
            syslog(LOG_ERR, "[Firewall] Cannot record the opened DNS in %s%s", fwFilesDir.c_str(), kDnsFile);
    }
    // "/fw.sh" goes on describing every rule of the block in force: the
    // package's removal deletes the block's rules by the lines of that file.
    if (!writeFile(fwFilesDir + kBlockIPv4File,
                   FirewallScripts::blockIPv4(interfaceToSkip, addresses, dnsOpened)))
        syslog(LOG_ERR, "[Firewall] Cannot record the changed kill switch in %s%s", fwFilesDir.c_str(),
               kBlockIPv4File);
    return true;
}

bool FireWall::firewallOffBlockIPv4()
{
    trace("firewallOff, is enable: %d\n", 1);
    return writeAndRunScript(kUnblockIPv4File, FirewallScripts::unblockIPv4());
}

bool FireWall::firewallOnBlockDNS(bool block)
{
    trace("firewallBlockDNS, is enable: %d\n", block);
    return writeAndRunScript(kDnsFile, FirewallScripts::dns(block, loadedInterface));
}

bool FireWall::firewallAllowLocalDevices(bool allow)
{
    trace("firewallAllowLocalDevices, is enable: %d\n", allow);
    return writeAndRunScript(kLocalDevicesFile, FirewallScripts::localDevices(allow));
}

bool FireWall::firewallOnBlockIPv6()
{
    return writeAndLoadIPv6(kBlockIPv6File, FirewallScripts::ipv6(true));
}

bool FireWall::firewallOffBlockIPv6()
{
    trace("firewallOffBlockIPv6, is enable: %d\n", 1);
    return writeAndLoadIPv6(kUnblockIPv6File, FirewallScripts::ipv6(false));
}

bool FireWall::dumpUserIPv4Settings()
{
    return dump("iptables-save", ipv4RulesFile);
}
bool FireWall::restoreUserIPv4Setting()
{
    return restore("iptables-restore", ipv4RulesFile);
}
bool FireWall::dumpUserIPv6Settings()
{
    return dump("ip6tables-save", ipv6RulesFile);
}
bool FireWall::restoreUserIPv6Setting()
{
    return restore("ip6tables-restore", ipv6RulesFile);
}

bool FireWall::dump(const char* program, const std::string& file)
{
    // Saved beside the old file and renamed only when complete, so a failed
    // save never destroys the rules saved before. Only the filter table: the
    // kill switch changes nothing else, and loading other tables back would
    // undo what others changed there meanwhile.
    const std::string path = fwFilesDir + file;
    const std::string tmp = path + ".tmp";
    if (!execute({program, "-t", "filter"}, {}, tmp)) {
        unlink(tmp.c_str());
        return false;
    }
    // A machine that never had a filter table saves none; loading that file
    // would then leave the kill switch's DROP policies in place.
    if (!hasFilterTable(tmp)) {
        std::ofstream f(tmp, std::ios::app);
        f << FirewallScripts::acceptFilterTable();
        if (!f.flush()) {
            unlink(tmp.c_str());
            return false;
        }
    }
    if (rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

bool FireWall::restore(const char* program, const std::string& file)
{
    const std::string path = fwFilesDir + file;
    if (access(path.c_str(), R_OK) != 0) {
        syslog(LOG_WARNING, "[Firewall] No saved rules in %s", path.c_str());
        return false;
    }
    // Rule sets saved by earlier versions hold every table; only the filter
    // table is the kill switch's to give back.
    return execute({program, "-w", "-T", "filter"}, path, {});
}

bool FireWall::writeFile(const std::string& path, const std::string& text)
{
    trace("Firewall config file: %s\n", path.c_str());
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        syslog(LOG_ERR, "[Firewall] Cannot write %s: %s", path.c_str(), strerror(errno));
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            syslog(LOG_ERR, "[Firewall] Cannot write %s: %s", path.c_str(), strerror(errno));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (close(fd) != 0)
        return false;
    trace("****************\n%s****************\n", text.c_str());
    return true;
}

bool FireWall::writeAndRunScript(const std::string& name, const std::string& text)
{
    const std::string path = fwFilesDir + name;
    return writeFile(path, text) && execute({"sh", path});
}

bool FireWall::writeAndLoadIPv6(const std::string& name, const std::string& text)
{
    const std::string path = fwFilesDir + name;
    return writeFile(path, text) && execute({"ip6tables-restore", "-w"}, path, {});
}

bool FireWall::execute(const std::vector<std::string>& argv, const std::string& inputPath,
                       const std::string& outputPath)
{
    const std::string line = describe(argv, inputPath, outputPath);
    trace("[Firewall] Execute cmd: %s\n", line.c_str());
    syslog(LOG_INFO, "[Firewall] Execute cmd: %s", line.c_str());
    std::string error;
    const int status = runner->run(argv, inputPath, outputPath, &error);
    if (status == 0)
        return true;
    trace("[Firewall] Failed Execute cmd: %s (status %d)\n", line.c_str(), status);
    syslog(LOG_ERR, "[Firewall] Failed Execute cmd: %s (status %d): %s", line.c_str(), status, error.c_str());
    return false;
}
