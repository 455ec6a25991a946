// The option string of command 9. Only the exact set of options that the client
// builds is accepted; the daemon then starts openvpn with its own argument
// vector built from the parsed values, never from the client's text.
#pragma once

#include <optional>
#include <string>

// The up and down script installed with the package.
constexpr const char* kResolverScriptPath = "/usr/share/kestrova/script/update-resolv-conf.sh";

struct OpenvpnOptions
{
    std::string configPath; // absolute path of the client's profile
    int managementPort = 0; // 1024..65535, on 127.0.0.1
    // openvpn connects to the caller's listener on that port instead of
    // listening there itself.
    bool managementClient = false;
};

// Accepts, each exactly once and in any order: --config "ABSOLUTE PATH",
// --management 127.0.0.1 PORT, --management-query-passwords,
// --script-security 2, --up SCRIPT and --down SCRIPT with the installed
// resolver script, and optionally --management-client. Anything else, or
// anything missing, refuses the string.
std::optional<OpenvpnOptions> parseOpenvpnOptions(const std::string& text);

// An absolute path without control characters, quotes, backslashes, empty,
// "." or ".." components.
bool isPlainAbsolutePath(const std::string& path);
