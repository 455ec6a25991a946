// Profile text: whatever the validator accepts, openvpn itself must read as
// harmless. A second reader here follows openvpn's own rules (a closing quote
// ends a word, a quote inside a bare word is a letter, a comment sign may
// start any word, an inline block ends at the first line that begins with
// its closing tag) and aborts when it finds a directive that runs a program,
// loads a module, reads or writes a file or listens, or when the profile does
// not make a TLS client with a remote.
#include "profilevalidator.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kDangerous[] = {
    "up",
    "down",
    "route-up",
    "route-pre-down",
    "ipchange",
    "tls-verify",
    "plugin",
    "setenv",
    "setenv-safe",
    "config",
    "log",
    "log-append",
    "writepid",
    "status",
    "cd",
    "chroot",
    "daemon",
    "tmp-dir",
    "client-connect",
    "client-disconnect",
    "learn-address",
    "auth-user-pass-verify",
    "script-security",
    "management",
    "askpass",
    "dev-node",
    "iproute",
    "tls-export-cert",
    "http-proxy",
    "socks-proxy",
    "engine",
    "providers",
    "connection",
    "x509-track",
    "auth-gen-token",
    "ca",
    "cert",
    "key",
    "tls-auth",
    "tls-crypt",
    "tls-crypt-v2",
    "pkcs12",
    "dh",
    "crl-verify",
    "secret",
    "extra-certs",
    "auth-user-pass",
    "lport",
    "local",
    "bind",
};

bool isDangerous(const std::string& name);

// Directives above that are harmless in one exact form. "setenv opt" has
// openvpn read the rest of the line as a directive.
bool harmlessForm(const std::vector<std::string>& words)
{
    const std::string& name = words[0];
    if (name == "setenv") {
        if (words.size() == 3 && words[1] == "CLIENT_CERT" && words[2] == "0") {
            return true;
        }
        if (words.size() >= 3 && words[1] == "opt") {
            std::vector<std::string> inner(words.begin() + 2, words.end());
            if (inner[0].compare(0, 2, "--") == 0) {
                inner[0].erase(0, 2);
            }
            return !isDangerous(inner[0]) || harmlessForm(inner);
        }
        return false;
    }
    if (name == "route-up") {
        return words.size() == 2 && words[1] == "/bin/ip route del 127.0.0.1";
    }
    if (name == "auth-user-pass") {
        return words.size() == 1;
    }
    return false;
}

bool isDangerous(const std::string& name)
{
    for (const char* bad : kDangerous) {
        if (name == bad || name.compare(0, 11, "management-") == 0) {
            return true;
        }
    }
    return false;
}

// False when openvpn would stop with an error, which is harmless.
bool openvpnWords(const std::string& line, std::vector<std::string>* words)
{
    enum
    {
        Initial,
        Bare,
        Double,
        Single
    } state = Initial;
    std::string word;
    bool escaped = false;
    for (size_t i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : '\0';
        const bool space = c == '\0' || std::isspace(static_cast<unsigned char>(c));
        if (state != Single && c == '\\' && !escaped) {
            escaped = true;
            if (state == Initial) {
                state = Bare;
            }
            continue;
        }
        if (state == Initial) {
            if (space) {
                continue;
            }
            if (c == '#' || c == ';') {
                break;
            }
            state = c == '"' ? Double : c == '\'' ? Single : Bare;
            if (state == Bare) {
                word += c;
            }
        } else if (state == Bare) {
            if (space && !escaped) {
                words->push_back(word);
                word.clear();
                state = Initial;
            } else {
                word += c;
            }
        } else if (state == Double) {
            if (c == '\0') {
                return false;
            }
            if (c == '"' && !escaped) {
                words->push_back(word);
                word.clear();
                state = Initial;
            } else {
                word += c;
            }
        } else {
            if (c == '\0') {
                return false;
            }
            if (c == '\'') {
                words->push_back(word);
                word.clear();
                state = Initial;
            } else {
                word += c;
            }
        }
        escaped = false;
    }
    return true;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!validateProfile(text).ok) {
        return 0;
    }
    const std::vector<std::string> lines = linesOf(text);
    bool client = false, tlsClient = false, pull = false, remote = false;
    for (size_t n = 0; n < lines.size(); ++n) {
        std::vector<std::string> words;
        if (!openvpnWords(lines[n], &words)) {
            return 0;
        }
        if (words.empty()) {
            continue;
        }
        std::string& name = words[0];
        if (words.size() == 1 && name.size() > 2 && name.front() == '<' && name.back() == '>') {
            const std::string close = "</" + name.substr(1);
            for (++n; n < lines.size(); ++n) {
                size_t first = 0;
                while (first < lines[n].size() && std::isspace(static_cast<unsigned char>(lines[n][first]))) {
                    ++first;
                }
                if (lines[n].compare(first, close.size(), close) == 0) {
                    break;
                }
            }
            if (n == lines.size()) {
                return 0; // openvpn refuses an unclosed block
            }
            // Only blocks of key material may be inline.
            if (isDangerous(name.substr(1, name.size() - 2)) && name != "<ca>" && name != "<cert>" &&
                name != "<key>" && name != "<tls-auth>" && name != "<tls-crypt>" &&
                name != "<tls-crypt-v2>" && name != "<pkcs12>" && name != "<dh>" && name != "<crl-verify>" &&
                name != "<extra-certs>") {
                abort();
            }
            continue;
        }
        if (name.compare(0, 2, "--") == 0) {
            name.erase(0, 2);
        }
        if (isDangerous(name) && !harmlessForm(words)) {
            abort();
        }
        client = client || name == "client";
        tlsClient = tlsClient || name == "tls-client";
        pull = pull || name == "pull";
        remote = remote || name == "remote";
    }
    if (!remote || !(client || (tlsClient && pull))) {
        abort();
    }
    return 0;
}
