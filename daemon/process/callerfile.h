// Reading a file that a caller named. The path may lead into a FUSE mount or
// a network share that never answers, and a process stuck there can only be
// killed: such a file is read in a child process under a time limit, so that
// neither the command lock nor a thread of the daemon waits on it. A file
// that cannot hang (every name on its path in the kernel's cache, on a memory
// file system or the root folder's) is read at once, without the child.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

struct CallerFileRules
{
    uid_t owner = 0; // the caller: unless root, the file must be theirs
    size_t maxBytes = 0;
    std::chrono::milliseconds timeLimit{0};
};

// Copies `path`, a regular file reached without any link on the way, into
// `outFd`. False, with *why, when it is refused, cannot be read, is larger
// than maxBytes or is not read within the time limit.
bool copyCallerFile(const std::string& path, const CallerFileRules& rules, int outFd, std::string* why);

// Same, into memory.
std::optional<std::string> readCallerFile(const std::string& path, const CallerFileRules& rules,
                                          std::string* why);
