#include "callerfile.h"

#include "safeopen.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <linux/openat2.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

enum class Outcome : int
{
    Copied,
    OpenFailed,
    NotOwner,
    TooLarge,
    ReadFailed,
    WriteFailed,
};

struct Report
{
    Outcome outcome;
    int error;
};

// A child that SIGKILL cannot end at once (a FUSE request its server has
// taken and never answers) is reaped by a waiting thread. Each caller may
// leave only this many behind, so nobody can pile up processes and threads.
constexpr int kMaxStuckPerOwner = 2;
std::mutex stuckMutex;
std::map<uid_t, int> stuckPerOwner; // guarded by stuckMutex

void report(int fd, Outcome outcome, int error)
{
    const Report sent = {outcome, error};
    const ssize_t written = write(fd, &sent, sizeof(sent));
    (void)written;
}

bool writeAll(int fd, const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

void closeAllBut(int first, int second)
{
    const unsigned low = static_cast<unsigned>(first < second ? first : second);
    const unsigned high = static_cast<unsigned>(first < second ? second : first);
    if (low > 3) {
        syscall(SYS_close_range, 3U, low - 1, 0U);
    }
    if (high > low + 1) {
        syscall(SYS_close_range, low + 1, high - 1, 0U);
    }
    syscall(SYS_close_range, high + 1, ~0U, 0U);
}

// Between fork and _exit only system calls: another thread may have held the
// allocator's lock at the moment of the fork.
[[noreturn]] void copyInChild(const char* path, const CallerFileRules& rules, int outFd, int reportFd)
{
    // The daemon's sockets must not stay open in a child that may hang.
    closeAllBut(outFd, reportFd);
    struct stat info;
    const int in = openRegularFileNoLinks(path, &info);
    if (in < 0) {
        report(reportFd, Outcome::OpenFailed, errno);
        _exit(1);
    }
    if (rules.owner != 0 && info.st_uid != rules.owner) {
        report(reportFd, Outcome::NotOwner, 0);
        _exit(1);
    }
    if (static_cast<unsigned long long>(info.st_size) > rules.maxBytes) {
        report(reportFd, Outcome::TooLarge, 0);
        _exit(1);
    }
    char buffer[65536];
    size_t total = 0;
    while (true) {
        const ssize_t got = read(in, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            report(reportFd, Outcome::ReadFailed, errno);
            _exit(1);
        }
        if (got == 0) {
            break;
        }
        total += static_cast<size_t>(got);
        if (total > rules.maxBytes) {
            report(reportFd, Outcome::TooLarge, 0);
            _exit(1);
        }
        if (!writeAll(outFd, buffer, static_cast<size_t>(got))) {
            report(reportFd, Outcome::WriteFailed, errno);
            _exit(1);
        }
    }
    report(reportFd, Outcome::Copied, 0);
    _exit(0);
}

enum class Wait
{
    Reported,
    Died,
    TimedOut,
};

Wait awaitReport(int fd, std::chrono::steady_clock::time_point deadline, Report* received)
{
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return Wait::TimedOut;
        }
        pollfd ready = {fd, POLLIN, 0};
        const int count = poll(&ready, 1, static_cast<int>(left.count()));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count == 0 ? Wait::TimedOut : Wait::Died;
        }
        // The report is one small write: it arrives whole or not at all.
        const ssize_t got = read(fd, received, sizeof(*received));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got == static_cast<ssize_t>(sizeof(*received)) ? Wait::Reported : Wait::Died;
    }
}

