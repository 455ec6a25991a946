// kestrova-cli as the user calls it: libc alone, so that it runs its first
// line within a millisecond. A `connect` with no engine to ask starts the
// background session here, before any library is loaded, and only then
// becomes the front that prints the progress and the outcome: the front's
// loading and the session's then overlap instead of adding up. `status`
// goes to the front (QtCore), every other command to the whole program.
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Exit status of a program that could not run at all (ControlProtocol::Failed).
constexpr int kFailed = 1;
// The longest wait for the new session's first word before the front starts
// all the same; the front has its own limit for the whole dialogue.
constexpr int kFirstWordWaitMs = 3000;

struct Programs
{
    char front[PATH_MAX];
    char whole[PATH_MAX];
};

bool fits(int written, size_t size)
{
    return written > 0 && size_t(written) < size;
}

// Beside this one as installed (bin/ and libexec/kestrova/) and as built,
// else where the package puts them.
Programs programs()
{
    Programs found{};
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        char* slash = std::strrchr(self, '/');
        if (slash) {
            slash[1] = '\0';
            if (fits(std::snprintf(found.front, sizeof found.front,
                                   "%s../libexec/kestrova/kestrova-cli-front", self),
                     sizeof found.front) &&
                fits(std::snprintf(found.whole, sizeof found.whole, "%s../libexec/kestrova/kestrova-cli",
                                   self),
                     sizeof found.whole) &&
                ::access(found.front, X_OK) == 0 && ::access(found.whole, X_OK) == 0) {
                return found;
            }
        }
    }
    std::snprintf(found.front, sizeof found.front, "%s", KESTROVA_CLI_FRONT_PROGRAM);
    std::snprintf(found.whole, sizeof found.whole, "%s", KESTROVA_CLI_WHOLE_PROGRAM);
    return found;
}

bool isJsonOption(const char* word)
{
    return std::strcmp(word, "--json") == 0 || std::strcmp(word, "-json") == 0;
}

// `status`, with or without --json.
bool plainStatus(int argc, char* argv[])
{
    bool status = false;
    for (int i = 1; i < argc; ++i) {
        if (isJsonOption(argv[i])) {
            continue;
        }
        if (status || std::strcmp(argv[i], "status") != 0) {
            return false;
        }
        status = true;
    }
    return status;
}

// `connect` or `connect LOCATION`, with or without --json.
bool plainConnect(int argc, char* argv[])
{
    int words = 0;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        if (isJsonOption(word)) {
            continue;
        }
        if ((words == 0 && std::strcmp(word, "connect") != 0) || words > 1 || word[0] == '\0' ||
            word[0] == '-') {
            return false;
        }
        ++words;
    }
    return words > 0;
}

