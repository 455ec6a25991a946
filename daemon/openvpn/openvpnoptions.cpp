#include "openvpnoptions.h"

#include <vector>

namespace {

struct Token
{
    std::string text;
    bool quoted = false;
};

// Splits at blanks; a token may be enclosed in double quotes (then it may hold
// blanks). Quotes anywhere else, tabs or control characters refuse the string.
std::optional<std::vector<Token>> tokenize(const std::string& text)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        Token token;
        if (c == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string::npos) {
                return std::nullopt;
            }
            token.text = text.substr(i + 1, close - i - 1);
            token.quoted = true;
            i = close + 1;
            if (i < text.size() && text[i] != ' ') {
                return std::nullopt;
            }
        } else {
            while (i < text.size() && text[i] != ' ') {
                if (text[i] == '"') {
                    return std::nullopt;
                }
                token.text += text[i++];
            }
        }
        for (char t : token.text) {
            const unsigned char u = static_cast<unsigned char>(t);
            if (u < 0x20 || u >= 0x7f) {
                return std::nullopt;
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// Ports below 1024 are the system's own: root openvpn must not take one.
std::optional<int> parsePort(const std::string& text)
{
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < 1024 || value > 65535) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool isPlainAbsolutePath(const std::string& path)
{
    if (path.size() < 2 || path.front() != '/' || path.size() > 4095) {
        return false;
    }
    for (char c : path) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f || c == '"' || c == '\\') {
            return false;
        }
    }
    size_t start = 1;
    while (true) {
        const size_t end = path.find('/', start);
        const std::string part =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        if (end == std::string::npos) {
            return true;
        }
        start = end + 1;
    }
}

std::optional<OpenvpnOptions> parseOpenvpnOptions(const std::string& text)
{
    const auto tokens = tokenize(text);
    if (!tokens) {
        return std::nullopt;
    }
    OpenvpnOptions options;
    bool seenConfig = false, seenManagement = false, seenQuery = false, seenSecurity = false, seenUp = false,
         seenDown = false, seenClient = false;
    const std::vector<Token>& t = *tokens;
    size_t i = 0;
    auto argumentCount = [&](size_t count) { return i + count < t.size(); };
    while (i < t.size()) {
        const Token& option = t[i];
        if (option.quoted) {
            return std::nullopt;
        }
        if (option.text == "--config" && !seenConfig && argumentCount(1)) {
            const Token& path = t[i + 1];
            if (!path.quoted || !isPlainAbsolutePath(path.text)) {
                return std::nullopt;
            }
            options.configPath = path.text;
            seenConfig = true;
            i += 2;
        } else if (option.text == "--management" && !seenManagement && argumentCount(2)) {
            const auto port = parsePort(t[i + 2].text);
            if (t[i + 1].quoted || t[i + 1].text != "127.0.0.1" || t[i + 2].quoted || !port) {
                return std::nullopt;
            }
            options.managementPort = *port;
            seenManagement = true;
            i += 3;
        } else if (option.text == "--management-client" && !seenClient) {
            options.managementClient = true;
            seenClient = true;
            i += 1;
        } else if (option.text == "--management-query-passwords" && !seenQuery) {
            seenQuery = true;
            i += 1;
        } else if (option.text == "--script-security" && !seenSecurity && argumentCount(1)) {
            if (t[i + 1].quoted || t[i + 1].text != "2") {
                return std::nullopt;
            }
            seenSecurity = true;
            i += 2;
        } else if ((option.text == "--up" && !seenUp) || (option.text == "--down" && !seenDown)) {
            if (!argumentCount(1) || t[i + 1].quoted || t[i + 1].text != kResolverScriptPath) {
                return std::nullopt;
            }
            (option.text == "--up" ? seenUp : seenDown) = true;
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (!(seenConfig && seenManagement && seenQuery && seenSecurity && seenUp && seenDown)) {
        return std::nullopt;
    }
    return options;
}
