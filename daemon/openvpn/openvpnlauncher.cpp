#include "openvpnlauncher.h"

#include "callerfile.h"
#include "processrunner.h"
#include "profilevalidator.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kCopySuffix = ".conf";

std::string errnoText(const char* what)
{
    return std::string(what) + ": " + strerror(errno);
}

// The caller's uid is part of every copy's name: pruning looks only at the
// caller's own copies.
std::string copyPrefix(uid_t uid)
{
    return "openvpn-" + std::to_string(uid) + "-";
}

} // namespace

OpenvpnLauncher::OpenvpnLauncher(ProcessRunner& runner_, LauncherPaths paths_)
    : runner(runner_), paths(std::move(paths_))
{
}

std::vector<std::string> OpenvpnLauncher::buildArguments(const std::string& program,
                                                         const std::string& copyPath, int managementPort,
                                                         bool managementClient)
{
    std::vector<std::string> arguments{program,
                                       "--config",
                                       copyPath,
                                       "--management",
                                       "127.0.0.1",
                                       std::to_string(managementPort),
                                       "--management-query-passwords",
                                       "--script-security",
                                       "2",
                                       "--up",
                                       kResolverScriptPath,
                                       "--down",
                                       kResolverScriptPath};
    if (managementClient) {
        arguments.push_back("--management-client");
    }
    return arguments;
}

std::optional<std::string> OpenvpnLauncher::readProfile(const OpenvpnOptions& options, uid_t peerUid,
                                                        std::string* why)
{
    if (!isPlainAbsolutePath(options.configPath)) {
        *why = "profile path refused";
        return std::nullopt;
    }
    std::string error;
    auto text = readCallerFile(options.configPath, {peerUid, kMaxProfileBytes, kProfileTimeLimit}, &error);
    if (!text) {
        *why = "profile: " + error;
        return std::nullopt;
    }
    const ProfileCheck check = validateProfile(*text);
    if (!check.ok) {
        *why = "profile line " + std::to_string(check.line) + ": " + check.reason;
        return std::nullopt;
    }
    return text;
}

bool OpenvpnLauncher::launch(const OpenvpnOptions& options, const std::string& profile, uid_t peerUid,
                             std::string* why, pid_t* pid, const std::set<pid_t>& ours)
{
    const std::string program =
        paths.openvpnProgram.empty() ? findSystemProgram("openvpn") : paths.openvpnProgram;
    if (program.empty()) {
        *why = "openvpn not found";
        return false;
    }
    std::string copyPath;
    if (!ensureCopyDir(why) || !pruneCopies(peerUid, ours, why) ||
        !writeCopy(profile, peerUid, &copyPath, why)) {
        return false;
    }
    std::string error;
    const pid_t started = runner.spawnChild(
        buildArguments(program, copyPath, options.managementPort, options.managementClient), &error);
    if (started <= 0) {
        *why = "could not start " + program + ": " + error;
        unlink(copyPath.c_str());
        return false;
    }
    if (pid != nullptr) {
        *pid = started;
    }
    return true;
}

bool OpenvpnLauncher::ensureCopyDir(std::string* why)
{
    const char* dir = paths.copyDir.c_str();
    if (mkdir(dir, 0700) != 0 && errno != EEXIST) {
        *why = errnoText("create profile folder");
        return false;
    }
    struct stat info;
    if (lstat(dir, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        *why = "profile folder is not our own directory";
        return false;
    }
    if ((info.st_mode & 07777) != 0700 && chmod(dir, 0700) != 0) {
        *why = errnoText("chmod profile folder");
        return false;
    }
    return true;
}

bool OpenvpnLauncher::writeCopy(const std::string& text, uid_t peerUid, std::string* copyPath,
                                std::string* why)
{
    // A name of its own for every launch: openvpn reads its copy again on
    // SIGHUP, so no later launch, of this caller or another, may replace it.
    std::string path = paths.copyDir + "/" + copyPrefix(peerUid) + "XXXXXX" + kCopySuffix;
    const int fd = mkostemps(&path[0], static_cast<int>(std::strlen(kCopySuffix)), O_CLOEXEC);
    if (fd < 0) {
        *why = errnoText("create profile copy");
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            *why = errnoText("write profile copy");
            close(fd);
            unlink(path.c_str());
            return false;
        }
        done += static_cast<size_t>(put);
    }
    if (close(fd) != 0) {
        *why = errnoText("write profile copy");
        unlink(path.c_str());
        return false;
    }
    *copyPath = path;
    return true;
}

std::set<std::string> OpenvpnLauncher::copiesInUse(const std::set<pid_t>& ours) const
{
    // A copy is in use while an openvpn this daemon started runs with it as
    // its --config. Any other process, a set-uid one included, may name any
    // path in its arguments: counting those would let one user use up
    // another's copies.
    std::set<std::string> inUse;
    for (pid_t pid : ours) {
        std::ifstream file(paths.procDir + "/" + std::to_string(pid) + "/cmdline", std::ios::binary);
        std::vector<std::string> argv;
        for (std::string argument; std::getline(file, argument, '\0');) {
            argv.push_back(argument);
        }
        for (size_t i = 0; i + 1 < argv.size(); ++i) {
            if (argv[i] == "--config") {
                inUse.insert(argv[i + 1]);
            }
        }
    }
    return inUse;
}

bool OpenvpnLauncher::pruneCopies(uid_t peerUid, const std::set<pid_t>& ours, std::string* why)
{
    const std::string prefix = copyPrefix(peerUid);
    DIR* dir = opendir(paths.copyDir.c_str());
    if (dir == nullptr) {
        *why = errnoText("open profile folder");
        return false;
    }
    std::vector<std::string> own;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) == 0) {
            own.push_back(paths.copyDir + "/" + name);
        }
    }
    closedir(dir);
    if (own.empty()) {
        return true;
    }
    const std::set<std::string> inUse = copiesInUse(ours);
    size_t running = 0;
    for (const std::string& path : own) {
        if (inUse.count(path) != 0) {
            ++running;
        } else {
            unlink(path.c_str());
        }
    }
    if (running >= kMaxProfileCopies) {
        *why = "the caller already runs " + std::to_string(running) + " openvpn";
        return false;
    }
    return true;
}
