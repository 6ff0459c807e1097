#include "document/standard_info_probes.h"

#include "probes/memory/memory_commands.h"

namespace kavlo::report {

InfoPageProbes StandardInfoPageProbes() {
    InfoPageProbes probes;
    probes.systemSummary = &AppendProcessorLine;
    return probes;
}

}  // namespace kavlo::report
