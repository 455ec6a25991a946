// A process the daemon started, told apart from a later one that got the
// same pid by its start time.
#pragma once

#include <chrono>
#include <optional>
#include <sys/types.h>

// The start time (clock ticks since boot) of a running process; nothing for
// one that has ended, zombies included.
std::optional<unsigned long long> processStartTime(pid_t pid);

// SIGTERM to the process that started at `started`, SIGKILL when it has not
// ended within `grace`. True once it has ended (or had already).
bool stopProcess(pid_t pid, unsigned long long started, std::chrono::milliseconds grace);
