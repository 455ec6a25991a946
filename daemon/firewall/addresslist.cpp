#include "addresslist.h"

#include <arpa/inet.h>

namespace AddressList {

std::optional<std::string> canonicalAddress(const std::string& item)
{
    std::string address = item;
    std::string prefix;
    const size_t slash = item.find('/');
    if (slash != std::string::npos) {
        address = item.substr(0, slash);
        const std::string digits = item.substr(slash + 1);
        if (digits.empty() || digits.size() > 2)
            return std::nullopt;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
        }
        const int length = std::stoi(digits);
        if (length > 32)
            return std::nullopt;
        prefix = "/" + std::to_string(length);
    }
    in_addr parsed{};
    if (address.empty() || inet_pton(AF_INET, address.c_str(), &parsed) != 1)
        return std::nullopt;
    char text[INET_ADDRSTRLEN];
    if (!inet_ntop(AF_INET, &parsed, text, sizeof text))
        return std::nullopt;
    return std::string(text) + prefix;
}

std::optional<std::vector<std::string>> parse(const std::string& text)
{
    std::vector<std::string> result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        if (!item.empty()) {
            auto canonical = canonicalAddress(item);
            if (!canonical)
                return std::nullopt;
            result.push_back(*canonical);
        }
        start = end + 1;
    }
    return result;
}

std::string join(const std::vector<std::string>& addresses)
{
    std::string out;
    for (const auto& a : addresses) {
        if (!out.empty())
            out += ';';
        out += a;
    }
    return out;
}

bool isValidInterfaceName(const std::string& name)
{
    // A leading dash could be read as an option by iptables.
    if (name.empty() || name.size() > 15 || name[0] == '-')
        return false;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '.' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace AddressList
