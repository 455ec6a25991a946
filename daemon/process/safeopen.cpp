#include "safeopen.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// "/proc/self/fd/N" without the allocator.
void selfFdPath(int fd, char (&out)[32])
{
    static const char prefix[] = "/proc/self/fd/";
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + fd % 10);
        fd /= 10;
    } while (fd > 0);
    size_t at = sizeof(prefix) - 1;
    std::memcpy(out, prefix, at);
    while (count > 0) {
        out[at++] = digits[--count];
    }
    out[at] = '\0';
}

} // namespace

int openRegularFileNoLinks(const char* path, struct stat* info)
{
    open_how how;
    std::memset(&how, 0, sizeof(how));
    how.flags = O_PATH | O_CLOEXEC | O_NOFOLLOW;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    long handle = syscall(SYS_openat2, AT_FDCWD, path, &how, sizeof(how));
    if (handle < 0 && errno == ENOSYS) {
        // Older kernels: only the last component is checked.
        handle = open(path, O_PATH | O_CLOEXEC | O_NOFOLLOW);
    }
    if (handle < 0) {
        return -1;
    }
    const int pathFd = static_cast<int>(handle);
    if (fstat(pathFd, info) != 0) {
        close(pathFd);
        return -1;
    }
    if (S_ISLNK(info->st_mode)) {
        close(pathFd);
        errno = ELOOP;
        return -1;
    }
    if (!S_ISREG(info->st_mode)) {
        close(pathFd);
        errno = EINVAL;
        return -1;
    }
    // Reopening through the handle reads exactly the file that was checked.
    char self[32];
    selfFdPath(pathFd, self);
    const int fd = open(self, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    const int saved = errno;
    close(pathFd);
    errno = saved;
    return fd;
}
