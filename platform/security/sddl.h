#pragma once
// A reader of security descriptors written as text (the SDDL subset that
// hand-written machine descriptions need):
//   O:owner G:group D:[P][AI][AR](type;flags;rights;;;sid)(…)   or D:NO_ACCESS_CONTROL
// type A (allow) or D (deny); flags from OI, CI, IO, NP, ID; rights as 0x hex or
// letter pairs (GA GR GW GX, FA FR FW FX, KA KR KW KX, RC SD WD WO, CC DC LC SW
// RP WP DT LO CR); SIDs as two-letter aliases (BA, SY, WD, …) or "S-1-…".

#include <string>
#include <string_view>

#include "platform/security/security_descriptor.h"

namespace kavlo::platform {

struct SddlParse {
    SecurityDescriptorModel descriptor;
    std::string error;  ///< what is wrong, with the offending text; empty on success
};

/// Parses descriptor text; blanks between the parts are allowed.
SddlParse ParseSddl(std::string_view text);

}  // namespace kavlo::platform
