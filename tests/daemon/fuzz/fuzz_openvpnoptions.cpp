// The option string of command 9: whatever is accepted must name an absolute
// plain path and a port in range.
#include "openvpnoptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto options = parseOpenvpnOptions(text)) {
        if (!isPlainAbsolutePath(options->configPath) || options->managementPort < 1 ||
            options->managementPort > 65535) {
            abort();
        }
    }
    return 0;
}
