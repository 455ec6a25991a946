// The front of kestrova-cli, with QtCore alone. `status` is asked most
// often, from prompts and status bars, and is answered here from the running
// engine; a `connect` whose background session kestrova-cli has just started
// waits here for the outcome and prints the progress: the whole program's
// start is no part of the way to the tunnel. Everything else, and a status
// with no engine to ask, is the whole program's, which this process becomes.
#include "clioutput.h"
#include "controlpath.h"
#include "controlprotocol.h"
#include "enginecall.h"
#include "terminallanguage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QTranslator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kStatusWaitMs = 5000;

// The whole program, beside this one (libexec/kestrova/), else where the
// package puts it.
std::string wholeProgram()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        std::string path(self, size_t(n));
        path = path.substr(0, path.rfind('/') + 1) + "kestrova-cli";
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

// A connect with no engine running: the background session, started by
// the program the user ran, takes the request at its start from `sessionFd`
// and the outcome is reported here. Nothing when the session said nothing at
// all (it ended, as it does when another engine was first or nobody is
// signed in): then the whole program asks the ordinary way, and tells why
// when it cannot.
std::optional<int> connectInNewSession(int sessionFd, bool requestSent, int locationIndex, bool json,
                                       int argc, char* argv[])
{
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
    const auto progress = [&out](const QJsonObject& event) { out.progress(event); };
    const std::optional<QJsonObject> reply =
        requestSent
            ? EngineCall::awaitReply(sessionFd, ControlProtocol::kConnectWaitMs, progress, nullptr, &heard)
            : EngineCall::converse(sessionFd,
                                   {{ControlProtocol::CommandField, ControlProtocol::Connect},
                                    {ControlProtocol::LocationField, location}},
                                   ControlProtocol::kConnectWaitMs, progress, nullptr, &heard);
    ::close(sessionFd);
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
    // By the name the user ran: this process is that command.
    ::prctl(PR_SET_NAME, "kestrova-cli");
    bool json = false;
    const std::string program = wholeProgram();
    // From kestrova-cli: --connect-fd N (or --answer-fd N, when it has sent
    // the request itself), then the user's words, with the session already
    // started at the other end of N.
    const bool requestSent = argc > 3 && std::strcmp(argv[1], "--answer-fd") == 0;
    if (argc > 3 && (requestSent || std::strcmp(argv[1], "--connect-fd") == 0)) {
        char* end = nullptr;
        const long fd = std::strtol(argv[2], &end, 10);
        argv[2] = argv[0];
        argc -= 2;
        argv += 2;
        const std::optional<int> location = plainConnect(argc, argv, &json);
        if (location && *end == '\0' && fd > 2 && fd < INT_MAX &&
            ::fcntl(int(fd), F_SETFD, FD_CLOEXEC) == 0) {
            if (const std::optional<int> code =
                    connectInNewSession(int(fd), requestSent, *location, json, argc, argv)) {
                return *code;
            }
        }
    } else if (plainStatus(argc, argv, &json)) {
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
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "kestrova-cli: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
    return ControlProtocol::Failed;
}
