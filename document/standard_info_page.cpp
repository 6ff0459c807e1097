#include "document/standard_info_page.h"

#include "probes/security/logon_record.h"

namespace kavlo::report {

InfoPageProbes StandardInfoPageProbes() {
    InfoPageProbes probes;
    probes.logonInfo = [](AppContext& context, TitleRecord& page) {
        if (auto text = CollectLogonInfo(context)) page.AppendText(*text);
    };
    return probes;
}

}  // namespace kavlo::report
