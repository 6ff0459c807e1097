#include "document/standard_info_probes.h"

#include "probes/memory/memory_commands.h"
#include "probes/security/logon_record.h"

namespace kavlo::report {

InfoPageProbes StandardInfoPageProbes() {
    InfoPageProbes probes;
    probes.systemSummary = &AppendProcessorLine;
    probes.logonInfo = [](AppContext& context, TitleRecord& page) {
        if (auto text = CollectLogonInfo(context)) page.AppendText(*text);
    };
    return probes;
}

}  // namespace kavlo::report
