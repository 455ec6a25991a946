// Sets the system timezone for the client and puts the default one back.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct TimezonePaths
{
    std::string timezoneFile = "/etc/timezone";
    std::string clockFile = "/etc/sysconfig/clock";
    std::string timezoneConfFile = "/etc/TIMEZONE";
    std::string zoneinfoDir = "/usr/share/zoneinfo";
    // While the zone is the client's: the zone to put back. A worker that
    // replaces a killed one (its memory is the monitor's, from before the
    // change) and a daemon started after one died still put it back.
    std::string changedFile = "/run/kestrovad-timezone";
};

class TimezoneWorker
{
public:
    // Runs one program with its argument vector and returns its wait status
    // (-1 when it could not run). The default runs it for real.
    using CommandRunner = std::function<int(const std::vector<std::string>& argv)>;

    explicit TimezoneWorker(TimezonePaths paths = TimezonePaths(), CommandRunner runner = CommandRunner());
    ~TimezoneWorker();
    TimezoneWorker(const TimezoneWorker&) = delete;
    TimezoneWorker& operator=(const TimezoneWorker&) = delete;

    bool isSupported() const { return supported; }
    bool isChanged() const { return changed; }
    // Takes over a change noted by a worker before this one; a worker calls
    // it as it starts.
    void resume();
    const std::string& defaultZone() const { return defaultTimezone; }

    // Sets the named zone; returns `supported`. A name that is not a known
    // IANA zone (see namevalidators.h) is refused and logged, and nothing runs.
    bool changeToIP(const char* timezone);
    // Puts the default zone back; true when it ran the restore.
    bool restoreToDefault();

    int executeRootCommand(const std::vector<std::string>& argv);
    char* findDefaultTZ(char* dst, size_t len);
    static char* getValue(const char* path, const char* name, char* dst, size_t len);

private:
    bool setZone(const std::string& zone);
    void rememberChange();

    TimezonePaths paths;
    CommandRunner runner;
    bool supported = false;
    bool changed = false;
    std::string defaultTimezone;
};
