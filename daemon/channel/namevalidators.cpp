#include "namevalidators.h"

#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

bool isValidInterfaceName(const std::string& name)
{
    if (name.empty()) {
        return true;
    }
    // A leading dash would be read as an option by the programs it reaches.
    if (name.size() > 15 || name == "." || name == ".." || name[0] == '-') {
        return false;
    }
    for (char c : name) {
        if (!isAsciiAlnum(c) && c != '_' && c != '.' && c != '-') {
            return false;
        }
    }
    return true;
}

bool isValidTimezoneName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name.front() == '/' || name.back() == '/') {
        return false;
    }
    for (char c : name) {
        if (!isAsciiAlnum(c) && c != '_' && c != '+' && c != '-' && c != '/') {
            return false;
        }
    }
    // Components: none empty, none "." or "..": the name must stay a plain
    // relative path below the zoneinfo folder.
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = name.find('/', start);
        const std::string part =
            name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == ".." || part.front() == '-') {
            return false;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return name.find("..") == std::string::npos;
}

bool isKnownTimezone(const std::string& name, const std::string& zoneinfoDir)
{
    if (!isValidTimezoneName(name)) {
        return false;
    }
    // Links inside the zone folder are how aliases work, but a link that
    // leaves it, even for a moment, must not count: Debian ships "localtime"
    // -> /etc/localtime, which ends inside the folder again, yet setting it
    // makes /etc/localtime a link to itself. The kernel checks every step.
    const int dirFd = open(zoneinfoDir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        return false;
    }
    open_how how;
    std::memset(&how, 0, sizeof(how));
    how.flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const long opened = syscall(SYS_openat2, dirFd, name.c_str(), &how, sizeof(how));
    close(dirFd);
    if (opened < 0) {
        return false;
    }
    const int fd = static_cast<int>(opened);
    struct stat info;
    char magic[4] = {};
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                    read(fd, magic, sizeof(magic)) == static_cast<ssize_t>(sizeof(magic)) &&
                    std::memcmp(magic, "TZif", 4) == 0;
    close(fd);
    return ok;
}
