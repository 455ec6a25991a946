// Checks an OpenVPN profile before the daemon lets openvpn (as root) read it.
//
// Built as an allow-list: a directive is accepted only when a client profile
// needs it and it can neither run a program, load a module, read a file nor
// write one. Directives that read key material are accepted only in their
// inline <tag> form. The one program line accepted is the stealth profile's
// route-up "/bin/ip route del 127.0.0.1". The profile must make a TLS client
// ("client", or "tls-client" with "pull") with at least one "remote"; nothing
// that lets openvpn listen (lport, local, static-key mode) is accepted.
#pragma once

#include <string>

struct ProfileCheck
{
    bool ok = false;
    int line = 0;       // 1-based line of the first refused line, 0 when ok
    std::string reason; // what was refused, for the log
};

ProfileCheck validateProfile(const std::string& text);

// OpenVPN reads a profile line into a fixed buffer and would split longer
// lines into two, so longer lines are refused.
constexpr size_t kMaxProfileLineLength = 255;
