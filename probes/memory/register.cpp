#include "probes/memory/memory_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterMemoryProbes(CommandTable& table) {
    table.BindAll({
        {"CSystemMemory:", &CSystemMemoryCommand},
        {"SwapFileSize:", &SwapFileSizeCommand},
        {"LocalHDSize:", &LocalHDSizeCommand},
    });
}

}  // namespace kavlo