bool trustedDirectory(const char* path, uid_t uid, bool private0700)
{
    struct stat st;
    if (::lstat(path, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid) {
        return false;
    }
    return (st.st_mode & (private0700 ? 077 : 022)) == 0;
}

// Whether no engine of this user listens, found the way the engine picks its
// folder. Only a plain "nobody there" counts: a folder that is not the
// user's own is left to the whole program to refuse.
bool noEngine()
{
    const uid_t uid = ::getuid();
    char folder[sizeof(sockaddr_un::sun_path)];
    const char* runtime = ::getenv("XDG_RUNTIME_DIR");
    char systemRuntime[64];
    std::snprintf(systemRuntime, sizeof systemRuntime, "/run/user/%u", unsigned(uid));
    int written = 0;
    if (runtime && runtime[0] == '/' && trustedDirectory(runtime, uid, false)) {
        written = std::snprintf(folder, sizeof folder, "%s/kestrova", runtime);
    } else if (trustedDirectory(systemRuntime, uid, false)) {
        written = std::snprintf(folder, sizeof folder, "%s/kestrova", systemRuntime);
    } else {
        written = std::snprintf(folder, sizeof folder, "/tmp/kestrova-%u", unsigned(uid));
    }
    if (!fits(written, sizeof folder)) {
        return false;
    }
    struct stat st;
    if (::lstat(folder, &st) != 0) {
        return errno == ENOENT;
    }
    if (!trustedDirectory(folder, uid, true)) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!fits(std::snprintf(address.sun_path, sizeof address.sun_path, "%s/control", folder),
              sizeof address.sun_path)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool listens = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int error = errno;
    ::close(fd);
    return !listens && (error == ENOENT || error == ECONNREFUSED);
}

// The background session, detached from this process and from the terminal
// (a caller that reads our output until its end must not wait for it too),
// with `requestEnd` as the connection its first request waits in. It ends by
// itself when another engine was first or nobody is signed in.
bool startSession(const char* program, int requestEnd)
{
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        if (::fork() == 0) {
            const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
            for (int fd = 0; fd < 3 && null >= 0; ++fd) {
                ::dup2(null, fd);
            }
            ::fcntl(requestEnd, F_SETFD, 0);
            char fd[16];
            std::snprintf(fd, sizeof fd, "%d", requestEnd);
            ::execl(program, program, "--session-host", "--request-fd", fd, static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Appends `text` to `out` as a JSON string's content; false when it cannot
// be sent as the front would send it (a word the terminal's encoding reads
// otherwise than as UTF-8, or no room).
bool appendJsonText(char* out, size_t size, const char* text)
{
    size_t length = std::strlen(out);
    bool ascii = true;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        ascii = ascii && *c < 0x80;
    }
    if (!ascii) {
        // The front reads the words in the terminal's encoding.
        std::setlocale(LC_CTYPE, "");
        if (std::strcmp(::nl_langinfo(CODESET), "UTF-8") != 0 ||
            std::mbstowcs(nullptr, text, 0) == size_t(-1)) {
            return false;
        }
    }
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        char piece[8];
        if (*c == '"' || *c == '\\') {
            std::snprintf(piece, sizeof piece, "\\%c", *c);
        } else if (*c < 0x20 || *c == 0x7f) {
            std::snprintf(piece, sizeof piece, "\\u%04x", *c);
        } else {
            piece[0] = char(*c);
            piece[1] = '\0';
        }
        const size_t add = std::strlen(piece);
        if (length + add >= size) {
            return false;
        }
        std::memcpy(out + length, piece, add + 1);
        length += add;
    }
    return true;
}

// Sends the connect request on `fd` as the front would, so that the session
// can begin the moment it is ready.
bool sendConnectRequest(int fd, int argc, char* argv[])
{
    // The word after `connect`, if any.
    const char* location = "";
    int words = 0;
    for (int i = 1; i < argc; ++i) {
        if (!isJsonOption(argv[i]) && words++ == 1) {
            location = argv[i];
        }
    }
    char request[4096] = "{\"command\":\"connect\",\"location\":\"";
    if (!appendJsonText(request, sizeof request - 3, location)) {
        return false;
    }
    std::strcat(request, "\"}\n");
    const size_t length = std::strlen(request);
    size_t sent = 0;
    while (sent < length) {
        const ssize_t n = ::send(fd, request + sent, length - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += size_t(n);
    }
    return true;
}

// Until the session has said its first word (the connect has begun), or has
// gone. The front is loaded only then: on a busy machine its loading would
// otherwise compete with the session's, which is the way to the tunnel; the
// front's own start is hidden behind the tunnel's.
void awaitFirstWord(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    while (::poll(&ready, 1, kFirstWordWaitMs) < 0 && errno == EINTR) {
    }
}

// Becomes the front with the session's end of the request in `fd`
// (`option`: --connect-fd, the front sends the request; --answer-fd, it was
// sent); returns only when it could not.
void becomeFrontOfSession(const char* front, const char* option, int fd, int argc, char* argv[])
{
    char number[16];
    std::snprintf(number, sizeof number, "%d", fd);
    char** arguments = static_cast<char**>(std::calloc(size_t(argc) + 3, sizeof(char*)));
    if (!arguments) {
        return;
    }
    arguments[0] = const_cast<char*>(front);
    arguments[1] = const_cast<char*>(option);
    arguments[2] = number;
    for (int i = 1; i < argc; ++i) {
        arguments[i + 2] = argv[i];
    }
    ::fcntl(fd, F_SETFD, 0);
    ::execv(front, arguments);
    std::free(arguments);
}

} // namespace

int main(int argc, char* argv[])
{
    const Programs found = programs();
    if (plainConnect(argc, argv) && noEngine()) {
        // The session first: its start is the longest part of the way.
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0) {
            const bool started = startSession(found.whole, ends[1]);
            ::close(ends[1]);
            if (started && sendConnectRequest(ends[0], argc, argv)) {
                awaitFirstWord(ends[0]);
                becomeFrontOfSession(found.front, "--answer-fd", ends[0], argc, argv);
            } else if (started) {
                becomeFrontOfSession(found.front, "--connect-fd", ends[0], argc, argv);
            }
            ::close(ends[0]);
        }
    }
    const char* program = plainStatus(argc, argv) ? found.front : found.whole;
    ::execv(program, argv);
    std::fprintf(stderr, "kestrova-cli: cannot run %s: %s\n", program, std::strerror(errno));
    return kFailed;
}
