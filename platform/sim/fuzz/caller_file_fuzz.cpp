// Fuzz target: the bytes of a caller file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/caller_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto caller = kavlo::platform::ParseCallerFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (caller && caller->device.size() > kavlo::platform::kMaxCallerField) __builtin_trap();
    return 0;
}
