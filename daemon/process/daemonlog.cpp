#include "daemonlog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <syslog.h>
#include <unistd.h>

namespace {

// Read once, on first use (program-wide objects log before main runs); the
// descriptor is opened per line because the daemon closes every descriptor
// when it detaches.
const char* diagnosticPath()
{
    // A plain array, never destroyed: threads may still log while the
    // process runs its exit handlers.
    static char path[512];
    static const bool loaded = [] {
        const char* value = getenv("KESTROVAD_LOG_FILE");
        if (value != nullptr && value[0] == '/' && strlen(value) < sizeof(path)) {
            strcpy(path, value);
        }
        return true;
    }();
    (void)loaded;
    return path;
}

void appendDiagnostic(const char* line)
{
    if (diagnosticPath()[0] == '\0') {
        return;
    }
    const int fd = open(diagnosticPath(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return;
    }
    char buffer[2048];
    const int length = snprintf(buffer, sizeof(buffer), "[%d] %s\n", static_cast<int>(getpid()), line);
    if (length > 0) {
        const size_t count =
            static_cast<size_t>(length) < sizeof(buffer) ? static_cast<size_t>(length) : sizeof(buffer) - 1;
        ssize_t written = write(fd, buffer, count);
        (void)written;
    }
    close(fd);
}

void stripTrailingNewlines(char* text)
{
    size_t length = strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) {
        text[--length] = '\0';
    }
}

void logFormatted(int priority, const char* format, va_list args)
{
    char message[1536];
    vsnprintf(message, sizeof(message), format, args);
    stripTrailingNewlines(message);
    syslog(priority, "%s", message);
    appendDiagnostic(message);
}

} // namespace

void initDaemonLog()
{
    diagnosticPath();
    setlogmask(LOG_UPTO(LOG_INFO));
    openlog("kestrovad", LOG_CONS | LOG_PERROR, LOG_USER);
}

void logSystem(int priority, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logFormatted(priority, format, args);
    va_end(args);
}

void WriteLog(const char* format, ...)
{
    char message[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof(message), format, args);
    va_end(args);

    char timeText[64] = "";
    const time_t now = time(nullptr);
    struct tm local;
    if (localtime_r(&now, &local) != nullptr) {
        strftime(timeText, sizeof(timeText), "%Y-%m-%d.%X", &local);
    }
    stripTrailingNewlines(message);
    printf("%s - %s\n", timeText, message);
    fflush(stdout);
    logSystem(LOG_INFO, "%s - %s", timeText, message);
}

void printDiagnostic(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

std::string printableForLog(const std::string& text, size_t maxLength)
{
    std::string out;
    for (char c : text) {
        if (out.size() >= maxLength) {
            out += "...";
            break;
        }
        const unsigned char u = static_cast<unsigned char>(c);
        out += (u >= 0x20 && u < 0x7f) ? c : '?';
    }
    return out;
}
