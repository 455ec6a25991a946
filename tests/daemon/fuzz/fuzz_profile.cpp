// Profile text: the validator must never accept a forbidden directive line.
#include "profilevalidator.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ProfileCheck check = validateProfile(text);
    // Inside inline blocks such lines are data, so only texts without blocks count.
    if (check.ok && text.find('<') == std::string::npos &&
        (text.find("\nplugin ") != std::string::npos || text.rfind("plugin ", 0) == 0)) {
        abort();
    }
    return 0;
}
