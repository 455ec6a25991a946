// Any bytes as a command packet: every decoder must stay inside its field.
#include "commandfields.h"
#include "namevalidators.h"
#include "openvpnoptions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto packet = std::make_unique<MessagePacket>();
    std::memset(packet.get(), 0, sizeof(MessagePacket));
    // Short inputs fill the start of every field layout in turn, so that the
    // fuzzer reaches the fields without writing 64005 bytes.
    const size_t count = size < sizeof(MessagePacket) ? size : sizeof(MessagePacket);
    std::memcpy(packet.get(), data, count);
    if (size < 4096) {
        unsigned char* bytes = reinterpret_cast<unsigned char*>(packet.get());
        std::memcpy(bytes + kInterfaceToSkipOffset, data, size < 2048 ? size : 2048);
        if (size > 0) {
            std::memset(bytes + kFirewallParamsOffset, data[0], 5);
        }
    }
    if (const auto firewall = decodeFirewallRequest(*packet)) {
        isValidInterfaceName(firewall->interfaceName);
    }
    if (const auto zone = decodeTimezoneRequest(*packet)) {
        isValidTimezoneName(zone->timezoneIANA);
    }
    if (const auto params = decodeOpenvpnParams(*packet)) {
        parseOpenvpnOptions(*params);
    }
    if (const auto path = decodeUpdatePathName(*packet)) {
        isPlainAbsolutePath(*path);
    }
    return 0;
}
