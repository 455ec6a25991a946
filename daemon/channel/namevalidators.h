// Checks of the short names that clients send: interface and timezone names.
#pragma once

#include <string>

// Empty (no tunnel interface to skip) or [A-Za-z0-9_.-]{1,15}, not "." or "..".
bool isValidInterfaceName(const std::string& name);

// The shape of an IANA zone name: characters [A-Za-z0-9_+-/], not empty, no
// leading "/", no ".." component and no empty component. Does not look at files.
bool isValidTimezoneName(const std::string& name);

// A zone name of valid shape whose file under zoneinfoDir is a regular file
// beginning with "TZif"; links are followed only while they stay inside
// zoneinfoDir.
bool isKnownTimezone(const std::string& name, const std::string& zoneinfoDir);
