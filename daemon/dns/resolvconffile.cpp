#include "resolvconffile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& content)
{
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// A new file with the content beside `path`, its name returned.
std::optional<std::string> writeBeside(const std::string& path, const std::string& content, unsigned mode)
{
    std::string name = folderOf(path) + "/.kestrova-dns.XXXXXX";
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    // No fsync: a resolver file is written again after a crash anyway, and
    // readers only need the rename to be atomic.
    const bool written = fchmod(fd, mode) == 0 && writeAll(fd, content);
    if (close(fd) != 0 || !written) {
        unlink(name.c_str());
        return std::nullopt;
    }
    return name;
}

int exchange(const std::string& from, const std::string& to)
{
#ifdef SYS_renameat2
    return static_cast<int>(
        syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE));
#else
    errno = ENOSYS;
    return -1;
#endif
}

// The fall-back where the file is a mount point (a container's bind-mounted
// resolv.conf cannot be renamed over): written in place, new bytes first and
// the length last, so a reader sees the old or the new servers, never none.
bool writeInPlace(const std::string& path, const std::string& content)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    const bool ok = writeAll(fd, content) && ftruncate(fd, static_cast<off_t>(content.size())) == 0;
    return close(fd) == 0 && ok;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, static_cast<size_t>(n));
        if (content.size() > (1u << 20)) {
            break;
        }
    }
    close(fd);
    return content;
}

bool writeFileAtomically(const std::string& path, const std::string& content, unsigned mode)
{
    const std::optional<std::string> fresh = writeBeside(path, content, mode);
    if (!fresh) {
        return false;
    }
    if (rename(fresh->c_str(), path.c_str()) != 0) {
        unlink(fresh->c_str());
        return false;
    }
    return true;
}

std::string ResolvConfFile::target() const
{
    std::string current = path;
    // Follow the links by hand: realpath() fails when the last one dangles
    // (NetworkManager's file may not exist yet).
    for (int hops = 0; hops < 16; ++hops) {
        char buffer[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (n < 0) {
            break;
        }
        std::string next(buffer, static_cast<size_t>(n));
        current = next.size() && next[0] == '/' ? next : folderOf(current) + "/" + next;
    }
    return current;
}

std::optional<std::string> ResolvConfFile::read() const
{
    return readWholeFile(target());
}

std::optional<std::string> ResolvConfFile::swapIn(const std::string& content, bool* ok) const
{
    *ok = false;
    const std::string file = target();
    const std::optional<std::string> fresh = writeBeside(file, content, 0644);
    if (!fresh) {
        return std::nullopt;
    }
    if (exchange(*fresh, file) == 0) {
        std::optional<std::string> displaced = readWholeFile(*fresh);
        unlink(fresh->c_str());
        *ok = true;
        return displaced;
    }
    const int exchangeError = errno;
    std::optional<std::string> displaced = readWholeFile(file);
    if (exchangeError != EBUSY && exchangeError != EXDEV && rename(fresh->c_str(), file.c_str()) == 0) {
        *ok = true;
        return displaced;
    }
    unlink(fresh->c_str());
    if ((exchangeError == EBUSY || exchangeError == EXDEV || errno == EBUSY || errno == EXDEV) &&
        writeInPlace(file, content)) {
        *ok = true;
        return displaced;
    }
    return std::nullopt;
}
