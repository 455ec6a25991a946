// The kill switch: iptables and ip6tables rules that keep traffic inside the tunnel.
#pragma once

#include <string>

class FireWall
{
public:
    FireWall();
    ~FireWall();

    bool isSupported() const { return true; }
    bool enableOnStart() const { return true; }
    bool getStateOfPF() const { return true; }

    void setInterfaceToSkip(const std::string& interfaceName);
    bool firewallOn(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal, bool blockDNS);
    bool firewallChange(const std::string& ips, bool killConnect, bool blockIPv6, bool allowLocal,
                        bool blockDNS);
    bool firewallOff();

    // Every worker start: clears every rule and sets every policy to ACCEPT.
    void reset();
    // A worker that replaces one that crashed or was killed puts back the kill
    // switch that was in force, so the machine never opens behind the client's back.
    bool restoreSavedState();
    // A fresh start of the daemon: nothing of an earlier run is restored.
    void forgetSavedState();
};
