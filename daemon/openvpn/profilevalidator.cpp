#include "profilevalidator.h"

#include <cstring>
#include <optional>
#include <vector>

namespace {

struct DirectiveRule
{
    const char* name;
    int minArgs;
    int maxArgs;
};

// What a client profile uses, and nothing that runs, loads, reads or writes.
constexpr DirectiveRule kAllowed[] = {
    {"client", 0, 0},
    {"tls-client", 0, 0},
    {"pull", 0, 0},
    {"nobind", 0, 0},
    {"persist-key", 0, 0},
    {"persist-tun", 0, 0},
    {"persist-remote-ip", 0, 0},
    {"persist-local-ip", 0, 0},
    {"float", 0, 0},
    {"auth-nocache", 0, 0},
    {"mute-replay-warnings", 0, 0},
    {"route-nopull", 0, 0},
    {"remote-random", 0, 0},
    {"block-outside-dns", 0, 0},
    {"tun-ipv6", 0, 0},
    {"ifconfig-nowarn", 0, 0},
    {"passtos", 0, 0},
    {"fast-io", 0, 0},
    {"disable-occ", 0, 0},
    {"allow-pull-fqdn", 0, 0},
    {"ncp-disable", 0, 0},
    {"push-peer-info", 0, 0},
    {"ping-timer-rem", 0, 0},
    {"single-session", 0, 0},
    {"tls-exit", 0, 0},
    {"auth-user-pass", 0, 0}, // the file form would read any file as root
    {"comp-lzo", 0, 1},
    {"compress", 0, 1},
    {"allow-compression", 1, 1},
    {"dev", 1, 1},
    {"dev-type", 1, 1},
    {"proto", 1, 1},
    {"remote", 1, 3},
    {"port", 1, 1},
    {"rport", 1, 1},
    {"resolv-retry", 1, 1},
    {"connect-retry", 1, 2},
    {"connect-retry-max", 1, 1},
    {"connect-timeout", 1, 1},
    {"server-poll-timeout", 1, 1},
    {"remote-cert-tls", 1, 1},
    {"remote-cert-ku", 1, 9},
    {"remote-cert-eku", 1, 1},
    {"ns-cert-type", 1, 1},
    {"verify-x509-name", 1, 2},
    {"cipher", 1, 1},
    {"data-ciphers", 1, 1},
    {"data-ciphers-fallback", 1, 1},
    {"ncp-ciphers", 1, 1},
    {"auth", 1, 1},
    {"tls-cipher", 1, 1},
    {"tls-ciphersuites", 1, 1},
    {"tls-groups", 1, 1},
    {"ecdh-curve", 1, 1},
    {"tls-version-min", 1, 2},
    {"tls-version-max", 1, 1},
    {"tls-timeout", 1, 1},
    {"hand-window", 1, 1},
    {"tran-window", 1, 1},
    {"reneg-sec", 1, 2},
    {"reneg-bytes", 1, 1},
    {"reneg-pkts", 1, 1},
    {"replay-window", 1, 2},
    {"key-direction", 1, 1},
    {"key-method", 1, 1},
    {"verb", 1, 1},
    {"mute", 1, 1},
    {"tun-mtu", 1, 1},
    {"tun-mtu-extra", 1, 1},
    {"link-mtu", 1, 1},
    {"mssfix", 0, 2},
    {"fragment", 1, 2},
    {"mtu-disc", 1, 1},
    {"sndbuf", 1, 1},
    {"rcvbuf", 1, 1},
    {"txqueuelen", 1, 1},
    {"socket-flags", 1, 5},
    {"keepalive", 2, 2},
    {"ping", 1, 1},
    {"ping-restart", 1, 1},
    {"ping-exit", 1, 1},
    {"inactive", 1, 2},
    {"explicit-exit-notify", 0, 1},
    {"route", 1, 4},
    {"route-ipv6", 1, 3},
    {"route-gateway", 1, 1},
    {"route-metric", 1, 1},
    {"route-delay", 0, 2},
    {"redirect-gateway", 0, 6},
    {"redirect-private", 0, 6},
    {"dhcp-option", 1, 2},
    {"auth-retry", 1, 1},
    {"pull-filter", 2, 2},
    {"topology", 1, 1},
    {"ifconfig", 2, 2},
    {"ifconfig-ipv6", 2, 2},
    {"static-challenge", 2, 3},
    {"peer-fingerprint", 1, 1},
    {"machine-readable-output", 0, 0},
    {"block-ipv6", 0, 0},
    {"tls-cert-profile", 1, 1},
    {"remote-random-hostname", 0, 0},
    {"comp-noadapt", 0, 0},
};

// Directives that read a file: accepted only as inline blocks. Not "secret":
// static-key mode has no client role, the peer that sends first is served.
constexpr const char* kInlineOnly[] = {
    "ca",     "cert", "key",        "tls-auth",    "tls-crypt",       "tls-crypt-v2",
    "pkcs12", "dh",   "crl-verify", "extra-certs", "peer-fingerprint"};

// What "setenv opt" may carry besides an allowed directive: options that
// OpenVPN on Linux does not know, which it then ignores with a warning.
constexpr DirectiveRule kIgnoredOnLinux[] = {
    {"block-outside-dns", 0, 0}, {"register-dns", 0, 0}, {"dhcp-release", 0, 0}, {"dhcp-renew", 0, 0},
    {"ip-win32", 1, 3},          {"route-method", 1, 1}, {"tap-sleep", 1, 1},
};

constexpr const char* kStealthRouteUp = "/bin/ip route del 127.0.0.1";

template <size_t N> const DirectiveRule* findRule(const DirectiveRule (&rules)[N], const std::string& name)
{
    for (const DirectiveRule& rule : rules) {
        if (name == rule.name) {
            return &rule;
        }
    }
    return nullptr;
}

bool isInlineTag(const std::string& name)
{
    for (const char* tag : kInlineOnly) {
        if (name == tag) {
            return true;
        }
    }
    return false;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string trim(const std::string& line)
{
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && isBlank(line[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(line[end - 1])) {
        --end;
    }
    return line.substr(begin, end - begin);
}

bool closesWord(const std::string& line, size_t quoteAt)
{
    return quoteAt + 1 >= line.size() || isBlank(line[quoteAt + 1]);
}

// Splits a line the way OpenVPN does: blanks separate, double quotes and
// single quotes group, a backslash escapes the next character outside single
// quotes. OpenVPN ends a word at its closing quote and keeps a quote inside a
// bare word as a letter, so "dh"cp-option would be two words to it and one
// here: a quote that does not stand at both edges of a word is refused, and
// so is an unterminated quote or a trailing backslash.
std::optional<std::vector<std::string>> splitLine(const std::string& line)
{
    std::vector<std::string> tokens;
    std::string current;
    bool inToken = false;
    char quote = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && quote != '\'') {
            if (i + 1 >= line.size()) {
                return std::nullopt;
            }
            current += line[++i];
            inToken = true;
            continue;
        }
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
                if (!closesWord(line, i)) {
                    return std::nullopt;
                }
            } else {
                current += c;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            if (inToken) {
                return std::nullopt;
            }
            quote = c;
            inToken = true;
            continue;
        }
        if (isBlank(c)) {
            if (inToken) {
                tokens.push_back(current);
                current.clear();
                inToken = false;
            }
            continue;
        }
        current += c;
        inToken = true;
    }
    if (quote != 0) {
        return std::nullopt;
    }
    if (inToken) {
        tokens.push_back(current);
    }
    return tokens;
}

