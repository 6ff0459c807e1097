// Fuzz target: a hosts or services file, searched for a few names.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/etc_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::uint16_t port : {0, 21, 80, 65535}) (void)kavlo::platform::FindServiceName(text, port, "tcp");
    (void)kavlo::platform::FindHostName(text, {127, 0, 0, 1});
    return 0;
}