void reap(pid_t child, uid_t owner)
{
    // The child ends right after its report (or its kill); one stuck in a
    // read that never returns is left to a thread of its own after 200 ms.
    // Its exit wakes the wait at once (a pidfd is readable when the process
    // has exited), so a command does not sit out a fixed pause for it.
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    if (pidfd >= 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        for (;;) {
            if (waitpid(child, nullptr, WNOHANG) != 0) {
                close(pidfd);
                return;
            }
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd exited = {pidfd, POLLIN, 0};
            poll(&exited, 1, static_cast<int>(left.count()));
        }
        close(pidfd);
    } else {
        for (int i = 0; i < 20; ++i) {
            if (waitpid(child, nullptr, WNOHANG) != 0) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    std::lock_guard<std::mutex> guard(stuckMutex);
    ++stuckPerOwner[owner];
    try {
        std::thread([child, owner] {
            while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
            std::lock_guard<std::mutex> done(stuckMutex);
            if (--stuckPerOwner[owner] == 0) {
                stuckPerOwner.erase(owner);
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread: the child stays counted, and unreaped, for good.
    }
}

std::string describe(const Report& received)
{
    switch (received.outcome) {
    case Outcome::Copied:
        return {};
    case Outcome::OpenFailed:
        return received.error == EINVAL ? std::string("not a regular file")
                                        : std::string("open: ") + strerror(received.error);
    case Outcome::NotOwner:
        return "not owned by the caller";
    case Outcome::TooLarge:
        return "too large";
    case Outcome::ReadFailed:
        return std::string("read: ") + strerror(received.error);
    case Outcome::WriteFailed:
        return std::string("copy: ") + strerror(received.error);
    }
    return "unknown failure";
}

// The mount `mountId` as /proc/self/mountinfo lists it: "ID PARENT MAJ:MIN
// ROOT POINT OPTIONS [TAGS] - TYPE SOURCE SUPER".
struct MountEntry
{
    std::string device;
    std::string type;
};

bool parseMountLine(const std::string& line, std::string* id, std::string* device, std::string* point,
                    std::string* type)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    size_t dash = 6;
    while (dash < words.size() && words[dash] != "-") {
        ++dash;
    }
    if (words.size() < 5 || dash + 1 >= words.size()) {
        return false;
    }
    *id = words[0];
    *device = words[2];
    *point = words[4];
    *type = words[dash + 1];
    return true;
}

// Whether a read on mount `mountId` always finishes: memory file systems, and
// the file system of the root folder, which no user can swap for a FUSE
// server or a loop device over one. Anything else is read in a child.
bool mountNeverHangs(const std::string& mountId)
{
    FILE* table = std::fopen("/proc/self/mountinfo", "re");
    if (table == nullptr) {
        return false;
    }
    std::string rootDevice;
    MountEntry mount;
    bool found = false;
    char* line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = getline(&line, &capacity, table)) > 0) {
        std::string id, device, point, type;
        if (!parseMountLine(std::string(line, static_cast<size_t>(length) - (line[length - 1] == '\n')), &id,
                            &device, &point, &type)) {
            continue;
        }
        if (point == "/") {
            rootDevice = device; // the last one mounted there is the one seen
        }
        if (id == mountId) {
            mount = {device, type};
            found = true;
        }
    }
    std::free(line);
    std::fclose(table);
    if (!found || mount.type.compare(0, 4, "fuse") == 0) {
        return false;
    }
    return mount.type == "tmpfs" || mount.type == "ramfs" ||
           (!rootDevice.empty() && mount.device == rootDevice);
}

std::string mountIdOf(int fd)
{
    char path[64];
    std::snprintf(path, sizeof(path), "/proc/self/fdinfo/%d", fd);
    FILE* info = std::fopen(path, "re");
    if (info == nullptr) {
        return {};
    }
    char line[128];
    std::string id;
    while (std::fgets(line, sizeof(line), info) != nullptr) {
        unsigned long value = 0;
        if (std::sscanf(line, "mnt_id: %lu", &value) == 1) {
            id = std::to_string(value);
            break;
        }
    }
    std::fclose(info);
    return id;
}

// Copies the file without a child when nothing on the way can hang: every
// name on the path already in the kernel's cache (a lookup that would ask a
// FUSE server fails at once instead) and the file on a mount that never
// hangs. True only when the whole file was copied under the rules; any other
// outcome, refusals included, is left to the child, which words the answer.
bool copyInPlace(const char* path, const CallerFileRules& rules, int outFd)
{
    open_how how;
    std::memset(&how, 0, sizeof(how));
    how.flags = O_PATH | O_CLOEXEC | O_NOFOLLOW;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_CACHED;
    const long handle = syscall(SYS_openat2, AT_FDCWD, path, &how, sizeof(how));
    if (handle < 0) {
        return false;
    }
    const int pathFd = static_cast<int>(handle);
    struct stat info;
    bool copied = false;
    int in = -1;
    if (mountNeverHangs(mountIdOf(pathFd)) && fstat(pathFd, &info) == 0 && S_ISREG(info.st_mode) &&
        (rules.owner == 0 || info.st_uid == rules.owner) &&
        static_cast<unsigned long long>(info.st_size) <= rules.maxBytes) {
        char self[64];
        std::snprintf(self, sizeof(self), "/proc/self/fd/%d", pathFd);
        in = open(self, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    }
    if (in >= 0) {
        char buffer[65536];
        size_t total = 0;
        for (;;) {
            const ssize_t got = read(in, buffer, sizeof(buffer));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 || (total += static_cast<size_t>(got)) > rules.maxBytes ||
                !writeAll(outFd, buffer, static_cast<size_t>(got))) {
                break;
            }
            if (got == 0) {
                copied = true;
                break;
            }
        }
        close(in);
    }
    close(pathFd);
    if (!copied && in >= 0) {
        // The child starts again from an empty copy.
        if (ftruncate(outFd, 0) != 0 || lseek(outFd, 0, SEEK_SET) != 0) {
            return false;
        }
    }
    return copied;
}

} // namespace

bool copyCallerFile(const std::string& path, const CallerFileRules& rules, int outFd, std::string* why)
{
    {
        std::lock_guard<std::mutex> guard(stuckMutex);
        const auto stuck = stuckPerOwner.find(rules.owner);
        if (stuck != stuckPerOwner.end() && stuck->second >= kMaxStuckPerOwner) {
            *why = "earlier reads of this caller's files are still stuck";
            return false;
        }
    }
    if (copyInPlace(path.c_str(), rules, outFd)) {
        *why = std::string();
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + rules.timeLimit;
    int reportPipe[2];
    if (pipe2(reportPipe, O_CLOEXEC) != 0) {
        *why = std::string("pipe: ") + strerror(errno);
        return false;
    }
    const char* cPath = path.c_str();
    const pid_t child = fork();
    if (child == 0) {
        close(reportPipe[0]);
        copyInChild(cPath, rules, outFd, reportPipe[1]);
    }
    close(reportPipe[1]);
    if (child < 0) {
        *why = std::string("fork: ") + strerror(errno);
        close(reportPipe[0]);
        return false;
    }
    Report received = {Outcome::ReadFailed, 0};
    const Wait result = awaitReport(reportPipe[0], deadline, &received);
    close(reportPipe[0]);
    if (result != Wait::Reported) {
        kill(child, SIGKILL);
    }
    reap(child, rules.owner);
    if (result == Wait::TimedOut) {
        *why = "not read within " + std::to_string(rules.timeLimit.count()) + " ms";
        return false;
    }
    if (result == Wait::Died) {
        *why = "the reading process died";
        return false;
    }
    *why = describe(received);
    return received.outcome == Outcome::Copied;
}

std::optional<std::string> readCallerFile(const std::string& path, const CallerFileRules& rules,
                                          std::string* why)
{
    const int memory = memfd_create("kestrovad-caller-file", MFD_CLOEXEC);
    if (memory < 0) {
        *why = std::string("memfd: ") + strerror(errno);
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (copyCallerFile(path, rules, memory, why)) {
        text.emplace();
        char buffer[65536];
        off_t at = 0;
        ssize_t got;
        while ((got = pread(memory, buffer, sizeof(buffer), at)) > 0) {
            text->append(buffer, static_cast<size_t>(got));
            at += got;
        }
        if (got < 0) {
            *why = std::string("read back: ") + strerror(errno);
            text.reset();
        }
    }
    close(memory);
    return text;
}
