// Fuzz target: message tables, found in the input as a PE image and read as a
// bare table block, with lookups across the identifiers the block names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/message_table.h"

namespace {

void Lookups(const kavlo::platform::MessageTable& table, std::string_view bytes) {
    for (std::uint32_t id : {0u, 1u, 100u, 528u, 0x40000002u, 0x80001775u, 0xC0001B58u, 0xFFFFFFFFu})
        if (auto text = table.Find(id, 1252)) (void)kavlo::platform::ApplyMessageEscapes(*text);
    // Identifiers taken from the input itself reach its ranges.
    for (std::size_t at = 0; at + 4 <= bytes.size() && at < 64; at += 4) {
        std::uint32_t id = 0;
        for (int i = 0; i < 4; ++i)
            id |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        (void)table.Find(id, 1252);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kavlo::platform::MemoryBytes image(bytes);
    if (auto table = kavlo::platform::MessageTable::FromImage(image)) Lookups(*table, bytes);
    if (auto table = kavlo::platform::MessageTable::FromBlock(std::string(bytes))) Lookups(*table, bytes);
    (void)kavlo::platform::ApplyMessageEscapes(bytes);
    return 0;
}
