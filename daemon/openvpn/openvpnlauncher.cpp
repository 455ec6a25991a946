#include "openvpnlauncher.h"

#include "processrunner.h"
#include "profilevalidator.h"
#include "safeopen.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string errnoText(const char* what)
{
    return std::string(what) + ": " + strerror(errno);
}

} // namespace

OpenvpnLauncher::OpenvpnLauncher(ProcessRunner& runner_, LauncherPaths paths_)
    : runner(runner_), paths(std::move(paths_))
{
}

std::vector<std::string> OpenvpnLauncher::buildArguments(const std::string& program,
                                                         const std::string& copyPath, int managementPort)
{
    return {program,
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
}

bool OpenvpnLauncher::launch(const OpenvpnOptions& options, uid_t peerUid, std::string* why)
{
    std::string text;
    if (!readProfile(options.configPath, peerUid, &text, why)) {
        return false;
    }
    const ProfileCheck check = validateProfile(text);
    if (!check.ok) {
        *why = "profile line " + std::to_string(check.line) + ": " + check.reason;
        return false;
    }
    std::string copyPath;
    if (!ensureCopyDir(why) || !writeCopy(text, options.managementPort, &copyPath, why)) {
        return false;
    }
    const std::string program =
        paths.openvpnProgram.empty() ? findSystemProgram("openvpn") : paths.openvpnProgram;
    if (program.empty()) {
        *why = "openvpn not found";
        return false;
    }
    std::string error;
    if (!runner.spawnDetached(buildArguments(program, copyPath, options.managementPort), &error)) {
        *why = "could not start " + program + ": " + error;
        return false;
    }
    return true;
}

bool OpenvpnLauncher::readProfile(const std::string& path, uid_t peerUid, std::string* text, std::string* why)
{
    if (!isPlainAbsolutePath(path)) {
        *why = "profile path refused";
        return false;
    }
    struct stat info;
    const int fd = openRegularFileNoLinks(path, &info);
    if (fd < 0) {
        *why = errno == EINVAL ? std::string("profile is not a regular file") : errnoText("open profile");
        return false;
    }
    bool ok = false;
    if (fstat(fd, &info) != 0) {
        *why = errnoText("stat profile");
    } else if (!S_ISREG(info.st_mode)) {
        *why = "profile is not a regular file";
    } else if (info.st_uid != peerUid && peerUid != 0) {
        *why = "profile is not owned by the caller";
    } else if (static_cast<size_t>(info.st_size) > kMaxProfileBytes) {
        *why = "profile too large";
    } else {
        ok = true;
    }
    if (ok) {
        text->clear();
        char buffer[16384];
        while (true) {
            const ssize_t got = read(fd, buffer, sizeof(buffer));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                *why = errnoText("read profile");
                ok = false;
                break;
            }
            if (got == 0) {
                break;
            }
            text->append(buffer, static_cast<size_t>(got));
            if (text->size() > kMaxProfileBytes) {
                *why = "profile too large";
                ok = false;
                break;
            }
        }
    }
    close(fd);
    return ok;
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

bool OpenvpnLauncher::writeCopy(const std::string& text, int managementPort, std::string* copyPath,
                                std::string* why)
{
    std::string temp = paths.copyDir + "/profile.XXXXXX";
    const int fd = mkostemp(&temp[0], O_CLOEXEC);
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
            unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(put);
    }
    fchmod(fd, 0600);
    close(fd);
    // One copy per management port: a new connection on the same port
    // replaces the old copy; copies of other ports are left to their
    // openvpn, which may read its profile again on a restart.
    *copyPath = paths.copyDir + "/openvpn-" + std::to_string(managementPort) + ".conf";
    if (rename(temp.c_str(), copyPath->c_str()) != 0) {
        *why = errnoText("rename profile copy");
        unlink(temp.c_str());
        return false;
    }
    pruneCopies(*copyPath);
    return true;
}

void OpenvpnLauncher::pruneCopies(const std::string& keep)
{
    // One copy per port would let a caller that walks through the ports fill
    // /run, which is memory; the oldest copies belong to openvpn runs long
    // replaced, which read their profile only when they start.
    DIR* dir = opendir(paths.copyDir.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::pair<timespec, std::string>> copies;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, 8, "openvpn-") != 0) {
            continue;
        }
        const std::string path = paths.copyDir + "/" + name;
        struct stat info;
        if (path != keep && lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            copies.emplace_back(info.st_mtim, path);
        }
    }
    closedir(dir);
    if (copies.size() < kMaxProfileCopies) {
        return;
    }
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) {
        return a.first.tv_sec != b.first.tv_sec ? a.first.tv_sec < b.first.tv_sec
                                                : a.first.tv_nsec < b.first.tv_nsec;
    });
    for (size_t i = 0; i + kMaxProfileCopies <= copies.size(); ++i) {
        unlink(copies[i].second.c_str());
    }
}
