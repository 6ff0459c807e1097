// Fuzz target: descriptor text. What the reader accepts must write as a
// descriptor that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/security/sddl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavlo::platform;
    const SddlParse parsed = ParseSddl(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.error.empty()) return 0;
    auto again = ParseSecurityDescriptor(SerializeSecurityDescriptor(parsed.descriptor));
    if (!again || !(*again == parsed.descriptor)) std::abort();
    return 0;
}
