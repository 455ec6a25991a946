// kestrova-cli as the user calls it. `status` is asked most often, from
// prompts and status bars, and is answered here from the running engine with
// QtCore alone; every other command, and a status with no engine to ask, is
// the whole program's (installed beside the daemon's helpers), which this
// process becomes. A `connect` with no engine to ask starts the background
// session from here with the request already in hand, and waits for the
// outcome here: the whole program's start is no part of the way to the
// tunnel.
#include "clioutput.h"
#include "controlpath.h"
#include "controlprotocol.h"
#include "enginecall.h"
#include "terminallanguage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTranslator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStatusWaitMs = 5000;

// The whole program: beside this one as installed (bin/ and
// libexec/kestrova/) and as built, else where the package puts it.
std::string wholeProgram()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        std::string path(self, size_t(n));
        path = path.substr(0, path.rfind('/') + 1) + "../libexec/kestrova/kestrova-cli";
        if (::access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return KESTROVA_CLI_WHOLE_PROGRAM;
}

// Only `status`, with or without --json, is answered here.
bool plainStatus(int argc, char* argv[], bool* json)
{
    bool status = false;
    *json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--json" || word == "-json") {
            *json = true;
        } else if (word == "status" && !status) {
            status = true;
        } else {
            return false;
        }
    }
    return status;
}

bool isJsonOption(const std::string& word)
{
    return word == "--json" || word == "-json";
}

// `connect` or `connect LOCATION`, with or without --json: the index of
// the location in argv, 0 for none.
std::optional<int> plainConnect(int argc, char* argv[], bool* json)
{
    int words = 0;
    int location = 0;
    *json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (isJsonOption(word)) {
            *json = true;
            continue;
        }
        if ((words == 0 && word != "connect") || words > 1 || word.empty() || word[0] == '-') {
            return std::nullopt;
        }
        if (words == 1) {
            location = i;
        }
        ++words;
    }
    return words > 0 ? std::optional<int>(location) : std::nullopt;
}

bool engineListens(const QString& socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= int(sizeof address.sun_path)) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool listens = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return listens;
}

// The background session, detached from this process and from the terminal
// (a caller that reads our output until its end must not wait for it too),
// with `requestEnd` as the connection its first request waits in. It ends by
// itself when another engine was first or nobody is signed in.
bool startSession(const std::string& program, int requestEnd)
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
            const std::string fd = std::to_string(requestEnd);
            ::execl(program.c_str(), program.c_str(), "--session-host", "--request-fd", fd.c_str(),
                    static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A connect with no engine running: a new background session takes the
// request at its start and the outcome is reported here. Nothing when the
// session said nothing at all (it ended, as it does when another engine was
// first or nobody is signed in): then the whole program asks the ordinary
// way, and tells why when it cannot.
std::optional<int> connectInNewSession(const std::string& program, int locationIndex, bool json, int argc,
                                       char* argv[])
{
    // The session first: its start is the longest part of the way.
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        return std::nullopt;
    }
    const bool started = startSession(program, ends[1]);
    ::close(ends[1]);
    if (!started) {
        ::close(ends[0]);
        return std::nullopt;
    }
    QCoreApplication app(argc, argv);
    // Read as the whole program reads it: in the terminal's encoding.
    const QString location =
        locationIndex > 0 ? QCoreApplication::arguments().value(locationIndex) : QString();
    QTranslator catalogue;
    TerminalLanguage::install(catalogue);
    const CliOutput out(json);
    QElapsedTimer clock;
    clock.start();
    bool heard = false;
    const std::optional<QJsonObject> reply = EngineCall::converse(
        ends[0],
        {{ControlProtocol::CommandField, ControlProtocol::Connect},
         {ControlProtocol::LocationField, location}},
        ControlProtocol::kConnectWaitMs, [&out](const QJsonObject& event) { out.progress(event); }, nullptr,
        &heard);
    ::close(ends[0]);
    if (reply) {
        return out.reply(*reply);
    }
    if (!heard) {
        return std::nullopt;
    }
    // It took the request and went away, or took too long.
    return out.error(
        ControlProtocol::Failed,
        clock.hasExpired(ControlProtocol::kConnectWaitMs)
            ? QCoreApplication::translate("KestrovaCli", "The engine did not answer in time.")
            : QCoreApplication::translate("KestrovaCli", "The engine ended the dialogue without an answer."));
}

} // namespace

int main(int argc, char* argv[])
{
    bool json = false;
    if (plainStatus(argc, argv, &json)) {
        const std::optional<QString> path = ControlPath::socketPath();
        const std::optional<QJsonObject> reply =
            path ? EngineCall::run(*path, ControlProtocol::Status, kStatusWaitMs)
                 : std::optional<QJsonObject>();
        if (reply && reply->value(ControlProtocol::OkField).toBool()) {
            // The terminal's language, as the whole program speaks it.
            QCoreApplication app(argc, argv);
            QTranslator catalogue;
            TerminalLanguage::install(catalogue);
            CliOutput(json).status(reply->value(QStringLiteral("status")).toObject());
            return ControlProtocol::Ok;
        }
    }
    const std::string program = wholeProgram();
    if (const std::optional<int> location = plainConnect(argc, argv, &json)) {
        const std::optional<QString> path = ControlPath::socketPath();
        if (path && !engineListens(*path)) {
            if (const std::optional<int> code = connectInNewSession(program, *location, json, argc, argv)) {
                return *code;
            }
        }
    }
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "kestrova-cli: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
    return ControlProtocol::Failed;
}
