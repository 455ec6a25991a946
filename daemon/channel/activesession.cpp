#include "activesession.h"

#include <systemd/sd-login.h>

std::optional<uid_t> activeSessionUser()
{
    // Only the seat that has the display and the keyboard counts: a session
    // over ssh or on another seat sits at no screen the kill switch serves.
    uid_t uid = 0;
    if (sd_seat_get_active("seat0", nullptr, &uid) < 0) {
        return std::nullopt;
    }
    return uid;
}
