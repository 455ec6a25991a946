// The socket-id file "/tmp/kestrovad-socket.id": the listening descriptor's
// number as decimal text, "0" once the daemon has stopped listening. It is
// only ever written; the daemon keeps the descriptor itself in memory and
// never closes a descriptor because a file in /tmp names it.
#pragma once

#include <string>

constexpr const char* kSocketIdPath = "/tmp/kestrovad-socket.id";

// Replaces the file with `value` through a fresh temporary file and a rename,
// so a link or file that someone else put at `path` is replaced, never
// followed or written through. True on success.
bool setSocketIdToFile(const std::string& path, int value);

// The number in the file; 0 when it cannot be opened (or is a link) or holds
// no number.
int getSocketIdFromFile(const std::string& path);
