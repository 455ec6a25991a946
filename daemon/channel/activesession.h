// Who sits at the machine: the user of the session that logind reports as
// active on its seat. That user may take over a kill switch or a tunnel that
// another account left behind; nobody else may lift or replace theirs.
#pragma once

#include <optional>
#include <sys/types.h>

// nullopt without logind (no seat, as on a server or in a container) or
// while nobody's session is in front.
std::optional<uid_t> activeSessionUser();
