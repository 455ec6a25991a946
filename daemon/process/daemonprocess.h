// Process life of the daemon: detaching, the pid files, the monitor that keeps
// one worker process alive, and the worker's crash handler.
#pragma once

#include <initializer_list>

constexpr const char* kPidFilePath = "/var/run/kestrovad.pid";
constexpr const char* kChildPidFilePath = "/var/run/kestrovad_child.pid";

// The worker's body; `replacing` is true when this worker replaces one that
// crashed or was killed, false for the first worker after the daemon started.
// Returns the worker's exit status (2: stop the daemon).
using WorkerBody = int (*)(bool replacing);

// Detaches and runs the monitor; returns when the monitor ends. Returns at
// once, without detaching, when the parent is process 1. Exits with status 1
// when the pid file cannot be opened or locked (another instance runs).
void daemonize(const char* dir, const char* pidFile, WorkerBody worker);

// The monitor loop; returns the worker's last status (0 or 2).
int MonitorProc(WorkerBody worker);

// Writes the caller's process id (decimal, no newline), replacing the file.
bool SetPidFile(const char* path);

// SIGFPE, SIGILL, SIGSEGV, SIGBUS: log the fault and a backtrace, exit 1.
void installCrashHandler();

void blockSignals(std::initializer_list<int> signals);

// The lock descriptor of the pid file (held by the monitor), or -1.
int pidLockDescriptor();
