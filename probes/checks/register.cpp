#include "probes/checks/check_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterCheckProbes(CommandTable& table) {
    table.BindAll({
        {"TIRCheck:", &TIRCheckCommand},
        {"TIFCheck:", &TIFCheckCommand},
        {"TIRTextValue:", &TIRTextValueCommand},
        {"TIFTextValue:", &TIFTextValueCommand},
    });
}

}  // namespace kavlo
