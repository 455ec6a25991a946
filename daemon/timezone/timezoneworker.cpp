#include "timezoneworker.h"

#include "daemonlog.h"
#include "daemonprotocol.h"
#include "namevalidators.h"
#include "processrunner.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <syslog.h>
#include <unistd.h>

namespace {

// A slow timedatectl still answers within the client's wait in practice;
// a hung one must not hold the daemon's command lock for ever.
constexpr int kTimedatectlTimeoutSec = 20;

constexpr size_t kReadChunk = 128; // at most 127 characters per read

bool isWordBreak(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

int runForReal(const std::vector<std::string>& argv)
{
    SystemProcessRunner processRunner;
    return processRunner.runAndWait(argv, kTimedatectlTimeoutSec);
}

} // namespace

TimezoneWorker::TimezoneWorker(TimezonePaths paths_, CommandRunner runner_)
    : paths(std::move(paths_)), runner(runner_ ? std::move(runner_) : CommandRunner(runForReal))
{
    char buffer[128];
    if (findDefaultTZ(buffer, sizeof(buffer)) != nullptr) {
        logSystem(LOG_INFO, "%s - %s", "[TimezoneWorker] [19] Default timezone is", buffer);
        defaultTimezone = buffer;
        supported = true;
    } else {
        logSystem(LOG_INFO, "[TimezoneWorker] Unable to determine default timezone.");
    }
}

TimezoneWorker::~TimezoneWorker()
{
    if (changed) {
        restoreToDefault();
    }
}

void TimezoneWorker::resume()
{
    if (changed || !supported || paths.changedFile.empty()) {
        return;
    }
    std::ifstream file(paths.changedFile);
    std::string zone;
    if (file && std::getline(file, zone) && isKnownTimezone(zone, paths.zoneinfoDir)) {
        // The zone from before the change: /etc/timezone may name the
        // client's by now.
        defaultTimezone = zone;
        changed = true;
        logSystem(LOG_INFO, "[TimezoneWorker] The zone is still changed; %s goes back", zone.c_str());
    }
}

void TimezoneWorker::rememberChange()
{
    if (paths.changedFile.empty()) {
        return;
    }
    const std::string text = defaultTimezone + "\n";
    const int fd =
        open(paths.changedFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        logSystem(LOG_WARNING, "[TimezoneWorker] Cannot note the change in %s", paths.changedFile.c_str());
    }
    if (fd >= 0) {
        close(fd);
    }
}

bool TimezoneWorker::changeToIP(const char* timezone)
{
    if (!supported) {
        return supported;
    }
    const std::string zone = timezone != nullptr ? timezone : "";
    if (!isKnownTimezone(zone, paths.zoneinfoDir)) {
        logSystem(LOG_WARNING, "[TimezoneWorker] Refused timezone name: %s",
                  printableForLog(zone, kTimezoneIanaBytes).c_str());
        return supported;
    }
    // Noted before the change: a worker killed between the two still has
    // its zone put back.
    if (!changed) {
        rememberChange();
    }
    setZone(zone);
    changed = true;
    return supported;
}

bool TimezoneWorker::restoreToDefault()
{
    if (!supported || !changed) {
        return false;
    }
    setZone(defaultTimezone);
    changed = false;
    if (!paths.changedFile.empty()) {
        unlink(paths.changedFile.c_str());
    }
    return true;
}

bool TimezoneWorker::setZone(const std::string& zone)
{
    const std::string program = findSystemProgram("timedatectl");
    return executeRootCommand({program.empty() ? "/usr/bin/timedatectl" : program, "set-timezone", zone}) ==
           0;
}

int TimezoneWorker::executeRootCommand(const std::vector<std::string>& argv)
{
    std::string line;
    for (const std::string& arg : argv) {
        line += (line.empty() ? "" : " ") + arg;
    }
    logSystem(LOG_INFO, "[TimezoneWorker] Execute cmd: %s", printableForLog(line).c_str());
    const int status = runner(argv);
    if (status == -1) {
        logSystem(LOG_INFO, "[TimezoneWorker] Failed Execute cmd: %s", printableForLog(line).c_str());
    }
    return status;
}

char* TimezoneWorker::findDefaultTZ(char* dst, size_t len)
{
    if (dst == nullptr || len == 0) {
        return nullptr;
    }
    FILE* file = fopen(paths.timezoneFile.c_str(), "re");
    if (file == nullptr) {
        if (getValue(paths.clockFile.c_str(), "ZONE", dst, len) != nullptr) {
            return dst;
        }
        return getValue(paths.timezoneConfFile.c_str(), "TZ", dst, len);
    }
    bool found = false;
    char line[kReadChunk];
    while (fgets(line, sizeof(line), file) != nullptr) {
        const char* word = line;
        while (*word != '\0' && isWordBreak(*word)) {
            ++word;
        }
        size_t wordLength = 0;
        while (word[wordLength] != '\0' && !isWordBreak(word[wordLength])) {
            ++wordLength;
        }
        if (wordLength == 0 || word[0] == '#') {
            continue;
        }
        const size_t copied = wordLength < len ? wordLength : len - 1;
        memcpy(dst, word, copied);
        dst[copied] = '\0';
        found = true;
    }
    fclose(file);
    return found ? dst : nullptr;
}

char* TimezoneWorker::getValue(const char* path, const char* name, char* dst, size_t len)
{
    if (dst == nullptr || len == 0) {
        return nullptr;
    }
    FILE* file = fopen(path, "re");
    if (file == nullptr) {
        return nullptr;
    }
    char line[kReadChunk];
    while (fgets(line, sizeof(line), file) != nullptr) {
        char* equals = strchr(line, '=');
        if (equals == nullptr) {
            continue;
        }
        *equals = '\0';
        if (strcmp(line, name) != 0) {
            continue;
        }
        const char* value = equals + 1;
        while (*value != '\0' && isWordBreak(*value)) {
            ++value;
        }
        size_t valueLength = 0;
        while (value[valueLength] != '\0' && !isWordBreak(value[valueLength])) {
            ++valueLength;
        }
        if (valueLength == 0) {
            fclose(file);
            return nullptr;
        }
        size_t out = 0;
        for (size_t i = 0; i < valueLength && i < len - 1; ++i) {
            if (value[i] != '"') {
                dst[out++] = value[i];
            }
        }
        dst[out] = '\0';
        fclose(file);
        return dst;
    }
    fclose(file);
    return nullptr;
}
