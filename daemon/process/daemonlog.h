// Logging of the daemon: the system log under the identity "kestrovad", standard
// output for the diagnostic lines, and an optional copy in a file.
#pragma once

#include <string>

// Opens the system log (mask up to LOG_INFO, LOG_CONS | LOG_PERROR, LOG_USER).
// When the environment names a file in KESTROVAD_LOG_FILE, every system-log
// line is also appended there; this is a diagnostic for running the daemon
// without a syslog daemon (tests, containers) and changes nothing else.
void initDaemonLog();

// The system log at the given priority, plus the diagnostic file.
void logSystem(int priority, const char* format, ...) __attribute__((format(printf, 2, 3)));

// "<local time> - <message>" to standard output and to the system log (info).
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Lines that only go to standard output (visible while in the foreground).
void printDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Client text made safe for one log line: printable ASCII only, at most
// maxLength characters, anything else shown as '?'.
std::string printableForLog(const std::string& text, size_t maxLength = 256);
