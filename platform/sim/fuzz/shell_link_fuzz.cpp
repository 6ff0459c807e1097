// Fuzz target: a shell link read in both code-page forms.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/shell_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)kavlo::platform::ParseShellLink(bytes, 1252);
    (void)kavlo::platform::ParseShellLink(bytes, 1250);
    return 0;
}