ProfileCheck refuse(int line, std::string reason)
{
    ProfileCheck check;
    check.line = line;
    check.reason = std::move(reason);
    return check;
}

bool isInterfaceWord(const std::string& word)
{
    // The name reaches the up and down script's programs (resolvectl, ip)
    // as an argument: a leading dash would be read as an option.
    if (word.empty() || word.size() > 15 || word[0] == '-') {
        return false;
    }
    for (char c : word) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '.' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return word != "." && word != "..";
}

bool isClientProtocol(const std::string& word)
{
    for (const char* proto :
         {"udp", "udp4", "udp6", "tcp", "tcp4", "tcp6", "tcp-client", "tcp4-client", "tcp6-client"}) {
        if (word == proto) {
            return true;
        }
    }
    return false;
}

std::string directiveName(const std::vector<std::string>& tokens)
{
    std::string name = tokens.front();
    if (name.compare(0, 2, "--") == 0) {
        name.erase(0, 2);
    }
    return name;
}

std::optional<std::string> checkDirective(const std::vector<std::string>& tokens)
{
    const std::string name = directiveName(tokens);
    const int args = static_cast<int>(tokens.size()) - 1;
    for (size_t i = 1; i < tokens.size(); ++i) {
        // A comment sign after the directive: readers disagree on whether
        // it starts a comment, so it is not accepted at all.
        if (!tokens[i].empty() && (tokens[i][0] == '#' || tokens[i][0] == ';')) {
            return "comment sign inside the line of " + name;
        }
    }
    if (name == "setenv") {
        // The variables reach the up and down script: only the one that
        // service templates carry. "setenv opt" makes OpenVPN read the rest
        // of the line as a directive of its own, so the rest is checked as
        // one, or must be an option OpenVPN ignores here.
        if (args == 2 && tokens[1] == "CLIENT_CERT" && tokens[2] == "0") {
            return std::nullopt;
        }
        if (args >= 2 && tokens[1] == "opt") {
            const std::vector<std::string> inner(tokens.begin() + 2, tokens.end());
            const DirectiveRule* ignored = findRule(kIgnoredOnLinux, directiveName(inner));
            const int innerArgs = args - 2;
            if (ignored != nullptr && innerArgs >= ignored->minArgs && innerArgs <= ignored->maxArgs) {
                return std::nullopt;
            }
            if (const auto problem = checkDirective(inner)) {
                return "setenv opt: " + *problem;
            }
            return std::nullopt;
        }
        return std::string("setenv other than CLIENT_CERT 0 or opt");
    }
    if (name == "route-up") {
        if (args == 1 && tokens[1] == kStealthRouteUp) {
            return std::nullopt;
        }
        return std::string("route-up other than the stealth route line");
    }
    if (isInlineTag(name) && name != "peer-fingerprint") {
        return name + " reads a file; only the inline form is accepted";
    }
    const DirectiveRule* rule = findRule(kAllowed, name);
    if (rule == nullptr) {
        return "directive not allowed: " + name;
    }
    if (args < rule->minArgs || args > rule->maxArgs) {
        return "wrong number of arguments for " + name;
    }
    if (name == "dev" && !isInterfaceWord(tokens[1])) {
        return std::string("bad device name");
    }
    // A client connects out; "tcp-server" or "udp" with a listening peer
    // mode would have root openvpn accept connections from the network.
    if ((name == "proto" && !isClientProtocol(tokens[1])) ||
        (name == "remote" && args == 3 && !isClientProtocol(tokens[3]))) {
        return std::string("protocol other than a client's");
    }
    return std::nullopt;
}

} // namespace

