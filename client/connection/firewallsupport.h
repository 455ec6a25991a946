// What the daemon says about the kill switch; shared by the daemon client and
// its implementation, which must not include each other.
#pragma once

// "Unreachable" is not a refusal: the daemon is not running, and the user can
// start it.
enum class FirewallSupport
{
    Supported,
    NotSupported,
    Unreachable
};
