#include "socketidfile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool setSocketIdToFile(const std::string& path, int value)
{
    std::string temp = path + ".XXXXXX";
    const int fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char text[32];
    const int length = snprintf(text, sizeof(text), "%d", value);
    bool ok = write(fd, text, static_cast<size_t>(length)) == length;
    ok = fchmod(fd, 0644) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), path.c_str()) == 0) {
        return true;
    }
    unlink(temp.c_str());
    return false;
}

int getSocketIdFromFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return 0;
    }
    char text[32] = {};
    ssize_t got;
    do {
        got = read(fd, text, sizeof(text) - 1);
    } while (got < 0 && errno == EINTR);
    close(fd);
    if (got <= 0) {
        return 0;
    }
    return atoi(text);
}