ProfileCheck validateProfile(const std::string& text)
{
    if (text.find('\0') != std::string::npos) {
        return refuse(0, "zero byte in profile");
    }
    std::string openTag; // inside <tag> ... </tag> when not empty
    int lineNumber = 0;
    bool client = false, tlsClient = false, pull = false, remote = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (raw.size() > kMaxProfileLineLength) {
            return refuse(lineNumber, "line too long");
        }
        const std::string line = trim(raw);
        if (!openTag.empty()) {
            if (line == "</" + openTag + ">") {
                openTag.clear();
            } else if (!line.empty() && line[0] == '<') {
                return refuse(lineNumber, "tag inside the inline block of " + openTag);
            } else {
                for (char c : line) {
                    const unsigned char u = static_cast<unsigned char>(c);
                    if ((u < 0x20 && c != '\t') || u >= 0x7f) {
                        return refuse(lineNumber, "control character in inline block");
                    }
                }
            }
            continue;
        }
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        for (char c : line) {
            const unsigned char u = static_cast<unsigned char>(c);
            if ((u < 0x20 && c != '\t') || u >= 0x7f) {
                return refuse(lineNumber, "control or non-ASCII character");
            }
        }
        if (line[0] == '<') {
            if (line.size() < 3 || line.back() != '>' || line[1] == '/') {
                return refuse(lineNumber, "malformed tag");
            }
            const std::string tag = line.substr(1, line.size() - 2);
            if (!isInlineTag(tag)) {
                return refuse(lineNumber, "inline block not allowed: " + tag);
            }
            openTag = tag;
            continue;
        }
        const auto tokens = splitLine(line);
        if (!tokens) {
            return refuse(lineNumber, "unbalanced quote or escape");
        }
        if (tokens->empty()) {
            continue;
        }
        if (const auto problem = checkDirective(*tokens)) {
            return refuse(lineNumber, *problem);
        }
        const std::string name = directiveName(*tokens);
        client = client || name == "client";
        tlsClient = tlsClient || name == "tls-client";
        pull = pull || name == "pull";
        remote = remote || name == "remote";
    }
    if (!openTag.empty()) {
        return refuse(lineNumber, "inline block not closed: " + openTag);
    }
    // Only a TLS client that connects out: anything else would have root
    // openvpn wait for whoever sends it packets first.
    if (!client && !(tlsClient && pull)) {
        return refuse(0, "not a TLS client: client, or tls-client with pull, is missing");
    }
    if (!remote) {
        return refuse(0, "no remote");
    }
    ProfileCheck check;
    check.ok = true;
    return check;
}
