// Opening a file that a caller named, as root.
#pragma once

#include <sys/stat.h>

// Opens `path` for reading when it is a regular file reached without any
// link on the way, and fills *info. The path is first held as a bare O_PATH
// handle, which reaches no driver: opening a device as root can already act
// on it (a watchdog that starts counting, a tape that rewinds). -1 with errno
// set otherwise (EINVAL: not a regular file; ELOOP: a link on the path).
// Allocates nothing, so a child may call it between fork and _exit.
int openRegularFileNoLinks(const char* path, struct stat* info);
