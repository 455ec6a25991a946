// The addresses the kill switch lets through, fitted into the daemon record.
#pragma once

#include "daemonprotocol.h"

#include <QStringList>

namespace AllowList {

// What fits into the record's allowIpList: its units less the terminator.
constexpr int kCapacity = int(kAllowIpListUnits) - 1;

// Builds the list the connect page sends, joined by ";" no longer than
// `capacity` characters. The `required` addresses come first, in their order
// (loopback, the server being connected, the service's host): they are the
// ones a connection cannot do without. Then the server addresses as exact
// CIDR blocks wherever every address of a block is a server's, largest first,
// then single server addresses in the given order, as many as fit. Anything
// that is not an IPv4 address is left out (the kill switch is IPv4 only and
// the daemon refuses a list holding anything else), and so are repeats.
QStringList build(const QStringList& required, const QStringList& serverAddresses, int capacity = kCapacity);

} // namespace AllowList
